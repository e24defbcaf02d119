#pragma once
#include <QIcon>

// The toolbar's images, drawn by the program itself so that no image file can go missing.
namespace ToolbarIcons {
enum class Kind { Delete, Print, Window, Colour, Help, Tips, Support, About, Exit };
// For Kind::Window, number is the window's number (1 to 8).
QIcon icon(Kind kind, int number = 0);
} // namespace ToolbarIcons
