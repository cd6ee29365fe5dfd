#include "hub/messages/SubmitFromBag.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/Bag.h"

namespace corvane {

std::shared_ptr<SMS> SubmitFromBag(PhoneCommand& command)
{
    auto sms = std::make_shared<SMS>();
    sms->MTI = SUBMIT;
    sms->RP = NOREPLYPATH;
    sms->SCNumber = VariantText(command.Bag(bag::SCNumber));
    sms->SRIR = static_cast<SRIR_TYPE>(VariantLong(command.Bag(bag::StatusReport)));
    sms->MsgClass = static_cast<MSG_CLASS>(VariantLong(command.Bag(bag::MessageClass)));
    const QVariant validity = command.Bag(bag::ValidityPeriod);
    if (!VariantIsEmpty(validity))
        sms->VP(validity);
    return sms;
}

void FillSubmitBag(PhoneCommand& command, const SubmitRequest& request)
{
    command.setBag(bag::SCNumber, request.SCNumber);
    command.setBag(bag::StatusReport, request.StatusReport);
    command.setBag(bag::MessageClass, request.MessageClass);
    command.setBag(bag::ValidityPeriod, request.ValidityPeriod);
    command.setBag(bag::MessageBody, request.MessageBody);
    command.setBag(bag::MessageCoding, request.MessageCoding);
    command.setBag(bag::JoinParts, request.JoinParts);
}

}  // namespace corvane
