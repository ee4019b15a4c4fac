// The environment that puts a child under umockdev's preload.
#include "usb/preload.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char *name, const char *value) : name_(name)
    {
        const char *old = std::getenv(name);
        if (old) old_ = old;
        hadOld_ = old != nullptr;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (hadOld_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    const char *name_;
    std::string old_;
    bool hadOld_ = false;
};

TEST(SimPreload, the_preload_library_follows_a_sanitizer_runtime_and_precedes_the_rest)
{
    ScopedVariable preload("LD_PRELOAD", "libother.so:/usr/lib/libasan.so.8 libumockdev-preload.so.0");
    ScopedVariable asan("ASAN_OPTIONS", nullptr);
    const auto env = ksim::preloadEnvironment("/tmp/bench");
    EXPECT_EQ(env.at("LD_PRELOAD"), "/usr/lib/libasan.so.8:libumockdev-preload.so.0:libother.so");
    EXPECT_EQ(env.at("ASAN_OPTIONS"), "verify_asan_link_order=0");
    EXPECT_EQ(env.at("UMOCKDEV_DIR"), "/tmp/bench");
}

TEST(SimPreload, existing_sanitizer_options_are_kept)
{
    ScopedVariable preload("LD_PRELOAD", nullptr);
    {
        ScopedVariable asan("ASAN_OPTIONS", "detect_leaks=1");
        const auto env = ksim::preloadEnvironment();
        EXPECT_EQ(env.at("LD_PRELOAD"), "libumockdev-preload.so.0");
        EXPECT_EQ(env.at("ASAN_OPTIONS"), "detect_leaks=1:verify_asan_link_order=0");
        EXPECT_EQ(env.count("UMOCKDEV_DIR"), 0u);
    }
    ScopedVariable asan("ASAN_OPTIONS", "verify_asan_link_order=1");
    EXPECT_EQ(ksim::preloadEnvironment().at("ASAN_OPTIONS"), "verify_asan_link_order=1");
}

TEST(SimPreload, this_test_binary_runs_under_the_preload)
{
    EXPECT_TRUE(ksim::runningUnderPreload());
}

}  // namespace
