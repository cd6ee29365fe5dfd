// The "ReadBook" and "WriteBook" chains run by the gate against the
// simulated phone's phone books.
#include "GateRig.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/MessageChains.h"
#include "hub/messages/ReadBookChain.h"
#include "hub/messages/WriteBookChain.h"
#include "platform/VbError.h"
#include "tools/phonesim/BookCommands.h"

#include <gtest/gtest.h>

using namespace corvane;
using gatetest::GateRig;

namespace {

const QString kCol = QString(QChar(0));
const QString kRow = QString(QChar(8));
const QString kPyotr = QStringLiteral("\u041F\u0451\u0442\u0440");  // Пётр
const QString kEmojiName = QStringLiteral("Joy \U0001F600");

QString Row(int book, int index, const QString& name, const QString& number)
{
    return QString::number(book) + kCol + QString::number(index) + kCol + name + kCol + number;
}

QString Text(const PhoneCommand& c, const char* key) { return c.Bag(QString::fromLatin1(key)).toString(); }

class BookChain : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterMessageChains();
        book = std::make_shared<BookRecords>();
    }

    phonesim::BookProfile& books() { return rig.sim().state().get<phonesim::BookProfile>(); }
    phonesim::SimPhoneBook& sim(const char* name) { return *books().book(QString::fromLatin1(name)); }

    // Connects through the connect chain; the client then sets the name
    // switch from what the phone accepted.
    void connect()
    {
        phonesim::PinConnectProfile(rig.sim());
        ASSERT_TRUE(rig.connect());
        book->setUCS2(rig.profile().cscs == QLatin1String("UCS2"));
        rig.sim().clearReceived();
    }

    // Runs one command to its end, keeping the progress values it passed.
    PhoneCommandPtr run(const PhoneCommandPtr& command, qint64 maxMs = 120000)
    {
        progress.clear();
        rig.observer = [this, command] {
            const qint32 p = command->GetProgress();
            if (p != 0 && (progress.empty() || progress.back() != p))
                progress.push_back(p);
        };
        rig.gate.Push(command);
        EXPECT_TRUE(rig.runUntilPulled(command, maxMs));
        rig.observer = nullptr;
        return command;
    }

    PhoneCommandPtr readBook()
    {
        auto c = std::make_shared<PhoneCommand>();
        c->setBagObject(QStringLiteral("Book"), book);
        EXPECT_EQ(c->SetUp(QStringLiteral("ReadBook"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), -1, 5000,
                           false, false, dorrak::mbtLightCommand),
                  QString());
        return run(c, 400000);
    }

    struct Write {
        QString location;
        qint32 index = 0;
        QString name;
        QString number;
        bool update = false;
        bool remove = false;
        QString fromLocation;
        qint32 fromIndex = 0;
    };
    // Filled as the write order fills it, then set up.
    PhoneCommandPtr writeCommand(const Write& w)
    {
        auto c = std::make_shared<PhoneCommand>();
        c->setBagObject(QStringLiteral("Book"), book);
        c->setBag(QStringLiteral("LocationName"), w.location);
        c->setBag(QStringLiteral("BookIndex"), w.index);
        c->setBag(QStringLiteral("ContactName"), w.name);
        c->setBag(QStringLiteral("ContactNumber"), w.number);
        c->setBag(QStringLiteral("Update"), w.update);
        c->setBag(QStringLiteral("Delete"), w.remove);
        c->setBag(QStringLiteral("FromLocationName"), w.fromLocation);
        c->setBag(QStringLiteral("FromBookIndex"), w.fromIndex);
        EXPECT_EQ(c->SetUp(QStringLiteral("WriteBook"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), -2, 5000,
                           false, false, dorrak::mbtLightCommand),
                  QString());
        return c;
    }
    PhoneCommandPtr write(const Write& w) { return run(writeCommand(w)); }
    static Write entry(const QString& location, const QString& name, const QString& number)
    {
        return Write{location, 0, name, number, false, false, QString(), 0};
    }
    static Write change(const QString& location, qint32 index, const QString& name, const QString& number)
    {
        return Write{location, index, name, number, true, false, QString(), 0};
    }

    // Reads both books (SIM entries 1 and 2, handset entry 5) and forgets
    // what was sent.
    void readTwoBooks()
    {
        sim("SM").put(1, QStringLiteral("+4912345"), QStringLiteral("Ann"));
        sim("SM").put(2, QStringLiteral("5551"), kPyotr);
        sim("ME").put(5, QStringLiteral("200"), QStringLiteral("Bob"));
        readBook();
        ASSERT_EQ(book->Count(), 3);
        rig.sim().clearReceived();
    }

    GateRig rig;
    BookRecordsPtr book;
    std::vector<qint32> progress;
};

}  // namespace

