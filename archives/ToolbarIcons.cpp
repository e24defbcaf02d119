#include "ToolbarIcons.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ToolbarIcons {
namespace {
const QColor windowColours[9] = {{}, {200, 40, 40}, {30, 90, 170}, {40, 140, 60}, {150, 90, 20},
                                 {120, 50, 150}, {200, 120, 0}, {0, 130, 140}, {90, 90, 90}};
const char windowLetters[9] = {' ', 'M', 'E', 'U', 'X', 'P', 'C', 'N', 'I'};

void glyph(QPainter& p, const QString& text, const QColor& colour, int pixelSize, bool bold = true)
{
    QFont f = p.font();
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, text);
}

QPixmap draw(Kind kind, int number)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(40, 40, 40), 2);
    switch (kind) {
    case Kind::Delete:   // a waste bin
        p.setPen(outline);
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(9, 10, 14, 18);
        p.drawLine(6, 8, 26, 8);
        p.drawRect(13, 4, 6, 4);
        for (int x : {13, 16, 19}) p.drawLine(x, 13, x, 25);
        break;
    case Kind::Print:    // a printer with its sheet
        p.setPen(outline);
        p.setBrush(Qt::white);
        p.drawRect(9, 3, 14, 10);
        p.setBrush(QColor(120, 120, 130));
        p.drawRoundedRect(4, 12, 24, 11, 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(9, 19, 14, 10);
        break;
    case Kind::Window: {
        const QColor c = windowColours[std::clamp(number, 1, 8)];
        p.setPen(QPen(c.darker(150), 2));
        p.setBrush(c);
        p.drawRoundedRect(3, 3, 26, 26, 4, 4);
        glyph(p, QString(QChar::fromLatin1(windowLetters[std::clamp(number, 1, 8)])), Qt::white, 18);
        break;
    }
    case Kind::Colour: { // a palette
        p.setPen(outline);
        p.setBrush(QColor(230, 200, 150));
        p.drawEllipse(3, 5, 26, 22);
        const QColor dots[4] = {{220, 30, 30}, {30, 160, 40}, {30, 60, 220}, {240, 200, 0}};
        const QPoint at[4] = {{10, 12}, {16, 9}, {22, 12}, {21, 19}};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) { p.setBrush(dots[i]); p.drawEllipse(at[i], 3, 3); }
        p.setBrush(Qt::white);
        p.drawEllipse(QPoint(11, 20), 3, 3);
        break;
    }
    case Kind::Help:
        p.setPen(QPen(QColor(20, 60, 160), 2));
        p.setBrush(QColor(200, 220, 255));
        p.drawEllipse(3, 3, 26, 26);
        glyph(p, QStringLiteral("?"), QColor(20, 60, 160), 20);
        break;
    case Kind::Tips: {   // a light bulb
        p.setPen(outline);
        p.setBrush(QColor(255, 230, 80));
        p.drawEllipse(8, 3, 16, 16);
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(12, 19, 8, 8);
        p.drawLine(12, 23, 20, 23);
        break;
    }
    case Kind::Support: { // a telephone handset
        QPainterPath path;
        path.moveTo(6, 10);
        path.cubicTo(6, 24, 12, 27, 22, 27);
        path.lineTo(26, 22);
        path.lineTo(21, 18);
        path.lineTo(18, 21);
        path.cubicTo(14, 20, 12, 17, 11, 14);
        path.lineTo(14, 11);
        path.lineTo(10, 5);
        path.closeSubpath();
        p.setPen(outline);
        p.setBrush(QColor(60, 60, 60));
        p.drawPath(path);
        break;
    }
    case Kind::About:
        p.setPen(QPen(QColor(0, 110, 60), 2));
        p.setBrush(QColor(210, 240, 220));
        p.drawEllipse(3, 3, 26, 26);
        glyph(p, QStringLiteral("i"), QColor(0, 110, 60), 20);
        break;
    case Kind::Exit: {   // an open door with an arrow
        p.setPen(outline);
        p.setBrush(QColor(150, 90, 40));
        p.drawRect(5, 4, 13, 24);
        p.setPen(QPen(QColor(200, 30, 30), 3));
        p.drawLine(14, 16, 28, 16);
        p.drawLine(23, 11, 28, 16);
        p.drawLine(23, 21, 28, 16);
        break;
    }
    }
    return pm;
}
} // namespace

QIcon icon(Kind kind, int number) { return QIcon(draw(kind, number)); }
} // namespace ToolbarIcons
