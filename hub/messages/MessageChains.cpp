#include "hub/messages/MessageChains.h"

#include "hub/engine/ChainRegistry.h"

#include <utility>
#include <vector>

// Each X(Name) line calls registerNameChains(), defined beside the chain it
// registers. Adding a chain file is one line here.
#define HUB_MESSAGE_CHAINS(X) \
    X(MessageStore)           \
    X(SendSMS)                \
    X(ReadSMS)                \
    X(PhoneBook)              \
    /* one X(...) line per chain file, above this comment */

namespace corvane {

#define HUB_DECLARE_CHAINS(Name) void register##Name##Chains();
HUB_MESSAGE_CHAINS(HUB_DECLARE_CHAINS)
#undef HUB_DECLARE_CHAINS

void RegisterMessageChains()
{
#define HUB_CALL_CHAINS(Name) register##Name##Chains();
    HUB_MESSAGE_CHAINS(HUB_CALL_CHAINS)
#undef HUB_CALL_CHAINS
}

void RegisterMissingMessageChains()
{
    std::vector<std::pair<QString, ChainFactory>> kept;
    for (const QString& name : ChainRegistry::Names())
        if (const ChainFactory* factory = ChainRegistry::Find(name))
            kept.emplace_back(name, *factory);
    RegisterMessageChains();
    for (auto& [name, factory] : kept)
        ChainRegistry::Register(name, std::move(factory));
}

}  // namespace corvane
