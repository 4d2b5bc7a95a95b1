#include <QBuffer>
#include <QFile>
#include <QKeySequence>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

// Guards the Simplified Chinese catalogue: every text the sources pass to
// tr() must have a finished translation, and no translation may break what
// the code relies on (line breaks, tabs, placeholders, mnemonics, shortcuts).

namespace {

struct Message
{
    QString context;
    QString source;
    QString comment;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete"; empty when done
};

QString keyOf(const Message &m)
{
    return m.context + QChar(0x1f) + m.source + QChar(0x1f) + m.comment;
}

QString shown(const Message &m)
{
    QString text = m.source;
    text.replace('\n', QLatin1String("\\n")).replace('\t', QLatin1String("\\t"));
    if (text.size() > 70)
        text = text.left(67) + QLatin1String("...");
    return QStringLiteral("%1: \"%2\"").arg(m.context, text);
}

// Reads the messages of a Qt Linguist catalogue; numerus forms are joined.
QList<Message> readMessages(QIODevice &device, QString &error)
{
    QList<Message> messages;
    QString context;
    QXmlStreamReader xml(&device);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringRef name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            messages.append({context, {}, {}, {}, {}});
        } else if (messages.isEmpty()) {
            continue;
        } else if (name == QLatin1String("source")) {
            messages.last().source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            messages.last().comment = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            messages.last().type = xml.attributes().value(QLatin1String("type")).toString();
            messages.last().translation =
                xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    if (xml.hasError())
        error = xml.errorString();
    return messages;
}

QList<Message> readCatalogue(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QString error;
    const QList<Message> messages = readMessages(file, error);
    if (!error.isEmpty())
        qFatal("%s: %s", qPrintable(path), qPrintable(error));
    return messages;
}

// What keeps `extracted` (fresh from the sources) from being fully covered by
// `catalogue`, one line per offending text.
QStringList coverageProblems(const QList<Message> &extracted, const QList<Message> &catalogue)
{
    QHash<QString, Message> translated;
    for (const Message &m : catalogue)
        translated.insert(keyOf(m), m);
    QSet<QString> inSources;
    QStringList problems;
    for (const Message &m : extracted) {
        inSources.insert(keyOf(m));
        const auto found = translated.constFind(keyOf(m));
        if (found == translated.constEnd())
            problems << QLatin1String("missing    ") + shown(m);
        else if (!found->type.isEmpty() || found->translation.isEmpty())
            problems << QLatin1String("unfinished ") + shown(m);
    }
    for (const Message &m : catalogue) {
        if (!inSources.contains(keyOf(m)))
            problems << QLatin1String("vanished   ") + shown(m);
    }
    return problems;
}

// "Ctrl+O" and the like: texts that end up as a QAction's shortcut.
bool isShortcutText(const QString &text)
{
    const QKeySequence sequence(text, QKeySequence::PortableText);
    return text.contains('+') && sequence.count() == 1 &&
           sequence.toString(QKeySequence::PortableText) == text;
}

QStringList placeholders(const QString &text)
{
    QStringList found;
    auto it = QRegularExpression(QStringLiteral("%\\d+")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    return found;
}

// The accelerator letter of a text with a mnemonic ("C&onnect" gives 'O').
QChar mnemonic(const QString &text)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("&([^&\\s])")).match(text);
    return match.hasMatch() ? match.captured(1).at(0).toUpper() : QChar();
}

// Why a finished translation cannot stand in for its source; empty if it can.
QString shapeProblem(const Message &m)
{
    const QString &s = m.source;
    const QString &t = m.translation;
    if (isShortcutText(s) && t != s)
        return QStringLiteral("shortcut must stay \"%1\"").arg(s);
    if (s.count('\n') != t.count('\n'))
        return QStringLiteral("%1 line breaks instead of %2").arg(t.count('\n')).arg(s.count('\n'));
    if (s.count('\t') != t.count('\t'))
        return QStringLiteral("%1 tabs instead of %2").arg(t.count('\t')).arg(s.count('\t'));
    if (placeholders(s) != placeholders(t))
        return QStringLiteral("placeholders differ");
    if (mnemonic(s) != mnemonic(t))
        return QStringLiteral("mnemonic &%1 lost").arg(mnemonic(s));
    return QString();
}

QString sourcePath(const QString &relative)
{
    return QStringLiteral(ZEFA_SOURCE_DIR "/") + relative;
}

QList<Message> messagesFrom(const QByteArray &xml)
{
    QByteArray data = xml;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    const QList<Message> messages = readMessages(buffer, error);
    if (!error.isEmpty())
        qFatal("%s", qPrintable(error));
    return messages;
}

} // namespace