TEST_F(BookChain, ReadsSimAndHandsetBooksInUcs2)
{
    connect();
    sim("SM").put(1, QStringLiteral("+4912345"), QStringLiteral("Ann"));
    sim("SM").put(2, QStringLiteral("5551"), kPyotr);
    sim("SM").put(250, QStringLiteral("777"), kEmojiName);
    sim("ME").put(5, QStringLiteral("200"), QStringLiteral("Say \"hi\", Bob"));

    const PhoneCommandPtr c = readBook();
    EXPECT_EQ(rig.sim().commands(),
              (QStringList{"AT+CPBS=?", "AT+CPBS=\"SM\"", "AT+CPBR=?", "AT+CPBR=1,250", "AT+CPBS=\"ME\"", "AT+CPBR=?",
                           "AT+CPBR=1,500"}));
    EXPECT_EQ(progress, (std::vector<qint32>{10, 19, 28, 55, 64, 73, 100}));
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(c->Bag(QStringLiteral("BookCount")).toInt(), 2);
    EXPECT_EQ(c->Bag(QStringLiteral("BookIndex")).toInt(), 1);
    EXPECT_EQ(Text(*c, "ErrorDesc"), QString());

    EXPECT_TRUE(book->Filled());
    EXPECT_FALSE(book->UCS2_K750i());
    EXPECT_EQ(book->BookName(0), QStringLiteral("\"SM\""));
    EXPECT_EQ(book->BookName(1), QStringLiteral("\"ME\""));
    EXPECT_EQ(book->Total(0), 250);
    EXPECT_EQ(book->Total(1), 500);
    EXPECT_EQ(book->NumberLen(1), 40);
    EXPECT_EQ(book->NameLen(0), 18);
    EXPECT_EQ(book->NameLen(1), 30);
    EXPECT_EQ(book->Occupied(0), 3);
    EXPECT_EQ(book->Occupied(1), 1);
    EXPECT_EQ(book->GetAllRecords(), Row(0, 1, "Ann", "+4912345") + kRow + Row(0, 2, kPyotr, "5551") + kRow +
                                         Row(0, 250, kEmojiName, "777") + kRow +
                                         Row(1, 5, "Say \"hi\", Bob", "200") + kRow);
    EXPECT_EQ(book->GetRecord(0, 250), Row(0, 250, kEmojiName, "777"));
}

