#include "ScreenFit.h"
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace ScreenFit {

QMargins frameAllowance() { return QMargins(4, 30, 4, 4); }

QRect usable(const QRect& available) { return available.marginsRemoved(frameAllowance()); }

QRect centred(const QRect& area, double fraction)
{
    const int w = int(std::lround(area.width() * fraction));
    const int h = int(std::lround(area.height() * fraction));
    return QRect(area.x() + (area.width() - w) / 2, area.y() + (area.height() - h) / 2, w, h);
}

QRect inside(const QRect& wanted, const QRect& area)
{
    const int w = std::min(wanted.width(), area.width());
    const int h = std::min(wanted.height(), area.height());
    const int x = std::clamp(wanted.x(), area.x(), area.x() + area.width() - w);
    const int y = std::clamp(wanted.y(), area.y(), area.y() + area.height() - h);
    return QRect(x, y, w, h);
}

QRect availableAround(const QRect& r)
{
    QScreen* s = QGuiApplication::screenAt(r.center());
    if (!s) s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 800, 600);
}

QSize fitting(const QSize& wanted, const QRect& available) { return wanted.boundedTo(usable(available).size()); }

} // namespace ScreenFit
