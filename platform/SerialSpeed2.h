#pragma once
// Line speeds by number through termios2, for the speeds that have no B
// constant. Kept apart from <termios.h>, whose types clash with termios2.
namespace platform {

// Sets any input and output speed in bits per second; false with errno set.
bool SetSerialSpeed2(int fd, int bitsPerSecond);
// The output speed in bits per second, or -1 with errno set.
int SerialSpeed2(int fd);

}  // namespace platform
