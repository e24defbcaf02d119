#pragma once
#include <QFont>
#include <QString>

// The designs name the fonts of the original platform ("MS Sans Serif", "Arial", ...). Windows keep those
// names; at start the names are mapped to installed free fonts of close metrics, so that the windows
// look as designed and documents still record the names they were given.
namespace Fonts {
void install();
QFont design(const QString& family, double pointSize, bool bold = false, bool italic = false);
// The window font of the runtime: MS Sans Serif 8.25.
QFont windowFont();
} // namespace Fonts
