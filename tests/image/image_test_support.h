// Helpers shared by the image and user system data tests: scratch files, byte patterns, parts.
#pragma once

#include "file_info.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace image_test {

using Bytes = std::vector<uint8_t>;

// A scratch directory removed with everything in it when the test ends.
class ScratchDir {
public:
    std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }

private:
    QTemporaryDir dir_;
};

template <typename Content> // a string or bytes
void WriteFile(const std::string& path, const Content& content)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Bytes RandomBytes(size_t size, uint32_t seed)
{
    std::mt19937 generator(seed);
    Bytes bytes(size);
    std::generate(bytes.begin(), bytes.end(), [&generator] { return static_cast<uint8_t>(generator()); });
    return bytes;
}

// One Intel HEX record written independently of the program's own writer.
inline std::string ReferenceRecord(int type, uint32_t offset, const uint8_t* data, size_t size, const char* lineEnd)
{
    char field[16];
    std::snprintf(field, sizeof field, ":%02X%04X%02X", static_cast<unsigned>(size), offset & 0xFFFF, type);
    std::string text = field;
    unsigned sum = static_cast<unsigned>(size) + (offset >> 8 & 0xFF) + (offset & 0xFF) + static_cast<unsigned>(type);
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(field, sizeof field, "%02X", data[i]);
        text += field;
        sum += data[i];
    }
    std::snprintf(field, sizeof field, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    return text + field + lineEnd;
}

// A part as the tests expect it: where it starts and what it holds.
struct ExpectedPart {
    uint32_t start;
    Bytes bytes;
};

// Runs of bytes at addresses, split where a run crosses a 64 KiB boundary, as an Intel HEX file
// that carries them must come back.
inline std::vector<ExpectedPart> SplitAtSegments(const std::vector<ExpectedPart>& runs)
{
    std::vector<ExpectedPart> parts;
    for (const ExpectedPart& run : runs) {
        size_t done = 0;
        while (done < run.bytes.size()) {
            const auto address = static_cast<uint32_t>(run.start + done);
            const size_t room = 0x10000 - (address & 0xFFFF);
            const size_t count = std::min(room, run.bytes.size() - done);
            parts.push_back({address, Bytes(run.bytes.begin() + done, run.bytes.begin() + done + count)});
            done += count;
        }
    }
    return parts;
}

// The image holds exactly the expected parts, with their sums, and the totals over them.
inline void ExpectParts(const FileInfo& image, const std::vector<ExpectedPart>& expected)
{
    ASSERT_EQ(image.parts.size(), static_cast<int>(expected.size()));
    uint32_t sum = 0;
    size_t size = 0;
    for (int i = 0; i < image.parts.size(); ++i) {
        const ImagePart& part = image.parts[i];
        const ExpectedPart& want = expected[static_cast<size_t>(i)];
        const uint32_t partSum = std::accumulate(want.bytes.begin(), want.bytes.end(), 0u);
        EXPECT_EQ(part.startAddress, want.start) << "part " << i;
        EXPECT_EQ(part.endAddress, static_cast<uint32_t>(want.start + want.bytes.size() - 1)) << "part " << i;
        EXPECT_EQ(part.checksum, partSum) << "part " << i;
        EXPECT_EQ(part.bytes, want.bytes) << "part " << i;
        sum += partSum;
        size += want.bytes.size();
    }
    EXPECT_EQ(static_cast<uint32_t>(image.checksum), sum);
    EXPECT_EQ(static_cast<size_t>(image.size), size);
    if (!expected.empty()) {
        EXPECT_EQ(image.startAddress, expected.front().start);
    }
}

} // namespace image_test
