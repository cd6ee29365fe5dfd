#include "hub/engine/ArrivalLine.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/PhoneCommand.h"

namespace corvane {

namespace {

constexpr int kMaxIndex = 65535;

bool IsAsciiLetterOrDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// A storage name as phones write it: two to four letters or digits, quoted
// or not. It goes into a command, so nothing else may pass.
bool IsStorageName(const QString& text)
{
    QString name = text;
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
        name = name.mid(1, name.size() - 2);
    if (name.size() < 2 || name.size() > 4)
        return false;
    for (QChar c : name)
        if (!IsAsciiLetterOrDigit(c))
            return false;
    return true;
}

// A decimal number from 0 to 65535 and nothing else; -1 otherwise.
int IndexNumber(const QString& text)
{
    if (text.isEmpty() || text.size() > 5)
        return -1;
    int v = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c.unicode() - '0');
    }
    return v <= kMaxIndex ? v : -1;
}

}  // namespace

ArrivalLocation ParseArrivalLine(const QString& line, double shiftME)
{
    ArrivalLocation location;
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0)
        return location;
    const QString after = line.mid(colon + 1).trimmed();
    const qsizetype comma = after.indexOf(u',');
    // The standard status-report line names its storage as a new-message
    // line does; reading its storage name as the index would read (and then
    // delete) the wrong message.
    const QString memoryType = comma < 0 ? QString() : after.left(comma).trimmed();
    const int index = IndexNumber(comma < 0 ? after : after.mid(comma + 1).trimmed());
    if (index < 0 || (comma >= 0 && !IsStorageName(memoryType)))
        return location;
    location.valid = true;
    location.storageNamed = comma >= 0;
    location.memoryType = memoryType;
    location.memoryIndex = index;
    if (location.memoryType == QLatin1String("\"ME\""))
        location.memoryIndex -= shiftME;
    return location;
}

ArrivalLocation PrepareReadSMS(PhoneCommand& command, const QString& line)
{
    command.setBag(bag::ReadSMS, true);
    command.setBag(bag::StatusReport, false);
    command.setBag(bag::Message, QString());
    const ArrivalLocation location = ParseArrivalLine(line, VariantDouble(command.Bag(bag::ShiftME)));
    if (location.storageNamed)
        command.setBag(QStringLiteral("MemoryType"), location.memoryType);
    command.setBag(QStringLiteral("MemoryIndex"), location.memoryIndex);
    return location;
}

}  // namespace corvane
