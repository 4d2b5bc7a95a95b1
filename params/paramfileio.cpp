#include "paramfileio.h"

#include "paramfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
