#pragma once
#include <QMargins>
#include <QRect>

// Where a window of our own opens: inside the part of a screen that panels leave free, whatever the
// screen's size and scale factor. A window's own geometry leaves out the frame the window manager draws
// around it, so the rectangles here are the room left for that geometry once a frame is allowed for.
namespace ScreenFit {
// The frame a window manager is expected to draw around a window: a title bar and thin borders.
QMargins frameAllowance();
// The room a window's own geometry may take in an available area, its frame allowed for.
QRect usable(const QRect& available);
// The given fraction of the area in each direction, centred in it.
QRect centred(const QRect& area, double fraction);
// The rectangle no larger than the area and moved the least way needed to lie wholly inside it.
QRect inside(const QRect& wanted, const QRect& area);
// The available area of the screen that holds the centre of the rectangle, or of the primary screen
// when none does (a screen that was there when the rectangle was stored and is gone now).
QRect availableAround(const QRect& r);
// The wanted size, no larger than the room a window's geometry has in the available area.
QSize fitting(const QSize& wanted, const QRect& available);
} // namespace ScreenFit
