// ShareParameter::LocateImage is declared with the shared record but belongs to the image
// model, so it is defined here.
#include "image_memory.h"
#include "share_parameter.h"

void ShareParameter::LocateImage(FileInfo& file)
{
    file.location = ClassifyImageMemory(file.parts);
}
