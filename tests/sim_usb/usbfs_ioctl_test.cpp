// The usbfs ioctls themselves, below libusb: what the emulated device answers to each.
#include "test_devices.h"
#include "usb/testbed.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

using namespace ksim_test;

// The device node opened the way libusb opens it, with interface 1 (bulk) claimed.
class UsbfsNode {
public:
    explicit UsbfsNode(const std::string &path) : fd_(open(path.c_str(), O_RDWR | O_CLOEXEC)) {}
    ~UsbfsNode()
    {
        if (fd_ >= 0) close(fd_);
    }
    UsbfsNode(const UsbfsNode &) = delete;
    UsbfsNode &operator=(const UsbfsNode &) = delete;
    int fd() const { return fd_; }
    // ioctl result, or -errno
    int call(unsigned long request, void *argument) const { return ioctl(fd_, request, argument) == 0 ? 0 : -errno; }
    int claimBulk()
    {
        unsigned interface = 1;
        return call(USBDEVFS_CLAIMINTERFACE, &interface);
    }
    int submit(usbdevfs_urb &urb) const { return call(USBDEVFS_SUBMITURB, &urb); }
    int reap(usbdevfs_urb *&urb, bool wait = false) const
    {
        void *reaped = nullptr;
        const int result = call(wait ? USBDEVFS_REAPURB : USBDEVFS_REAPURBNDELAY, &reaped);
        urb = static_cast<usbdevfs_urb *>(reaped);
        return result;
    }

private:
    int fd_;
};

usbdevfs_urb bulkUrb(unsigned char endpoint, unsigned char *buffer, int length)
{
    usbdevfs_urb urb{};
    urb.type = USBDEVFS_URB_TYPE_BULK;
    urb.endpoint = endpoint;
    urb.buffer = buffer;
    urb.buffer_length = length;
    return urb;
}

class UsbfsIoctl : public testing::Test {
protected:
    void SetUp() override
    {
        bench_.addDevice(identity("SN"), [this](const Bytes &packet, bool) {
            ksim::FirmwareAction action = echo(packet);
            action.delayMs = replyDelayMs_;
            return action;
        });
    }
    std::string node() const { return bench_.devNode(0); }

    ksim::Testbed bench_;
    unsigned replyDelayMs_ = 0;
};

TEST_F(UsbfsIoctl, capabilities_and_driver_requests)
{
    UsbfsNode usb(node());
    ASSERT_GE(usb.fd(), 0);
    uint32_t caps = 0;
    ASSERT_EQ(usb.call(USBDEVFS_GET_CAPABILITIES, &caps), 0);
    EXPECT_EQ(caps, static_cast<uint32_t>(USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION |
                                          USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_BULK_SCATTER_GATHER |
                                          USBDEVFS_CAP_REAP_AFTER_DISCONNECT));
    usbdevfs_ioctl connect{0, static_cast<int>(USBDEVFS_CONNECT), nullptr};
    EXPECT_EQ(usb.call(USBDEVFS_IOCTL, &connect), 0);
    usbdevfs_getdriver driver{};
    EXPECT_EQ(usb.call(USBDEVFS_GETDRIVER, &driver), -ENODATA);
    usbdevfs_connectinfo info{};
    EXPECT_EQ(usb.call(USBDEVFS_CONNECTINFO, &info), -ENOTTY);
    unsigned missing = 7;
    EXPECT_EQ(usb.call(USBDEVFS_CLAIMINTERFACE, &missing), -ENOENT);
    usbdevfs_disconnect_claim claim{};
    claim.interface = 0;
    EXPECT_EQ(usb.call(USBDEVFS_DISCONNECT_CLAIM, &claim), 0);
}

