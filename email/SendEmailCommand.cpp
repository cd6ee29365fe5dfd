#include "email/SendEmailCommand.h"

#include "email/CDOSYS.h"
#include "email/QuenbyGlobalObjs.h"
#include "email/SMAPI.h"
#include "platform/VbError.h"

namespace quenby {

SendEmailCommand::~SendEmailCommand() = default;

void SendEmailCommand::SetUp(const QList<MapiRecip>& TOs, const MAPIMessage& msg, qint32 owner)
{
    recipients_ = TOs;
    message_ = msg;
    owner_ = owner;
}

MapiRecip SendEmailCommand::Recipients(int index) const
{
    if (index < 0 || index >= recipients_.size())
        platform::Raise(platform::vberr::SubscriptOutOfRange, QStringLiteral("SendEmailCommand"),
                        QStringLiteral("Subscript out of range"));
    return recipients_.at(index);
}

void SendEmailCommand::Execute()
{
    try {
        QString text;
        switch (ServiceType()) {
        case CDOSYS_TYPE: {
            std::shared_ptr<CDOSYS> service = CdoService();
            if (!service)
                platform::RaiseObjectNotSet(QStringLiteral("SendEmailCommand"));
            text = service->Send(recipients_, message_);
            if (text.isEmpty()) {
                cdo_ = std::move(service);
                result_ = IN_PROCESS;
                return;
            }
            break;
        }
        case SIMPLE_MAPI_TYPE: {
            std::shared_ptr<SMAPI> service = SmapiService();
            if (!service)
                platform::RaiseObjectNotSet(QStringLiteral("SendEmailCommand"));
            // Resolved recipients replace the command's own: the client logs
            // the addresses they went to.
            text = service->Send(recipients_, message_);
            if (text.isEmpty()) {
                smapi_ = std::move(service);
                result_ = IN_PROCESS;
                return;
            }
            break;
        }
        default:
            text = QStringLiteral("No supported email service");
            break;
        }
        result_ = ERROR_RESULT;
        error_ = text;
    } catch (const std::exception& e) {
        cdo_.reset();
        smapi_.reset();
        result_ = ERROR_RESULT;
        error_ = platform::ErrorText(e);
    }
}

void SendEmailCommand::take(bool inProcess, const QString& result)
{
    if (inProcess)
        return;
    cdo_.reset();
    smapi_.reset();
    if (result.isEmpty()) {
        result_ = OK_RESULT;
    } else {
        result_ = ERROR_RESULT;
        error_ = result;
    }
}

EMC_RESULT_CODEs SendEmailCommand::Result()
{
    if (result_ != IN_PROCESS)
        return result_;
    try {
        if (cdo_) {
            const CDOSYS::SendState state = cdo_->PollSend();
            take(state.inProcess, state.result);
        } else if (smapi_) {
            const SMAPI::SendState state = smapi_->PollSend();
            take(state.inProcess, state.result);
        }
    } catch (const std::exception& e) {
        cdo_.reset();
        smapi_.reset();
        result_ = ERROR_RESULT;
        error_ = platform::ErrorText(e);
    }
    return result_;
}

void SendEmailCommand::Abort()
{
    if (result_ != IN_PROCESS)
        return;
    if (cdo_)
        cdo_->AbortSend();
    if (smapi_)
        smapi_->AbortSend();
    cdo_.reset();
    smapi_.reset();
}

}  // namespace quenby
