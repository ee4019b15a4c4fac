// ShareParameter::CheckFileInMemoPos is declared with the shared record but belongs to the image
// model, so it is defined here.
#include "ImageMemory.h"
#include "ShareParameter.h"

void ShareParameter::CheckFileInMemoPos(FileInfo& file)
{
    file.FileInMemoPos = ClassifyImageMemory(file.partInfo);
}
