#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// The file-system edge of the image readers and writers; everything else works on bytes.
// Plain POSIX calls: a console that saves one file should not page in a framework's file layer.

// True when something exists at the path (a dangling link does not count).
bool FileExists(const std::string& path);

// True when the path names a regular file this process may open for reading.
bool IsReadableFile(const std::string& path);

// Length of the file at the path in bytes; 0 when there is none.
uint64_t FileSizeOf(const std::string& path);

enum class FileReadResult {
    Complete,   // every byte was handed on
    Stopped,    // the consumer stopped early
    CannotOpen, // missing, not a regular file, no permission
    ReadFailed, // an I/O error, or fewer bytes than the file held when opened
};

// Hands the bytes of a regular file to consume in order, in chunks of at most chunkSize bytes.
FileReadResult ReadFileInChunks(const std::string& path, size_t chunkSize,
                                const std::function<bool(const char*, size_t)>& consume);

// Writes a file so that it either appears complete under its name or not at all: the bytes go to
// a temporary file beside it that replaces the named file only on Commit. A writer destroyed
// without a successful Commit leaves the named file as it was.
class SafeFileWriter {
public:
    explicit SafeFileWriter(const std::string& path);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool Open();                           // false: the file cannot be created
    bool Write(const void* data, size_t size);
    bool Commit();

private:
    void Discard();

    std::string target_;    // the named file, or what it links to
    std::string temporary_; // beside the target while it is written
    int fd_ = -1;
    bool failed_ = false;
};
