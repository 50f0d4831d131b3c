// Build-time helper: renders the program's icon (SVG and PNGs at the usual
// sizes given, in the hicolor theme's layout) and the README as the installed
// user guide in HTML, into OUTDIR. Sections whose heading ends with
// "(for developers)" stay in the source tree and are left out of the guide.
//   quorvane-assets OUTDIR README.md SIZE...
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QTextDocument>
#include <cstdio>
#include <cstdlib>

#include "app/qt/AppIcon.h"

namespace {

bool Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) return true;
    std::fprintf(stderr, "quorvane-assets: cannot write %s\n", qPrintable(path));
    return false;
}

// The README without its developer sections: a heading ending with
// "(for developers)" drops everything up to the next heading of the same or a
// higher level. Lines inside code blocks are never headings.
QString UserGuide(const QString& markdown) {
    QStringList kept;
    bool inCode = false;
    int droppingLevel = 0;  // the level of the heading being dropped, 0 when keeping
    for (const QString& line : markdown.split('\n')) {
        if (line.startsWith("```")) inCode = !inCode;
        int level = 0;
        if (!inCode && !line.startsWith("```")) {
            while (level < line.size() && line[level] == '#') ++level;
            if (level == line.size() || line[level] != ' ') level = 0;
        }
        if (level > 0 && droppingLevel > 0 && level <= droppingLevel) droppingLevel = 0;
        if (level > 0 && droppingLevel == 0 && line.trimmed().endsWith("(for developers)")) droppingLevel = level;
        if (droppingLevel == 0) kept << line;
    }
    return kept.join('\n');
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // fonts for the HTML, no display needed
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: quorvane-assets OUTDIR README.md SIZE...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok = Write(out + "/icons/hicolor/scalable/apps/quorvane.svg", quorvane::AppIconSvg());
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        quorvane::PaintAppIcon(painter, QRectF(0, 0, size, size));
        painter.end();
        const QString path = QString("%1/icons/hicolor/%2x%2/apps/quorvane.png").arg(out).arg(size);
        QDir().mkpath(QFileInfo(path).path());
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "quorvane-assets: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }

    QFile readme(QString::fromLocal8Bit(argv[2]));
    if (!readme.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "quorvane-assets: cannot read %s\n", argv[2]);
        return 1;
    }
    QTextDocument document;
    QFont font("DejaVu Sans");
    font.setPointSize(12);
    document.setDefaultFont(font);
    document.setMarkdown(UserGuide(QString::fromUtf8(readme.readAll())));
    document.setMetaInformation(QTextDocument::DocumentTitle, "Quorvane");
    ok = Write(out + "/doc/README.html", document.toHtml().toUtf8()) && ok;
    return ok ? 0 : 1;
}
