#include "wholefile.h"

#include <QFile>
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

// The new file beside the old: same folder, so the rename cannot cross disks.
int createBeside(const QByteArray& path, QByteArray& tempPath)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempPath = path + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".new";
        const int fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
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

WriteProblem replaceWholeFile(const QString& path, const QByteArray& bytes)
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
        else
            ::fchmod(fd, old.st_mode & 07777);
    }
    if (!error)
        error = writeAll(fd, bytes);
    // On the disk before the rename: a power cut after it must not find the
    // new name on a file whose data never arrived.
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temp.constData(), target.constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temp.constData());
        return writeProblemText(error);
    }
    return std::nullopt;
}
