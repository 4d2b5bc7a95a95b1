// zefa-imagegen OUTDIR
// Writes every committed picture below OUTDIR. Output is a pure function of the
// code and the installed font, so regenerating must reproduce the same bytes.

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

ImageSet buildAll()
{
    ImageSet out;
    out.insert(QStringLiteral("connect.png"), pngBytes(connectIcon(128)));
    out.insert(QStringLiteral("disconnect.png"), pngBytes(disconnectIcon(128)));
    out.insert(QStringLiteral("application-exit.png"), pngBytes(exitIcon(48)));
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
        out.insert(QStringLiteral("zefa/frame-%1.png").arg(QLatin1String(layout.name)),
                   pngBytes(frameDiagram(layout)));

    for (int step = 1; step <= kAccelSteps; ++step)
        out.insert(QStringLiteral("accel/%1.png").arg(step), pngBytes(accelFace(step)));
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
