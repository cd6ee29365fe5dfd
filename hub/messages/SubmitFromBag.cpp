#include "hub/messages/SubmitFromBag.h"

#include "hub/engine/Bag.h"

namespace corvane {

std::shared_ptr<SMS> SubmitFromBag(PhoneCommand& command)
{
    auto sms = std::make_shared<SMS>();
    sms->MTI = SUBMIT;
    sms->RP = NOREPLYPATH;
    sms->SCNumber = VariantText(command.Bag(QStringLiteral("SCNumber")));
    sms->SRIR = static_cast<SRIR_TYPE>(VariantLong(command.Bag(QStringLiteral("StatusReport"))));
    sms->MsgClass = static_cast<MSG_CLASS>(VariantLong(command.Bag(QStringLiteral("MessageClass"))));
    const QVariant validity = command.Bag(QStringLiteral("ValidityPeriod"));
    if (!VariantIsEmpty(validity))
        sms->VP(validity);
    return sms;
}

void FillSubmitBag(PhoneCommand& command, const SubmitRequest& request)
{
    command.setBag(QStringLiteral("SCNumber"), request.SCNumber);
    command.setBag(QStringLiteral("StatusReport"), request.StatusReport);
    command.setBag(QStringLiteral("MessageClass"), request.MessageClass);
    command.setBag(QStringLiteral("ValidityPeriod"), request.ValidityPeriod);
    command.setBag(QStringLiteral("MessageBody"), request.MessageBody);
    command.setBag(QStringLiteral("MessageCoding"), request.MessageCoding);
    command.setBag(QStringLiteral("JoinParts"), request.JoinParts);
}

}  // namespace corvane
