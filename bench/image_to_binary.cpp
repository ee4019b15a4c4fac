// image_to_binary IN OUT: loads an image file with the console's own readers and writes the bytes
// from its lowest to its highest address to OUT, gaps filled with 0, as objcopy -O binary and
// srec_cat -o OUT -binary do. bench_hex_load times it as a whole process against them.
#include "file_operation.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: image_to_binary IN OUT\n");
        return 2;
    }
    FileInfo image;
    image.path = argv[1];
    image.startAddress = 0x08000000; // the console's default load address of a binary file
    if (FileOperation().OpenFile(image) != FILE_OPERATION_SUCCESS) {
        std::fprintf(stderr, "image_to_binary: %s cannot be loaded\n", argv[1]);
        return 1;
    }
    uint64_t low = UINT64_MAX, high = 0;
    for (const ImagePart& part : image.parts) {
        if (part.size() == 0)
            continue;
        low = std::min<uint64_t>(low, part.startAddress);
        high = std::max<uint64_t>(high, uint64_t{part.startAddress} + part.size());
    }
    const size_t length = high > low ? static_cast<size_t>(high - low) : 0;
    std::vector<uint8_t> flat(length);
    for (const ImagePart& part : image.parts)
        std::copy(part.bytes.begin(), part.bytes.end(), flat.begin() + (part.startAddress - low));
    std::FILE* out = std::fopen(argv[2], "wb");
    const bool written = out && std::fwrite(flat.data(), 1, length, out) == length;
    return out && std::fclose(out) == 0 && written ? 0 : 1;
}
