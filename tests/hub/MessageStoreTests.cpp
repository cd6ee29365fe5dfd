// The message store on its own: storages from the phone's answers, joining
// of parts, keys, counts and the exported rows.
#include "hub/messages/MessageStore.h"
#include "platform/VbError.h"

#include "MessageStorePdus.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace storetest;

namespace {

const QString kSM = QStringLiteral("\"SM\"");
const QString kME = QStringLiteral("\"ME\"");

QStringList Rows(const MessageStore& store)
{
    QStringList rows = store.GetAllRecords().split(QChar(8));
    EXPECT_TRUE(rows.last().isEmpty()) << "every row ends with character 8";
    rows.removeLast();
    return rows;
}

QStringList Columns(const QString& row) { return row.split(QChar(0)); }

// SM with 30 slots, ME with 100, filled.
class MessageStoreRecords : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(store.ResolveStoreLocations(kLocations), QString());
        ASSERT_EQ(store.ResolveStoreParameters(kSM, QStringLiteral("+CPMS: 3,30,3,30,3,30\r\n\r\nOK\r")), QString());
        ASSERT_EQ(store.ResolveStoreParameters(kME, QStringLiteral("+CPMS: 0,100,0,100,0,100\r\n\r\nOK\r")), QString());
        store.setFilled(true);
    }
    MessageStore store;
};

}  // namespace

TEST(MessageStoreLocations, StorageListsFromTheTestAnswer)
{
    MessageStore store;
    EXPECT_EQ(store.LocationsCount(), 0);
    EXPECT_EQ(store.GetSIMStore(), -1);
    EXPECT_EQ(store.ResolveStoreLocations(kLocations), QString());
    EXPECT_EQ(store.LocationsCount(), 2);
    EXPECT_EQ(store.LocationName(0), kSM);
    EXPECT_EQ(store.LocationName(1), kME);
    EXPECT_EQ(store.LocationName(2), QString());
    EXPECT_EQ(store.LocationTotal(5), -1);
    EXPECT_EQ(store.LocationOccupied(-1), -1);
    EXPECT_EQ(store.GetSIMStore(), 0);
    EXPECT_EQ(store.GetPhoneStore(), 1);

    qint32 index = 7;
    EXPECT_EQ(store.StoreIndexByName(index, QStringLiteral("sm")), QString());
    EXPECT_EQ(index, 0);
    EXPECT_EQ(store.StoreIndexByName(index, QStringLiteral("XX")), QStringLiteral("XX - no such store"));
    EXPECT_EQ(index, -1);

    // In UCS2 mode MT is hexadecimal and stays a storage of its own.
    EXPECT_EQ(store.ResolveStoreLocations(QStringLiteral("+CPMS: (\"0053004D\", \"004D0045\",\"004D0054\"),(\"0053004D\")")),
              QString());
    EXPECT_EQ(store.LocationsCount(), 3);
    EXPECT_EQ(store.LocationName(1), QStringLiteral("\"004D0045\""));
    EXPECT_EQ(store.GetSIMStore(), 0);
    EXPECT_EQ(store.GetPhoneStore(), 1);

    // An empty list changes nothing; a list that cannot be found is an error.
    EXPECT_EQ(store.ResolveStoreLocations(QStringLiteral("+CPMS: (),(),()")), QString());
    EXPECT_EQ(store.LocationsCount(), 3);
    EXPECT_EQ(store.ResolveStoreLocations(QStringLiteral("+CPMS: garbage")),
              QStringLiteral("Invalid procedure call or argument (5)"));
}

TEST(MessageStoreLocations, CountsFromSixAndNineFieldAnswers)
{
    struct Case {
        const char* answer;
        qint32 total;
        qint32 used;
    };
    const Case cases[] = {
        {"+CPMS: 3,30,3,30,3,30\r\n\r\nOK\r", 30, 3},
        {"+CPMS: \"SM\",3,30,\"SM\",3,30,\"SM\",3,30\r\n\r\nOK\r", 30, 3},
        {"+CPMS: 12,250\r\n\r\nOK\r", 250, 12},
    };
    for (const Case& c : cases) {
        MessageStore store;
        store.ResolveStoreLocations(kLocations);
        EXPECT_EQ(store.ResolveStoreParameters(kSM, QString::fromLatin1(c.answer)), QString()) << c.answer;
        EXPECT_EQ(store.LocationTotal(0), c.total) << c.answer;
        EXPECT_EQ(store.LocationOccupiedP(0), c.used) << c.answer;
        EXPECT_EQ(store.LocationOccupied(0), 0) << c.answer;
    }
    MessageStore store;
    store.ResolveStoreLocations(kLocations);
    EXPECT_EQ(store.ResolveStoreParameters(QStringLiteral("BM"), QStringLiteral("+CPMS: 1,2\r\nOK\r")),
              QStringLiteral("BM - no such store"));
    EXPECT_EQ(store.ResolveStoreParameters(kSM, QStringLiteral("+CPMS: x,30\r\n\r\nOK\r")),
              QStringLiteral("Type mismatch (13)"));
    EXPECT_EQ(store.ResolveStoreParameters(kSM, QStringLiteral("+CPMS: 3,30")),
              QStringLiteral("Invalid procedure call or argument (5)"));
    EXPECT_EQ(store.LocationTotal(0), 0);
}

