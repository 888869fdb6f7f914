#include "SafeFile.h"

#include "data/Exceptions.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace SafeFile {

QString SystemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

std::unique_ptr<QTemporaryFile> ReserveBeside(const QString& path, const QString& tag)
{
    const QFileInfo fi(path);
    auto tmp = std::make_unique<QTemporaryFile>(fi.absolutePath() + QStringLiteral("/.") + fi.fileName() +
                                                tag + QStringLiteral(".XXXXXX"));
    if (!tmp->open())
        throw EDatabaseError(tmp->errorString() + QStringLiteral("\r\n") + fi.absolutePath());
    tmp->close();
    return tmp;
}

bool RenameOver(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

void SyncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        throw EDatabaseError(SystemError() + QStringLiteral("\r\n") + path);
    const int rc = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    if (rc != 0) {
        errno = err;
        throw EDatabaseError(SystemError() + QStringLiteral("\r\n") + path);
    }
}

void SyncDir(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace SafeFile
