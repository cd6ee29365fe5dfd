// How fast text becomes GSM septets: the per-character lookup on its own and
// as part of encoding a 7-bit message. Run by hand, never by CTest:
//   build/bench_gsm_alphabet [rounds]
#include "common/GsmAlphabet.h"

#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

template <typename F>
double NanosecondsPer(long long items, F&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(end - start).count() / double(items);
}

}  // namespace

int main(int argc, char** argv)
{
    const long long rounds = argc > 1 ? std::atoll(argv[1]) : 200000;

    // A typical message: letters, digits, punctuation, one extension
    // character and one accented letter late in the table.
    const QString text = QStringLiteral("Meeting moved to 15:30 tomorrow, room B-204. Bring the Q3 figures "
                                        "(about 1200 \u20AC over plan) & the slides; reply if you can't make it. "
                                        "Gr\u00FC\u00DFe, Anna");
    long long sink = 0;

    const double lookup = NanosecondsPer(rounds * text.size(), [&] {
        for (long long r = 0; r < rounds; ++r)
            for (QChar c : text)
                sink += common::UnicodeToGSM(c.unicode());
    });
    const double encode = NanosecondsPer(rounds, [&] {
        for (long long r = 0; r < rounds; ++r)
            sink += common::ToGSMSeptets(text).size();
    });
    const double all = NanosecondsPer(rounds / 100 * 65536, [&] {
        for (long long r = 0; r < rounds / 100; ++r)
            for (int u = 0; u < 65536; ++u)
                sink += common::UnicodeToGSM(u);
    });

    std::printf("UnicodeToGSM, message characters: %8.2f ns per character\n", lookup);
    std::printf("UnicodeToGSM, every code unit:    %8.2f ns per character\n", all);
    std::printf("ToGSMSeptets, %lld-character text: %8.1f ns per text\n", static_cast<long long>(text.size()),
                encode);
    std::printf("(checksum %lld)\n", sink);
    return 0;
}
