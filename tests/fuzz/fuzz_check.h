// Invariant checks for the fuzz harnesses: a broken invariant stops the run with its text.
#pragma once

#include "FileInfo.h"

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

// What every loaded image must satisfy, whatever the input was.
inline void CheckImageInvariants(const FileInfo& image)
{
    uint32_t totalSize = 0, totalSum = 0;
    for (const HEXFILEPARTINFO& part : image.partInfo) {
        FUZZ_CHECK(part.PartSize <= IMAGE_PART_CAPACITY);
        FUZZ_CHECK(part.PartEndAddress == part.PartStartAddress + part.PartSize - 1);
        uint32_t sum = 0;
        for (uint32_t i = 0; i < part.PartSize; ++i)
            sum += part.pData[i];
        FUZZ_CHECK(sum == part.PartChecksum);
        totalSize += part.PartSize;
        totalSum += sum;
    }
    FUZZ_CHECK(static_cast<uint32_t>(image.FileSize) == totalSize);
    FUZZ_CHECK(static_cast<uint32_t>(image.Filechecksum) == totalSum);
    FUZZ_CHECK(image.partInfo.isEmpty() || image.StartAddress == image.partInfo.first().PartStartAddress);
}
