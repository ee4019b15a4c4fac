// main() for GoogleTest binaries that host a ksim::Testbed and talk to it through libusb in the
// same process: the binary first re-executes itself under umockdev's preload.
#include "usb/preload.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (!ksim::reexecUnderPreloadIfNeeded(argc, argv)) return 1;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
