#pragma once
// What the simulated phone remembers between commands and across port
// closes. Each command file keeps its own part of the state in a type of its
// own, made on first use: sim.state().get<SmsMemory>().
#include <map>
#include <memory>
#include <typeindex>

namespace phonesim {

struct PhoneState {
    bool echo = true;  // ATE1 until ATE0
    int cmee = 0;      // AT+CMEE mode: 0 plain "ERROR", 1 and 2 numbered errors

    template <class T>
    T& get()
    {
        std::shared_ptr<void>& slot = parts_[std::type_index(typeid(T))];
        if (!slot)
            slot = std::make_shared<T>();
        return *std::static_pointer_cast<T>(slot);
    }

private:
    std::map<std::type_index, std::shared_ptr<void>> parts_;
};

}  // namespace phonesim
