// Checks the committed pictures in resources/images: sizes, the application
// icon's sizes, that the generator reproduces them byte for byte, and the motor
// table the frame diagrams are drawn from.

#include "../tools/imagegen/frame_layouts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#ifndef ZEFA_SOURCE_DIR
#error "ZEFA_SOURCE_DIR must name the source tree"
#endif

using namespace zefa::imagegen;

namespace {

const char *const kFrameNames[] = {"X4", "Plus4", "X6", "Plus6", "Y6A", "Y6B", "V8", "Plus8", "X8"};

QString imagesDir()
{
    return QStringLiteral(ZEFA_SOURCE_DIR "/resources/images");
}

QStringList expectedFiles()
{
    QStringList files = {QStringLiteral("connect.png"),          QStringLiteral("disconnect.png"),
                         QStringLiteral("application-exit.png"), QStringLiteral("clear.png"),
                         QStringLiteral("settings.png"),         QStringLiteral("r7ico.ico")};
    for (const char *name : kFrameNames)
        files << QStringLiteral("zefa/frame-%1.png").arg(QLatin1String(name));
    for (int i = 1; i <= 6; ++i)
        files << QStringLiteral("accel/%1.png").arg(i);
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        files << QStringLiteral("hicolor/%1x%1/apps/zefa-gcs.png").arg(size);
    files.sort();
    return files;
}

QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

const FrameLayout *findLayout(const QString &name)
{
    for (const FrameLayout &layout : kFrameLayouts)
        if (name == QLatin1String(layout.name))
            return &layout;
    return nullptr;
}

} // namespace

class TestImages : public QObject
{
    Q_OBJECT

private slots:
    void committedFileHasExpectedSize_data();
    void committedFileHasExpectedSize();
    void applicationIconHoldsAllSizes();
    void generatorReproducesCommittedFiles();
    void motorTable_data();
    void motorTable();
    void motorTableMatchesDocumentedAnchors_data();
    void motorTableMatchesDocumentedAnchors();
};

void TestImages::committedFileHasExpectedSize_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("minWidth");
    QTest::addColumn<int>("maxWidth");
    QTest::addColumn<int>("minHeight");
    QTest::addColumn<int>("maxHeight");

    auto exact = [](const QString &file, int w, int h) {
        QTest::newRow(qPrintable(file)) << file << w << w << h << h;
    };
    exact(QStringLiteral("connect.png"), 128, 128);
    exact(QStringLiteral("disconnect.png"), 128, 128);
    exact(QStringLiteral("clear.png"), 128, 128);
    exact(QStringLiteral("settings.png"), 128, 128);
    exact(QStringLiteral("application-exit.png"), 48, 48);
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        exact(QStringLiteral("hicolor/%1x%1/apps/zefa-gcs.png").arg(size), size, size);
    for (const char *name : kFrameNames)
        exact(QStringLiteral("zefa/frame-%1.png").arg(QLatin1String(name)), 118, 118);
    for (int i = 1; i <= 6; ++i) {
        const QString file = QStringLiteral("accel/%1.png").arg(i);
        QTest::newRow(qPrintable(file)) << file << 262 << 312 << 291 << 336;
    }
}

void TestImages::committedFileHasExpectedSize()
{
    QFETCH(QString, file);
    QFETCH(int, minWidth);
    QFETCH(int, maxWidth);
    QFETCH(int, minHeight);
    QFETCH(int, maxHeight);

    const QString path = QDir(imagesDir()).filePath(file);
    QVERIFY2(QFile::exists(path), qPrintable(path + " is missing"));
    QImageReader reader(path, "png");
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(path + ": " + reader.errorString()));
    QVERIFY2(image.width() >= minWidth && image.width() <= maxWidth,
             qPrintable(QStringLiteral("width %1").arg(image.width())));
    QVERIFY2(image.height() >= minHeight && image.height() <= maxHeight,
             qPrintable(QStringLiteral("height %1").arg(image.height())));
}

void TestImages::applicationIconHoldsAllSizes()
{
    const QString path = QDir(imagesDir()).filePath(QStringLiteral("r7ico.ico"));
    QImageReader reader(path, "ico");
    QVERIFY2(reader.canRead(), qPrintable(path + ": " + reader.errorString()));

    QList<int> sides;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        QVERIFY2(image.hasAlphaChannel(), "icon entries need transparency");
        sides << image.width();
    }
    std::sort(sides.begin(), sides.end());
    QCOMPARE(sides, (QList<int>{16, 24, 32, 48, 64, 128, 256}));
}

void TestImages::generatorReproducesCommittedFiles()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());

    QProcess generator;
    generator.setProcessChannelMode(QProcess::MergedChannels);
    generator.start(QStringLiteral(ZEFA_IMAGEGEN_PATH), {out.path()});
    QVERIFY2(generator.waitForFinished(120000), "zefa-imagegen did not finish");
    QVERIFY2(generator.exitStatus() == QProcess::NormalExit && generator.exitCode() == 0,
             generator.readAll().constData());

    // The generator writes exactly the expected tree.
    QCOMPARE(filesBelow(out.path()), expectedFiles());

    for (const QString &file : expectedFiles()) {
        const QByteArray generated = readAll(QDir(out.path()).filePath(file));
        const QByteArray committed = readAll(QDir(imagesDir()).filePath(file));
        QVERIFY2(!generated.isEmpty(), qPrintable(file + " was not generated"));
        QVERIFY2(generated == committed,
                 qPrintable(file + " differs from the generator output; run "
                                   "zefa-imagegen resources/images and commit the result"));
    }
}

