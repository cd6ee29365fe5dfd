#pragma once
// What the message-store procedures read and set of the message-store
// window, without its widgets.
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace parlova {

class MessageEditor {
public:
    virtual ~MessageEditor() = default;
    virtual QString WindowCaption() const = 0;
    // "" and the current row's message, or "There is no active message".
    virtual QString ActiveMessage(qint32& location, qint32& index) const = 0;
    // The message text, trimmed.
    virtual QVariant Text() const = 0;
    // The chosen coding (10 Auto), and the one to send with, Auto resolved.
    virtual qint32 Coding() const = 0;
    virtual qint32 CodingA() const = 0;
    virtual qint32 Class() const = 0;
    // 0 none, 2 relative, 3 absolute.
    virtual qint32 Validity() const = 0;
    virtual qint32 RelativeValidity() const = 0;
    virtual QDateTime AbsoluteValidity() const = 0;
    // The "Report" box: 0 off.
    virtual qint32 Report() const = 0;
    // The first location selected in the location list, -1 when none is.
    virtual qint32 Destination() const = 0;
    // The telephone number as typed.
    virtual QString Address() const = 0;
    // Leaves a shown stored message for a new one, then takes the number
    // and the contact's name.
    virtual void SetContact(const QString& address, const QString& name) = 0;
    // The message as it stands goes to the phone: the reply may show the
    // stored message in its place, unless the user has typed on since.
    virtual void Storing() = 0;
};

}  // namespace parlova