TEST_F(UsbfsIoctl, the_node_is_a_usb_character_device)
{
    struct stat info {};
    ASSERT_EQ(stat(node().c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    EXPECT_EQ(major(info.st_rdev), 189u);
    EXPECT_EQ(minor(info.st_rdev), 0u);
}

TEST_F(UsbfsIoctl, nothing_to_reap_is_eagain)
{
    UsbfsNode usb(node());
    usbdevfs_urb *urb = nullptr;
    EXPECT_EQ(usb.reap(urb), -EAGAIN);
}

TEST_F(UsbfsIoctl, control_transfers_count_only_the_data_stage)
{
    UsbfsNode usb(node());
    unsigned char buffer[8 + 64] = {0x80, 0x06, 0x00, 0x01, 0, 0, 64, 0};  // GET_DESCRIPTOR device, 64 bytes
    usbdevfs_urb urb{};
    urb.type = USBDEVFS_URB_TYPE_CONTROL;
    urb.buffer = buffer;
    urb.buffer_length = sizeof buffer;
    ASSERT_EQ(usb.submit(urb), 0);
    usbdevfs_urb *reaped = nullptr;
    ASSERT_EQ(usb.reap(reaped), 0);
    EXPECT_EQ(reaped, &urb);
    EXPECT_EQ(urb.status, 0);
    EXPECT_EQ(urb.actual_length, 18);
    EXPECT_EQ(buffer[8], 18);
    EXPECT_EQ(buffer[8 + 8], 0x56);  // idVendor, low byte

    unsigned char vendor[8] = {0xC0, 0x01, 0, 0, 0, 0, 0, 0};
    urb.buffer = vendor;
    urb.buffer_length = sizeof vendor;
    ASSERT_EQ(usb.submit(urb), 0);
    ASSERT_EQ(usb.reap(reaped), 0);
    EXPECT_EQ(urb.status, -EPIPE);
}

TEST_F(UsbfsIoctl, a_discarded_read_is_reaped_with_enoent)
{
    UsbfsNode usb(node());
    ASSERT_EQ(usb.claimBulk(), 0);
    unsigned char buffer[64];
    usbdevfs_urb in = bulkUrb(0x82, buffer, sizeof buffer);
    ASSERT_EQ(usb.submit(in), 0);
    usbdevfs_urb *reaped = nullptr;
    EXPECT_EQ(usb.reap(reaped), -EAGAIN);  // the device NAKs
    ASSERT_EQ(usb.call(USBDEVFS_DISCARDURB, &in), 0);
    ASSERT_EQ(usb.reap(reaped), 0);
    EXPECT_EQ(reaped, &in);
    EXPECT_EQ(in.status, -ENOENT);
    EXPECT_EQ(in.actual_length, 0);
    EXPECT_EQ(usb.call(USBDEVFS_DISCARDURB, &in), -EINVAL);
}

TEST_F(UsbfsIoctl, a_blocking_reap_waits_for_the_reply)
{
    replyDelayMs_ = 100;
    UsbfsNode usb(node());
    ASSERT_EQ(usb.claimBulk(), 0);
    unsigned char request[3] = {0xB0, 0x03, 0x00};
    unsigned char buffer[64] = {};
    usbdevfs_urb out = bulkUrb(0x02, request, sizeof request);
    usbdevfs_urb in = bulkUrb(0x82, buffer, sizeof buffer);
    ASSERT_EQ(usb.submit(out), 0);
    ASSERT_EQ(usb.submit(in), 0);
    usbdevfs_urb *first = nullptr;
    usbdevfs_urb *second = nullptr;
    ASSERT_EQ(usb.reap(first, true), 0);
    ASSERT_EQ(usb.reap(second, true), 0);
    EXPECT_EQ(first, &out);
    EXPECT_EQ(out.actual_length, 3);
    EXPECT_EQ(second, &in);
    EXPECT_EQ(in.actual_length, 4);
    EXPECT_EQ((Bytes(buffer, buffer + 4)), (Bytes{0xEC, 0xB0, 0x03, 0x00}));
}

TEST_F(UsbfsIoctl, after_an_unplug_submissions_fail_and_pending_reads_end_with_enodev)
{
    UsbfsNode usb(node());
    ASSERT_EQ(usb.claimBulk(), 0);
    unsigned char buffer[64];
    usbdevfs_urb in = bulkUrb(0x82, buffer, sizeof buffer);
    ASSERT_EQ(usb.submit(in), 0);
    bench_.unplug(0);
    usbdevfs_urb *reaped = nullptr;
    ASSERT_EQ(usb.reap(reaped), 0);
    EXPECT_EQ(reaped, &in);
    EXPECT_EQ(in.status, -ENODEV);
    EXPECT_EQ(usb.reap(reaped), -ENODEV);
    EXPECT_EQ(usb.submit(in), -ENODEV);
    EXPECT_NE(access((bench_.rootDir() + node()).c_str(), F_OK), 0);
}

}  // namespace
