#include "hub/engine/ArrivalLine.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/PhoneCommand.h"
#include "platform/Val.h"

namespace corvane {

namespace {

// The number a text starts with, blanks skipped; 0 unless a digit comes first.
double LeadingNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    if (i >= text.size() || !(text[i] >= u'0' && text[i] <= u'9'))
        return 0;
    qsizetype end = i;
    while (end < text.size() && text[end] >= u'0' && text[end] <= u'9')
        ++end;
    return platform::Val(text.mid(i, end - i));
}

}  // namespace

ArrivalLocation ParseArrivalLine(const QString& line, double shiftME)
{
    ArrivalLocation location;
    const qsizetype colon = line.indexOf(u':');
    const QString after = colon < 0 ? QString() : line.mid(colon + 1);
    const qsizetype comma = after.indexOf(u',');
    // The standard status-report line names its storage as a new-message
    // line does; reading its storage name as the index would read (and then
    // delete) the wrong message.
    if (comma < 0) {
        location.memoryIndex = LeadingNumber(after);
        return location;
    }
    location.storageNamed = true;
    location.memoryType = after.left(comma).trimmed();
    location.memoryIndex = LeadingNumber(after.mid(comma + 1));
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
