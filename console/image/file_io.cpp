#include "file_io.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

QString ToQtPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

bool FileExists(const std::string& path)
{
    return !path.empty() && QFileInfo::exists(ToQtPath(path));
}

uint64_t FileSizeOf(const std::string& path)
{
    return path.empty() ? 0 : static_cast<uint64_t>(std::max<qint64>(QFileInfo(ToQtPath(path)).size(), 0));
}

FileReadResult ReadFileInChunks(const std::string& path, size_t chunkSize,
                                const std::function<bool(const char*, size_t)>& consume)
{
    // Only regular files: a device or a pipe could feed the readers without end.
    QFile file(ToQtPath(path));
    if (path.empty() || !QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return FileReadResult::CannotOpen;
    const qint64 sizeWhenOpened = file.size();
    std::vector<char> chunk(chunkSize);
    qint64 total = 0;
    for (;;) {
        const qint64 got = file.read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (got < 0)
            return FileReadResult::ReadFailed;
        if (got == 0)
            break;
        total += got;
        if (!consume(chunk.data(), static_cast<size_t>(got)))
            return FileReadResult::Stopped;
    }
    // A file that shrank while it was read has lost bytes that its size promised.
    return total < sizeWhenOpened ? FileReadResult::ReadFailed : FileReadResult::Complete;
}

SafeFileWriter::SafeFileWriter(const std::string& path) : file_(ToQtPath(path))
{
}

bool SafeFileWriter::Open()
{
    return file_.open(QIODevice::WriteOnly);
}

bool SafeFileWriter::Write(const void* data, size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (!failed_ && size > 0) {
        const qint64 written = file_.write(bytes, static_cast<qint64>(size));
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
    return !failed_ && file_.commit();
}
