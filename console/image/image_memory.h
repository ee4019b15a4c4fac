#pragma once

#include "file_info.h"

// Which target memories the parts of an image lie in, judged by each part's start address only.
// When parts lie in more memories than one value names, the first matching combination wins:
// main+boot+BLE, boot+BLE, main+SPIM, main+boot, main+BLE, BLE, boot, SPIM, else main flash.
ImageLocation ClassifyImageMemory(const QList<ImagePart>& parts);

#include <cstdint>

// Bytes from address to the end of the target memory window that holds it: the BLE module flash,
// main flash with SPIM above it, or boot memory. 0 for an address in none of them. A binary image
// loaded at address can never be taken whole when it is longer than this.
uint64_t MemoryRoomFrom(uint32_t address);
