// Checks the committed pictures in resources/images: sizes, transparency, the
// 2x drawings beside the window's pictures, the application icon's sizes, that
// the generator reproduces them pixel for pixel within rounding, and the motor
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

// Qt's raster engine picks code paths by CPU feature, and they round
// differently where a colour is divided by a partial alpha on the way to the
// PNG. Measured here between this CPU's paths and those without SSE4.1 and AVX:
// one level in at most 168 of the 4096 pixels (4%) of the 64x64 theme icon, all
// of them anti-aliased edge pixels, and less elsewhere. Twice that level and
// more than twice that share leave room for other CPUs; a changed colour,
// line or shape goes far beyond either.
constexpr int kMaxChannelDelta = 2;
constexpr double kMaxDifferingShare = 0.10;

// What the generator runs with besides this machine's own CPU features.
const char kGenericCpuFeatures[] = "sse4.1 sse4.2 avx avx2 avx512f";

QString imagesDir()
{
    return QStringLiteral(ZEFA_SOURCE_DIR "/resources/images");
}

// Pictures the window shows, without ".png"; each also comes as NAME@2x.png.
QStringList windowPictures()
{
    QStringList names = {QStringLiteral("connect"), QStringLiteral("disconnect"),
                         QStringLiteral("application-exit")};
    for (const char *name : kFrameNames)
        names << QStringLiteral("zefa/frame-%1").arg(QLatin1String(name));
    for (int i = 1; i <= 6; ++i)
        names << QStringLiteral("accel/%1").arg(i);
    return names;
}

QStringList expectedFiles()
{
    QStringList files = {QStringLiteral("clear.png"), QStringLiteral("settings.png"),
                         QStringLiteral("r7ico.ico")};
    for (const QString &name : windowPictures())
        files << name + QLatin1String(".png") << name + QLatin1String("@2x.png");
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

// Every image in the file (one for a PNG, one per size for an icon), as RGBA.
QList<QImage> decodedImages(const QString &path)
{
    QImageReader reader(path);
    const int count = std::max(1, reader.imageCount());
    QList<QImage> images;
    for (int i = 0; i < count && (count == 1 || reader.jumpToImage(i)); ++i) {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        images << image.convertToFormat(QImage::Format_RGBA8888);
    }
    return images;
}

struct PixelDifference
{
    int largestDelta = 0;
    int pixels = 0;
};

// Both images RGBA8888 of the same size.
PixelDifference pixelDifference(const QImage &a, const QImage &b)
{
    PixelDifference diff;
    for (int y = 0; y < a.height(); ++y) {
        const uchar *rowA = a.constScanLine(y);
        const uchar *rowB = b.constScanLine(y);
        for (int x = 0; x < a.width(); ++x) {
            int delta = 0;
            for (int channel = 4 * x; channel < 4 * x + 4; ++channel)
                delta = std::max(delta, std::abs(rowA[channel] - rowB[channel]));
            diff.largestDelta = std::max(diff.largestDelta, delta);
            diff.pixels += delta > 0;
        }
    }
    return diff;
}

// Empty when the generated file decodes to the committed pixels within the
// rounding allowance, otherwise what is wrong.
QString mismatch(const QString &generatedPath, const QString &committedPath, PixelDifference *worst)
{
    const QList<QImage> generated = decodedImages(generatedPath);
    const QList<QImage> committed = decodedImages(committedPath);
    if (generated.isEmpty() || generated.size() != committed.size())
        return QStringLiteral("%1 images generated, %2 committed")
            .arg(generated.size())
            .arg(committed.size());
    for (int i = 0; i < generated.size(); ++i) {
        const QImage &a = generated.at(i);
        const QImage &b = committed.at(i);
        if (a.size() != b.size())
            return QStringLiteral("image %1 is %2x%3, committed %4x%5")
                .arg(i)
                .arg(a.width())
                .arg(a.height())
                .arg(b.width())
                .arg(b.height());
        const PixelDifference diff = pixelDifference(a, b);
        worst->largestDelta = std::max(worst->largestDelta, diff.largestDelta);
        worst->pixels = std::max(worst->pixels, diff.pixels);
        const int allowedPixels = int(kMaxDifferingShare * a.width() * a.height());
        if (diff.largestDelta > kMaxChannelDelta || diff.pixels > allowedPixels)
            return QStringLiteral("image %1: %2 pixels differ (at most %3 may), by up to %4 "
                                  "levels (at most %5)")
                .arg(i)
                .arg(diff.pixels)
                .arg(allowedPixels)
                .arg(diff.largestDelta)
                .arg(kMaxChannelDelta);
    }
    return {};
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
    void doubleDensityPicture_data();
    void doubleDensityPicture();
    void applicationIconHoldsAllSizes();
    void generatorReproducesCommittedFiles_data();
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
    // The corner shows what is behind the picture.
    QVERIFY(image.hasAlphaChannel());
    QVERIFY(qAlpha(image.pixel(0, 0)) < 255);
}

void TestImages::doubleDensityPicture_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : windowPictures())
        QTest::newRow(qPrintable(name)) << name;
}

