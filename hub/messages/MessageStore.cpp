#include "hub/messages/MessageStore.h"

#include "hub/engine/Bag.h"
#include "hub/engine/HubRuntime.h"
#include "hub/messages/RecordFields.h"
#include "platform/VbError.h"

#include <QStringList>

namespace corvane {

namespace {

const QString kSource = QStringLiteral("MessageStore");
const QString kDateFormat = QStringLiteral("yyyy/MM/dd HH:mm");

[[noreturn]] void OutOfRange()
{
    platform::Raise(platform::vberr::SubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
}

[[noreturn]] void BadArgument()
{
    platform::Raise(platform::vberr::InvalidProcedureCall, kSource,
                    QStringLiteral("Invalid procedure call or argument"));
}

// A field of a phone answer as a number; blanks and line ends around it are
// allowed, anything else raises a type mismatch.
qint32 FieldNumber(const QString& field) { return VariantLong(QVariant(field.trimmed())); }

QString IndexDigits(qint32 ind)
{
    const qint64 v = ind;
    const QString digits = QStringLiteral("%1").arg(v < 0 ? -v : v, 5, 10, QLatin1Char('0'));
    return v < 0 ? QStringLiteral("-") + digits : digits;
}

}  // namespace

// ---------------------------------------------------------------------------
// Storages

QString MessageStore::StoreIndexByName(qint32& outIndex, const QString& storeName) const
{
    outIndex = -1;
    for (size_t i = 0; i < locations_.size(); ++i) {
        if (locations_[i].name.contains(storeName, Qt::CaseInsensitive)) {
            outIndex = static_cast<qint32>(i);
            return QString();
        }
    }
    return storeName + QStringLiteral(" - no such store");
}

qint32 MessageStore::GetSIMStore() const
{
    qint32 index = -1;
    StoreIndexByName(index, QStringLiteral("SM"));
    if (index < 0)
        StoreIndexByName(index, QStringLiteral("0053004D"));
    return index;
}

qint32 MessageStore::GetPhoneStore() const
{
    qint32 index = -1;
    StoreIndexByName(index, QStringLiteral("ME"));
    if (index < 0)
        StoreIndexByName(index, QStringLiteral("004D0045"));
    return index;
}

const MessageStore::Location* MessageStore::findLocation(qint32 loc) const
{
    if (loc < 0 || loc >= LocationsCount())
        return nullptr;
    return &locations_[static_cast<size_t>(loc)];
}

MessageStore::Location& MessageStore::locationAt(qint32 loc)
{
    if (loc < 0 || loc >= LocationsCount())
        OutOfRange();
    return locations_[static_cast<size_t>(loc)];
}

QString MessageStore::LocationName(qint32 loc) const
{
    const Location* l = findLocation(loc);
    return l ? l->name : QString();
}

qint32 MessageStore::LocationTotal(qint32 loc) const
{
    const Location* l = findLocation(loc);
    return l ? l->total : -1;
}

qint32 MessageStore::LocationOccupied(qint32 loc) const
{
    const Location* l = findLocation(loc);
    return l ? l->occupied : -1;
}

qint32 MessageStore::LocationOccupiedP(qint32 loc) const
{
    const Location* l = findLocation(loc);
    return l ? l->used : -1;
}

QString MessageStore::StatusName(qint32 stat)
{
    switch (stat) {
    case 0: return QStringLiteral("received unread");
    case 1: return QStringLiteral("received read");
    case 2: return QStringLiteral("stored unsent");
    case 3: return QStringLiteral("stored sent");
    default: return QStringLiteral("unknown");
    }
}

QString MessageStore::ResolveStoreLocations(const QString& okayString)
{
    try {
        const qsizetype open = okayString.indexOf(u'(');
        const qsizetype close = open < 0 ? -1 : okayString.indexOf(u')', open + 1);
        if (close < 0)
            BadArgument();
        const QString list = okayString.mid(open + 1, close - open - 1);
        if (list.isEmpty())
            return QString();
        const QStringList elements = list.split(u',');
        // "MT" is the sum of SM and ME, not a memory of its own.
        const bool withMT = list.contains(QStringLiteral("MT"));
        const qsizetype size = withMT ? elements.size() - 1 : elements.size();
        locations_.assign(static_cast<size_t>(size), Location{});
        listsBuilt_ = true;
        size_t next = 0;
        for (const QString& e : elements) {
            if (e.contains(QStringLiteral("MT")))
                continue;
            if (next < locations_.size())
                locations_[next++].name = e.trimmed();
        }
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

QString MessageStore::ResolveStoreParameters(const QString& storeName, const QString& okayString)
{
    try {
        qint32 loc = -1;
        const QString missing = StoreIndexByName(loc, storeName);
        if (loc < 0)
            return missing;
        const qsizetype colon = okayString.indexOf(u':');
        const qsizetype from = colon < 0 ? 0 : colon + 1;
        const qsizetype to = okayString.indexOf(QStringLiteral("\r\nOK"), from);
        if (to < 0)
            BadArgument();
        const QStringList fields = okayString.mid(from, to - from).split(u',');
        // Nine fields: each memory's name comes before its two counts.
        const int usedField = fields.size() == 9 ? 1 : 0;
        if (fields.size() < usedField + 2)
            OutOfRange();
        const qint32 used = FieldNumber(fields[usedField]);
        const qint32 total = FieldNumber(fields[usedField + 1]);
        Location& l = locationAt(loc);
        l.total = total;
        l.used = used;
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

QString MessageStore::ResolveStoreRecords(const QString& storeName, const QString& okayString)
{
    try {
        qint32 loc = -1;
        const QString missing = StoreIndexByName(loc, storeName);
        if (loc < 0)
            return missing;
        const QStringList lines = okayString.split(QStringLiteral("\r\n"));
        qsizetype i = 0;
        while (i < lines.size() - 1) {
            const QString& line = lines[i];
            const qsizetype colon = line.indexOf(u':');
            const QStringList fields = SplitFields(colon < 0 ? line : line.mid(colon + 1));
            if (fields.size() == 4) {
                // <index>,<stat>,<alpha>,<length>, then the PDU line.
                const QString why =
                    addPart(loc, FieldNumber(fields[0]), FieldNumber(fields[1]), lines[i + 1].trimmed());
                if (!why.isEmpty())
                    HubLog().WriteLogLine(QStringLiteral("MessageStore: message ") + storeName + QLatin1Char(' ') +
                                          fields[0].trimmed() + QStringLiteral(": ") + why);
                i += 2;
            } else {
                ++i;
            }
        }
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

// ---------------------------------------------------------------------------
// Records

QString MessageStore::RecordKey(qint32 loc, qint32 ind) const
{
    const Location* l = findLocation(loc);
    if (!l)
        OutOfRange();
    return l->name + IndexDigits(ind);
}

QString MessageStore::Add(const QVariant& storage, qint32 messageIndex, qint32 MessageStatus,
                          const QString& messagePDU)
{
    qint32 loc = -1;
    switch (storage.typeId()) {
    case QMetaType::QString:
        StoreIndexByName(loc, storage.toString());
        break;
    case QMetaType::Short:
    case QMetaType::Int:
        loc = storage.toInt();
        break;
    default:
        return QStringLiteral("Unknown storage");
    }
    return addPart(loc, messageIndex, MessageStatus, messagePDU);
}

QString MessageStore::addPart(qint32 loc, qint32 messageIndex, qint32 MessageStatus, const QString& messagePDU)
{
    try {
        auto sms = std::make_shared<SMS>();
        QString refused;
        try {
            sms->PDU(messagePDU);
        } catch (const std::exception& e) {
            // Still a message in the phone: kept as a row without text, so it
            // is counted and can be deleted. Nothing of it is guessed.
            refused = platform::ErrorText(e);
            sms = std::make_shared<SMS>();
        }
        ++locationAt(loc).occupied;

        if (refused.isEmpty() && !sms->AllReceived()) {
            if (incompleteCount_ < 1) {
                ++incompleteCount_;
            } else {
                // Newest first. Only a record of the same storage may take the
                // part: its slot numbers are deleted in that storage.
                for (qsizetype i = records_.Count(); i >= 1; --i) {
                    const MessageRecordPtr record = records_.Item(i);
                    SMS& held = *record->Message;
                    if (record->location != loc || held.AllReceived() || held.Address() != sms->Address() ||
                        held.CMR() != sms->CMR() || held.NumberOfParts() != sms->NumberOfParts())
                        continue;
                    held.PDU(messagePDU);
                    if (!held.LastPartAccepted())
                        continue;
                    record->setIndex(held.LastPartNumber(), messageIndex);
                    if (held.AllReceived())
                        --incompleteCount_;
                    return QString();
                }
                ++incompleteCount_;
            }
        }

        auto record = std::make_shared<MessageRecord>();
        record->location = loc;
        record->DimIndex(qMax(1, sms->NumberOfParts()));
        record->setIndex(qMax(1, sms->LastPartNumber()), messageIndex);
        record->KeyIndex = messageIndex;
        record->Status = MessageStatus;
        record->Address = sms->Address();
        record->Message = sms;
        records_.Add(record, RecordKey(loc, messageIndex));
        return refused;
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

QString MessageStore::Delete(qint32 loc, qint32 ind)
{
    try {
        const QString key = RecordKey(loc, ind);
        const MessageRecordPtr record = records_.Item(key);
        records_.Remove(key);
        // A part that was never listed was never counted.
        locationAt(loc).occupied -= record->PresentParts();
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

void MessageStore::Reset()
{
    records_.Clear();
    incompleteCount_ = 0;
    if (!listsBuilt_)
        OutOfRange();
    for (Location& l : locations_)
        l = Location{};
    filled_ = false;
}

QVector<MessageRecordPtr> MessageStore::NewEnum() const
{
    QVector<MessageRecordPtr> out;
    out.reserve(records_.Count());
    for (const MessageRecordPtr& r : records_)
        out << r;
    return out;
}

MessageRecordPtr MessageStore::find(qint32 loc, qint32 ind) const
{
    const Location* l = findLocation(loc);
    if (!l)
        return nullptr;
    const QString key = l->name + IndexDigits(ind);
    if (!records_.Exists(key))
        return nullptr;
    return records_.Item(key);
}

// ---------------------------------------------------------------------------
// Message accessors

qint32 MessageStore::MessageStatus(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Status : -1;
}

QString MessageStore::MessageAddress(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Address : QString();
}

QString MessageStore::MessageData(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Message->UserData() : QString();
}

DATA_CODING MessageStore::MessageCoding(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Message->Coding() : DEFAULT7BIT;
}

MSG_CLASS MessageStore::MessageClass(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Message->MsgClass : IMMDISPLAY;
}

QVariant MessageStore::MessageDate(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Message->SCTS() : QVariant();
}

qint32 MessageStore::MessageMTI(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Message->MTI : 0;
}

qint32 MessageStore::MessageMR(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Message->mr() : 0;
}

QDateTime MessageStore::MessageDischargeTime(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Message->DischargeTime() : QDateTime();
}

qint32 MessageStore::MessageSRIR(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Message->SRIR : 0;
}

VP_FORMAT MessageStore::MessageVPF(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Message->VPF() : NOTPRESENT;
}

QVariant MessageStore::MessageVP(qint32 locationIndex, qint32 messageIndex) const
{
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? r->Message->VP() : QVariant();
}

// ---------------------------------------------------------------------------
// Export

QString MessageStore::exportRow(const MessageRecord& record) const
{
    const QChar column(0);
    const QVariant stamp = record.Message->SCTS();
    QString date;
    if (stamp.isValid() && !stamp.isNull())
        date = stamp.toDateTime().toString(kDateFormat);
    QString row;
    row += QString::number(record.location) + column;
    row += QString::number(record.KeyIndex) + column;
    row += ExportField(StatusName(record.Status)) + column;
    row += ExportField(record.Address) + column;
    row += ExportField(date) + column;
    row += ExportField(record.Message->UserData().left(GetSubjectLength()));
    return row;
}

QString MessageStore::GetAllRecords() const
{
    if (!filled_)
        return QString();
    QString out;
    for (const MessageRecordPtr& r : records_)
        out += exportRow(*r) + QChar(8);
    return out;
}

QString MessageStore::GetRecord(qint32 locationIndex, qint32 messageIndex) const
{
    if (!filled_)
        return QString();
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    return r ? exportRow(*r) : QString();
}

QVariant MessageStore::GetMsgIndexes(qint32 locationIndex, qint32 messageIndex) const
{
    if (!filled_)
        return QVariant();
    const MessageRecordPtr r = find(locationIndex, messageIndex);
    if (!r)
        return QVariant::fromValue(nullptr);
    return QVariant::fromValue(r->AllIndexes());
}

}  // namespace corvane
