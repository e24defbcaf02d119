// Draws the product picture of the splash window (215 by 299 pixels, an 8-bit palette bitmap): a classical
// building front with a pediment and columns, under a pair of scales, on a dark-blue night sky.
//   makepicture shell/norvelia.bmp
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) return 2;
    QImage img(215, 299, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 299);
    sky.setColorAt(0, QColor(10, 20, 70));
    sky.setColorAt(1, QColor(40, 70, 140));
    p.fillRect(img.rect(), sky);
    // Stars.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 200));
    const int stars[][2] = {{20, 18}, {60, 40}, {190, 25}, {150, 60}, {35, 85}, {185, 95}, {100, 15}};
    for (auto& s : stars) p.drawEllipse(QPointF(s[0], s[1]), 1.3, 1.3);
    // Scales: beam, pillar, two pans.
    const QColor gold(255, 215, 0);
    p.setPen(QPen(gold, 3));
    p.drawLine(107, 40, 107, 110);
    p.drawLine(62, 58, 152, 58);
    p.setPen(QPen(gold, 1.5));
    for (int x : {62, 152}) {
        p.drawLine(x, 58, x - 16, 92);
        p.drawLine(x, 58, x + 16, 92);
        QPainterPath pan;
        pan.moveTo(x - 20, 92);
        pan.quadTo(x, 108, x + 20, 92);
        pan.closeSubpath();
        p.setBrush(gold);
        p.drawPath(pan);
    }
    p.setBrush(gold);
    p.drawEllipse(QPointF(107, 38), 5, 5);
    // Building: pediment, entablature, six columns, steps.
    const QColor stone(235, 225, 200), shade(170, 160, 140);
    p.setPen(QPen(shade, 1));
    p.setBrush(stone);
    QPolygonF pediment;
    pediment << QPointF(20, 165) << QPointF(107, 122) << QPointF(195, 165);
    p.drawPolygon(pediment);
    p.drawRect(QRectF(18, 165, 179, 14));
    for (int i = 0; i < 6; ++i) {
        const double x = 28 + i * 30;
        p.drawRect(QRectF(x, 182, 14, 72));
        p.drawRect(QRectF(x - 3, 179, 20, 4));
        p.drawRect(QRectF(x - 3, 254, 20, 4));
    }
    for (int i = 0; i < 3; ++i) p.drawRect(QRectF(12 - i * 4, 258 + i * 9, 191 + i * 8, 9));
    p.setBrush(QColor(60, 50, 40));
    p.drawEllipse(QPointF(107, 150), 7, 7);
    p.end();
    const QImage indexed = img.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    return indexed.save(QString::fromLocal8Bit(argv[1]), "BMP") ? 0 : 1;
}
