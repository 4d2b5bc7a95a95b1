// Linked into every suite: settings the suites rely on, made before the
// first test whatever the machine's environment says.

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// Qt's own filter, which applies the rules; not yet known while the new
// filter is first applied.
QLoggingCategory::CategoryFilter configuredFilter = nullptr;

// The suites expect the program's own messages (the "default" category of
// qDebug() and its kin) line by line. Distributions and users switch debug
// output off with QT_LOGGING_RULES, QT_LOGGING_CONF or a qtlogging.ini, and
// those rules outrank QLoggingCategory::setFilterRules(); a filter is applied
// after all of them. Qt's own categories stay as configured.
void enableProgramMessages(QLoggingCategory *category)
{
    if (configuredFilter)
        configuredFilter(category);
    if (qstrcmp(category->categoryName(), "default") != 0)
        return;
    for (QtMsgType type : {QtDebugMsg, QtInfoMsg, QtWarningMsg, QtCriticalMsg})
        category->setEnabled(type, true);
}

// A suite never reads or writes the user's settings, nor another suite's: each
// run keeps them in a folder of its own, also for the programs it runs. A test
// may point QSettings elsewhere.
void isolateSettings()
{
    static QTemporaryDir folder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
}

// Every change a suite writes to a simulated FC is journalled: into a
// folder of the suite's own, never the user's journal, also for the programs
// it runs.
void journalInTemporaryFolder()
{
    static QTemporaryDir folder;
    qputenv("ZEFA_GCS_JOURNAL", folder.filePath(QStringLiteral("changes.journal")).toLocal8Bit());
}

void setUpSuite()
{
    configuredFilter = QLoggingCategory::installFilter(enableProgramMessages);
    isolateSettings();
    journalInTemporaryFolder();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(setUpSuite)
