// artgen: the artwork tool of the build.
//   artgen render [--size WxH] [--bmp] [--2x] --out-dir DIR IN.svg...
//   artgen render [--size WxH] [--2x] -o OUT.png|OUT.bmp IN.svg
//   artgen skin MANIFEST ART_DIR OUT_ROOT [--keep-svg DIR] [--2x] [-v]
//   artgen outputs MANIFEST [--2x]
// --2x also writes each picture at twice its size as NAME@2x.EXT beside it,
// the variant Qt shows on high-density screens.
//   artgen sheet OUT.png [--columns N] [--scale K] [--bg #rrggbb] IN...
#include "Manifest.h"
#include "Render.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

namespace {

int usage() {
    std::fputs("usage:\n"
               "  artgen render [--size WxH] [--bmp] [--2x] --out-dir DIR IN.svg...\n"
               "  artgen render [--size WxH] [--2x] -o OUT.png|OUT.bmp IN.svg\n"
               "  artgen skin MANIFEST ART_DIR OUT_ROOT [--keep-svg DIR] [--2x] [-v]\n"
               "  artgen outputs MANIFEST [--2x]\n"
               "  artgen sheet OUT.png [--columns N] [--scale K] [--bg #rrggbb] IN...\n",
               stderr);
    return 2;
}

int fail(const QString& what) {
    std::fprintf(stderr, "artgen: %s\n", qPrintable(what));
    return 1;
}

// Takes "--name value" out of args; false when the value is missing.
bool takeOption(QStringList& args, const QString& name, QString* value) {
    const qsizetype i = args.indexOf(name);
    if (i < 0) return true;
    if (i + 1 >= args.size()) return false;
    *value = args[i + 1];
    args.remove(i, 2);
    return true;
}

bool takeFlag(QStringList& args, const QString& name) {
    return args.removeAll(name) > 0;
}

int cmdRender(QStringList args) {
    QString sizeText, outDir, outFile;
    if (!takeOption(args, QStringLiteral("--size"), &sizeText) || !takeOption(args, QStringLiteral("--out-dir"), &outDir) ||
        !takeOption(args, QStringLiteral("-o"), &outFile))
        return usage();
    const bool bmp = takeFlag(args, QStringLiteral("--bmp"));
    const int scales = takeFlag(args, QStringLiteral("--2x")) ? 2 : 1;
    QSize size;
    if (!sizeText.isEmpty() && !(size = artgen::parseSize(sizeText)).isValid()) return fail(QStringLiteral("bad size ") + sizeText);
    if (outDir.isEmpty() == outFile.isEmpty() || (!outFile.isEmpty() && args.size() != 1)) return usage();
    int failures = 0;
    for (const QString& in : args) {
        QFile f(in);
        QString error;
        const QString out = !outFile.isEmpty()
            ? outFile
            : QDir(outDir).filePath(QFileInfo(in).completeBaseName() + (bmp ? QLatin1String(".bmp") : QLatin1String(".png")));
        if (!f.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("cannot read");
        } else {
            const QByteArray svg = f.readAll();
            for (int scale = 1; scale <= scales && error.isEmpty(); ++scale) {
                const QImage img = artgen::renderSvg(svg, size, &error, scale);
                if (!img.isNull()) artgen::saveImage(img, artgen::scaledName(out, scale), &error);
            }
        }
        if (!error.isEmpty()) {
            std::fprintf(stderr, "artgen: %s: %s\n", qPrintable(in), qPrintable(error));
            ++failures;
        }
    }
    // Render everything that can be rendered, then report the bad ones.
    return failures ? 1 : 0;
}

int cmdSkin(QStringList args) {
    artgen::ManifestJob job;
    if (!takeOption(args, QStringLiteral("--keep-svg"), &job.keepSvgDir)) return usage();
    job.verbose = takeFlag(args, QStringLiteral("-v"));
    job.also2x = takeFlag(args, QStringLiteral("--2x"));
    if (args.size() != 3) return usage();
    job.manifest = args[0];
    job.artDir = args[1];
    job.outRoot = args[2];
    return artgen::runManifest(job) ? 0 : 1;
}

int cmdOutputs(QStringList args) {
    const bool also2x = takeFlag(args, QStringLiteral("--2x"));
    if (args.size() != 1) return usage();
    QStringList outs;
    if (!artgen::manifestOutputs(args[0], &outs, also2x)) return 1;
    for (const QString& o : outs) std::printf("%s\n", qPrintable(o));
    return 0;
}

int cmdSheet(QStringList args) {
    QString columns = QStringLiteral("6"), scale = QStringLiteral("1"), bg = QStringLiteral("#f4f6f9");
    if (!takeOption(args, QStringLiteral("--columns"), &columns) || !takeOption(args, QStringLiteral("--scale"), &scale) ||
        !takeOption(args, QStringLiteral("--bg"), &bg) || args.size() < 2)
        return usage();
    const QString out = args.takeFirst();
    QString error;
    const QImage sheet = artgen::contactSheet(args, columns.toInt(), QColor::fromString(bg), scale.toDouble(), &error);
    if (sheet.isNull() || !artgen::saveImage(sheet, out, &error)) return fail(error);
    return 0;
}

// Keeps the build log quiet about the missing runtime folder of a headless run.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (type == QtWarningMsg && msg.startsWith(QLatin1String("QStandardPaths:"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, msg)));
}

} // namespace

int main(int argc, char** argv) {
    // Headless: no display is needed, only fonts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) return usage();
    const QString cmd = args.takeFirst();
    if (cmd == QLatin1String("render")) return cmdRender(args);
    if (cmd == QLatin1String("skin")) return cmdSkin(args);
    if (cmd == QLatin1String("outputs")) return cmdOutputs(args);
    if (cmd == QLatin1String("sheet")) return cmdSheet(args);
    return usage();
}
