#pragma once
// One AT exchange of a command's chain. The gate writes Command() with the
// Answer()/ErrorAnswer() wait strings and TimeOut(), hands the received text
// back through setAnswer()/setErrorAnswer(), sets the command's Result and
// then calls Advance(), which chooses the next step (none ends the chain).
#include <QString>

#include <memory>

namespace corvane {

class PhoneCommand;
class Step;
using StepPtr = std::shared_ptr<Step>;

class Step : public std::enable_shared_from_this<Step> {
public:
    virtual ~Step() = default;

    // The AT text to write, CR included. "Connecting" asks the gate to open
    // the port named in the Bag instead.
    virtual QString Command() const = 0;
    virtual void setCommand(const QString& /*text*/) {}
    // get: the wait string ("begin;end"); let: the received text.
    virtual QString Answer() const = 0;
    virtual void setAnswer(const QString& /*text*/) {}
    virtual QString ErrorAnswer() const = 0;
    virtual void setErrorAnswer(const QString& /*text*/) {}
    // A second error wait string for this step alone ("" for none), for
    // an error the first one cannot match.
    virtual QString ErrorAlternative() const { return QString(); }
    // Milliseconds to wait for the reply.
    virtual qint32 TimeOut() const = 0;
    // Called once the reply is known; returns the next step or nullptr.
    virtual StepPtr Advance(PhoneCommand& command) = 0;
    // Called when the gate ends the command while this step waits (the port
    // was lost or closed; the command's Result is already INTERRUPTED), so
    // that a chain can record where it stood. The chain ends regardless.
    virtual void Interrupted(PhoneCommand& /*command*/) {}

protected:
    // For a step that repeats itself: the very same object, state kept.
    StepPtr self() { return shared_from_this(); }
};

// Text that ends every AT command, and the line characters of the replies.
inline const QString kCR = QStringLiteral("\r");
inline const QString kLF = QStringLiteral("\n");
inline const QString kCRLF = QStringLiteral("\r\n");
// The pseudo-command that makes the gate open a port.
inline const QString kConnecting = QStringLiteral("Connecting");

}  // namespace corvane
