// How many 400-character texts the SUBMIT encoder turns into PDUs per
// second, in 7-bit and in UCS2. Each one is a joined long message, so each
// draws a concatenation reference; one draw in a block of them keeps the
// block's end on the disk. What a draw costs is shown apart, as a share of
// the encode, and so is a settings write for comparison. The settings go to
// a scratch folder.
// Run by hand, never by CTest:
//   build/bench_sms_encode [messages]
#include "hub/messages/SMS.h"
#include "hub/messages/SMSClassSequencer.h"
#include "platform/UserSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

double MessagesPerSecond(const QString& text, corvane::DATA_CODING coding, bool joined, int messages, long long& sink)
{
    QElapsedTimer took;
    took.start();
    for (int i = 0; i < messages; ++i) {
        corvane::SMS sms;
        sms.MTI = corvane::SUBMIT;
        sms.Address(QStringLiteral("+447700900123"));
        sms.SetUserData(text, coding, joined);
        for (const QString& pdu : sms.PDU())
            sink += pdu.size();
    }
    return messages * 1e9 / double(qMax<qint64>(1, took.nsecsElapsed()));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int messages = argc > 1 ? std::atoi(argv[1]) : 20000;
    QTemporaryDir scratch;
    platform::SetSettingsFolder(scratch.path());
    corvane::SMSClassSequencer::LoadLastNumber();

    const QString sentence = QStringLiteral("The quick brown fox jumps over the lazy dog, twice; ");
    const QString latin = sentence.repeated(8).left(400);
    const QString cyrillic = QString::fromUtf8("Съешь же ещё этих мягких французских булок, да выпей чаю. ").repeated(8).left(400);
    long long sink = 0;
    const double latinRate = MessagesPerSecond(latin, corvane::DEFAULT7BIT, true, messages, sink);
    const double cyrillicRate = MessagesPerSecond(cyrillic, corvane::UCS2, true, messages, sink);
    std::printf("400-character 7-bit text (3 parts):   %9.0f messages/s\n", latinRate);
    std::printf("400-character UCS2 text (6 parts):    %9.0f messages/s\n", cyrillicRate);
    // Separate parts carry no header, so they draw no reference.
    std::printf("the same, separate parts, 7-bit:      %9.0f messages/s\n",
                MessagesPerSecond(latin, corvane::DEFAULT7BIT, false, messages, sink));
    std::printf("the same, separate parts, UCS2:       %9.0f messages/s\n",
                MessagesPerSecond(cyrillic, corvane::UCS2, false, messages, sink));

    constexpr int kBlocks = 200;
    QElapsedTimer took;
    took.start();
    for (int i = 0; i < kBlocks * corvane::SMSClassSequencer::kBlock; ++i)
        sink += corvane::SMSClassSequencer::NextReference();
    const double drawUs = took.nsecsElapsed() / 1e3 / (kBlocks * corvane::SMSClassSequencer::kBlock);
    // Of the whole time a message takes, the draw included.
    const auto share = [drawUs](double rate) { return drawUs * rate / 1e4; };
    std::printf("one reference (1 write in %d draws):   %9.2f us, %.1f%% of the 7-bit encode, %.1f%% of the UCS2\n",
                corvane::SMSClassSequencer::kBlock, drawUs, share(latinRate), share(cyrillicRate));
    took.restart();
    constexpr int kWrites = 200;
    for (int i = 0; i < kWrites; ++i)
        platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("Bench"), QStringLiteral("Value"),
                              QString::number(i));
    std::printf("one settings write, for comparison:   %9.2f ms\n", took.nsecsElapsed() / 1e6 / kWrites);
    std::printf("(checksum %lld)\n", sink);
    return 0;
}
