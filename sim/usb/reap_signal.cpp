#include "usb/reap_signal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ksim {

ReapSignal::ReapSignal(const std::string &path)
{
    if (mkfifo(path.c_str(), 0666) != 0) return;
    // Read-write so that opening never waits for a peer and the pipe never reports a hang-up.
    fd_ = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return;
    const long page = sysconf(_SC_PAGESIZE);
    if (fcntl(fd_, F_SETPIPE_SZ, static_cast<int>(page)) < 0) {
        close(fd_);
        fd_ = -1;
        return;
    }
    set(false);
}

ReapSignal::~ReapSignal()
{
    if (fd_ >= 0) close(fd_);
}

void ReapSignal::set(bool reapable)
{
    if (fd_ < 0 || reapable == reapable_) return;
    char byte = 0;
    const ssize_t done = reapable ? read(fd_, &byte, 1) : write(fd_, &byte, 1);
    if (done == 1) reapable_ = reapable;
}

}  // namespace ksim
