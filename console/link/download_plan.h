#pragma once

// What the download engine and the memory reads will do, worked out without a probe.

#include "file_info.h"

#include <cstdint>
#include <vector>

// Size of one library call's worth of data in downloads and reads.
constexpr uint32_t LINK_TRANSFER_CHUNK = 1024;

// One piece of a transfer: target address, offset into the caller's bytes, length.
struct TransferChunk {
    uint32_t address;
    uint32_t offset;
    uint32_t length;
};

// Whole chunks of chunkSize in address order, then the remainder.
std::vector<TransferChunk> SplitIntoChunks(uint32_t address, uint32_t length, uint32_t chunkSize = LINK_TRANSFER_CHUNK);

// Where the erasable memories lie on the connected target.
struct EraseGeometry {
    uint32_t flashSectorSize;
    uint32_t bootAddress;
    uint32_t bootSize;
};

// Start addresses of every main-flash, boot-memory and SPIM sector the parts touch, each once, in
// the order the parts first reach them. Parts elsewhere (the BLE module) add nothing.
std::vector<uint32_t> SectorsForImage(const QList<ImagePart>& parts, const EraseGeometry& geometry);

// The write-sequence calls that bracket a download, by the memories the image lies in.
enum class BracketCall { MainFlash, Spim, SelectBleMainSpace };
std::vector<BracketCall> BeginCalls(ImageLocation position);
std::vector<BracketCall> EndCalls(ImageLocation position);
