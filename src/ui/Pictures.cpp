#include "Pictures.h"
#include "Theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace pics {
namespace {

const QSize NumberSize(32, 24);
const QSize TypeSize(24, 24);

struct TileLook {
    QColor top, bottom, border;
    bool pressed;
};

QImage blank(QSize size)
{
    // BMP has no alpha: glyphs sit on the panel colour.
    QImage image(size, QImage::Format_RGB32);
    image.fill(theme::Panel);
    return image;
}

void paintTile(QPainter &p, QSize size, const TileLook &look)
{
    const QRectF r = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, look.top);
    fill.setColorAt(1, look.bottom);
    p.setPen(QPen(look.border, look.pressed ? 2 : 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(look.pressed ? 0.5 : 0, look.pressed ? 0.5 : 0, 0, 0), 4, 4);
    if (look.pressed) { // inner shadow along the top edge
        p.setPen(QPen(look.border.darker(130), 1));
        p.drawLine(QPointF(4, 2.5), QPointF(size.width() - 4, 2.5));
    } else {            // highlight along the top edge
        p.setPen(QPen(QColor(255, 255, 255, 200), 1));
        p.drawLine(QPointF(4, 1.5), QPointF(size.width() - 4, 1.5));
    }
}

void paintTick(QPainter &p, QPointF at, const QColor &colour)
{
    QPainterPath path(at + QPointF(0, 3));
    path.lineTo(at + QPointF(2.5, 5.5));
    path.lineTo(at + QPointF(7, 0));
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void paintCross(QPainter &p, QPointF at, const QColor &colour)
{
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at, at + QPointF(5.5, 5.5));
    p.drawLine(at + QPointF(5.5, 0), at + QPointF(0, 5.5));
}

void paintDot(QPainter &p, QPointF centre, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, 3, 3);
}

// A transparent square picture of the given size, painted in design units.
QImage transparentSquare(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void scaleToDesign(QPainter &p, int size, qreal designSize)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / designSize, size / designSize);
}

