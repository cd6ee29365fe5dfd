#pragma once
// The simulated phone's phone books: "AT+CPBS", "AT+CPBR" and "AT+CPBW".
// Strings follow the character set chosen with "AT+CSCS" (ConnectProfile):
// under "UCS2" names travel as four upper-case hex digits per UTF-16 unit,
// otherwise as raw UTF-8 bytes. A phone with hexStrings set (as some
// handsets do) also lists its books and writes numbers in hex under UCS2.
//
//   auto& books = sim.state().get<phonesim::BookProfile>();
//   books.book("SM")->put(1, "+4912345", "Ann");
//   books.emptyAnswer = phonesim::EmptyBookAnswer::Ok;
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace phonesim {

class PhoneSim;

struct SimBookEntry {
    QString number;  // as stored, "+" in front for type 145
    int type = 129;
    QString name;
};

struct SimPhoneBook {
    QString name;  // "SM", "ME"
    int indexMin = 1;
    int indexMax = 250;
    int numberLen = 40;
    int nameLen = 18;
    std::map<int, SimBookEntry> entries;

    // Type 145 when the number begins with "+", else 129.
    void put(int index, const QString& number, const QString& name);
    int used() const { return static_cast<int>(entries.size()); }
};

// What "AT+CPBR=a,b" answers when no entry lies in the range.
enum class EmptyBookAnswer {
    CmeCode,  // "+CME ERROR: 22" ("ERROR" in CMEE mode 0)
    CmeText,  // "+CME ERROR: not found" ("ERROR" in CMEE mode 0)
    Ok,       // no lines, just OK
};

struct BookProfile {
    BookProfile();

    // The books the phone keeps: SM (1-250),40,18 and ME (1-500),40,30.
    std::vector<SimPhoneBook> books;
    // What "AT+CPBS=?" lists, in order; a listed name without a book above
    // (a fixed-dialling book, say) cannot be selected.
    QStringList listed = {QStringLiteral("FD"), QStringLiteral("SM"), QStringLiteral("ON"), QStringLiteral("ME")};
    bool hexStrings = false;
    EmptyBookAnswer emptyAnswer = EmptyBookAnswer::CmeCode;
    // The selected book (a name of books), "SM" at power-on.
    QString selected = QStringLiteral("SM");

    SimPhoneBook* book(const QString& name);
    // A few contacts to try the phone-book window on: SIM 1 "+111" Ann,
    // 2 "+222" Bob, 10 "+1010" Zoë; handset 1 "+333" Carol.
    void putSampleContacts();
};

}  // namespace phonesim
