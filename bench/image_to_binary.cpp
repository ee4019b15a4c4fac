// image_to_binary IN OUT: loads an image file with the console's own readers and writes the bytes
// from its lowest to its highest address to OUT, gaps filled with 0, as objcopy -O binary and
// srec_cat -o OUT -binary do. bench_hex_load times it as a whole process against them.
#include "file_operation.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>
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
    // Parts in address order, gaps as zeros, in a few large writes; a part that overlaps an earlier
    // one is written over it at its own offset.
    std::vector<const ImagePart*> order;
    for (const ImagePart& part : image.parts)
        order.push_back(&part);
    std::stable_sort(order.begin(), order.end(),
                     [](const ImagePart* a, const ImagePart* b) { return a->startAddress < b->startAddress; });
    static const uint8_t kZeros[65536] = {};
    const int out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    bool written = out >= 0;
    std::vector<iovec> pending;
    size_t pendingBytes = 0;
    const auto flush = [&] {
        written = written && (pending.empty() || writev(out, pending.data(), static_cast<int>(pending.size()))
                                                     == static_cast<ssize_t>(pendingBytes));
        pending.clear();
        pendingBytes = 0;
    };
    const auto queue = [&](const void* data, size_t size) {
        pending.push_back({const_cast<void*>(data), size});
        pendingBytes += size;
        if (pending.size() == 1024)
            flush();
    };
    uint64_t at = low;
    for (const ImagePart* part : order) {
        if (part->size() == 0)
            continue;
        const uint64_t end = uint64_t{part->startAddress} + part->size();
        if (part->startAddress < at) {
            flush();
            written = written && pwrite(out, part->bytes.data(), part->size(), static_cast<off_t>(part->startAddress - low))
                                     == static_cast<ssize_t>(part->size());
            if (end > at)
                written = written && lseek(out, static_cast<off_t>(end - low), SEEK_SET) >= 0;
            at = std::max(at, end);
            continue;
        }
        for (uint64_t gap = part->startAddress - at; gap > 0;) {
            const size_t piece = static_cast<size_t>(std::min<uint64_t>(gap, sizeof kZeros));
            queue(kZeros, piece);
            gap -= piece;
        }
        queue(part->bytes.data(), part->size());
        at = end;
    }
    flush();
    return out >= 0 && close(out) == 0 && written ? 0 : 1;
}
