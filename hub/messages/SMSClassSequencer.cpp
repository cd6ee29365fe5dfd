#include "hub/messages/SMSClassSequencer.h"

#include "platform/SyncedRecord.h"
#include "platform/UserSettings.h"
#include "platform/Val.h"

#include <QCryptographicHash>
#include <QFileInfo>

#include <cmath>
#include <exception>
#include <limits>

namespace corvane {
namespace {

qint32 gLastNumber = 0;
// References after gLastNumber that the kept block end already covers: they
// may be handed out without writing again.
int gReserved = 0;

const QString kApp = QStringLiteral("Parlova");
const QString kSection = QStringLiteral("SMSClassSequencer");
const QString kKey = QStringLiteral("LastNumber");

// Which stored text a record belongs to: the record of a process that was
// killed counts, one left behind by an older run whose value has been
// saved (or written by hand) since does not.
QByteArray Tag(const QString& stored)
{
    const QByteArray text = stored.isNull() ? QByteArrayLiteral("\x01none") : stored.toUtf8();
    return QCryptographicHash::hash(text, QCryptographicHash::Sha1).toHex().left(8);
}

// The stored value's tag as last read or written here.
QByteArray gStoredTag = Tag(QString());

// "end tag" & LF, of one length, so that each write is in place.
constexpr qsizetype kRecordSize = 13;

QByteArray Record(int end) { return QByteArray::number(end).rightJustified(3, '0') + ' ' + gStoredTag + '\n'; }

// The end of the block reserved from the stored value and not given back,
// or -1 when no record is there. What is there and does not check may be a
// record a kill tore mid-write, so it counts as a whole block reserved: a
// reference skipped is harmless, one repeated may join the wrong parts.
int ReservedEnd(qint32 stored)
{
    const platform::RecordRead read = platform::ReadRecord(SMSClassSequencer::ReservationFile(), 64);
    if (!read.there)
        return -1;
    const int blockEnd = int(((qint64(stored) + SMSClassSequencer::kBlock) % 256 + 256) % 256);
    const std::optional<QByteArray>& record = read.bytes;
    if (!record || record->size() != kRecordSize || record->at(3) != ' ' || !record->endsWith('\n') ||
        record->mid(4, 8) != gStoredTag)
        return blockEnd;
    bool number = false;
    const int end = record->left(3).toInt(&number);
    return number && end >= 0 && end <= 255 ? end : blockEnd;
}

bool Store(qint32 value)
{
    try {
        if (!platform::SaveSetting(kApp, kSection, kKey, QString::number(value)).isEmpty())
            return false;
        gStoredTag = Tag(QString::number(value));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool Reserve(int end)
{
    if (platform::WriteRecord(SMSClassSequencer::ReservationFile(), Record(end)))
        return true;
    // The settings hold the end instead; a record that could not be
    // rewritten must not outrank them.
    if (!Store(end))
        return false;
    platform::RemoveRecord(SMSClassSequencer::ReservationFile());
    return true;
}

}  // namespace

qint32 SMSClassSequencer::LastNumber() { return gLastNumber; }

QString SMSClassSequencer::ReservationFile()
{
    return QFileInfo(platform::SettingsFilePath()).absolutePath() + QStringLiteral("/SMSClassSequencer.reserved");
}

void SMSClassSequencer::LoadLastNumber()
{
    try {
        const QString stored = platform::GetSetting(kApp, kSection, kKey);
        const double v = std::nearbyint(platform::Val(stored.isNull() ? QStringLiteral("0") : stored));
        // A value that does not fit leaves the counter as it was.
        if (std::isfinite(v) && v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max())
            gLastNumber = static_cast<qint32>(v);
        gStoredTag = Tag(stored);
        if (const int end = ReservedEnd(gLastNumber); end >= 0)
            gLastNumber = end;
    } catch (const std::exception&) {
    }
    gReserved = 0;
}

void SMSClassSequencer::SaveLastNumber()
{
    // The stored value now ends at the last reference handed out; the
    // record, if it cannot go, no longer belongs to it.
    if (Store(gLastNumber))
        platform::RemoveRecord(ReservationFile());
    gReserved = 0;
}

qint32 SMSClassSequencer::NextReference()
{
    // A negative stored value still yields a reference in 0..255.
    const qint32 next = static_cast<qint32>(((static_cast<qint64>(gLastNumber) + 1) % 256 + 256) % 256);
    gLastNumber = next;
    if (gReserved > 0)
        --gReserved;
    else if (Reserve((next + kBlock - 1) % 256))
        gReserved = kBlock - 1;
    return gLastNumber;
}

}  // namespace corvane
