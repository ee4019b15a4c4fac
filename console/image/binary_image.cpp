#include "binary_image.h"

#include "file_result.h"

#include <algorithm>
#include <cstring>
#include <limits>

BinaryImageBuilder::BinaryImageBuilder(FileInfo& image, uint32_t loadAddress)
    : image_(image), nextAddress_(loadAddress)
{
    image_.parts.clear();
}

void BinaryImageBuilder::Append(const uint8_t* bytes, size_t size)
{
    while (size > 0) {
        if (!open_ || open_->size == IMAGE_PART_CAPACITY) {
            ImagePart part;
            part.startAddress = nextAddress_;
            nextAddress_ += IMAGE_PART_CAPACITY;
            image_.parts.append(part);
            open_ = &image_.parts.last();
        }
        const size_t room = IMAGE_PART_CAPACITY - open_->size;
        const size_t taken = std::min(room, size);
        uint8_t* out = open_->bytes + open_->size;
        std::memcpy(out, bytes, taken);
        uint32_t takenSum = 0;
        for (size_t i = 0; i < taken; ++i)
            takenSum += out[i];
        open_->size += static_cast<uint32_t>(taken);
        open_->endAddress = open_->startAddress + open_->size - 1;
        open_->checksum += takenSum;
        sum_ += takenSum;
        total_ += taken;
        bytes += taken;
        size -= taken;
    }
}

bool BinaryImageBuilder::Finish()
{
    if (total_ > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
        return false;
    image_.size = static_cast<int32_t>(total_);
    image_.checksum = static_cast<int32_t>(sum_);
    return true;
}

int CutIntoParts(const uint8_t* bytes, size_t size, uint32_t loadAddress, FileInfo& image)
{
    BinaryImageBuilder builder(image, loadAddress);
    builder.Append(bytes, size);
    if (!builder.Finish())
        return FILE_OPEN_FORMAT_ERROR;
    return size == 0 ? FILE_OPEN_EMPTY_ERROR : FILE_OPERATION_SUCCESS;
}