void TestImages::motorTable_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("motors");
    QTest::addColumn<bool>("coaxial");

    const struct
    {
        const char *name;
        int motors;
        bool coaxial;
    } rows[] = {{"X4", 4, false},    {"Plus4", 4, false}, {"X6", 6, false},
                {"Plus6", 6, false}, {"Y6A", 6, true},    {"Y6B", 6, true},
                {"V8", 8, false},    {"Plus8", 8, false}, {"X8", 8, false}};
    QCOMPARE(std::size(kFrameLayouts), std::size(rows));
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.motors << row.coaxial;
}

void TestImages::motorTable()
{
    QFETCH(QString, frame);
    QFETCH(int, motors);
    QFETCH(bool, coaxial);

    const FrameLayout *layout = findLayout(frame);
    QVERIFY2(layout, "frame missing from the motor table");
    QCOMPARE(int(layout->count), motors);

    QSet<int> numbers;
    int cw = 0, ccw = 0;
    for (std::size_t i = 0; i < layout->count; ++i) {
        const MotorPlacement &m = layout->motors[i];
        QVERIFY2(m.number >= 1 && m.number <= motors, qPrintable(QString::number(m.number)));
        numbers.insert(m.number);
        (m.spin == Spin::CW ? cw : ccw)++;
        QVERIFY(m.angleDeg >= 0 && m.angleDeg < 360);
        QVERIFY(m.radius > 0);
        QCOMPARE(m.level != Level::Single, coaxial);
    }
    QCOMPARE(numbers.size(), motors); // 1..N, each once
    QCOMPARE(cw, ccw);                // yaw torques cancel

    if (coaxial) {
        // Each arm carries one top and one bottom motor turning opposite ways.
        std::map<long, std::vector<const MotorPlacement *>> arms;
        for (std::size_t i = 0; i < layout->count; ++i)
            arms[std::lround(layout->motors[i].angleDeg * 10)].push_back(&layout->motors[i]);
        QCOMPARE(int(arms.size()), motors / 2);
        for (const auto &arm : arms) {
            QCOMPARE(int(arm.second.size()), 2);
            QVERIFY(arm.second[0]->level != arm.second[1]->level);
            QVERIFY(arm.second[0]->spin != arm.second[1]->spin);
        }
    } else {
        // Going round the frame, neighbours turn opposite ways.
        std::vector<const MotorPlacement *> ring;
        for (std::size_t i = 0; i < layout->count; ++i)
            ring.push_back(&layout->motors[i]);
        std::sort(ring.begin(), ring.end(),
                  [](auto *a, auto *b) { return a->angleDeg < b->angleDeg; });
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const MotorPlacement *next = ring[(i + 1) % ring.size()];
            QVERIFY2(ring[i]->spin != next->spin,
                     qPrintable(QStringLiteral("motors %1 and %2 turn the same way")
                                    .arg(ring[i]->number)
                                    .arg(next->number)));
        }
    }
}

void TestImages::motorTableMatchesDocumentedAnchors_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("number");
    QTest::addColumn<double>("angle");
    QTest::addColumn<bool>("clockwise");
    QTest::addColumn<int>("level");

    // Front-right (or front) reference motors as published for these frames.
    QTest::newRow("X4 motor 1 front right") << "X4" << 1 << 45.0 << false << int(Level::Single);
    QTest::newRow("Plus4 motor 3 front") << "Plus4" << 3 << 0.0 << true << int(Level::Single);
    QTest::newRow("X6 motor 5 front right") << "X6" << 5 << 30.0 << false << int(Level::Single);
    QTest::newRow("Plus6 motor 1 front") << "Plus6" << 1 << 0.0 << true << int(Level::Single);
    QTest::newRow("Y6A motor 5 right top") << "Y6A" << 5 << 60.0 << true << int(Level::Top);
    QTest::newRow("Y6A motor 1 right bottom") << "Y6A" << 1 << 60.0 << false << int(Level::Bottom);
    QTest::newRow("Y6B motor 1 right top") << "Y6B" << 1 << 60.0 << true << int(Level::Top);
    QTest::newRow("V8 motor 7 front right") << "V8" << 7 << 45.0 << true << int(Level::Single);
    QTest::newRow("Plus8 motor 1 front") << "Plus8" << 1 << 0.0 << true << int(Level::Single);
    QTest::newRow("X8 motor 1 front right") << "X8" << 1 << 22.5 << true << int(Level::Single);
}

void TestImages::motorTableMatchesDocumentedAnchors()
{
    QFETCH(QString, frame);
    QFETCH(int, number);
    QFETCH(double, angle);
    QFETCH(bool, clockwise);
    QFETCH(int, level);

    const FrameLayout *layout = findLayout(frame);
    QVERIFY(layout);
    const MotorPlacement *motor = nullptr;
    for (std::size_t i = 0; i < layout->count; ++i)
        if (layout->motors[i].number == number)
            motor = &layout->motors[i];
    QVERIFY(motor);
    QCOMPARE(motor->angleDeg, angle);
    QCOMPARE(motor->spin == Spin::CW, clockwise);
    QCOMPARE(int(motor->level), level);
}

QTEST_GUILESS_MAIN(TestImages)
#include "tst_images.moc"
