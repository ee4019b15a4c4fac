#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

// Closes a descriptor on every path out of a read.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            close(fd);
    }
};

bool StatOf(const std::string& path, struct stat& info)
{
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

// Saving through a link replaces the file it points to, not the link.
std::string ResolveLinks(const std::string& path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

// Opening never waits on a FIFO: the file type is checked after the open, which must not block.
int OpenForReading(const std::string& path)
{
    return path.empty() ? -1 : open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

// A new file beside the target with a name nobody else holds. O_EXCL also refuses a link planted
// under that name; the mode is what the umask allows, as for any file the user creates.
int CreateBeside(const std::string& target, std::string& name)
{
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + "." + std::to_string(random() % 1000000000u) + ".tmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool FileExists(const std::string& path)
{
    struct stat info;
    return StatOf(path, info);
}

bool IsReadableFile(const std::string& path)
{
    const Descriptor file{OpenForReading(path)};
    struct stat info;
    return file.fd >= 0 && fstat(file.fd, &info) == 0 && S_ISREG(info.st_mode);
}

uint64_t FileSizeOf(const std::string& path)
{
    struct stat info;
    return StatOf(path, info) && info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

FileReadResult ReadFileInChunks(const std::string& path, size_t chunkSize,
                                const std::function<bool(const char*, size_t)>& consume)
{
    const Descriptor file{OpenForReading(path)};
    struct stat info;
    // Only regular files: a device or a pipe could feed the readers without end.
    if (file.fd < 0 || fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode))
        return FileReadResult::CannotOpen;
    std::vector<char> chunk(chunkSize);
    off_t total = 0;
    for (;;) {
        const ssize_t got = read(file.fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return FileReadResult::ReadFailed;
        if (got == 0)
            break;
        total += got;
        if (!consume(chunk.data(), static_cast<size_t>(got)))
            return FileReadResult::Stopped;
    }
    // A file that shrank while it was read has lost bytes that its size promised.
    return total < info.st_size ? FileReadResult::ReadFailed : FileReadResult::Complete;
}

SafeFileWriter::SafeFileWriter(const std::string& path) : target_(path)
{
}

SafeFileWriter::~SafeFileWriter()
{
    Discard();
}

bool SafeFileWriter::Open()
{
    if (target_.empty() || fd_ >= 0)
        return false;
    target_ = ResolveLinks(target_);
    struct stat existing;
    const bool replaces = stat(target_.c_str(), &existing) == 0;
    // A file the user made read-only stays as it is; so does anything that is not a regular file.
    if (replaces && (!S_ISREG(existing.st_mode) || access(target_.c_str(), W_OK) != 0))
        return false;
    fd_ = CreateBeside(target_, temporary_);
    if (fd_ < 0) {
        temporary_.clear();
        return false;
    }
    // The replacement keeps the permissions of the file it replaces.
    if (replaces && fchmod(fd_, existing.st_mode & 07777) != 0) {
        Discard();
        return false;
    }
    return true;
}

bool SafeFileWriter::Write(const void* data, size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (!failed_ && size > 0) {
        const ssize_t written = fd_ < 0 ? -1 : write(fd_, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            failed_ = true;
            break;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return !failed_;
}

bool SafeFileWriter::Commit()
{
    // After a failed write nothing is committed: the temporary file goes with the writer.
    // The bytes reach the disk before the name moves, so a power cut leaves the old file or the new one.
    if (failed_ || fd_ < 0 || fsync(fd_) != 0 || close(fd_) != 0) {
        fd_ = -1;
        Discard();
        return false;
    }
    fd_ = -1;
    if (rename(temporary_.c_str(), target_.c_str()) != 0) {
        Discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void SafeFileWriter::Discard()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    if (!temporary_.empty())
        unlink(temporary_.c_str());
    temporary_.clear();
}