QImage numberGlyph(const TileLook &look, void (*mark)(QPainter &, QPointF, const QColor &), QPointF markAt)
{
    QImage image = blank(NumberSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintTile(p, NumberSize, look);
    if (mark)
        mark(p, markAt, look.border);
    return image;
}

QImage typeGlyph(bool down)
{
    QImage image = blank(TypeSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(12, 12);
    p.setPen(QPen(down ? theme::Accent : theme::BevelDark, 2));
    p.setBrush(down ? theme::AccentLight : QColor(Qt::white));
    p.drawEllipse(centre, 8, 8);
    if (down)
        paintDot(p, centre, theme::Accent);
    return image;
}

} // namespace

QImage glyph(Glyph kind)
{
    const QPointF corner(NumberSize.width() - 10, 3);
    const QPointF dot(NumberSize.width() - 6.5, 6.5);
    switch (kind) {
    case Glyph::Up:
        return numberGlyph({QColor(0xfd, 0xfb, 0xf6), QColor(0xe8, 0xe1, 0xd1), theme::BevelDark, false}, nullptr, {});
    case Glyph::Down:
        return numberGlyph({QColor(0xb9, 0xd9, 0xde), QColor(0xd7, 0xea, 0xec), theme::Accent, true}, nullptr, {});
    case Glyph::Right:
        return numberGlyph({QColor(0xf1, 0xf8, 0xf1), QColor(0xd6, 0xeb, 0xd7), theme::Right, false}, paintTick, corner);
    case Glyph::Wrong:
        return numberGlyph({QColor(0xfb, 0xef, 0xec), QColor(0xf2, 0xd6, 0xd0), theme::Wrong, false}, paintCross, corner);
    case Glyph::Over:
        return numberGlyph({QColor(0xee, 0xf3, 0xfa), QColor(0xd3, 0xe1, 0xf2), theme::Answered, false}, paintDot, dot);
    case Glyph::DownRight:
        return numberGlyph({QColor(0xae, 0xd6, 0xb1), QColor(0xcb, 0xe6, 0xcd), theme::Right, true}, paintTick, corner);
    case Glyph::DownWrong:
        return numberGlyph({QColor(0xe6, 0xb2, 0xa8), QColor(0xf1, 0xcf, 0xc8), theme::Wrong, true}, paintCross, corner);
    case Glyph::TypeUp:
        return typeGlyph(false);
    case Glyph::TypeDown:
        return typeGlyph(true);
    }
    return {};
}

QVector<GlyphFile> glyphFiles()
{
    return {
        {"vaskup.bmp", Glyph::Up},          {"vaskdw.bmp", Glyph::Down},
        {"vaskyes.bmp", Glyph::Right},      {"vaskno.bmp", Glyph::Wrong},
        {"vaskover.bmp", Glyph::Over},      {"vaskdw_r.bmp", Glyph::DownRight},
        {"vaskdw_w.bmp", Glyph::DownWrong}, {"vasktxup.bmp", Glyph::TypeUp},
        {"vasktxdw.bmp", Glyph::TypeDown},
    };
}

QImage messageIcon(MessageIcon kind, int size)
{
    QImage image = transparentSquare(size);
    QPainter p(&image);
    scaleToDesign(p, size, 32.0);
    const QPen mark(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap);
    switch (kind) {
    case MessageIcon::Notice:
        p.setPen(Qt::NoPen);
        p.setBrush(theme::Notice);
        p.drawEllipse(QRectF(1, 1, 30, 30));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
        p.setPen(mark);
        p.drawLine(QPointF(16, 15), QPointF(16, 24));
        break;
    case MessageIcon::Warning: {
        QPainterPath triangle(QPointF(16, 2));
        triangle.lineTo(31, 29);
        triangle.lineTo(1, 29);
        triangle.closeSubpath();
        p.setPen(QPen(theme::Warning, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(theme::Warning);
        p.drawPath(triangle);
        p.setPen(mark);
        p.drawLine(QPointF(16, 11), QPointF(16, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 24.5), 2, 2);
        break;
    }
    case MessageIcon::Error:
        p.setPen(Qt::NoPen);
        p.setBrush(theme::Wrong);
        p.drawEllipse(QRectF(1, 1, 30, 30));
        p.setPen(mark);
        p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
        p.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
        break;
    }
    return image;
}

QImage emblem(int size)
{
    QImage image = transparentSquare(size);
    QPainter p(&image);
    scaleToDesign(p, size, 64.0);
    QLinearGradient back(0, 0, 0, 64);
    back.setColorAt(0, theme::StripTop);
    back.setColorAt(1, theme::StripBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);

    // An open book with a quill laid across it.
    QPainterPath left(QPointF(32, 22));
    left.cubicTo(26, 17, 18, 17, 12, 19);
    left.lineTo(12, 46);
    left.cubicTo(18, 44, 26, 44, 32, 49);
    left.closeSubpath();
    QPainterPath right = QTransform(-1, 0, 0, 1, 64, 0).map(left);
    p.setBrush(theme::Panel);
    p.drawPath(left);
    p.setBrush(QColor(0xe8, 0xdf, 0xcc));
    p.drawPath(right);

    QPainterPath quill(QPointF(50, 8));
    quill.cubicTo(40, 12, 30, 24, 26, 40);
    quill.cubicTo(34, 30, 44, 22, 50, 8);
    p.setBrush(QColor(0xf2, 0xb8, 0x4b));
    p.drawPath(quill);
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x12), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(48, 11), QPointF(24, 46));
    return image;
}

QImage hourglass(int size)
{
    QImage image = transparentSquare(size);
    QPainter p(&image);
    scaleToDesign(p, size, 32.0);
    const QPen frame(theme::StripBottom, 2.4, Qt::SolidLine, Qt::RoundCap);
    p.setPen(frame);
    p.drawLine(QPointF(7, 3), QPointF(25, 3));
    p.drawLine(QPointF(7, 29), QPointF(25, 29));

    QPainterPath glass(QPointF(9, 4));
    glass.lineTo(23, 4);
    glass.cubicTo(23, 11, 17.5, 13.5, 17.5, 16);
    glass.cubicTo(17.5, 18.5, 23, 21, 23, 28);
    glass.lineTo(9, 28);
    glass.cubicTo(9, 21, 14.5, 18.5, 14.5, 16);
    glass.cubicTo(14.5, 13.5, 9, 11, 9, 4);
    p.setPen(QPen(theme::Accent, 1.6));
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawPath(glass);

    // Sand: a little left above, a heap below and a thin stream between.
    const QColor sand(0xf2, 0xb8, 0x4b);
    p.setPen(Qt::NoPen);
    p.setBrush(sand);
    QPainterPath top(QPointF(12.5, 10));
    top.lineTo(19.5, 10);
    top.lineTo(16, 14.5);
    top.closeSubpath();
    p.drawPath(top);
    QPainterPath heap(QPointF(10.5, 27));
    heap.cubicTo(12, 22, 20, 22, 21.5, 27);
    heap.closeSubpath();
    p.drawPath(heap);
    p.setPen(QPen(sand, 1));
    p.drawLine(QPointF(16, 15), QPointF(16, 23));
    return image;
}

} // namespace pics
