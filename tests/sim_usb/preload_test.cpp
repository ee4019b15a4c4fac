// The environment that puts a child under umockdev's preload.
#include "usb/preload.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct PreloadCase {
    const char *preload;     // LD_PRELOAD before, null when unset
    const char *asan;        // ASAN_OPTIONS before
    const char *wantPreload;
    const char *wantAsan;
};

// The preload library follows a sanitizer runtime and precedes the rest; sanitizer options are kept.
const PreloadCase kCases[] = {
    {"libother.so:/usr/lib/libasan.so.8 libumockdev-preload.so.0", nullptr,
     "/usr/lib/libasan.so.8:libumockdev-preload.so.0:libother.so", "verify_asan_link_order=0"},
    {nullptr, "detect_leaks=1", "libumockdev-preload.so.0", "detect_leaks=1:verify_asan_link_order=0"},
    {nullptr, "verify_asan_link_order=1", "libumockdev-preload.so.0", "verify_asan_link_order=1"},
};

void SetOrUnset(const char *name, const char *value)
{
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

TEST(SimPreload, composes_the_child_environment)
{
    const std::string oldPreload = std::getenv("LD_PRELOAD") ? std::getenv("LD_PRELOAD") : "";
    const std::string oldAsan = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
    EXPECT_TRUE(ksim::runningUnderPreload());
    for (const PreloadCase &c : kCases) {
        SetOrUnset("LD_PRELOAD", c.preload);
        SetOrUnset("ASAN_OPTIONS", c.asan);
        const auto env = ksim::preloadEnvironment("/tmp/bench");
        EXPECT_EQ(env.at("LD_PRELOAD"), c.wantPreload);
        EXPECT_EQ(env.at("ASAN_OPTIONS"), c.wantAsan);
        EXPECT_EQ(env.at("UMOCKDEV_DIR"), "/tmp/bench");
    }
    EXPECT_EQ(ksim::preloadEnvironment().count("UMOCKDEV_DIR"), 0u);
    setenv("LD_PRELOAD", oldPreload.c_str(), 1);
    SetOrUnset("ASAN_OPTIONS", oldAsan.empty() ? nullptr : oldAsan.c_str());
}

}  // namespace
