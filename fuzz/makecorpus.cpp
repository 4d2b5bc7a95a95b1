// Writes the seed corpus of both fuzz targets:
//   zefa-fuzz-corpus OUTDIR   ->  OUTDIR/receive/*, OUTDIR/parser/*
#include "seeds.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool writeCorpus(const QString &folder, const QList<Seed> &seeds)
{
    QDir dir(folder);
    if (dir.exists() && !dir.removeRecursively())
        return false;
    if (!QDir().mkpath(folder))
        return false;
    for (const Seed &seed : seeds) {
        QFile file(dir.filePath(seed.name));
        if (!file.open(QIODevice::WriteOnly) || file.write(seed.bytes) != seed.bytes.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    if (!writeCorpus(out + QStringLiteral("/receive"), receivePathSeeds()) ||
        !writeCorpus(out + QStringLiteral("/parser"), parserSeeds())) {
        std::fprintf(stderr, "cannot write the corpus under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
