// korvex-probes: the connected Korvex probes, one line each, for people and scripts:
//   SERIAL<TAB>NAME<TAB>hw N<TAB>fw A.B.C<TAB>HID|bulk<TAB>ready|cannot be opened
// A probe that cannot be opened (another program holds it, or the user may not open it) is
// listed with what is known from the bus alone.
#include "KORVEXLIB.h"
#include "probe_description.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kCapacity = 99;

struct ProbeHandle {
    explicit ProbeHandle(const char* serial) : handle(KORVEX_Open(serial)) {}
    ~ProbeHandle()
    {
        if (IsOpen())
            KORVEX_Close(handle);
    }
    ProbeHandle(const ProbeHandle&) = delete;
    ProbeHandle& operator=(const ProbeHandle&) = delete;
    bool IsOpen() const { return handle != KORVEX_INVALID_HANDLE && handle != 0; }
    KORVEX_HANDLE handle;
};

struct Library {
    Library() : ready(KORVEX_Init() == 0) {}
    ~Library() { KORVEX_Exit(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    bool ready;
};

std::string Describe(const std::string& serial)
{
    ProbeHandle probe(serial.c_str());
    uint8_t version[4] = {};
    uint8_t transport = 0xFF;
    if (!probe.IsOpen() || KORVEX_GetVersion(probe.handle, sizeof version, version) != 0)
        return serial + "\t-\t-\t-\t-\tcannot be opened (in use by another program, or no permission: see the udev rule in the README)";
    KORVEX_GetTransType(probe.handle, &transport);
    char fields[96];
    std::snprintf(fields, sizeof fields, "\thw %u\tfw %u.%u.%u\t%s\tready", version[3], version[0], version[1],
                  version[2], transport == 0 ? "HID" : transport == 1 ? "bulk" : "-");
    return serial + "\t" + ProbeName(version[3]) + fields;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc > 1) {
        const bool help = std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0;
        std::fprintf(help ? stdout : stderr,
                     "Usage: korvex-probes\n"
                     "Lists the connected Korvex probes, one per line, fields separated by tabs:\n"
                     "serial, name, hardware version, firmware version, transport (HID or bulk), and\n"
                     "\"ready\" or why the probe cannot be opened. Exit status: 0, also when no probe\n"
                     "is connected; 1 when USB cannot be used; 2 for a bad command line.\n"
                     "Korvex_Console -connect uses the probe named by KORVEX_PROBE=<serial>.\n");
        return help ? 0 : 2;
    }
    Library library;
    if (!library.ready) {
        std::fprintf(stderr, "korvex-probes: USB cannot be initialised\n");
        return 1;
    }
    std::vector<char> serials(kCapacity * KORVEX_SERIAL_ROW_SIZE);
    uint8_t count = kCapacity;
    if (KORVEX_GetKorvexDeviceList(&count, serials.data()) != 0) {
        std::fprintf(stderr, "korvex-probes: the probes cannot be listed\n");
        return 1;
    }
    for (uint8_t i = 0; i < count; ++i)
        std::printf("%s\n", Describe(&serials[i * KORVEX_SERIAL_ROW_SIZE]).c_str());
    return 0;
}
