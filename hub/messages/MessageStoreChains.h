#pragma once
// The chains that work on the phone's message memories through a
// MessageStore: "ReadStore" (list every storage into the store), "WriteSMS"
// (store a message in the phone without sending it) and "DeleteSMS" (delete
// every part of one stored message). The store comes in the Bag item
// "Store". Registered by RegisterMessageChains().
#include "hub/engine/ChainRegistry.h"
#include "hub/engine/Step.h"
#include "hub/messages/MessageStore.h"

namespace corvane {

// Registers the three names in the ChainRegistry.
void registerMessageStoreChains();

StepPtr ReadStoreSetUp(PhoneCommand& command, const SetUpArguments& arguments);
StepPtr WriteSMSSetUp(PhoneCommand& command, const SetUpArguments& arguments);
StepPtr DeleteSMSSetUp(PhoneCommand& command, const SetUpArguments& arguments);

namespace storechain {

// The command's "Store"; raises platform::VbError (91) when there is none.
MessageStore& Store(PhoneCommand& command);
// The command's "Store", or nullptr.
MessageStorePtr StoreOrNull(PhoneCommand& command);
// Nearest whole number, a half to the even neighbour.
qint32 Progress(double value);
// numerator / denominator the same way, worked in whole numbers so that no
// rounding error moves a half (2.3 x 100 / 4 falls short of 57.5 in floating
// point).
qint32 Progress(qint64 numerator, qint64 denominator);
// "AT+CPMS=" name "," name CR for the Bag's "LocationName".
QString SelectBoth(PhoneCommand& command);

}  // namespace storechain

}  // namespace corvane
