#include "app/applicationsetup.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QRawFont>
#include <QXmlStreamReader>
#include <QtTest>

// The program carries its own copies of the faces the layout is measured
// with, for Windows, which has neither. Each must be the family the program
// asks for, and the Chinese cut must hold every character the catalogue shows.

namespace {
QByteArray resourceData(const char *resource)
{
    QFile file{QLatin1String(resource)};
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString catalogueTranslations()
{
    QFile file(QStringLiteral(ZEFA_SOURCE_DIR "/resources/zh_CN.ts"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("translation"))
            text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return text;
}
} // namespace

class EmbeddedFonts : public QObject
{
    Q_OBJECT

private slots:
    void loadsAsTheFamilyAskedFor_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QString>("family");
        for (const EmbeddedFont &font : embeddedInterfaceFonts())
            QTest::newRow(font.resource)
                << QString::fromLatin1(font.resource) << QString::fromLatin1(font.family);
    }

    void loadsAsTheFamilyAskedFor()
    {
        QFETCH(QString, resource);
        QFETCH(QString, family);
        const int id = QFontDatabase::addApplicationFont(resource);
        QVERIFY2(id >= 0, qPrintable(resource));
        QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList{family});
        QFontDatabase::removeApplicationFont(id);
    }

    void chineseCutHoldsEveryCharacterOfTheCatalogue()
    {
        const QString text = catalogueTranslations();
        QVERIFY(text.size() > 1000);
        const QVector<EmbeddedFont> fonts = embeddedInterfaceFonts();
        const QRawFont latin(resourceData(fonts.first().resource), 12);
        const QRawFont chinese(resourceData(fonts.last().resource), 12);
        QVERIFY(latin.isValid() && chinese.isValid());
        QString missing;
        for (const uint character : text.toUcs4()) {
            if (!QChar::isSpace(character) && !latin.supportsCharacter(character) &&
                !chinese.supportsCharacter(character) && !missing.contains(QChar(character)))
                missing += QString::fromUcs4(&character, 1);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("missing: ") + missing));
    }
};

QTEST_MAIN(EmbeddedFonts)
#include "tst_embeddedfonts.moc"
