#include "paramtransfer.h"

#include "paramfileio.h"
#include "paramtype.h"

#include "fc/firmware.h"
#include "mavlink/mavlinkbridge.h"
#include "params/parameterstore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace {
// The answer comes at once or not at all; a line that loses a third of the
// answers must not fail the check.
constexpr int kFirmwareAnswerMs = 500;
constexpr int kFirmwareRequests = 10;
// A real FC sends a heartbeat every second.
constexpr int kHeartbeatWaitMs = 3000;
} // namespace

ParamTransfer::ParamTransfer(MavLinkBridge &bridge, ParameterStore &store,
                             HeartbeatWatch &heartbeat, WriteTurns &turns, QObject *parent)
    : QObject(parent), bridge(bridge), heartbeat(heartbeat), heartbeatWait(heartbeat),
      reader(bridge, store), turns(turns), writer(turns.writer())
{
    qRegisterMetaType<RestorePlan>();
    qRegisterMetaType<TransferReport>();
    firmwareTurn.setSingleShot(true);
    connect(&firmwareTurn, &QTimer::timeout, this, &ParamTransfer::sendFirmwareRequest);
    connect(&heartbeatWait, &HeartbeatWait::heartbeatReceived, this,
            &ParamTransfer::heartbeatArrived);
    connect(&heartbeatWait, &HeartbeatWait::heartbeatMissed, this,
            &ParamTransfer::heartbeatMissing);
    connect(&store, &ParameterStore::parameterReceived, this, &ParamTransfer::parameterReported);
    connect(&reader, &ParamListReader::progress, this, &ParamTransfer::listProgress);
    connect(&reader, &ParamListReader::finished, this, &ParamTransfer::listRead);
    connect(&writer, &ParamWriter::progress, this, &ParamTransfer::writeProgress);
    connect(&writer, &ParamWriter::finished, this, &ParamTransfer::writesEnded);
}

void ParamTransfer::startBackup(const QString &filePath)
{
    start(Mode::Backup, filePath);
}

void ParamTransfer::startRestore(const QString &filePath)
{
    start(Mode::Restore, filePath);
}

void ParamTransfer::startGet(const QStringList &names)
{
    requestedNames = names;
    start(Mode::Get, QString());
}

void ParamTransfer::startSet(const QList<ParamFileEntry> &entries)
{
    fileEntries = entries;
    start(Mode::Set, QString());
}

void ParamTransfer::start(Mode runMode, const QString &filePath)
{
    mode = runMode;
    path = filePath;
    running = true;
    awaitingConfirmation = false;
    journalProblem.clear();
    stage = Stage::CheckingFirmware;
    firmwareVersion.clear();
    values.clear();
    fcList.clear();
    if (mode == Mode::Backup && !checkBackupTarget())
        return;
    if (mode == Mode::Restore && !loadRestoreFile())
        return;
    sinceStart.start();
    firmwareRequests = 0;
    firmwareTurn.start(0);
    emit progress(stage, 0, 0);
}

// Refused before the FC is asked for anything, not after the whole read.
bool ParamTransfer::checkBackupTarget()
{
    QString problem = notRegularFileProblem(path);
    if (problem.isEmpty() && !paramFileFormatFor(path))
        problem = unknownExtensionProblem();
    if (!problem.isEmpty())
        fail(tr("Cannot write %1: %2.").arg(QDir::toNativeSeparators(path), problem));
    return problem.isEmpty();
}

bool ParamTransfer::loadRestoreFile()
{
    ParamFile file;
    const QString problem = loadParamFile(path, file);
    if (!problem.isEmpty()) {
        fail(problem);
        return false;
    }
    fileEntries = file.entries;
    return true;
}

void ParamTransfer::sendFirmwareRequest()
{
    if (firmwareRequests == kFirmwareRequests) {
        fail(tr("The FC did not report its firmware version."));
        return;
    }
    ++firmwareRequests;
    bridge.requestParameter(Fc::kComponent, QString::fromLatin1(Fc::kFirmwareVersionParam));
    firmwareTurn.start(kFirmwareAnswerMs);
}

