#include "ControlProps.h"
#include "Twips.h"
#include <QHash>
#include <QRectF>
#include <QVariant>
#include <QWidget>

namespace Props {
namespace {
constexpr const char* TagProperty = "Tag";

// Each placed widget's box in twips, kept beside the widgets rather than as a dynamic property: a
// property is looked for by name among every property its class declares before the dynamic ones, and
// laying out a window writes each control's box several times (the price list's, at start, some 1,300).
// Never freed: a widget may outlive the statics at exit.
QHash<const QWidget*, QRectF>& boxes()
{
    static auto* b = new QHash<const QWidget*, QRectF>;
    return *b;
}

const GeometryHooks* hooksOf(const QObject* c) { return dynamic_cast<const GeometryHooks*>(c); }
GeometryHooks* hooksOf(QObject* c) { return dynamic_cast<GeometryHooks*>(c); }
bool isBoxProperty(Geom g) { return g == Geom::Left || g == Geom::Top || g == Geom::Width || g == Geom::Height; }
} // namespace

const char* name(Geom g)
{
    switch (g) {
    case Geom::Left: return "Left";
    case Geom::Top: return "Top";
    case Geom::Width: return "Width";
    case Geom::Height: return "Height";
    case Geom::X1: return "X1";
    case Geom::Y1: return "Y1";
    case Geom::X2: return "X2";
    case Geom::Y2: return "Y2";
    }
    return "";
}

bool boxOf(const QWidget* w, double& left, double& top, double& width, double& height)
{
    const auto it = boxes().constFind(w);
    if (it != boxes().constEnd()) {
        const QRectF& r = *it;
        left = r.x(); top = r.y(); width = r.width(); height = r.height();
        return true;
    }
    const QRect g = w->geometry();
    left = Twips::fromPxX(g.x()); top = Twips::fromPxY(g.y());
    width = Twips::fromPxX(g.width()); height = Twips::fromPxY(g.height());
    return false;
}

void placeWidget(QWidget* w, double left, double top, double width, double height)
{
    // A negative size cannot be shown; the design never has one, a rescale to a tiny window might.
    auto& b = boxes();
    auto it = b.find(w);
    if (it == b.end()) {
        b.insert(w, QRectF(left, top, width, height));
        QObject::connect(w, &QObject::destroyed, [w] { boxes().remove(w); });
    } else {
        *it = QRectF(left, top, width, height);
    }
    w->setGeometry(Twips::toPx(left, top, std::max(0.0, width), std::max(0.0, height)));
}

int read(const QObject* c, Geom g, double& out)
{
    if (!c) return InvalidCall;
    if (auto* h = hooksOf(c)) return h->readGeom(g, out);
    auto* w = qobject_cast<const QWidget*>(c);
    if (!w || !isBoxProperty(g)) return NotSupported;
    double l, t, wd, ht;
    boxOf(w, l, t, wd, ht);
    out = g == Geom::Left ? l : g == Geom::Top ? t : g == Geom::Width ? wd : ht;
    return Ok;
}

int write(QObject* c, Geom g, double value)
{
    if (!c) return InvalidCall;
    if (auto* h = hooksOf(c)) return h->writeGeom(g, value);
    auto* w = qobject_cast<QWidget*>(c);
    if (!w || !isBoxProperty(g)) return NotSupported;
    double l, t, wd, ht;
    boxOf(w, l, t, wd, ht);
    switch (g) {
    case Geom::Left: l = value; break;
    case Geom::Top: t = value; break;
    case Geom::Width: if (value < 0) return InvalidCall; wd = value; break;
    case Geom::Height: if (value < 0) return InvalidCall; ht = value; break;
    default: break;
    }
    placeWidget(w, l, t, wd, ht);
    return Ok;
}

int AlignedGeometry::readGeom(Geom g, double& out) const
{
    const QRect r = self_->geometry();
    switch (g) {
    case Geom::Left: out = Twips::fromPxX(r.x()); return Ok;
    case Geom::Top: out = Twips::fromPxY(r.y()); return Ok;
    case Geom::Width: out = Twips::fromPxX(r.width()); return Ok;
    case Geom::Height: out = Twips::fromPxY(r.height()); return Ok;
    default: return NotSupported;
    }
}

int AlignedGeometry::writeGeom(Geom g, double) { return isBoxProperty(g) ? ReadOnly : NotSupported; }

bool isLine(const QObject* c)
{
    auto* h = hooksOf(c);
    return h && h->isLine();
}

QString tag(const QObject* c) { return c ? c->property(TagProperty).toString() : QString(); }
void setTag(QObject* c, const QString& t) { if (c) c->setProperty(TagProperty, t); }

} // namespace Props
