#include "qt/singleclock.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace soramado {

namespace {

// A folder of this user's that nobody else may enter, and no symbolic link.
bool isPrivateFolder(const QString& path)
{
    struct stat info {};
    return lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

} // namespace

QString instanceFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime))
        return runtime;
    // Without a runtime folder (a bare X session, su): one of our own in the
    // temporary folder, which others could otherwise take first.
    const QString folder =
        QDir::tempPath() + QStringLiteral("/soramado-") + QString::number(getuid());
    mkdir(QFile::encodeName(folder).constData(), 0700);
    return isPrivateFolder(folder) ? folder : QString();
}

} // namespace soramado
