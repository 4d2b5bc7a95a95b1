// zefa-imagegen OUTDIR
// Writes every committed picture below OUTDIR. Output is a function of the code
// and the installed font; only anti-aliasing may round differently where Qt's
// raster engine takes another code path for the CPU it runs on.

#include "accel_faces.h"
#include "app_icon.h"
#include "frame_diagrams.h"
#include "frame_layouts.h"
#include "ico_writer.h"
#include "icons.h"
#include "paint_util.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

using namespace zefa::imagegen;

namespace {

// Pictures the window shows go in at 1x as NAME.png and at 2x as NAME@2x.png,
// the name Qt looks for on high-density screens. The 2x one is drawn again at
// twice the resolution, never enlarged from the 1x bitmap.
template <typename Draw>
void insertBothDensities(ImageSet &out, const QString &name, Draw drawAtDensity)
{
    out.insert(name + QLatin1String(".png"), pngBytes(drawAtDensity(1)));
    out.insert(name + QLatin1String("@2x.png"), pngBytes(drawAtDensity(2)));
}

ImageSet buildAll()
{
    ImageSet out;
    insertBothDensities(out, QStringLiteral("connect"),
                        [](int density) { return connectIcon(128 * density); });
    insertBothDensities(out, QStringLiteral("disconnect"),
                        [](int density) { return disconnectIcon(128 * density); });
    insertBothDensities(out, QStringLiteral("application-exit"),
                        [](int density) { return exitIcon(48 * density); });
    // Bundled, but nothing shows them.
    out.insert(QStringLiteral("clear.png"), pngBytes(clearIcon(128)));
    out.insert(QStringLiteral("settings.png"), pngBytes(settingsIcon(128)));

    // The same drawings go into the Windows icon and the desktop theme folders.
    QList<QImage> icoImages;
    for (int size : kAppIconSizes) {
        icoImages.append(appIcon(size));
        out.insert(QStringLiteral("hicolor/%1x%1/apps/zefa-gcs.png").arg(size),
                   pngBytes(icoImages.last()));
    }
    out.insert(QStringLiteral("r7ico.ico"), icoBytes(icoImages));

    for (const FrameLayout &layout : kFrameLayouts)
        insertBothDensities(out, QStringLiteral("zefa/frame-%1").arg(QLatin1String(layout.name)),
                            [&layout](int density) { return frameDiagram(layout, density); });

    for (int step = 1; step <= kAccelSteps; ++step)
        insertBothDensities(out, QStringLiteral("accel/%1").arg(step),
                            [step](int density) { return accelFace(step, density); });
    return out;
}

bool writeAll(const QString &outDir, const ImageSet &images)
{
    for (auto it = images.cbegin(); it != images.cend(); ++it) {
        const QString path = QDir(outDir).filePath(it.key());
        if (it.value().isEmpty()) {
            std::fprintf(stderr, "zefa-imagegen: nothing rendered for %s\n", qPrintable(path));
            return false;
        }
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            std::fprintf(stderr, "zefa-imagegen: cannot create folder for %s\n", qPrintable(path));
            return false;
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(it.value()) != it.value().size()) {
            std::fprintf(stderr, "zefa-imagegen: cannot write %s: %s\n", qPrintable(path),
                         qPrintable(file.errorString()));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Fonts need a GUI application but no display. Always offscreen: a desktop
    // platform may apply its own font hinting and change the output bytes.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zefa-imagegen OUTDIR\n");
        return 2;
    }

    QString fontError;
    if (!checkFont(&fontError)) {
        std::fprintf(stderr, "zefa-imagegen: %s\n", qPrintable(fontError));
        return 1;
    }

    return writeAll(args.at(1), buildAll()) ? 0 : 1;
}