class Translations : public QObject
{
    Q_OBJECT

private slots:
    void everySourceTextIsTranslated()
    {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString extractedPath = work.filePath(QStringLiteral("extracted.ts"));
        QStringList arguments{QStringLiteral("-silent"), QStringLiteral("-locations"),
                              QStringLiteral("none"), QStringLiteral("-I"), sourcePath({})};
        for (const QString &dir : QStringLiteral(ZEFA_TRANSLATED_DIRS).split(','))
            arguments << sourcePath(dir);
        arguments << QStringLiteral("-ts") << extractedPath;

        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(QStringLiteral(ZEFA_LUPDATE_PATH), arguments);
        QVERIFY2(lupdate.waitForFinished(120000), qPrintable(lupdate.errorString()));
        QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
                 lupdate.readAll().constData());

        const QList<Message> extracted = readCatalogue(extractedPath);
        // The window title at least; an empty extraction would prove nothing.
        QVERIFY(extracted.size() > 50);
        const QStringList problems =
            coverageProblems(extracted, readCatalogue(sourcePath("resources/zh_CN.ts")));
        QVERIFY2(problems.isEmpty(),
                 qPrintable(QStringLiteral("resources/zh_CN.ts does not cover the sources "
                                           "(refresh it with the target update-translations):\n") +
                            problems.join('\n')));
    }

    void translationsKeepWhatTheCodeNeeds()
    {
        QStringList problems;
        for (const Message &m : readCatalogue(sourcePath("resources/zh_CN.ts"))) {
            const QString problem = m.type.isEmpty() ? shapeProblem(m) : QString();
            if (!problem.isEmpty())
                problems << shown(m) + QLatin1String(": ") + problem;
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void problemsAreNamed_data()
    {
        QTest::addColumn<QByteArray>("catalogue");
        QTest::addColumn<QStringList>("expected");
        const QByteArray head = "<TS version=\"2.1\" language=\"zh_CN\"><context><name>C</name>";
        const QByteArray done = "<message><source>Read</source><translation>读取</translation>"
                                "</message>";
        const QByteArray tail = "</context></TS>";
        QTest::newRow("complete") << head + done + tail << QStringList();
        QTest::newRow("missing") << head + tail << QStringList{"missing    C: \"Read\""};
        QTest::newRow("unfinished")
            << head +
                   "<message><source>Read</source><translation type=\"unfinished\">读取"
                   "</translation></message>" +
                   tail
            << QStringList{"unfinished C: \"Read\""};
        QTest::newRow("empty translation")
            << head + "<message><source>Read</source><translation></translation></message>" + tail
            << QStringList{"unfinished C: \"Read\""};
        QTest::newRow("other context")
            << QByteArray("<TS><context><name>D</name>") + done + tail
            << QStringList{"missing    C: \"Read\"", "vanished   D: \"Read\""};
        QTest::newRow("vanished")
            << head + done +
                   "<message><source>Gone\n</source><translation type=\"vanished\">没了\n"
                   "</translation></message>" +
                   tail
            << QStringList{"vanished   C: \"Gone\\n\""};
    }

    void problemsAreNamed()
    {
        QFETCH(QByteArray, catalogue);
        QFETCH(QStringList, expected);
        const QList<Message> sources =
            messagesFrom("<TS><context><name>C</name><message><source>Read</source>"
                         "<translation type=\"unfinished\"/></message></context></TS>");
        QCOMPARE(coverageProblems(sources, messagesFrom(catalogue)), expected);
    }

    void shapeOfATranslation_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("translation");
        QTest::addColumn<QString>("problem");
        QTest::newRow("shortcut kept") << "Ctrl+O"
                                       << "Ctrl+O" << QString();
        QTest::newRow("shortcut translated") << "Ctrl+Q"
                                             << "控制+Q"
                                             << "shortcut must stay \"Ctrl+Q\"";
        QTest::newRow("plus inside prose") << "Quad +, Hex +"
                                           << "四旋翼+、六旋翼+" << QString();
        QTest::newRow("paragraphs kept") << "1.A\n\n2.B"
                                         << "1.甲\n\n2.乙" << QString();
        QTest::newRow("paragraph lost") << "1.A\n\n\n"
                                        << "1.甲\n"
                                        << "1 line breaks instead of 3";
        QTest::newRow("tab lost") << "Num\tMin\n"
                                  << "序号 最小\n"
                                  << "0 tabs instead of 1";
        QTest::newRow("placeholder lost") << "Description: %1"
                                          << "描述："
                                          << "placeholders differ";
        QTest::newRow("mnemonic moved") << "C&onnect"
                                        << "连接(&O)" << QString();
        QTest::newRow("mnemonic changed") << "&Quit"
                                          << "退出(&T)"
                                          << "mnemonic &Q lost";
        QTest::newRow("mnemonic dropped") << "&About"
                                          << "关于"
                                          << "mnemonic &A lost";
    }

    void shapeOfATranslation()
    {
        QFETCH(QString, source);
        QFETCH(QString, translation);
        QFETCH(QString, problem);
        QCOMPARE(shapeProblem({QStringLiteral("C"), source, {}, translation, {}}), problem);
    }
};

QTEST_MAIN(Translations)
#include "tst_translations.moc"
