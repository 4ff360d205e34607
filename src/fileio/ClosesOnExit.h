#pragma once

#include <unistd.h>

namespace ovex {

// Closes a file descriptor when the scope that opened it ends, however it ends.
struct ClosesOnExit
{
    int fd;
    ~ClosesOnExit() { ::close(fd); }
};

} // namespace ovex
