#pragma once
// File permissions as an ordinary user meets them: while one of these lives,
// this thread loses the capabilities by which root reads and writes past
// them (a file of mode 0444 then gives "Permission denied"). Nothing changes
// for a test run by an ordinary user.
#include <cstring>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testsupport {

class OrdinaryUser {
public:
    OrdinaryUser()
    {
        if (::syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2];
        std::memcpy(lowered, saved_, sizeof lowered);
        for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
            lowered[cap / 32].effective &= ~(1u << (cap % 32));
        lowered_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~OrdinaryUser()
    {
        if (lowered_)
            ::syscall(SYS_capset, &header_, saved_);
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
};

}  // namespace testsupport
