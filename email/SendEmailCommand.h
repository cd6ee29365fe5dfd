#pragma once
// Sends one letter to its recipients. The send is started by Execute and
// stays IN_PROCESS until the transfer has ended: polling Result advances it.
#include "email/EmailCommand.h"
#include "email/MAPIMessage.h"
#include "email/MapiRecip.h"

#include <QList>

#include <memory>

namespace quenby {

class CDOSYS;
class SMAPI;

class SendEmailCommand : public EmailCommand {
public:
    SendEmailCommand() = default;
    ~SendEmailCommand() override;

    // Copies the recipients (indexed from 0) and the letter; sets the owner.
    void SetUp(const QList<MapiRecip>& TOs, const MAPIMessage& msg, qint32 owner);
    int RecipientsCount() const { return static_cast<int>(recipients_.size()); }
    // A copy of one recipient; an index outside the list raises
    // "Subscript out of range (9)".
    MapiRecip Recipients(int index) const;
    MAPIMessage Message() const { return message_; }
    std::shared_ptr<EmailCommand> GetCommand() { return shared_from_this(); }

    EMC_RESULT_CODEs Result() override;
    void SetResult(EMC_RESULT_CODEs result) override { result_ = result; }
    void Execute() override;
    QString Error() const override { return error_; }
    qint32 Owner() const override { return owner_; }
    void SetOwner(qint32 owner) override { owner_ = owner; }
    void Abort() override;
    QString ClassName() const override { return QStringLiteral("SendEmailCommand"); }

private:
    void take(bool inProcess, const QString& result);

    EMC_RESULT_CODEs result_ = NOT_EXECUTED_RESULT;
    QString error_;
    qint32 owner_ = 0;
    QList<MapiRecip> recipients_;
    MAPIMessage message_;
    // The service that runs this command's transfer, kept until it ends.
    std::shared_ptr<CDOSYS> cdo_;
    std::shared_ptr<SMAPI> smapi_;
};

}  // namespace quenby