void ParamTransfer::parameterReported(const ParameterReport &report)
{
    if (running && stage == Stage::CheckingFirmware &&
        report.name == QLatin1String(Fc::kFirmwareVersionParam))
        firmwareReported(report);
}

void ParamTransfer::firmwareReported(const ParameterReport &report)
{
    firmwareTurn.stop();
    firmwareVersion = ParamType::valueText(report.value, report.type);
    if (!Fc::isSupportedFirmware(report.value)) {
        fail(tr("The FC runs firmware version %1; this program works with version %2 only.")
                 .arg(firmwareVersion)
                 .arg(Fc::kSupportedFirmware));
        return;
    }
    stage = Stage::ReadingList;
    emit progress(stage, 0, 0);
    reader.start();
}

void ParamTransfer::listProgress(int received, int total)
{
    emit progress(Stage::ReadingList, received, total);
}

void ParamTransfer::listRead(bool complete)
{
    const QString problem = listProblem(complete);
    if (!problem.isEmpty())
        fail(problem);
    else if (mode == Mode::Backup)
        saveBackup();
    else if (mode == Mode::Get)
        reportValues();
    else
        offerWrites();
}

// Every run reads the same list, so a name reported twice with different
// values fails them all alike: none can tell which value the FC holds.
QString ParamTransfer::listProblem(bool complete)
{
    if (!complete && reader.total() == 0)
        return tr("The FC did not answer the request for its parameter list.");
    if (reader.total() > ParamListReader::kMaxCount)
        return tr("The FC reports %1 parameters, more than an R7 has (this program reads at most "
                  "%2).")
            .arg(reader.total())
            .arg(ParamListReader::kMaxCount);
    if (!complete)
        return tr("%1 of %2 parameters did not arrive from the FC.")
            .arg(reader.total() - reader.receivedCount())
            .arg(reader.total());
    fcList = reader.parameters();
    return dropRepeatedNames(fcList);
}

void ParamTransfer::saveBackup()
{
    const QList<ParameterReport> &params = fcList;
    QStringList warnings;
    for (const ParameterReport &param : params) {
        const QString problem = saveProblem(param);
        if (!problem.isEmpty()) {
            fail(tr("The FC's parameter %1 cannot be saved: %2.").arg(param.name, problem));
            return;
        }
        const QString warning = rangeWarning(param);
        if (!warning.isEmpty())
            warnings << QStringLiteral("%1 = %2 (%3)")
                            .arg(param.name, ParamType::valueText(param.value, param.type),
                                 warning);
    }
    BackupHeader header;
    header.program = QStringLiteral("%1 %2").arg(QCoreApplication::applicationName(),
                                                 QCoreApplication::applicationVersion());
    header.firmwareVersion = firmwareVersion;
    header.date = QDateTime::currentDateTime();
    header.date.setOffsetFromUtc(header.date.offsetFromUtc()); // written with its offset
    QString error;
    const QString shownPath = QDir::toNativeSeparators(path);
    const ParamFileFormat format = *paramFileFormatFor(path);
    if (!saveParamFile(path, formatParamFile(header, params, format), error)) {
        fail(tr("Cannot write %1: %2.").arg(shownPath, error));
        return;
    }
    QString message = tr("Backed up %1 parameters to %2 as %3.")
                          .arg(params.size())
                          .arg(shownPath, paramFileFormatName(format));
    if (!warnings.isEmpty())
        message += QLatin1Char(' ') +
                   tr("Warning: the FC reports values outside their type's range, saved as "
                      "reported; the file will not restore until they are corrected: %1.")
                       .arg(warnings.join(QStringLiteral("; ")));
    end(TransferReport::Outcome::Succeeded, message);
}

QHash<QString, ParameterReport> ParamTransfer::fcParameters() const
{
    QHash<QString, ParameterReport> onFc;
    for (const ParameterReport &param : fcList)
        onFc.insert(param.name, param);
    return onFc;
}

