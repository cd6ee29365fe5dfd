#pragma once
// The SUBMIT that the send and the write chains start from: service centre,
// status report, class and validity period as the Bag gives them. Coding,
// text and address are each chain's own.
#include "hub/engine/PhoneCommand.h"
#include "hub/messages/SMS.h"

#include <memory>

namespace corvane {

std::shared_ptr<SMS> SubmitFromBag(PhoneCommand& command);

}  // namespace corvane
