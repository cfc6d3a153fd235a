#include "wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes everything or says why not; a short write is retried until the system
// gives an error (ENOSPC on a full disk).
int writeAll(int fd, const QByteArray& bytes)
{
    const char* at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        at += written;
        left -= written;
    }
    return 0;
}

QByteArray nameBeside(const QByteArray& path)
{
    return path + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".new";
}

// The new file beside the old: same folder, so the rename cannot cross disks.
// Where the system allows, it has no name until it is whole, so that a writer
// killed on the way leaves nothing behind; `temp` stays empty then.
int createBeside(const QByteArray& path, QByteArray& temp)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
    const int unnamed = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (unnamed >= 0)
        return unnamed;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp = nameBeside(path);
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Gives the unnamed file its name beside the old one, just before the rename.
int nameUnnamed(int fd, const QByteArray& path, QByteArray& temp)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp = nameBeside(path);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temp.constData(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        if (errno != EEXIST) {
            temp.clear();
            return errno;
        }
    }
    temp.clear();
    return EEXIST;
}

} // namespace

QString writeProblemText(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("no space left on the disk");
    case EROFS:
        return QStringLiteral("the disk is read-only");
    case EACCES:
    case EPERM:
        return QStringLiteral("it may not be written (permissions)");
    case EISDIR:
        return QStringLiteral("a folder stands in its place");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("its folder is not there");
    case EIO:
        return QStringLiteral("the disk failed to write it");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

WriteProblem replaceWholeFile(const QString& path, const QByteArray& bytes, int permissions)
{
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp;
    const int fd = createBeside(target, temp);
    if (fd < 0)
        return writeProblemText(errno);
    struct stat old = {};
    int error = 0;
    if (::stat(target.constData(), &old) == 0) {
        if (S_ISDIR(old.st_mode))
            error = EISDIR;
        else if (permissions < 0)
            ::fchmod(fd, old.st_mode & 07777);
    }
    // Set before the file has its name: it is never readable by more than this.
    if (!error && permissions >= 0 && ::fchmod(fd, mode_t(permissions)) != 0)
        error = errno;
    if (!error)
        error = writeAll(fd, bytes);
    // On the disk before the rename: a power cut after it must not find the
    // new name on a file whose data never arrived.
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (!error && temp.isEmpty())
        error = nameUnnamed(fd, target, temp);
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temp.constData(), target.constData()) != 0)
        error = errno;
    if (error) {
        if (!temp.isEmpty())
            ::unlink(temp.constData());
        return writeProblemText(error);
    }
    return std::nullopt;
}
