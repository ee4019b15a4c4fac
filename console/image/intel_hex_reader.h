#pragma once

#include "file_info.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct HexRecord;

// Builds the parts of an image from the lines of an Intel HEX file, one line at a time, so that a
// file never has to be held in memory whole.
//
// Parts follow the file: every extended linear address record ("04") starts a new part, and so
// does every data record whose address does not continue the previous one. Segment and start
// address records ("02", "03", "05") are passed over. Every record must be well formed:
// hexadecimal fields, a byte count that matches the data, a correct checksum, a known type, and
// for data no byte past offset 0xFFFF of its segment. The file must end with an end-of-file
// record; nothing after it is read.
class IntelHexReader {
public:
    // Fills parts, size, checksum and startAddress of the image.
    explicit IntelHexReader(FileInfo& image);

    // One line without its terminator; cut tells that the line was too long to be kept whole.
    // Returns false once the input is rejected or finished; later lines change nothing.
    bool AddLine(const char* text, size_t size, bool cut = false);

    // Ends the input; returns FILE_OPERATION_SUCCESS, FILE_OPEN_EMPTY_ERROR or FILE_OPEN_FORMAT_ERROR.
    int Finish();

private:
    bool HandleExtendedLinearAddress(const HexRecord& record);
    bool HandleDataRecord(const HexRecord& record);
    void HandleEndOfFile();
    void ResolvePendingSegment(uint32_t offset);
    void OpenPart(uint32_t address);
    void ClosePart();
    bool Reject();

    FileInfo& image_;
    bool partOpen_ = false;           // the last part can still take bytes
    std::vector<uint8_t> assembly_;   // bytes of the open part; they go to the part when it closes
    uint32_t assembled_ = 0;          // bytes in assembly_
    uint32_t assemblySum_ = 0;
    uint32_t base_ = 0;               // upper linear address << 16
    uint32_t offset_ = 0;             // load offset of the first data record after an "04"
    uint32_t expected_ = 0;           // address that continues the open part
    uint32_t fileSum_ = 0;
    bool sawFirstLine_ = false;
    bool segmentPending_ = false;     // an "04" waits for the offset of its first data record
    bool done_ = false;               // end-of-file record seen
    bool rejected_ = false;
};

// The whole text of an Intel HEX file read into the image, as from a file.
int ParseIntelHex(const char* text, size_t size, FileInfo& image);
