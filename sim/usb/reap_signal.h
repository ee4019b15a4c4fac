// The device node as a FIFO whose writability tells libusb when a URB can be reaped.
// libusb poll()s the usbfs descriptor for POLLOUT and reaps when it is set. With the pipe one page
// large, a single byte in it makes it "full": the node holds one byte while nothing can be reaped
// and is empty while something can, so the client sleeps in poll() instead of spinning.
#pragma once

#include <string>

namespace ksim {

class ReapSignal {
public:
    // Creates the FIFO at path (its directory must exist); ok() tells whether that worked.
    explicit ReapSignal(const std::string &path);
    ~ReapSignal();
    ReapSignal(const ReapSignal &) = delete;
    ReapSignal &operator=(const ReapSignal &) = delete;

    bool ok() const { return fd_ >= 0; }
    // Changes the FIFO only when the state changes: one read or write per transition.
    void set(bool reapable);

private:
    int fd_ = -1;
    bool reapable_ = true;
};

}  // namespace ksim
