// SPDX-License-Identifier: GPL-3.0-or-later
// Draws TockWork's application icon for the hicolor theme from the ant's hand-drawn tray art:
// the 16- and 22-pixel drawings as they are, every larger size as whole-pixel multiples of one of
// them (nearest neighbour, centred on a transparent square), so the pixel art stays sharp.
//
//   tockwork-icons <ant_16.gif> <ant_22.gif> <output dir>   writes
//   <dir>/<n>x<n>/apps/org.tockwork.TockWork.png

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cstdio>

namespace {

QImage firstFrame(const QString& path)
{
    QImageReader reader(path);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

// The drawing scaled by the largest whole factor that fits `size`, centred.
QImage iconOf(const QImage& drawing, int size)
{
    const int factor = std::max(1, size / std::max(drawing.width(), drawing.height()));
    const QImage scaled =
        drawing.scaled(drawing.size() * factor, Qt::KeepAspectRatio, Qt::FastTransformation);
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    return icon;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fputs("usage: tockwork-icons <ant_16.gif> <ant_22.gif> <output dir>\n", stderr);
        return 2;
    }
    const QImage small = firstFrame(args[1]);
    const QImage medium = firstFrame(args[2]);
    if (small.isNull() || medium.isNull()) {
        std::fputs("tockwork-icons: cannot read the tray art\n", stderr);
        return 1;
    }
    // Sizes that are multiples of 22 take the finer drawing; the rest multiples of 16.
    const struct
    {
        int size;
        const QImage& drawing;
    } icons[] = {{16, small}, {22, medium}, {24, medium}, {32, small}, {44, medium},
                 {48, small}, {64, small},  {128, small}, {256, small}};
    for (const auto& icon : icons) {
        const QString dir = args[3] + QStringLiteral("/%1x%1/apps").arg(icon.size);
        if (!QDir().mkpath(dir) || !iconOf(icon.drawing, icon.size)
                                        .save(dir + QStringLiteral("/org.tockwork.TockWork.png"))) {
            std::fprintf(stderr, "tockwork-icons: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
