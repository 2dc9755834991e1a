// Table files on POSIX systems: open/write/fsync/rename, with the folder synced after the move.
#include "ui/tables/TableFileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, std::max<std::size_t>(slash, 1));
}

std::string fileNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file layer's error for a system error code, by its meaning. POSIX has one code for a
// missing file and a missing folder; the folder of `path` tells them apart.
FileFailure failureOf(int code, const std::string& path)
{
    switch (code) {
    case ENOENT: {
        struct stat folder {};
        const bool folderExists = ::stat(folderOf(path).c_str(), &folder) == 0 && S_ISDIR(folder.st_mode);
        return {folderExists ? FileError::FileNotFound : FileError::InvalidFilename, code};
    }
    case ENOTDIR:
    case ENAMETOOLONG:
        return {FileError::InvalidFilename, code};
    case EMFILE:
    case ENFILE:
        return {FileError::TooManyOpenFiles, code};
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: // a folder cannot be opened as a file
        return {FileError::AccessDenied, code};
    case ENOSPC:
    case EDQUOT: // nothing more could be written
        return {FileError::DiskFull, code};
    default:
        return {FileError::Other, code};
    }
}

// Refuses what could not be written in place either: a file without write permission, a
// folder, a device. Returns 0, or the error code. `mode` gets an existing file's permissions.
int checkWritableInPlace(const std::string& target, std::optional<mode_t>& mode)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? 0 : errno;
    struct stat status {};
    const bool regular = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    ::close(fd);
    if (!regular)
        return EACCES;
    mode = status.st_mode & 07777;
    return 0;
}

// Creates a file under a name nobody uses, beside `target`. Returns the descriptor or -1 (errno).
int createTemporary(const std::string& target, std::string& tempPath)
{
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folderOf(target) + "/." + fileNameOf(target).substr(0, 32) + "." + std::to_string(::getpid())
                 + "." + std::to_string(++serial) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The rename is durable only once the folder's entry is on disk; a failure here changes
// nothing the user could act on, so it is not reported.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes the record through `fd`, makes it durable and closes `fd`. A write that moves fewer
// bytes than asked sets no error code; with errno cleared first, it reports code 0.
std::optional<FileFailure> writeRecord(int fd, const std::uint8_t* data, std::size_t size, const std::string& path)
{
    errno = 0;
    const ssize_t written = ::write(fd, data, size);
    std::optional<FileFailure> failure;
    if (written < 0)
        failure = failureOf(errno, path);
    else if (static_cast<std::size_t>(written) < size)
        failure = FileFailure{FileError::DiskFull, errno};
    else if (::fsync(fd) != 0)
        failure = failureOf(errno, path);
    if (failure) {
        ::close(fd);
        return failure;
    }
    if (::close(fd) != 0)
        return failureOf(errno, path);
    return std::nullopt;
}

std::optional<FileFailure> writeInPlace(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return failureOf(errno, path);
    return writeRecord(fd, data, size, path);
}

} // namespace

std::optional<FileFailure> saveTableRecord(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::optional<mode_t> existingMode;
    if (const int refused = checkWritableInPlace(path, existingMode))
        return failureOf(refused, path);

    std::string tempPath;
    const int fd = createTemporary(path, tempPath);
    // A folder that takes no new file may still hold a file that can be written.
    if (fd < 0)
        return writeInPlace(path, data, size);
    // Failures are taken before the temporary file goes, so they carry the failed call's errno.
    const auto discard = [&](std::optional<FileFailure> failure) {
        ::unlink(tempPath.c_str());
        return failure;
    };
    if (existingMode && ::fchmod(fd, *existingMode) != 0) {
        const FileFailure failure = failureOf(errno, path);
        ::close(fd);
        return discard(failure);
    }
    if (auto failure = writeRecord(fd, data, size, path))
        return discard(failure);
    if (::rename(tempPath.c_str(), path.c_str()) != 0)
        return discard(failureOf(errno, path));
    syncFolder(folderOf(path));
    return std::nullopt;
}

std::optional<FileFailure> loadTableRecord(const std::string& path, std::uint8_t* data, std::size_t size)
{
    // O_NONBLOCK: a pipe or device given by mistake must not hang the program.
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failureOf(errno, path);

    std::vector<std::uint8_t> record(size);
    errno = 0; // a short read then reports code 0, as a short write does
    const ssize_t got = ::read(fd, record.data(), size);
    if (got < 0 || static_cast<std::size_t>(got) < size) {
        const int code = errno;
        ::close(fd);
        return got < 0 ? failureOf(code, path) : FileFailure{FileError::ReadBeyondEnd, code};
    }
    if (::close(fd) != 0)
        return failureOf(errno, path);
    std::copy(record.begin(), record.end(), data);
    return std::nullopt;
}

std::optional<FileFailure> readTableFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& contents)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failureOf(errno, path);
    std::vector<std::uint8_t> read(limit);
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t chunk = ::read(fd, read.data() + got, limit - got);
        if (chunk < 0) {
            const int code = errno;
            ::close(fd);
            return failureOf(code, path);
        }
        if (chunk == 0)
            break;
        got += static_cast<std::size_t>(chunk);
    }
    ::close(fd);
    read.resize(got);
    contents = std::move(read);
    return std::nullopt;
}

std::optional<FileFailure> writeTableFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0 || S_ISREG(target.st_mode) || S_ISDIR(target.st_mode))
        return saveTableRecord(path, data, size);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return failureOf(errno, path);
    for (std::size_t written = 0; written < size;) {
        const ssize_t chunk = ::write(fd, data + written, size - written);
        if (chunk < 0) {
            const int code = errno;
            ::close(fd);
            return failureOf(code, path);
        }
        written += static_cast<std::size_t>(chunk);
    }
    if (::close(fd) != 0)
        return failureOf(errno, path);
    return std::nullopt;
}

std::string absoluteTablePath(const std::string& path, bool followLinks)
{
    if (followLinks) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            std::string result(resolved);
            std::free(resolved);
            return result;
        }
    }
    if (!path.empty() && path.front() == '/')
        return path;
    std::vector<char> folder(4096);
    if (!::getcwd(folder.data(), folder.size()))
        return path;
    return std::string(folder.data()) + '/' + path;
}
