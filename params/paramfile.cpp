#include "paramfile.h"

#include "paramtype.h"

#include "mavlink/messageset.h"

#include <QFileInfo>
#include <QHash>
#include <QTextCodec>

#include <algorithm>
#include <cmath>

namespace {

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
    if (name.size() > kMavParamIdLength)
        return ParamFile::tr("name is longer than 16 characters");
    const auto printable = [](char c) { return c > ' ' && c < '\x7F'; };
    if (!std::all_of(name.begin(), name.end(), printable))
        return ParamFile::tr("name is not printable ASCII");
    return QString();
}

// -1 when the field is not an id.
int readHeaderId(const QByteArray &field)
{
    bool ok = false;
    const int id = field.toInt(&ok);
    return ok && id >= 0 && id <= kMaxHeaderId ? id : -1;
}

QString readColumnsLine(const QList<QByteArray> &fields, ParamFileEntry &entry)
{
    entry.systemId = readHeaderId(fields[0].trimmed());
    if (entry.systemId < 0 || readHeaderId(fields[1].trimmed()) < 0)
        return ParamFile::tr("system or component id is not a number from 0 to 255");
    bool ok = false;
    entry.type = fields[4].trimmed().toInt(&ok);
    if (!ok || !ParamType::isKnown(entry.type))
        return ParamFile::tr("unknown parameter type %1")
            .arg(QString::fromUtf8(fields[4].trimmed()));
    return readNameAndValue(fields[2].trimmed(), fields[3].trimmed(), entry);
}

bool hasBlank(const QByteArray &text)
{
    return text.contains(' ') || text.contains('\t');
}

// Commas separate the fields when the first field holds no blank; else tabs
// and blanks do, so a comma after a blank is taken for a decimal comma, and
// that is what the reader is told.
QList<QByteArray> splitFields(const QByteArray &line)
{
    const QList<QByteArray> byComma = line.split(',');
    if (byComma.size() > 1 && !hasBlank(byComma.first().trimmed()))
        return byComma;
    return line.simplified().split(' ');
}

bool isWholeNumber(const QByteArray &text, bool signAllowed)
{
    const QByteArray digits =
        signAllowed && (text.startsWith('-') || text.startsWith('+')) ? text.mid(1) : text;
    return !digits.isEmpty() &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "NAME,0,25": a value written with a decimal comma in a comma-separated file.
bool hasDecimalComma(const QByteArray &line, const QList<QByteArray> &fields)
{
    return fields.size() == kColumnFields + 1 && line.count(',') == kColumnFields &&
           isWholeNumber(fields[1].trimmed(), true) && isWholeNumber(fields[2].trimmed(), false);
}

QString decimalCommaProblem(const QByteArray &value)
{
    return ParamFile::tr("value %1 has a decimal comma; write a point")
        .arg(QString::fromUtf8(value));
}

QString readLine(const QByteArray &line, ParamFileEntry &entry)
{
    const QList<QByteArray> fields = splitFields(line);
    if (fields.size() == kTabFields)
        return readColumnsLine(fields, entry);
    if (fields.size() == kColumnFields)
        return readNameAndValue(fields[0].trimmed(), fields[1].trimmed(), entry);
    if (hasDecimalComma(line, fields))
        return decimalCommaProblem(fields[1].trimmed() + ',' + fields[2].trimmed());
    return ParamFile::tr("expected 5 fields (system id, component id, name, value, type) or 2 "
                         "(name, value), found %1")
        .arg(fields.size());
}

bool isCommentOrBlank(const QByteArray &trimmed)
{
    return trimmed.isEmpty() || trimmed.startsWith('#');
}

// Lines end in LF, CRLF or, in files from old editors, CR alone.
QList<QByteArray> textLines(const QByteArray &bytes)
{
    QByteArray text = bytes.startsWith(kUtf8Bom) ? bytes.mid(3) : bytes;
    return text.replace("\r\n", "\n").replace('\r', '\n').split('\n');
}

} // namespace

QString readValue(const QByteArray &value, ParamFileEntry &entry)
{
    if (value.contains(',') && !value.contains('.'))
        return decimalCommaProblem(value);
    if (!ParamType::parseNumber(value, entry.number))
        return ParamFile::tr("value is not a finite number");
    if (!ParamType::parseFloat(value, entry.value))
        return ParamFile::tr("value is beyond the range of a 32-bit float");
    return ParamType::integerProblem(entry.type, entry.number);
}

