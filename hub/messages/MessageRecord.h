#pragma once
// One message of the phone's message memories as the store keeps it: where
// it lies, its status, the decoded message and the memory slot of every one
// of its parts. Only MessageStore creates records.
#include <QString>
#include <QVector>

#include <memory>

namespace corvane {

class SMS;

class MessageRecord {
public:
    qint32 location = -1;  // the storage index
    qint32 KeyIndex = -1;  // slot of the part that created the record
    qint32 Status = -1;    // 0 received unread .. 3 stored sent
    QString Address;
    std::shared_ptr<SMS> Message;

    // Makes the part list 1..num, every slot -1 (part not present); a num
    // below 1 leaves the list as it was.
    void DimIndex(qint32 num);
    // The slot of part ind (from 1); 0 outside the list.
    qint32 Index(qint32 ind) const;
    // Outside the list nothing changes.
    void setIndex(qint32 ind, qint32 slot);
    // A copy of the list; element 0 is part 1.
    QVector<qint32> AllIndexes() const { return indexes_; }
    // Parts whose slot is known (the entries that are not negative).
    qint32 PresentParts() const;

private:
    QVector<qint32> indexes_;
};

using MessageRecordPtr = std::shared_ptr<MessageRecord>;

}  // namespace corvane
