#pragma once
// One unit of work for the e-mail gate: send one letter or read the mailbox
// once. The gate starts it with Execute and polls Result until the result
// is no longer IN_PROCESS; the client reads Result, Error and Owner.
//
// The class itself is only the interface: its members read as 0 or empty
// and Execute does nothing.
#include "email/EMC_RESULT_CODEs.h"

#include <QString>
#include <QtGlobal>

#include <memory>

namespace quenby {

class EmailCommand : public std::enable_shared_from_this<EmailCommand> {
public:
    EmailCommand() = default;
    virtual ~EmailCommand() = default;
    EmailCommand(const EmailCommand&) = delete;
    EmailCommand& operator=(const EmailCommand&) = delete;

    // Reading the result of a running command advances and polls it.
    virtual EMC_RESULT_CODEs Result() { return NOT_EXECUTED_RESULT; }
    virtual void SetResult(EMC_RESULT_CODEs) {}
    virtual void Execute() {}
    virtual QString Error() const { return QString(); }
    virtual qint32 Owner() const { return 0; }
    virtual void SetOwner(qint32) {}

    // Cuts the command's running transfer or session at once (no QUIT), so
    // nothing more happens on the server. Nothing when none runs.
    virtual void Abort() {}

    // The class name, as traces give it.
    virtual QString ClassName() const { return QStringLiteral("EmailCommand"); }
};

}  // namespace quenby