TEST_F(BookChain, NumbersInHexWhenThePhoneListsItsBooksInHex)
{
    books().hexStrings = true;
    connect();
    sim("SM").put(3, QStringLiteral("+4912345"), kPyotr);
    sim("ME").put(1, QStringLiteral("*100#"), QStringLiteral("Balance"));

    const PhoneCommandPtr c = readBook();
    EXPECT_EQ(rig.sim().commands().mid(0, 2), (QStringList{"AT+CPBS=?", "AT+CPBS=\"0053004D\""}));
    EXPECT_EQ(rig.sim().commands().at(4), QStringLiteral("AT+CPBS=\"004D0045\""));
    EXPECT_TRUE(book->UCS2_K750i());
    EXPECT_EQ(book->GetSIMBook(), 0);
    EXPECT_EQ(book->GetPhoneBook(), 1);
    EXPECT_EQ(book->GetAllRecords(), Row(0, 3, kPyotr, "+4912345") + kRow + Row(1, 1, "Balance", "*100#") + kRow);

    // A new entry goes out with its number in hex, too.
    rig.sim().clearReceived();
    const PhoneCommandPtr w = write(entry("\"0053004D\"", "Ann", "+123"));
    EXPECT_EQ(w->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(rig.sim().commands().at(1), QStringLiteral("AT+CPBW=1,\"002B003100320033\",,\"0041006E006E\""));
    EXPECT_EQ(sim("SM").entries.at(1).number, QStringLiteral("+123"));
    EXPECT_EQ(book->GetRecord(0, 1), Row(0, 1, "Ann", "+123"));
}

TEST_F(BookChain, ReadsUtf8NamesWhenUcs2WasRefused)
{
    rig.profile().ucs2Refused = true;
    connect();
    ASSERT_FALSE(book->UCS2());
    sim("SM").put(1, QStringLiteral("+4912345"), kPyotr);
    sim("SM").put(2, QStringLiteral("5551"), QStringLiteral("Doe, J"));
    // The phone keeps an emoji in four octets.
    const QString withEmoji = QString::fromUtf8("Mum \xF0\x9F\x98\x80");
    sim("SM").put(4, QStringLiteral("5554"), withEmoji);

    readBook();
    EXPECT_EQ(book->GetAllRecords(), Row(0, 1, kPyotr, "+4912345") + kRow + Row(0, 2, "Doe, J", "5551") + kRow +
                                         Row(0, 4, withEmoji, "5554") + kRow);

    // Editing the number writes the whole name back, comma and all.
    QString name;
    qint32 location = -1, index = -1;
    ASSERT_TRUE(book->Find(name, location, index, QStringLiteral("5551")));
    const PhoneCommandPtr w = write(change(book->BookName(location), index, name, "5552"));
    EXPECT_EQ(w->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(sim("SM").entries.at(2).name, QStringLiteral("Doe, J"));
    EXPECT_EQ(book->GetRecord(0, 2), Row(0, 2, "Doe, J", "5552"));

    // A new Cyrillic name travels as its UTF-8 bytes.
    const PhoneCommandPtr n = write(entry("\"SM\"", kPyotr, "999"));
    EXPECT_EQ(n->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(sim("SM").entries.at(3).name, kPyotr);
    EXPECT_TRUE(rig.sim().received().contains("AT+CPBW=3,\"999\",,\"\xD0\x9F\xD1\x91\xD1\x82\xD1\x80\"\r"));
    EXPECT_EQ(book->GetRecord(0, 3), Row(0, 3, kPyotr, "999"));
}

TEST_F(BookChain, EmptyHandsetBookCountsAsRead)
{
    struct Case {
        const char* what;
        phonesim::EmptyBookAnswer answer;
        dorrak::MODEM_RESULT_CODEs result;
    } cases[] = {
        {"numbered", phonesim::EmptyBookAnswer::CmeCode, dorrak::ERROR_ANSWER},
        {"in words", phonesim::EmptyBookAnswer::CmeText, dorrak::ERROR_ANSWER},
        {"plain OK", phonesim::EmptyBookAnswer::Ok, dorrak::OK_ANSWER},
    };
    connect();
    sim("SM").put(1, QStringLiteral("1"), QStringLiteral("A"));
    for (const Case& k : cases) {
        books().emptyAnswer = k.answer;
        book->RemoveAll();
        const PhoneCommandPtr c = readBook();
        EXPECT_TRUE(book->Filled()) << k.what;
        EXPECT_EQ(c->Result(), k.result) << k.what;
        EXPECT_EQ(Text(*c, "ErrorDesc"), QString()) << k.what;
        EXPECT_EQ(book->Count(), 1) << k.what;
        EXPECT_EQ(book->Total(1), 500) << k.what;
    }

    // Both books empty: still read.
    sim("SM").entries.clear();
    books().emptyAnswer = phonesim::EmptyBookAnswer::CmeCode;
    book->RemoveAll();
    readBook();
    EXPECT_TRUE(book->Filled());
    EXPECT_EQ(book->GetAllRecords(), QString());
}

TEST_F(BookChain, RefusedParametersSkipTheBook)
{
    connect();
    sim("ME").put(5, QStringLiteral("200"), QStringLiteral("Bob"));
    rig.sim().script(QStringLiteral("AT+CPBR=?"), phonesim::ScriptedReply::CmeError(4));  // the first only

    PhoneCommandPtr c = readBook();
    EXPECT_EQ(rig.sim().commands(), (QStringList{"AT+CPBS=?", "AT+CPBS=\"SM\"", "AT+CPBR=?", "AT+CPBS=\"ME\"",
                                                 "AT+CPBR=?", "AT+CPBR=1,500"}));
    EXPECT_EQ(Text(*c, "ErrorDesc"), QStringLiteral("\r\nBook=\"SM\": reading error"));
    EXPECT_EQ(progress, (std::vector<qint32>{10, 19, 55, 64, 73, 100}));
    EXPECT_EQ(book->GetAllRecords(), Row(1, 5, "Bob", "200") + kRow);
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);

    // Entries refused with another error than "not found": noted, not read.
    book->RemoveAll();
    rig.sim().script(QStringLiteral("AT+CPBR=?"), phonesim::ScriptedReply::CmeError(4));
    rig.sim().script(QStringLiteral("AT+CPBR=1,500"), phonesim::ScriptedReply::CmeError(3));
    c = readBook();
    EXPECT_EQ(Text(*c, "ErrorDesc"),
              QStringLiteral("\r\nBook=\"SM\": reading error Book=\"ME\"-Operation not allowed"));
    EXPECT_EQ(c->Result(), dorrak::ERROR_ANSWER);
    EXPECT_FALSE(book->Filled());
    EXPECT_EQ(book->Count(), 0);
}

TEST_F(BookChain, BookListFailures)
{
    connect();
    // Neither SIM nor handset book.
    books().listed = QStringList{QStringLiteral("FD"), QStringLiteral("ON")};
    PhoneCommandPtr c = readBook();
    EXPECT_EQ(Text(*c, "ErrorDesc"), QStringLiteral("No phone books found"));
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(rig.sim().commands(), QStringList{"AT+CPBS=?"});

    // The list refused: the command ends with the phone's error, no text.
    rig.sim().clearReceived();
    rig.sim().script(QStringLiteral("AT+CPBS=?"), phonesim::ScriptedReply::CmeError(3));
    c = readBook();
    EXPECT_EQ(c->Result(), dorrak::ERROR_ANSWER);
    EXPECT_FALSE(c->Bag(QStringLiteral("ErrorDesc")).isValid());
    EXPECT_FALSE(book->Filled());
}

TEST_F(BookChain, OnlyTheSimBookWithAllItsEntriesInOneReply)
{
    connect();
    books().listed = QStringList{QStringLiteral("SM")};
    for (int i = 1; i <= 250; ++i)
        sim("SM").put(i, QStringLiteral("+49%1").arg(i), kPyotr + QString::number(i));

    const PhoneCommandPtr c = readBook();
    EXPECT_EQ(c->Bag(QStringLiteral("BookCount")).toInt(), 1);
    EXPECT_EQ(progress, (std::vector<qint32>{10, 28, 46, 100}));
    EXPECT_EQ(rig.sim().commands().count(QStringLiteral("AT+CPBR=1,250")), 1);
    EXPECT_EQ(book->Count(), 250);
    EXPECT_EQ(book->FirstFreeIndex(0), -1);
    EXPECT_EQ(book->GetRecord(0, 250), Row(0, 250, kPyotr + "250", "+49250"));

    // A full book: the write goes out with index -1 and the phone refuses it.
    rig.sim().clearReceived();
    const PhoneCommandPtr w = write(entry("\"SM\"", "Ann", "+1"));
    EXPECT_EQ(rig.sim().commands(), (QStringList{"AT+CPBS=\"SM\"", "AT+CPBW=-1,\"+1\",,\"0041006E006E\""}));
    EXPECT_EQ(w->Result(), dorrak::ERROR_ANSWER);
    EXPECT_EQ(Text(*w, "ErrorAnswer"), QStringLiteral("Invalid index"));
    EXPECT_EQ(w->Bag(QStringLiteral("BookIndex")).toInt(), -1);
    EXPECT_EQ(book->Count(), 250);
}

TEST_F(BookChain, EntryReadTimeOutChecksThePhoneAndGoesOn)
{
    connect();
    sim("ME").put(5, QStringLiteral("200"), QStringLiteral("Bob"));
    rig.sim().script(QStringLiteral("AT+CPBR=1,250"), phonesim::ScriptedReply::Silence());

    const PhoneCommandPtr c = readBook();
    EXPECT_EQ(rig.sim().commands(), (QStringList{"AT+CPBS=?", "AT+CPBS=\"SM\"", "AT+CPBR=?", "AT+CPBR=1,250", "AT",
                                                 "AT+CPBS=\"ME\"", "AT+CPBR=?", "AT+CPBR=1,500"}));
    EXPECT_EQ(book->GetAllRecords(), Row(1, 5, "Bob", "200") + kRow);
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
}

TEST_F(BookChain, NewEntryGoesToTheFirstFreeIndex)
{
    connect();
    readTwoBooks();
    const PhoneCommandPtr c = write(entry("\"SM\"", "Ann", "+123"));
    EXPECT_EQ(rig.sim().commands(),
              (QStringList{"AT+CPBS=\"SM\"", "AT+CPBW=3,\"+123\",,\"0041006E006E\"", "AT+CPBR=3"}));
    // The read-back's 70 gives way to the end's 100 within the same tick.
    EXPECT_EQ(progress, (std::vector<qint32>{20, 40, 100}));
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(c->Bag(QStringLiteral("BookIndex")).toInt(), 3);
    EXPECT_FALSE(c->Bag(QStringLiteral("FirstLap")).toBool());
    EXPECT_FALSE(c->Bag(QStringLiteral("ErrorAnswer")).isValid());
    EXPECT_EQ(sim("SM").entries.at(3).name, QStringLiteral("Ann"));
    EXPECT_EQ(sim("SM").entries.at(3).type, 145);
    EXPECT_EQ(book->GetRecord(0, 3), Row(0, 3, "Ann", "+123"));
    EXPECT_EQ(book->Occupied(0), 3);
}

TEST_F(BookChain, ChangeOverwritesTheGivenIndex)
{
    connect();
    readTwoBooks();
    const PhoneCommandPtr c = write(change("\"SM\"", 2, kEmojiName, "5559"));
    EXPECT_EQ(rig.sim().commands(), (QStringList{"AT+CPBS=\"SM\"",
                                                 "AT+CPBW=2,\"5559\",,\"004A006F00790020D83DDE00\"", "AT+CPBR=2"}));
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(sim("SM").entries.at(2).name, kEmojiName);
    EXPECT_EQ(book->GetRecord(0, 2), Row(0, 2, kEmojiName, "5559"));
    EXPECT_EQ(book->Occupied(0), 2);
    EXPECT_EQ(book->Count(), 3);
}

TEST_F(BookChain, MoveFromHandsetToSim)
{
    connect();
    readTwoBooks();
    const PhoneCommandPtr c = write({"\"SM\"", 0, "Bob", "200", false, true, "\"ME\"", 5});
    EXPECT_EQ(rig.sim().commands(), (QStringList{"AT+CPBS=\"SM\"", "AT+CPBW=3,\"200\",,\"0042006F0062\"", "AT+CPBR=3",
                                                 "AT+CPBS=\"ME\"", "AT+CPBW=5"}));
    EXPECT_EQ(progress, (std::vector<qint32>{20, 40, 70, 50, 100}));
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(sim("SM").entries.count(3), 1u);
    EXPECT_EQ(sim("ME").entries.count(5), 0u);
    EXPECT_EQ(book->GetRecord(0, 3), Row(0, 3, "Bob", "200"));
    EXPECT_EQ(book->GetRecord(1, 5), QString());
    EXPECT_EQ(book->Occupied(1), 0);
    EXPECT_EQ(book->Count(), 3);
}

TEST_F(BookChain, DeleteAlone)
{
    connect();
    readTwoBooks();
    const PhoneCommandPtr c = write({"", 0, "", "", false, true, "\"ME\"", 5});
    EXPECT_EQ(rig.sim().commands(), (QStringList{"AT+CPBS=\"ME\"", "AT+CPBW=5"}));
    EXPECT_EQ(progress, (std::vector<qint32>{50, 100}));
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_TRUE(sim("ME").entries.empty());
    EXPECT_EQ(book->Count(), 2);
    EXPECT_EQ(book->GetAllRecords(), Row(0, 1, "Ann", "+4912345") + kRow + Row(0, 2, kPyotr, "5551") + kRow);
}

TEST_F(BookChain, PhoneRefusalsEndTheChain)
{
    connect();
    readTwoBooks();

    // Name too long for the SIM book: nothing read back, the source stays.
    PhoneCommandPtr c = write({"\"SM\"", 0, "A name far too long for it", "1", false, true, "\"ME\"", 5});
    EXPECT_EQ(c->Result(), dorrak::ERROR_ANSWER);
    EXPECT_EQ(Text(*c, "ErrorAnswer"), QStringLiteral("Text string too long"));
    EXPECT_EQ(rig.sim().commands().size(), 2);
    EXPECT_EQ(sim("ME").entries.count(5), 1u);
    EXPECT_EQ(book->Count(), 3);

    // Read-back refused: on the phone, not in the records.
    rig.sim().clearReceived();
    rig.sim().script(QStringLiteral("AT+CPBR=3"), phonesim::ScriptedReply::CmeError(3));
    c = write(entry("\"SM\"", "Ann", "+123"));
    EXPECT_EQ(c->Result(), dorrak::ERROR_ANSWER);
    EXPECT_EQ(Text(*c, "ErrorAnswer"), QStringLiteral("Failed to read from \"SM\", 3"));
    EXPECT_EQ(sim("SM").entries.count(3), 1u);
    EXPECT_EQ(book->GetRecord(0, 3), QString());

    // Deletion refused: the records keep the entry.
    rig.sim().clearReceived();
    rig.sim().script(QStringLiteral("AT+CPBW=5"), phonesim::ScriptedReply::CmeError(21));
    c = write({"", 0, "", "", false, true, "\"ME\"", 5});
    EXPECT_EQ(c->Result(), dorrak::ERROR_ANSWER);
    EXPECT_EQ(Text(*c, "ErrorAnswer"), QStringLiteral("Invalid index"));
    EXPECT_EQ(book->GetRecord(1, 5), Row(1, 5, "Bob", "200"));

    // Selection refused: no text.
    rig.sim().clearReceived();
    c = write(entry("\"FD\"", "Ann", "1"));
    EXPECT_EQ(c->Result(), dorrak::ERROR_ANSWER);
    EXPECT_FALSE(c->Bag(QStringLiteral("ErrorAnswer")).isValid());
    EXPECT_EQ(rig.sim().commands(), QStringList{"AT+CPBS=\"FD\""});
}

TEST_F(BookChain, UnsafeEntriesNeverReachThePort)
{
    rig.profile().ucs2Refused = true;
    connect();
    readTwoBooks();
    ASSERT_FALSE(book->UCS2());
    struct Case {
        const char* what;
        QString name;
        QString number;
        const char* reason;
    } cases[] = {
        {"quote in the number", "Ann", "12\"34", "Invalid characters in dial string"},
        {"CR in the number", "Ann", "12\rAT+CPBW=1", "Invalid characters in dial string"},
        {"letters in the number", "Ann", "0800-FLOWERS", "Invalid characters in dial string"},
        {"quote in the name", "Ann \"the\" Boss", "123", "Invalid characters in text string"},
        {"CR in the name", "Ann\rAT+CPBW=1", "123", "Invalid characters in text string"},
        {"tab in the name", "Ann\tB", "123", "Invalid characters in text string"},
    };
    for (const Case& k : cases) {
        rig.sim().clearReceived();
        const PhoneCommandPtr c = write({"\"SM\"", 0, k.name, k.number, false, true, "\"ME\"", 5});
        EXPECT_EQ(c->Result(), dorrak::ERROR_ANSWER) << k.what;
        EXPECT_EQ(Text(*c, "ErrorAnswer"), QString::fromLatin1(k.reason)) << k.what;
        EXPECT_TRUE(rig.sim().received().isEmpty()) << k.what;
    }
    EXPECT_EQ(sim("SM").entries.size(), 2u);
    EXPECT_EQ(sim("ME").entries.size(), 1u);
    EXPECT_EQ(book->Count(), 3);

    // Sent as UCS2 hex, a quote in the name is harmless and goes through.
    book->setUCS2(true);
    rig.profile().cscs = QStringLiteral("UCS2");
    const PhoneCommandPtr c = write(entry("\"SM\"", "Say \"hi\"", "123"));
    EXPECT_EQ(c->Result(), dorrak::OK_ANSWER);
    EXPECT_EQ(sim("SM").entries.at(3).name, QStringLiteral("Say \"hi\""));
}

// Progress values the gate cannot show, because the chain's end replaces
// them within the same tick, and the rounding of halves.
TEST(BookChainSteps, ProgressOfSingleSteps)
{
    auto book = std::make_shared<BookRecords>();
    book->ResolveBookLocations(QStringLiteral("+CPBS: (\"SM\",\"ME\")\r"));
    PhoneCommand command;
    command.setBagObject(QStringLiteral("Book"), book);

    // P(0.2) and P(1.4) with four books are 14.5 and 41.5: halves go to the
    // even neighbour.
    command.setBag(QStringLiteral("BookCount"), 4);
    command.setBag(QStringLiteral("BookIndex"), 0);
    command.SetResult(dorrak::OK_ANSWER);
    EXPECT_NE(std::make_shared<ReadBookMemory>()->Advance(command), nullptr);
    EXPECT_EQ(command.GetProgress(), 14);
    command.setBag(QStringLiteral("BookIndex"), 1);
    book->ResolvePhoneBookParameters(1, QStringLiteral("+CPBR: (1-10),20,14\r"));
    auto param = std::make_shared<ReadBookParam>();
    param->setAnswer(QStringLiteral("+CPBR: (1-10),20,14\r\nOK\r"));
    const StepPtr records = param->Advance(command);
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(records->Command(), QStringLiteral("AT+CPBR=1,10\r"));
    EXPECT_EQ(command.GetProgress(), 42);

    // A refused book list still shows 10.
    command.SetResult(dorrak::ERROR_ANSWER);
    EXPECT_EQ(std::make_shared<ReadBookFind>()->Advance(command), nullptr);
    EXPECT_EQ(command.GetProgress(), 10);

    // The read-back of a write sets 70 and ends the chain.
    command.setBag(QStringLiteral("LocationName"), QStringLiteral("\"ME\""));
    command.SetResult(dorrak::OK_ANSWER);
    auto read = std::make_shared<WriteBookRead>(QStringLiteral("AT+CPBR=3\r"));
    read->setAnswer(QStringLiteral("\r\n+CPBR: 3,\"1\",129,\"A\"\r\n\r\nOK\r"));
    EXPECT_EQ(read->Advance(command), nullptr);
    EXPECT_EQ(command.GetProgress(), 70);
    EXPECT_EQ(book->Count(), 1);
    EXPECT_EQ(book->Occupied(1), 1);
}

// A command without its "Book" ends as a failure instead of breaking the
// engine.
TEST(BookChainSteps, MissingBookRaisesInsideTheStep)
{
    PhoneCommand command;
    command.SetResult(dorrak::OK_ANSWER);
    EXPECT_THROW(std::make_shared<ReadBookFind>()->Advance(command), platform::VbError);
}
