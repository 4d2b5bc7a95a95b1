#include "paramfileio.h"

#include "paramfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#endif

qint64 writeFully(QFileDevice &file, const QByteArray &content)
{
    qint64 written = 0;
    while (written < content.size()) {
        const qint64 count = file.write(content.constData() + written, content.size() - written);
        if (count <= 0)
            break;
        written += count;
    }
    return written;
}

QString notRegularFileProblem(const QString &path)
{
    const QFileInfo target(path);
    return target.exists() && !target.isFile()
               ? ParamFile::tr("not a regular file (a device, pipe or folder)")
               : QString();
}

namespace {
QString linkTarget(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

// Where a path leads when the file need not exist yet.
QString resolvedPath(const QString &path)
{
    const QFileInfo info(linkTarget(path));
    const QString folder = info.absoluteDir().canonicalPath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}
} // namespace

bool isSameFile(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    return resolvedPath(a).compare(resolvedPath(b), Qt::CaseInsensitive) == 0;
#else
    struct stat first = {};
    struct stat second = {};
    if (::stat(QFile::encodeName(a).constData(), &first) == 0 &&
        ::stat(QFile::encodeName(b).constData(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return resolvedPath(a) == resolvedPath(b);
#endif
}

QString temporaryFileBeside(const QString &path, QString &error)
{
    QTemporaryFile file(linkTarget(path) + QStringLiteral(".XXXXXX"));
    file.setAutoRemove(false);
    if (file.open())
        return file.fileName();
    error = file.errorString();
    return QString();
}

bool replaceFile(const QString &from, const QString &to, QString &error)
{
    const QString target = linkTarget(to);
#ifdef Q_OS_WIN
    const QString nativeFrom = QDir::toNativeSeparators(from);
    const QString nativeTarget = QDir::toNativeSeparators(target);
    const bool replaced = MoveFileExW(reinterpret_cast<const wchar_t *>(nativeFrom.utf16()),
                                      reinterpret_cast<const wchar_t *>(nativeTarget.utf16()),
                                      MOVEFILE_REPLACE_EXISTING);
    error = replaced ? QString() : qt_error_string(int(GetLastError()));
#else
    const bool replaced = std::rename(QFile::encodeName(from).constData(),
                                      QFile::encodeName(target).constData()) == 0;
    error = replaced ? QString() : qt_error_string(errno);
#endif
    return replaced;
}

bool readRegularFile(const QString &path, qint64 maxBytes, QByteArray &bytes, QString &error)
{
    error = notRegularFileProblem(path);
    if (!error.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

// Unbuffered, so a failing write is seen by the write itself: QSaveFile
// commits a file whose buffered tail could not be written.
bool saveParamFile(const QString &path, const QByteArray &content, QString &error)
{
    error = notRegularFileProblem(path);
    if (!error.isEmpty())
        return false;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        writeFully(file, content) == content.size() && file.error() == QFileDevice::NoError &&
        file.commit())
        return true;
    error = file.errorString();
    file.cancelWriting();
    return false;
}

QString loadParamFile(const QString &path, ParamFile &file)
{
    QByteArray bytes;
    QString error;
    const QString shownPath = QDir::toNativeSeparators(path);
    if (!readRegularFile(path, kMaxParamFileBytes, bytes, error))
        return ParamFile::tr("Cannot read %1: %2.").arg(shownPath, error);
    file = parseParamFile(bytes);
    if (file.error.isError())
        return ParamFile::tr("Refused %1: %2.").arg(shownPath, file.error.text());
    return QString();
}
