#pragma once
// The messages that lie in the phone's message memories (storages), as the
// read-store chain lists them and the write and delete chains change them.
// One store is shared by the client and the chains: it travels as a
// std::shared_ptr in the Bag item "Store", so a chain fills the very object
// the client holds.
//
// A record is one message; a concatenated message whose parts lie in several
// slots is one record that knows the slot of each part. A record's key is
// the storage's name as kept (quotes included) and the slot of the part that
// created it, written with at least five digits.
//
// The client reads the store through the accessors and through exported
// text: columns separated by character 0, rows ended by character 8.
//
// Add, Delete and the three Resolve operations never raise: a failure ends
// the operation and comes back as "description (number)"; what was changed
// before it stays changed.
#include "hub/messages/MessageRecord.h"
#include "hub/messages/SMS.h"
#include "platform/Collection.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>
#include <vector>

namespace corvane {

class MessageStore {
public:
    MessageStore() = default;
    MessageStore(const MessageStore&) = delete;
    MessageStore& operator=(const MessageStore&) = delete;

    // Set by the client once a read found storages; the record exports
    // answer only while it is set.
    bool Filled() const { return filled_; }
    void setFilled(bool value) { filled_ = value; }

    // Adds one listed or written part. storage is a name (QString, looked up
    // like StoreIndexByName) or an index (qint16 or qint32); anything else
    // gives "Unknown storage". A PDU the codec refuses still becomes a record
    // of one part, with its slot and status but no text or address, and the
    // codec's error is returned.
    QString Add(const QVariant& storage, qint32 messageIndex, qint32 MessageStatus, const QString& messagePDU);
    // From the answer to "AT+CPMS=?": the storages for reading and deleting.
    QString ResolveStoreLocations(const QString& okayString);
    // From the answer to "AT+CPMS=<name>": the storage's total and used count.
    QString ResolveStoreParameters(const QString& storeName, const QString& okayString);
    // Adds every message of an "AT+CMGL=4" answer.
    QString ResolveStoreRecords(const QString& storeName, const QString& okayString);

    // The first storage whose name contains storeName, letter case ignored;
    // outIndex -1 and storeName & " - no such store" when none.
    QString StoreIndexByName(qint32& outIndex, const QString& storeName) const;
    qint32 GetSIMStore() const;
    qint32 GetPhoneStore() const;

    qint32 Count() const { return static_cast<qint32>(records_.Count()); }
    // The records in insertion order (a copy of the list, the records shared).
    QVector<MessageRecordPtr> NewEnum() const;

    // Storage members answer "" or -1 outside 0 .. LocationsCount() - 1.
    QString LocationName(qint32 loc) const;
    qint32 LocationTotal(qint32 loc) const;
    // Parts held in the records, as the store counts them.
    qint32 LocationOccupied(qint32 loc) const;
    // The used count the phone reported.
    qint32 LocationOccupiedP(qint32 loc) const;
    static QString StatusName(qint32 stat);
    qint32 LocationsCount() const { return static_cast<qint32>(locations_.size()); }
    qint32 IncompleteCount() const { return incompleteCount_; }

    // Removes the record and lowers the storage's occupied count by the
    // parts of it that were present.
    QString Delete(qint32 loc, qint32 ind);
    // Empties the store and clears every storage entry (their number stays).
    // On a store whose storage list was never built it raises
    // platform::VbError (9) after the records are gone.
    void Reset();

    // Message accessors; a missing record gives -1 (status), "" (texts),
    // 0 (numbers), an empty QVariant, or an invalid QDateTime.
    qint32 MessageStatus(qint32 locationIndex, qint32 messageIndex) const;
    QString MessageAddress(qint32 locationIndex, qint32 messageIndex) const;
    QString MessageData(qint32 locationIndex, qint32 messageIndex) const;
    DATA_CODING MessageCoding(qint32 locationIndex, qint32 messageIndex) const;
    MSG_CLASS MessageClass(qint32 locationIndex, qint32 messageIndex) const;
    // The time stamp; an empty QVariant for a message to be sent.
    QVariant MessageDate(qint32 locationIndex, qint32 messageIndex) const;
    qint32 MessageMTI(qint32 locationIndex, qint32 messageIndex) const;
    qint32 MessageMR(qint32 locationIndex, qint32 messageIndex) const;
    QDateTime MessageDischargeTime(qint32 locationIndex, qint32 messageIndex) const;
    qint32 MessageSRIR(qint32 locationIndex, qint32 messageIndex) const;
    VP_FORMAT MessageVPF(qint32 locationIndex, qint32 messageIndex) const;
    QVariant MessageVP(qint32 locationIndex, qint32 messageIndex) const;

    // One row per record: location, index, status name, address, time stamp
    // "yyyy/mm/dd hh:nn", the first 70 characters of the text. Separator
    // characters inside the fields are exported as blanks, so a message
    // cannot forge rows. "" while not Filled.
    QString GetAllRecords() const;
    // The row of one record without the row separator; "" while not Filled
    // or when the record does not exist.
    QString GetRecord(qint32 locationIndex, qint32 messageIndex) const;
    // The record's part slots (QVector<qint32>, element 0 = part 1, -1 for a
    // part not present); an empty QVariant while not Filled, a null one
    // (std::nullptr_t) when the record does not exist.
    QVariant GetMsgIndexes(qint32 locationIndex, qint32 messageIndex) const;

    static qint32 GetSubjectLength() { return 70; }
    static QString GetColumnSeparater() { return QString(QChar(0)); }
    static QString GetRowSeparater() { return QString(QChar(8)); }

    // The key of (storage, slot); raises platform::VbError (9) for a storage
    // outside the list.
    QString RecordKey(qint32 loc, qint32 ind) const;

private:
    struct Location {
        QString name;
        qint32 total = 0;
        qint32 occupied = 0;
        qint32 used = 0;
    };

    Location& locationAt(qint32 loc);
    const Location* findLocation(qint32 loc) const;
    MessageRecordPtr find(qint32 loc, qint32 ind) const;
    QString exportRow(const MessageRecord& record) const;
    QString addPart(qint32 loc, qint32 messageIndex, qint32 MessageStatus, const QString& messagePDU);

    bool filled_ = false;
    bool listsBuilt_ = false;
    std::vector<Location> locations_;
    platform::Collection<MessageRecordPtr> records_;
    qint32 incompleteCount_ = 0;
};

using MessageStorePtr = std::shared_ptr<MessageStore>;

}  // namespace corvane

Q_DECLARE_METATYPE(std::shared_ptr<corvane::MessageStore>)
