#pragma once
// The SUBMIT that the send and the write chains start from: service centre,
// status report, class and validity period as the Bag gives them. Coding,
// text and address are each chain's own. A client fills those Bag items
// from one request.
#include "hub/engine/PhoneCommand.h"
#include "hub/messages/SMS.h"

#include <memory>

namespace corvane {

std::shared_ptr<SMS> SubmitFromBag(PhoneCommand& command);

// What a client asks of a message to send or to store.
struct SubmitRequest {
    QString SCNumber;
    qint32 StatusReport = 0;
    qint32 MessageClass = 0;
    QVariant ValidityPeriod;  // travels as given
    QString MessageBody;
    qint32 MessageCoding = 0;
    bool JoinParts = true;
};

// Puts the request into the Bag items the send and write chains read.
void FillSubmitBag(PhoneCommand& command, const SubmitRequest& request);

}  // namespace corvane