void ParamTransfer::reportValues()
{
    const QHash<QString, ParameterReport> onFc = fcParameters();
    QStringList missing;
    for (const QString &name : qAsConst(requestedNames)) {
        const auto found = onFc.constFind(name);
        if (found == onFc.constEnd())
            missing << name;
        else
            values << name + QLatin1Char(' ') + ParamType::valueText(found->value, found->type);
    }
    if (missing.isEmpty())
        end(TransferReport::Outcome::Succeeded, QString());
    else
        fail(tr("Not a parameter of this FC: %1.").arg(missing.join(QStringLiteral(", "))));
}

// A file names its line; a value given by name (line: its place) its name.
QString ParamTransfer::refusalText(const ParamFileError &refused) const
{
    if (mode == Mode::Set)
        return tr("Refused %1: %2.").arg(fileEntries.value(refused.line - 1).name, refused.reason);
    return tr("Refused %1: %2.").arg(QDir::toNativeSeparators(path), refused.text());
}

// Values given by name are all meant: none may be skipped, and the firmware
// version is refused even where it equals the FC's.
QString ParamTransfer::setProblem() const
{
    if (mode != Mode::Set)
        return QString();
    if (!plan.unknownNames.isEmpty())
        return tr("Not a parameter of this FC: %1.").arg(plan.unknownNames.join(", "));
    const QString firmware = QString::fromLatin1(Fc::kFirmwareVersionParam);
    const auto isFirmware = [&firmware](const ParamFileEntry &entry) {
        return entry.name == firmware;
    };
    if (std::any_of(fileEntries.begin(), fileEntries.end(), isFirmware))
        return tr("Never written: %1.").arg(firmware);
    return QString();
}

void ParamTransfer::offerWrites()
{
    const ParamFileError refused = planRestore(fileEntries, fcParameters(), plan);
    const QString problem = refused.isError() ? refusalText(refused) : setProblem();
    if (!problem.isEmpty()) {
        fail(problem);
    } else if (plan.matchesNothing()) {
        fail(tr("No name in %1 is a parameter of this FC.").arg(QDir::toNativeSeparators(path)) +
             QLatin1Char(' ') + plan.summary());
    } else if (plan.writes.isEmpty()) {
        end(TransferReport::Outcome::Succeeded, withNothingWritten(plan.summary()));
    } else if (heartbeat.seen() && heartbeat.silenceMs() < sinceStart.elapsed()) {
        offerChanges();
    } else {
        awaitingHeartbeat = true;
        heartbeatWait.awaitNext(kHeartbeatWaitMs);
    }
}

// Nobody is asked to write to an FC that is silent or armed.
void ParamTransfer::offerChanges()
{
    if (heartbeat.armed()) {
        fail(mode == Mode::Set ? tr("The FC is armed. Disarm it before setting values.")
                               : tr("The FC is armed. Disarm it before restoring settings."));
        return;
    }
    journalProblem = writer.journalProblem();
    awaitingConfirmation = true;
    QMetaObject::invokeMethod(
        this, [this] { emit changesReady(plan); }, Qt::QueuedConnection);
}

void ParamTransfer::heartbeatArrived()
{
    if (!awaitingHeartbeat)
        return;
    awaitingHeartbeat = false;
    offerChanges();
}

void ParamTransfer::heartbeatMissing()
{
    if (awaitingHeartbeat)
        failForSilence();
}

void ParamTransfer::failForSilence()
{
    fail(mode == Mode::Set ? tr("No heartbeat from the FC; writing the values stopped.")
                           : tr("No heartbeat from the FC; the restore stopped."));
}

void ParamTransfer::confirmWrites()
{
    if (!running || !awaitingConfirmation)
        return;
    awaitingConfirmation = false;
    turns.request(this, [this] { startWrites(); });
}

// Once no other feature writes to the FC.
void ParamTransfer::startWrites()
{
    stage = Stage::Writing;
    emit progress(stage, 0, plan.writes.size());
    if (mode == Mode::Set)
        writer.start(plan.writes, tr("command line"));
    else
        writer.start(plan.writes, tr("Restore of %1").arg(QFileInfo(path).fileName()),
                     ParamWriter::Pace::OneAtATime, snapshotOf(fcList));
}

