#include "paramfile.h"

#include "paramtype.h"

#include <QHash>
#include <QTextCodec>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxNameLength = 16;
constexpr int kTabFields = 5;
constexpr int kColumnFields = 2;
constexpr int kMaxHeaderId = 255;
const char kUtf8Bom[] = "\xEF\xBB\xBF";

QString textProblem(const QByteArray &line)
{
    if (line.contains('\0'))
        return ParamFile::tr("not a text file (NUL byte)");
    QTextCodec::ConverterState state;
    QTextCodec::codecForMib(106)->toUnicode(line.constData(), line.size(), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return ParamFile::tr("not UTF-8 text");
    return QString();
}

QString nameProblem(const QByteArray &name)
{
    if (name.isEmpty())
        return ParamFile::tr("name is empty");
    if (name.size() > kMaxNameLength)
        return ParamFile::tr("name is longer than 16 characters");
    const auto printable = [](char c) { return c > ' ' && c < '\x7F'; };
    if (!std::all_of(name.begin(), name.end(), printable))
        return ParamFile::tr("name is not printable ASCII");
    return QString();
}

QString readNameAndValue(const QByteArray &name, const QByteArray &value, ParamFileEntry &entry)
{
    const QString badName = nameProblem(name);
    if (!badName.isEmpty())
        return badName;
    if (value.contains(',') && !value.contains('.'))
        return ParamFile::tr("value %1 has a decimal comma; write a point")
            .arg(QString::fromUtf8(value));
    if (!ParamType::parseNumber(value, entry.number))
        return ParamFile::tr("value is not a finite number");
    if (!ParamType::parseFloat(value, entry.value))
        return ParamFile::tr("value is beyond the range of a 32-bit float");
    entry.name = QString::fromLatin1(name);
    return ParamType::integerProblem(entry.type, entry.number);
}

bool readHeaderId(const QByteArray &field)
{
    bool ok = false;
    const int id = field.toInt(&ok);
    return ok && id >= 0 && id <= kMaxHeaderId;
}

QString readTabLine(const QList<QByteArray> &fields, ParamFileEntry &entry)
{
    if (!readHeaderId(fields[0].trimmed()) || !readHeaderId(fields[1].trimmed()))
        return ParamFile::tr("system or component id is not a number from 0 to 255");
    bool ok = false;
    entry.type = fields[4].trimmed().toInt(&ok);
    if (!ok || !ParamType::isKnown(entry.type))
        return ParamFile::tr("unknown parameter type %1")
            .arg(QString::fromUtf8(fields[4].trimmed()));
    return readNameAndValue(fields[2].trimmed(), fields[3].trimmed(), entry);
}

// Tab-separated lines have five fields or two; without tabs a comma, or
// else blanks, separate two. A comma after a blank is taken for a decimal
// comma in a blank-separated line, so that is what the reader is told.
QList<QByteArray> splitFields(const QByteArray &line)
{
    if (line.contains('\t'))
        return line.split('\t');
    const QList<QByteArray> byComma = line.split(',');
    if (byComma.size() > 1 && !byComma.first().trimmed().contains(' '))
        return byComma;
    return line.simplified().split(' ');
}

QString readLine(const QByteArray &line, ParamFileEntry &entry)
{
    const QList<QByteArray> fields = splitFields(line);
    if (fields.size() == kTabFields && line.contains('\t'))
        return readTabLine(fields, entry);
    if (fields.size() == kColumnFields)
        return readNameAndValue(fields[0].trimmed(), fields[1].trimmed(), entry);
    return ParamFile::tr("expected 5 tab-separated fields or 2 columns, found %1 fields")
        .arg(fields.size());
}

bool isCommentOrBlank(const QByteArray &trimmed)
{
    return trimmed.isEmpty() || trimmed.startsWith('#');
}

} // namespace

QString ParamFileError::text() const
{
    return line > 0 ? ParamFile::tr("line %1: %2").arg(line).arg(reason) : reason;
}

ParamFile parseParamFile(const QByteArray &bytes)
{
    ParamFile file;
    if (bytes.size() > kMaxParamFileBytes) {
        file.error = {0, ParamFile::tr("the file is larger than 1 MiB")};
        return file;
    }
    const QByteArray text = bytes.startsWith(kUtf8Bom) ? bytes.mid(3) : bytes;
    const QList<QByteArray> lines = text.split('\n');
    QHash<QString, int> lineOfName;
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        ParamFileEntry entry;
        entry.line = i + 1;
        QString reason = textProblem(line);
        const QByteArray trimmed = line.trimmed();
        if (reason.isEmpty() && isCommentOrBlank(trimmed))
            continue;
        if (reason.isEmpty())
            reason = readLine(trimmed, entry);
        if (reason.isEmpty() && lineOfName.contains(entry.name))
            reason = ParamFile::tr("duplicate of line %1").arg(lineOfName.value(entry.name));
        if (!reason.isEmpty()) {
            file.error = {entry.line, reason};
            file.entries.clear();
            return file;
        }
        lineOfName.insert(entry.name, entry.line);
        file.entries.append(entry);
    }
    if (file.entries.isEmpty())
        file.error = {0, ParamFile::tr("the file holds no parameters")};
    return file;
}

QString saveProblem(const ParameterReport &param)
{
    const QString badName = nameProblem(param.name.toUtf8());
    if (!badName.isEmpty())
        return badName;
    if (!ParamType::isKnown(param.type))
        return ParamFile::tr("unknown parameter type %1").arg(param.type);
    if (!std::isfinite(param.value))
        return ParamFile::tr("value is not a finite number");
    return ParamType::integerProblem(param.type, double(param.value));
}

QString dropRepeatedNames(QList<ParameterReport> &params)
{
    QHash<QString, ParameterReport> first;
    QList<ParameterReport> kept;
    for (const ParameterReport &param : params) {
        const auto earlier = first.constFind(param.name);
        if (earlier == first.constEnd()) {
            first.insert(param.name, param);
            kept.append(param);
        } else if (earlier->type != param.type ||
                   !ParamType::sameStoredValue(param.type, earlier->value, param.value)) {
            return ParamFile::tr("The FC reports %1 twice, as %2 (type %3) and as %4 (type %5); "
                                 "which one to save cannot be told.")
                .arg(param.name, ParamType::valueText(earlier->value, earlier->type))
                .arg(earlier->type)
                .arg(ParamType::valueText(param.value, param.type))
                .arg(param.type);
        }
    }
    params = kept;
    return QString();
}

QByteArray formatParamFile(const BackupHeader &header, QList<ParameterReport> params)
{
    std::sort(params.begin(), params.end(),
              [](const ParameterReport &a, const ParameterReport &b) { return a.name < b.name; });
    QString out;
    out += QStringLiteral("# %1 parameter backup\n").arg(header.program);
    out += QStringLiteral("# Firmware version (ZEFAVERSION): %1\n").arg(header.firmwareVersion);
    out += QStringLiteral("# Date: %1\n").arg(header.date.toString(Qt::ISODate));
    out += QStringLiteral("# SYSID\tCOMPID\tNAME\tVALUE\tTYPE\n");
    for (const ParameterReport &p : params) {
        const QStringList fields = {QString::number(p.systemId), QString::number(p.componentId),
                                    p.name, ParamType::valueText(p.value, p.type),
                                    QString::number(p.type)};
        out += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return out.toUtf8();
}