TEST_F(MessageStoreRecords, ListedSinglesBecomeRowsInListingOrder)
{
    const QString listing = Listing({{4, 1, Deliver(QStringLiteral("second"))},
                                     {1, 0, Deliver(QStringLiteral("first"), kBob)}});
    EXPECT_EQ(store.ResolveStoreRecords(kSM, listing), QString());
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(store.LocationOccupied(0), 2);
    EXPECT_EQ(store.RecordKey(0, 4), QStringLiteral("\"SM\"00004"));

    const QStringList rows = Rows(store);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(Columns(rows[0]), (QStringList{"0", "4", "received read", "+15551234567", "2024/03/15 13:45", "second"}));
    EXPECT_EQ(Columns(rows[1]), (QStringList{"0", "1", "received unread", "+15559876543", "2024/03/15 13:45", "first"}));
    EXPECT_EQ(store.GetRecord(0, 1), rows[1]);

    EXPECT_EQ(store.MessageStatus(0, 4), 1);
    EXPECT_EQ(store.MessageData(0, 4), QStringLiteral("second"));
    EXPECT_EQ(store.MessageCoding(0, 4), UCS2);
    EXPECT_EQ(store.MessageDate(0, 4).toDateTime(), QDateTime(QDate(2024, 3, 15), QTime(13, 45, 30), Qt::UTC));
    EXPECT_EQ(store.GetMsgIndexes(0, 4).value<QVector<qint32>>(), QVector<qint32>{4});
}

TEST_F(MessageStoreRecords, PartsListedOutOfOrderJoinIntoOneRecord)
{
    const QString listing = Listing({{5, 0, Deliver(QStringLiteral("two-"), kAlice, 9, 3, 2)},
                                     {6, 0, Deliver(QStringLiteral("one-"), kAlice, 9, 3, 1)},
                                     {7, 0, Deliver(QStringLiteral("three"), kAlice, 9, 3, 3)}});
    store.ResolveStoreRecords(kSM, listing);
    EXPECT_EQ(store.Count(), 1);
    EXPECT_EQ(store.IncompleteCount(), 0);
    EXPECT_EQ(store.LocationOccupied(0), 3);
    EXPECT_EQ(store.MessageData(0, 5), QStringLiteral("one-two-three"));
    EXPECT_EQ(store.GetMsgIndexes(0, 5).value<QVector<qint32>>(), (QVector<qint32>{6, 5, 7}));

    EXPECT_EQ(store.Delete(0, 5), QString());
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.LocationOccupied(0), 0);
    EXPECT_EQ(store.GetAllRecords(), QString());
}

TEST_F(MessageStoreRecords, MissingPartKeepsItsMarkerAndIsNotCountedOnDelete)
{
    store.ResolveStoreRecords(kSM, Listing({{5, 0, Deliver(QStringLiteral("one-"), kAlice, 9, 3, 1)},
                                           {7, 0, Deliver(QStringLiteral("three"), kAlice, 9, 3, 3)},
                                           {8, 0, Deliver(QStringLiteral("single"))}}));
    EXPECT_EQ(store.GetMsgIndexes(0, 5).value<QVector<qint32>>(), (QVector<qint32>{5, -1, 7}));
    EXPECT_EQ(store.IncompleteCount(), 1);
    EXPECT_TRUE(store.MessageData(0, 5).contains(QStringLiteral("[part 002]")));
    EXPECT_EQ(store.LocationOccupied(0), 3);

    // Two parts were listed and counted, so two come off.
    EXPECT_EQ(store.Delete(0, 5), QString());
    EXPECT_EQ(store.LocationOccupied(0), 1);
    EXPECT_EQ(store.Delete(0, 5), QStringLiteral("Invalid procedure call or argument (5)"));
    EXPECT_EQ(store.LocationOccupied(0), 1);
    EXPECT_EQ(store.Count(), 1);
}

