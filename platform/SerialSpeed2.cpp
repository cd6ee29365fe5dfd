#include "platform/SerialSpeed2.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept;

namespace platform {

bool SetSerialSpeed2(int fd, int bitsPerSecond)
{
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ospeed = static_cast<speed_t>(bitsPerSecond);
    t.c_ispeed = static_cast<speed_t>(bitsPerSecond);
    return ioctl(fd, TCSETS2, &t) == 0;
}

int SerialSpeed2(int fd)
{
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return -1;
    return static_cast<int>(t.c_ospeed);
}

}  // namespace platform
