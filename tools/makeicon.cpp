// Draws the program's icon from the product picture's motif (a pair of scales over a columned front, on a
// night-blue ground) as a scalable SVG and as PNGs of the given sizes, the same shapes written twice:
//   makeicon DIR ID 48 128 256   ->   DIR/ID.svg, DIR/48/ID.png, DIR/128/ID.png, DIR/256/ID.png
// The shapes are bold enough to read at 48 pixels.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

namespace {
const QColor gold(255, 205, 40), stone(238, 228, 204), shade(150, 138, 118), door(60, 50, 40);
const QColor skyTop(10, 20, 70), skyBottom(44, 78, 150);

// Where the shapes go: a painter for the PNGs and SVG text for the scalable icon.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void ground() = 0;   // the rounded square with the sky's gradient
    virtual void line(QPointF a, QPointF b, const QColor& c, double width) = 0;
    virtual void polygon(const QPolygonF& p, const QColor& fill, const QColor& stroke) = 0;
    virtual void circle(QPointF c, double r, const QColor& fill) = 0;
    // A pan: a chord from left to right closed by a quadratic curve through the control point.
    virtual void pan(QPointF left, QPointF control, QPointF right, const QColor& fill) = 0;
};

constexpr double groundInset = 8, groundSize = 240, groundRadius = 44;

class PainterCanvas : public Canvas {
public:
    explicit PainterCanvas(QPainter& p) : p_(p) {}
    void ground() override
    {
        QLinearGradient g(0, groundInset, 0, groundInset + groundSize);
        g.setColorAt(0, skyTop);
        g.setColorAt(1, skyBottom);
        p_.setPen(Qt::NoPen);
        p_.setBrush(g);
        p_.drawRoundedRect(QRectF(groundInset, groundInset, groundSize, groundSize), groundRadius, groundRadius);
    }
    void line(QPointF a, QPointF b, const QColor& c, double width) override
    {
        p_.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
        p_.drawLine(a, b);
    }
    void polygon(const QPolygonF& poly, const QColor& fill, const QColor& stroke) override
    {
        p_.setPen(QPen(stroke, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p_.setBrush(fill);
        p_.drawPolygon(poly);
    }
    void circle(QPointF c, double r, const QColor& fill) override
    {
        p_.setPen(Qt::NoPen);
        p_.setBrush(fill);
        p_.drawEllipse(c, r, r);
    }
    void pan(QPointF left, QPointF control, QPointF right, const QColor& fill) override
    {
        QPainterPath path(left);
        path.quadTo(control, right);
        path.closeSubpath();
        p_.setPen(Qt::NoPen);
        p_.setBrush(fill);
        p_.drawPath(path);
    }

private:
    QPainter& p_;
};

QString num(double v) { return QString::number(v, 'g', 6); }
QString pt(QPointF p) { return num(p.x()) + QLatin1Char(',') + num(p.y()); }

class SvgCanvas : public Canvas {
public:
    QString text;
    void ground() override
    {
        text += QStringLiteral("  <defs>\n    <linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
                               "      <stop offset=\"0\" stop-color=\"%1\"/>\n      <stop offset=\"1\" stop-color=\"%2\"/>\n"
                               "    </linearGradient>\n  </defs>\n")
                    .arg(skyTop.name(), skyBottom.name());
        text += QStringLiteral("  <rect x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\" fill=\"url(#sky)\"/>\n")
                    .arg(num(groundInset), num(groundSize), num(groundRadius));
    }
    void line(QPointF a, QPointF b, const QColor& c, double width) override
    {
        text += QStringLiteral("  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" stroke-width=\"%6\" stroke-linecap=\"round\"/>\n")
                    .arg(num(a.x()), num(a.y()), num(b.x()), num(b.y()), c.name(), num(width));
    }
    void polygon(const QPolygonF& poly, const QColor& fill, const QColor& stroke) override
    {
        QStringList points;
        for (const QPointF& p : poly) points << pt(p);
        text += QStringLiteral("  <polygon points=\"%1\" fill=\"%2\" stroke=\"%3\" stroke-width=\"2\"/>\n")
                    .arg(points.join(QLatin1Char(' ')), fill.name(), stroke.name());
    }
    void circle(QPointF c, double r, const QColor& fill) override
    {
        text += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n").arg(num(c.x()), num(c.y()), num(r), fill.name());
    }
    void pan(QPointF left, QPointF control, QPointF right, const QColor& fill) override
    {
        text += QStringLiteral("  <path d=\"M %1 Q %2 %3 Z\" fill=\"%4\"/>\n").arg(pt(left), pt(control), pt(right), fill.name());
    }
};

QPolygonF box(double x, double y, double w, double h)
{
    return QPolygonF({QPointF(x, y), QPointF(x + w, y), QPointF(x + w, y + h), QPointF(x, y + h)});
}

// The icon on a 256-unit square.
void draw(Canvas& c)
{
    c.ground();
    // Scales: the post, the beam, the strings and the two pans.
    c.line({128, 40}, {128, 112}, gold, 8);
    c.line({58, 58}, {198, 58}, gold, 8);
    for (double x : {62.0, 194.0}) {
        c.line({x, 58}, {x - 24, 100}, gold, 4);
        c.line({x, 58}, {x + 24, 100}, gold, 4);
        c.pan({x - 30, 100}, {x, 128}, {x + 30, 100}, gold);
    }
    c.circle({128, 38}, 11, gold);
    // The front: pediment, entablature, four columns with capitals and bases, two steps.
    c.polygon(QPolygonF({QPointF(34, 150), QPointF(128, 114), QPointF(222, 150)}), stone, shade);
    c.polygon(box(30, 150, 196, 16), stone, shade);
    for (int i = 0; i < 4; ++i) {
        const double x = 48 + i * 48;
        c.polygon(box(x, 170, 24, 40), stone, shade);
        c.polygon(box(x - 5, 166, 34, 6), stone, shade);
        c.polygon(box(x - 5, 208, 34, 6), stone, shade);
    }
    c.polygon(box(26, 214, 204, 10), stone, shade);
    c.polygon(box(18, 224, 220, 12), stone, shade);
    c.circle({128, 138}, 7, door);
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) return 2;
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const QString id = QString::fromLocal8Bit(argv[2]);
    if (!dir.mkpath(QStringLiteral("."))) return 1;

    SvgCanvas svg;
    draw(svg);
    QFile f(dir.filePath(id + QStringLiteral(".svg")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
    const QString doc = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n")
                        + svg.text + QStringLiteral("</svg>\n");
    if (f.write(doc.toUtf8()) < 0 || !f.flush()) return 1;

    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0) return 2;
        QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 256.0, size / 256.0);
        PainterCanvas canvas(p);
        draw(canvas);
        p.end();
        const QString sub = QString::number(size);
        if (!dir.mkpath(sub) || !img.save(dir.filePath(sub + QLatin1Char('/') + id + QStringLiteral(".png")), "PNG")) return 1;
    }
    return 0;
}