TEST_F(MessageStoreRecords, PartsJoinOnlyWithinTheirStorageSenderAndReference)
{
    // Part 2 in ME must not join the record in SM: deleting that record
    // would delete slot 3 in SM.
    store.Add(qint32(0), 1, 0, Deliver(QStringLiteral("a1"), kAlice, 9, 2, 1));
    store.Add(qint32(1), 3, 0, Deliver(QStringLiteral("a2"), kAlice, 9, 2, 2));
    // Another reference and another sender make records of their own.
    store.Add(qint32(0), 4, 0, Deliver(QStringLiteral("b1"), kAlice, 10, 2, 1));
    store.Add(qint32(0), 5, 0, Deliver(QStringLiteral("c2"), kBob, 9, 2, 2));
    EXPECT_EQ(store.Count(), 4);
    EXPECT_EQ(store.GetMsgIndexes(0, 1).value<QVector<qint32>>(), (QVector<qint32>{1, -1}));
    EXPECT_EQ(store.GetMsgIndexes(1, 3).value<QVector<qint32>>(), (QVector<qint32>{-1, 3}));
    EXPECT_EQ(store.IncompleteCount(), 4);

    // The last part of reference 9 from Alice in SM completes slot 1's record.
    EXPECT_EQ(store.Add(QStringLiteral("SM"), 6, 0, Deliver(QStringLiteral("a2"), kAlice, 9, 2, 2)), QString());
    EXPECT_EQ(store.Count(), 4);
    EXPECT_EQ(store.MessageData(0, 1), QStringLiteral("a1a2"));
    EXPECT_EQ(store.GetMsgIndexes(0, 1).value<QVector<qint32>>(), (QVector<qint32>{1, 6}));
    EXPECT_EQ(store.IncompleteCount(), 3);
    EXPECT_EQ(store.LocationOccupied(0), 4);
    EXPECT_EQ(store.LocationOccupied(1), 1);
}

TEST_F(MessageStoreRecords, CommaInTheAlphaFieldKeepsTheMessage)
{
    store.ResolveStoreRecords(kSM, Listing({{2, 1, Deliver(QStringLiteral("hi")), QStringLiteral("\"Smith, J\"")},
                                           {3, 1, Deliver(QStringLiteral("yo")), QStringLiteral("\"Ann\"")}}));
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(store.MessageData(0, 2), QStringLiteral("hi"));
}

TEST_F(MessageStoreRecords, SeparatorsInsideATextCannotForgeRows)
{
    const QString text = QStringLiteral("x") + QChar(8) + QStringLiteral("1") + QChar(0) + QStringLiteral("99") +
                         QChar(0) + QStringLiteral("y");
    store.Add(qint32(0), 2, 0, Deliver(text));
    const QStringList rows = Rows(store);
    ASSERT_EQ(rows.size(), 1);
    const QStringList columns = Columns(rows[0]);
    ASSERT_EQ(columns.size(), 6);
    EXPECT_EQ(columns[5], QStringLiteral("x 1 99 y"));
    EXPECT_EQ(store.MessageData(0, 2), text);
}

TEST_F(MessageStoreRecords, SubjectIsCutAndAMessageToSendHasNoDate)
{
    const QString longText(100, u'z');
    store.Add(qint32(0), 1, 1, Deliver(longText));
    // A SUBMIT of "hi" to +123 without validity period.
    store.Add(QStringLiteral("ME"), 2, 2, QStringLiteral("000100039121F300080400680069"));
    QStringList rows = Rows(store);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(Columns(rows[0])[5], QString(70, u'z'));
    EXPECT_EQ(Columns(rows[1]), (QStringList{"1", "2", "stored unsent", "+123", "", "hi"}));
    EXPECT_FALSE(store.MessageDate(1, 2).isValid());
    EXPECT_EQ(store.MessageMTI(1, 2), 1);
}

TEST_F(MessageStoreRecords, AnswersForMissingRecordsAndAnUnfilledStore)
{
    store.Add(qint32(0), 1, 1, Deliver(QStringLiteral("kept")));
    EXPECT_EQ(store.MessageStatus(0, 9), -1);
    EXPECT_EQ(store.MessageAddress(0, 9), QString());
    EXPECT_EQ(store.MessageData(5, 1), QString());
    EXPECT_FALSE(store.MessageVP(0, 9).isValid());
    EXPECT_EQ(store.GetRecord(0, 9), QString());
    EXPECT_EQ(store.GetMsgIndexes(0, 9).typeId(), QMetaType::Nullptr);
    EXPECT_EQ(MessageStore::StatusName(7), QStringLiteral("unknown"));

    store.setFilled(false);
    EXPECT_EQ(store.GetAllRecords(), QString());
    EXPECT_EQ(store.GetRecord(0, 1), QString());
    EXPECT_FALSE(store.GetMsgIndexes(0, 1).isValid());
    EXPECT_EQ(store.Count(), 1);
}

