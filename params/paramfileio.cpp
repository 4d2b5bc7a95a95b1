#include "paramfileio.h"

#include "paramfile.h"

#include <QFile>
#include <QSaveFile>

bool readParamFileBytes(const QString &path, QByteArray &bytes, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    bytes = file.read(kMaxParamFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool saveParamFile(const QString &path, const QByteArray &content, QString &error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return true;
    error = file.errorString();
    return false;
}
