#pragma once

#include "file_info.h"

// Which target memories the parts of an image lie in, judged by each part's start address only.
// When parts lie in more memories than one value names, the first matching combination wins:
// main+boot+BLE, boot+BLE, main+SPIM, main+boot, main+BLE, BLE, boot, SPIM, else main flash.
ImageLocation ClassifyImageMemory(const QList<ImagePart>& parts);
