#include "Twips.h"
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
QScreen* screen() { return QGuiApplication::primaryScreen(); }
double dpiX() { auto* s = screen(); return s ? s->logicalDotsPerInchX() : 96.0; }
double dpiY() { auto* s = screen(); return s ? s->logicalDotsPerInchY() : 96.0; }
} // namespace

namespace Twips {
double perPixelX() { return PerInch / dpiX(); }
double perPixelY() { return PerInch / dpiY(); }
int toPxX(double twips) { return int(std::lround(twips / perPixelX())); }
int toPxY(double twips) { return int(std::lround(twips / perPixelY())); }
double fromPxX(int px) { return px * perPixelX(); }
double fromPxY(int px) { return px * perPixelY(); }
QRect toPx(double left, double top, double width, double height)
{
    // Convert the edges rather than the size, so that adjacent controls stay adjacent after rounding.
    const int l = toPxX(left), t = toPxY(top);
    return QRect(l, t, toPxX(left + width) - l, toPxY(top + height) - t);
}
double screenWidth() { auto* s = screen(); return s ? fromPxX(s->geometry().width()) : 15360.0; }
double screenHeight() { auto* s = screen(); return s ? fromPxY(s->geometry().height()) : 11520.0; }
} // namespace Twips
