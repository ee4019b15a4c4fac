#include "timeouts.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace korvex {
namespace {

unsigned divisorFromEnvironment() {
    const char *text = std::getenv("KORVEXLIB_TIMEOUT_DIVISOR");
    if (!text || !*text) return 1;
    char *end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < 1 || value > 1000) return 1;
    return static_cast<unsigned>(value);
}

}  // namespace

unsigned replyTimeoutMs(uint32_t commandTimeoutMs) {
    static const unsigned divisor = divisorFromEnvironment();
    return std::max(1u, commandTimeoutMs / divisor);
}

}  // namespace korvex