void ParamTransfer::writeProgress(int done, int total)
{
    if (turns.holds(this))
        emit progress(Stage::Writing, done, total);
}

void ParamTransfer::writesEnded(ParamWriter::Ending ending)
{
    if (!turns.holds(this))
        return;
    switch (ending) {
    case ParamWriter::Ending::Done:
        end(writer.unconfirmedNames().isEmpty() ? TransferReport::Outcome::Succeeded
                                                : TransferReport::Outcome::Failed,
            writer.summary());
        break;
    case ParamWriter::Ending::Cancelled:
        end(TransferReport::Outcome::Cancelled,
            cancelledText() + QLatin1Char(' ') + writer.summary());
        break;
    case ParamWriter::Ending::Armed:
        fail(mode == Mode::Set ? tr("The FC was armed; writing the values stopped.")
                               : tr("The FC was armed; the restore stopped."));
        break;
    case ParamWriter::Ending::NoHeartbeat:
        failForSilence();
        break;
    }
}

void ParamTransfer::cancel()
{
    if (!running)
        return;
    if (stage == Stage::Writing)
        writer.cancel();
    else
        end(TransferReport::Outcome::Cancelled, withNothingWritten(cancelledText()));
}

void ParamTransfer::decline(const QString &reason)
{
    if (running && awaitingConfirmation)
        fail(reason);
}

void ParamTransfer::linkClosed()
{
    if (running)
        fail(tr("The link to the FC was closed."));
}

// A read by name writes nothing by its nature: saying so would mislead.
QString ParamTransfer::withNothingWritten(const QString &message) const
{
    switch (mode) {
    case Mode::Backup:
        return message + QLatin1Char(' ') + tr("No file was written.");
    case Mode::Restore:
    case Mode::Set:
        return message + QLatin1Char(' ') + tr("Nothing was written.");
    case Mode::Get:
        break;
    }
    return message;
}

QString ParamTransfer::unknownExtensionProblem()
{
    return tr("the name's extension chooses the format: .params (%1), .param or .parm (%2)")
        .arg(paramFileFormatName(ParamFileFormat::Columns),
             paramFileFormatName(ParamFileFormat::NameValue));
}

QString ParamTransfer::cancelledText() const
{
    switch (mode) {
    case Mode::Backup:
        return tr("Backup cancelled.");
    case Mode::Restore:
        return tr("Restore cancelled.");
    case Mode::Get:
    case Mode::Set:
        break;
    }
    return tr("Cancelled.");
}

// A failure after the writes began tells what they achieved; before, that
// nothing was touched.
void ParamTransfer::fail(const QString &message)
{
    const bool writing = stage == Stage::Writing && running;
    if (turns.holds(this))
        writer.stop();
    end(TransferReport::Outcome::Failed,
        writing ? message + QLatin1Char(' ') + writer.summary() : withNothingWritten(message));
}

void ParamTransfer::end(TransferReport::Outcome outcome, const QString &message)
{
    running = false;
    awaitingConfirmation = false;
    firmwareTurn.stop();
    awaitingHeartbeat = false;
    heartbeatWait.stop();
    reader.stop();
    TransferReport report;
    report.outcome = outcome;
    report.message = message;
    report.wroteAny = turns.holds(this) && writer.anySent();
    if (report.wroteAny && !journalProblem.isEmpty())
        report.message += QLatin1Char('\n') + journalProblem + QLatin1Char(' ') +
                          tr("History cannot undo these writes.");
    turns.release(this);
    report.values = values;
    QMetaObject::invokeMethod(
        this, [this, report] { emit finished(report); }, Qt::QueuedConnection);
}

QString ParamTransfer::progressText(Stage stage, int done, int total)
{
    switch (stage) {
    case Stage::CheckingFirmware:
        return tr("Checking the FC's firmware version...");
    case Stage::ReadingList:
        return total == 0 ? tr("Asking the FC for its parameters...")
                          : tr("Reading parameters: %1 of %2").arg(done).arg(total);
    case Stage::Writing:
        return tr("Writing parameters: %1 of %2").arg(done).arg(total);
    }
    return QString();
}
