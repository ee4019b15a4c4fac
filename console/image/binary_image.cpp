#include "binary_image.h"

#include "file_result.h"

#include <algorithm>
#include <limits>

BinaryImageBuilder::BinaryImageBuilder(FileInfo& image, uint32_t loadAddress, uint64_t expectedSize)
    : image_(image), nextAddress_(loadAddress), expectedSize_(expectedSize)
{
    image_.parts.clear();
}

void BinaryImageBuilder::Append(const uint8_t* bytes, size_t size)
{
    while (size > 0) {
        if (!open_ || open_->size() == IMAGE_PART_CAPACITY) {
            ImagePart part;
            part.startAddress = nextAddress_;
            nextAddress_ += IMAGE_PART_CAPACITY;
            image_.parts.append(part);
            open_ = &image_.parts.last();
            if (expectedSize_ > total_)
                open_->bytes.reserve(static_cast<size_t>(std::min<uint64_t>(IMAGE_PART_CAPACITY, expectedSize_ - total_)));
        }
        const size_t room = IMAGE_PART_CAPACITY - open_->size();
        const size_t taken = std::min(room, size);
        open_->bytes.insert(open_->bytes.end(), bytes, bytes + taken);
        uint32_t takenSum = 0;
        for (size_t i = 0; i < taken; ++i)
            takenSum += bytes[i];
        open_->endAddress = open_->startAddress + open_->size() - 1;
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