// Drawn at twice the size of the 1x picture, and bundled beside it where Qt
// looks for it.
void TestImages::doubleDensityPicture()
{
    QFETCH(QString, name);
    const QString plainFile = name + QLatin1String(".png");
    const QString denseFile = name + QLatin1String("@2x.png");

    const QImage plain(QDir(imagesDir()).filePath(plainFile));
    const QImage dense(QDir(imagesDir()).filePath(denseFile));
    QVERIFY2(!plain.isNull() && !dense.isNull(), qPrintable(name + " is missing"));
    QCOMPARE(dense.size(), plain.size() * 2);
    QVERIFY(dense.hasAlphaChannel());
    QVERIFY(qAlpha(dense.pixel(0, 0)) < 255);

    for (const QString &file : {plainFile, denseFile})
        QVERIFY2(QFile::exists(QLatin1String(":/images/") + file),
                 qPrintable(file + " is not in resources/resources.qrc"));
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

void TestImages::generatorReproducesCommittedFiles_data()
{
    QTest::addColumn<QString>("disabledCpuFeatures");
    QTest::newRow("this CPU") << QString();
    QTest::newRow("without SSE4.1 and AVX") << QString::fromLatin1(kGenericCpuFeatures);
}

void TestImages::generatorReproducesCommittedFiles()
{
    QFETCH(QString, disabledCpuFeatures);
    QTemporaryDir out;
    QVERIFY(out.isValid());

    QProcess generator;
    generator.setProcessChannelMode(QProcess::MergedChannels);
    if (!disabledCpuFeatures.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_NO_CPU_FEATURE"), disabledCpuFeatures);
        generator.setProcessEnvironment(env);
    }
    generator.start(QStringLiteral(ZEFA_IMAGEGEN_PATH), {out.path()});
    QVERIFY2(generator.waitForFinished(120000), "zefa-imagegen did not finish");
    QVERIFY2(generator.exitStatus() == QProcess::NormalExit && generator.exitCode() == 0,
             generator.readAll().constData());

    // The generator writes exactly the expected tree.
    QCOMPARE(filesBelow(out.path()), expectedFiles());

    int differing = 0;
    PixelDifference worst;
    for (const QString &file : expectedFiles()) {
        const QString problem =
            mismatch(QDir(out.path()).filePath(file), QDir(imagesDir()).filePath(file), &worst);
        if (!problem.isEmpty()) {
            qWarning("%s: %s", qPrintable(file), qPrintable(problem));
            ++differing;
        }
    }
    qInfo("largest difference: %d levels; most pixels differing in one image: %d",
          worst.largestDelta, worst.pixels);
    QVERIFY2(differing == 0,
             qPrintable(QStringLiteral("%1 files differ from the generator output; run "
                                       "zefa-imagegen resources/images and commit the result")
                            .arg(differing)));
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
