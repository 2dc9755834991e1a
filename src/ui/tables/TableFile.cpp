#include "TableFile.h"

#include "SystemMessage.h"
#include "Unitx.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The file layer's message for a system error code, by its meaning. POSIX has one code for
// a missing file and a missing folder; the folder of `path` tells them apart.
QString fileLayerMessage(int code, const QString& path)
{
    switch (code) {
    case ENOENT:
        if (!QFileInfo(path).absoluteDir().exists())
            return QStringLiteral("Invalid filename");
        return QStringLiteral("File not found");
    case ENOTDIR:
    case ENAMETOOLONG:
        return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: // a folder cannot be opened as a file
        return QStringLiteral("File access denied");
    case ENOSPC:
    case EDQUOT: // nothing more could be written
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(code);
    }
}

QString errorText(const QString& message, int code)
{
    return message + QStringLiteral("  ") + fromSystem(systemMessage(code));
}

QString systemFailure(int code, const QString& path)
{
    return errorText(fileLayerMessage(code, path), code);
}

// Saving over a link replaces the file it points to, as writing into it would.
QString resolvedTarget(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

// Refuses what could not be written in place either: a file without write permission, a
// folder, a device. Returns 0, or the error code. `mode` gets an existing file's permissions.
int checkWritableInPlace(const QByteArray& target, std::optional<mode_t>& mode)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
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

// Creates a file under a name nobody uses, in `folder`. Returns the descriptor or -1 (errno).
int createTemporary(const QString& folder, const QString& name, QByteArray& tempPath)
{
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = QFile::encodeName(QStringLiteral("%1/.%2.%3.%4.tmp")
                                         .arg(folder, name.left(32))
                                         .arg(::getpid())
                                         .arg(++serial));
        const int fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The rename is durable only once the folder's entry is on disk; a failure here changes
// nothing the user could act on, so it is not reported.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes the record through `fd`, makes it durable and closes `fd`. A write that moves fewer
// bytes than asked sets no error code; with errno cleared first, it shows the text for 0.
std::optional<QString> writeRecord(int fd, const std::uint8_t* data, std::size_t size, const QString& path)
{
    errno = 0;
    const ssize_t written = ::write(fd, data, size);
    std::optional<QString> failure;
    if (written < 0)
        failure = systemFailure(errno, path);
    else if (static_cast<std::size_t>(written) < size)
        failure = errorText(QStringLiteral("Disk full"), errno);
    else if (::fsync(fd) != 0)
        failure = systemFailure(errno, path);
    if (failure) {
        ::close(fd);
        return failure;
    }
    if (::close(fd) != 0)
        return systemFailure(errno, path);
    return std::nullopt;
}

std::optional<QString> writeInPlace(const QByteArray& target, const std::uint8_t* data, std::size_t size,
                                    const QString& path)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return systemFailure(errno, path);
    return writeRecord(fd, data, size, path);
}

} // namespace

std::optional<QString> saveTableFile(const QString& path, const std::uint8_t* data, std::size_t size)
{
    const QFileInfo target(resolvedTarget(path));
    const QByteArray targetPath = QFile::encodeName(target.filePath());
    std::optional<mode_t> existingMode;
    if (const int refused = checkWritableInPlace(targetPath, existingMode))
        return systemFailure(refused, path);

    QByteArray tempPath;
    const int fd = createTemporary(target.absolutePath(), target.fileName(), tempPath);
    // A folder that takes no new file may still hold a file that can be written.
    if (fd < 0)
        return writeInPlace(targetPath, data, size, path);
    // Failure texts are built before the temporary file goes, so they carry the failed call's errno.
    const auto discard = [&](std::optional<QString> failure) {
        ::unlink(tempPath.constData());
        return failure;
    };
    if (existingMode && ::fchmod(fd, *existingMode) != 0) {
        const QString failure = systemFailure(errno, path);
        ::close(fd);
        return discard(failure);
    }
    if (auto failure = writeRecord(fd, data, size, path))
        return discard(failure);
    if (::rename(tempPath.constData(), targetPath.constData()) != 0)
        return discard(systemFailure(errno, path));
    syncFolder(target.absolutePath());
    return std::nullopt;
}

std::optional<QString> loadTableFile(const QString& path, std::uint8_t* data, std::size_t size)
{
    // O_NONBLOCK: a pipe or device given by mistake must not hang the program.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return systemFailure(errno, path);

    std::vector<std::uint8_t> record(size);
    errno = 0; // a short read then shows code 0, as a short write does
    const ssize_t got = ::read(fd, record.data(), size);
    if (got < 0 || static_cast<std::size_t>(got) < size) {
        const int code = errno;
        ::close(fd);
        return got < 0 ? systemFailure(code, path) : errorText(QStringLiteral("Read beyond end of file"), code);
    }
    if (::close(fd) != 0)
        return systemFailure(errno, path);
    std::copy(record.begin(), record.end(), data);
    return std::nullopt;
}
