// Draws the ten navigation images of the wizard: for each of the five steps a normal
// picture and a shaded one for the mouse hovering over it.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

constexpr int Size = 32;

void DrawGlyph(QPainter& p, int step, const QColor& ink)
{
    QPen pen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (step) {
    case 0: // product and output: a document with a folded corner
        p.drawPolygon(QPolygonF({{10, 7}, {19, 7}, {23, 11}, {23, 25}, {10, 25}}));
        p.drawLine(QPointF(13, 15), QPointF(20, 15));
        p.drawLine(QPointF(13, 19), QPointF(20, 19));
        break;
    case 1: // compiler command: a prompt with a cursor
        p.drawPolyline(QPolygonF({{8, 10}, {14, 16}, {8, 22}}));
        p.drawLine(QPointF(16, 22), QPointF(24, 22));
        break;
    case 2: // search directories: a folder
        p.drawPolygon(QPolygonF({{7, 10}, {13, 10}, {15, 12}, {25, 12}, {25, 23}, {7, 23}}));
        p.drawLine(QPointF(7, 15), QPointF(25, 15));
        break;
    case 3: // defines and switches: two sliders
        p.drawLine(QPointF(8, 12), QPointF(24, 12));
        p.drawLine(QPointF(8, 20), QPointF(24, 20));
        p.setBrush(ink);
        p.drawEllipse(QPointF(13, 12), 2.5, 2.5);
        p.drawEllipse(QPointF(19, 20), 2.5, 2.5);
        break;
    default: // review: a check mark
        p.drawPolyline(QPolygonF({{8, 16}, {14, 22}, {24, 10}}));
        break;
    }
}

QImage Draw(int step, bool shaded)
{
    QImage image(Size, Size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill = shaded ? QColor(28, 84, 160) : QColor(222, 233, 248);
    const QColor edge = shaded ? QColor(20, 60, 120) : QColor(120, 150, 200);
    const QColor ink = shaded ? QColor(Qt::white) : QColor(28, 70, 140);
    p.setPen(QPen(edge, 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1.5, 1.5, Size - 3, Size - 3), 7, 7);
    DrawGlyph(p, step, ink);
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: kxwiz-make-images OUTPUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const char* const names[] = {"product_output", "compiler_command", "search_directories",
                                 "defines_switches", "review"};
    for (int step = 0; step < 5; ++step) {
        for (bool shaded : {false, true}) {
            const QString file = out.filePath(QString::fromLatin1(names[step]) + (shaded ? "_shd.bmp" : ".bmp"));
            if (!Draw(step, shaded).save(file, "BMP")) {
                std::fprintf(stderr, "kxwiz-make-images: Error: cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}
