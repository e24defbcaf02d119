#pragma once
#include <QString>

// Where the program finds its side files.
namespace AppPaths {
// The folder of the executable, or the one set in its place.
QString applicationFolder();
// Puts another folder in place of the executable's (a sandbox for a test run); an empty text restores it.
void setApplicationFolder(const QString& folder);
// The folder the install step puts the program's data into.
QString dataFolder();
// A side file looked up by its bare name in the current directory first and then in the data folder;
// the bare name when it is in neither (opening it then fails as it would have).
QString inCurrentDirectory(const QString& name);
// A side file of the application folder, or of the data folder when the program is installed there.
QString inApplicationFolder(const QString& name);
} // namespace AppPaths
