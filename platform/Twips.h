#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

// All window geometry in the program is expressed in twips (1/1440 inch), as the window designs are.
// Pixels appear only at the boundary with Qt, converted with the primary screen's logical DPI.
namespace Twips {
constexpr double PerInch = 1440.0;

double perPixelX();
double perPixelY();
int toPxX(double twips);
int toPxY(double twips);
double fromPxX(int px);
double fromPxY(int px);
QRect toPx(double left, double top, double width, double height);

// The screen's size in twips.
double screenWidth();
double screenHeight();

// Point sizes of the designs are at 72 points per inch, independent of DPI; nothing to convert.
} // namespace Twips
