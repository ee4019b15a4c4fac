// Invariant checks for the fuzz harnesses: a broken invariant stops the run with its text.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                        \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                            \
        }                                                                                            \
    } while (0)

#if __has_include("file_info.h") // the harnesses of the console's readers
#include "file_info.h"

// What every loaded image must satisfy, whatever the input was.
inline void CheckImageInvariants(const FileInfo& image)
{
    uint32_t totalSize = 0, totalSum = 0;
    for (const ImagePart& part : image.parts) {
        uint32_t sum = 0;
        for (uint8_t byte : part.bytes)
            sum += byte;
        FUZZ_CHECK(part.size() <= IMAGE_PART_CAPACITY && part.endAddress == part.startAddress + part.size() - 1);
        FUZZ_CHECK(sum == part.checksum);
        totalSize += part.size();
        totalSum += sum;
    }
    FUZZ_CHECK(static_cast<uint32_t>(image.size) == totalSize && static_cast<uint32_t>(image.checksum) == totalSum);
    FUZZ_CHECK(image.parts.isEmpty() || image.startAddress == image.parts.first().startAddress);
}
#endif