TEST_F(MessageStoreRecords, AddFailuresReportTheirText)
{
    const QString pdu = Deliver(QStringLiteral("once"));
    EXPECT_EQ(store.Add(true, 1, 0, pdu), QStringLiteral("Unknown storage"));
    EXPECT_EQ(store.Add(qint32(4), 1, 0, pdu), QStringLiteral("Subscript out of range (9)"));
    EXPECT_EQ(store.Add(QStringLiteral("BM"), 1, 0, pdu), QStringLiteral("Subscript out of range (9)"));
    EXPECT_EQ(store.LocationOccupied(0), 0);
    EXPECT_EQ(store.Add(qint16(0), 1, 0, pdu), QString());
    EXPECT_NE(store.Add(qint32(0), 1, 0, pdu), QString()) << "a key can be added once";
    EXPECT_EQ(store.Count(), 1);
    // A PDU that cannot be decoded changes nothing.
    EXPECT_NE(store.Add(qint32(0), 2, 0, QStringLiteral("0004") + kAlice.left(6)), QString());
}

TEST_F(MessageStoreRecords, ResetClearsStoragesButKeepsTheirNumber)
{
    store.Add(qint32(0), 1, 0, Deliver(QStringLiteral("a1"), kAlice, 9, 2, 1));
    store.Reset();
    EXPECT_FALSE(store.Filled());
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.IncompleteCount(), 0);
    EXPECT_EQ(store.LocationsCount(), 2);
    EXPECT_EQ(store.LocationName(0), QString());
    EXPECT_EQ(store.LocationTotal(0), 0);

    MessageStore never;
    EXPECT_THROW(never.Reset(), platform::VbError);
}

TEST_F(MessageStoreRecords, ACutRowIsKeptWithTheTextThatIsThereAndTheOthersToo)
{
    const QString whole = Deliver(QStringLiteral("hellohello"), kBob);
    for (qsizetype n = 0; n < whole.size(); n += 2) {
        SCOPED_TRACE(n);
        MessageStore listed;
        ASSERT_EQ(listed.ResolveStoreLocations(kLocations), QString());
        EXPECT_EQ(listed.ResolveStoreRecords(kSM, Listing({{1, 1, Deliver(QStringLiteral("before"))},
                                                           {2, 3, whole.left(n)},
                                                           {3, 1, Deliver(QStringLiteral("after"))}})),
                  QString());
        listed.setFilled(true);
        EXPECT_EQ(listed.Count(), 3);
        EXPECT_EQ(listed.MessageData(0, 1), QStringLiteral("before"));
        EXPECT_EQ(listed.MessageStatus(0, 2), 3);
        EXPECT_TRUE(QStringLiteral("hellohello").startsWith(listed.MessageData(0, 2)));
        EXPECT_EQ(listed.MessageData(0, 3), QStringLiteral("after"));
        EXPECT_EQ(listed.LocationOccupied(0), 3);
        EXPECT_EQ(listed.Delete(0, 2), QString());
        EXPECT_EQ(listed.LocationOccupied(0), 2);
    }
    // Refused, yet kept: the codec's error says why it has no text.
    EXPECT_EQ(store.Add(qint32(0), 2, 0, whole.left(30)), QStringLiteral("Truncated PDU (5)"));
    EXPECT_EQ(store.GetMsgIndexes(0, 2).value<QVector<qint32>>(), QVector<qint32>{2});
}

TEST_F(MessageStoreRecords, PartsWithOneReferenceButAnotherCountStayApart)
{
    store.Add(qint32(0), 1, 0, Deliver(QStringLiteral("x2"), kAlice, 9, 3, 2));
    store.Add(qint32(0), 2, 0, Deliver(QStringLiteral("a1"), kAlice, 9, 2, 1));
    store.Add(qint32(0), 3, 0, Deliver(QStringLiteral("a2"), kAlice, 9, 2, 2));
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(store.MessageData(0, 2), QStringLiteral("a1a2"));
    EXPECT_EQ(store.GetMsgIndexes(0, 1).value<QVector<qint32>>(), (QVector<qint32>{-1, 1, -1}));
    EXPECT_EQ(store.IncompleteCount(), 1);
}