QString readNameAndValue(const QByteArray &name, const QByteArray &value, ParamFileEntry &entry)
{
    const QString badName = nameProblem(name);
    if (!badName.isEmpty())
        return badName;
    entry.name = QString::fromLatin1(name);
    return readValue(value, entry);
}

QString readAssignment(const QByteArray &text, ParamFileEntry &entry)
{
    const int equals = text.indexOf('=');
    if (equals < 0)
        return ParamFile::tr("expected NAME=VALUE");
    return readNameAndValue(text.left(equals), text.mid(equals + 1), entry);
}

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
    const QList<QByteArray> lines = textLines(bytes);
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        ParamFileEntry entry;
        entry.line = i + 1;
        const QByteArray trimmed = line.trimmed();
        // Comments are no data: whatever their encoding, they are skipped.
        if (isCommentOrBlank(trimmed) && !line.contains('\0'))
            continue;
        QString reason = textProblem(line);
        if (reason.isEmpty())
            reason = readLine(trimmed, entry);
        if (!reason.isEmpty()) {
            file.error = {entry.line, reason};
            file.entries.clear();
            return file;
        }
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
    return QString();
}

QString rangeWarning(const ParameterReport &param)
{
    return ParamType::integerProblem(param.type, double(param.value));
}

std::optional<ParamFileFormat> paramFileFormatFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("params"))
        return ParamFileFormat::Columns;
    if (suffix == QLatin1String("param") || suffix == QLatin1String("parm"))
        return ParamFileFormat::NameValue;
    return std::nullopt;
}

QString paramFileFormatName(ParamFileFormat format)
{
    return format == ParamFileFormat::Columns ? ParamFile::tr("five tab-separated columns")
                                              : ParamFile::tr("NAME,VALUE lines");
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
                                 "which one it holds cannot be told.")
                .arg(param.name, ParamType::valueText(earlier->value, earlier->type))
                .arg(earlier->type)
                .arg(ParamType::valueText(param.value, param.type))
                .arg(param.type);
        }
    }
    params = kept;
    return QString();
}

namespace {

// The comment lines the tools that read the five columns write themselves;
// to every reader they are comments.
QString columnsHeader(const BackupHeader &header, const QList<ParameterReport> &params)
{
    const int vehicle = params.isEmpty() ? 1 : params.first().systemId;
    QString out;
    out += QStringLiteral("# Onboard parameters for Vehicle %1\n").arg(vehicle);
    out += QStringLiteral("#\n");
    out += QStringLiteral("# Stack: ZEFA\n");
    out += QStringLiteral("# Vehicle: Multi-Rotor\n");
    out += QStringLiteral("# Version: %1\n").arg(header.firmwareVersion);
    out += QStringLiteral("# Program: %1\n").arg(header.program);
    out += QStringLiteral("# Date: %1\n").arg(header.date.toString(Qt::ISODate));
    out += QStringLiteral("#\n");
    out += QStringLiteral("# MAV ID\tCOMPONENT ID\tPARAM NAME\tVALUE (TYPE)\n");
    return out;
}

QString nameValueHeader(const BackupHeader &header)
{
    QString out;
    out += QStringLiteral("# %1 parameter backup\n").arg(header.program);
    out += QStringLiteral("# Firmware version (ZEFAVERSION): %1\n").arg(header.firmwareVersion);
    out += QStringLiteral("# Date: %1\n").arg(header.date.toString(Qt::ISODate));
    return out;
}

QString columnsLine(const ParameterReport &p)
{
    const QStringList fields = {QString::number(p.systemId), QString::number(p.componentId), p.name,
                                ParamType::valueText(p.value, p.type), QString::number(p.type)};
    return fields.join(QLatin1Char('\t'));
}

QString nameValueLine(const ParameterReport &p)
{
    return p.name + QLatin1Char(',') + ParamType::valueText(p.value, p.type);
}

} // namespace

QByteArray formatParamFile(const BackupHeader &header, QList<ParameterReport> params,
                           ParamFileFormat format)
{
    std::sort(params.begin(), params.end(),
              [](const ParameterReport &a, const ParameterReport &b) { return a.name < b.name; });
    const bool columns = format == ParamFileFormat::Columns;
    QString out = columns ? columnsHeader(header, params) : nameValueHeader(header);
    for (const ParameterReport &p : params)
        out += (columns ? columnsLine(p) : nameValueLine(p)) + QLatin1Char('\n');
    return out.toUtf8();
}
