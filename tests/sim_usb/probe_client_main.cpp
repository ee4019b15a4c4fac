// A libusb client in a process of its own, for the tests that need one:
//   sim_usb_probe_client list                 serial numbers of the probes, sorted, one per line
//   sim_usb_probe_client exchange HEX...      one bulk request to the first probe, the reply in hex
//   sim_usb_probe_client hang                 waits on the HID IN endpoint for ever; prints
//                                             "waiting" once the transfer is pending
#include "usb_client.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using ksim_test::ProbeChannel;
using ksim_test::UsbContext;

int list()
{
    UsbContext usb;
    std::vector<std::string> serials = usb.probeSerials();
    std::sort(serials.begin(), serials.end());
    for (const std::string &serial : serials) std::printf("%s\n", serial.c_str());
    return 0;
}

int exchange(int argc, char **argv)
{
    if (argc < 3) return 2;
    UsbContext usb;
    ProbeChannel channel(usb.get(), 0xFF);
    if (!channel.ok()) {
        std::fprintf(stderr, "open: %s\n", libusb_error_name(channel.error()));
        return 3;
    }
    std::vector<uint8_t> request;
    for (int i = 2; i < argc; ++i) request.push_back(static_cast<uint8_t>(std::strtoul(argv[i], nullptr, 16)));
    int result = channel.send(request);
    std::vector<uint8_t> reply;
    if (result == 0) result = channel.receive(reply, 64, 3000);
    if (result != 0) {
        std::fprintf(stderr, "transfer: %s\n", libusb_error_name(result));
        return 4;
    }
    for (size_t i = 0; i < reply.size(); ++i) std::printf("%s%02X", i ? " " : "", reply[i]);
    std::printf("\n");
    return 0;
}

void LIBUSB_CALL ignoreCompletion(libusb_transfer *) {}

int hang()
{
    UsbContext usb;
    ProbeChannel channel(usb.get(), 3);
    if (!channel.ok()) return 3;
    unsigned char buffer[64];
    libusb_transfer *transfer = libusb_alloc_transfer(0);
    libusb_fill_interrupt_transfer(transfer, channel.handle(), 0x81, buffer, sizeof buffer, ignoreCompletion,
                                   nullptr, 0);
    if (libusb_submit_transfer(transfer) != 0) return 4;
    std::printf("waiting\n");
    std::fflush(stdout);
    for (;;) libusb_handle_events(usb.get());
}

}  // namespace

int main(int argc, char **argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "list") return list();
    if (mode == "exchange") return exchange(argc, argv);
    if (mode == "hang") return hang();
    std::fprintf(stderr, "usage: %s list | exchange HEX... | hang\n", argv[0]);
    return 2;
}
