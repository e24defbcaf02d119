#pragma once
#include <QSettings>
#include <QString>
#include <memory>

// What the program keeps of the user's choices between runs (the size and place of the windows that
// are ours, their dividers, the size of their text): one settings store under the maker's organisation
// and the program's name. The designs' own windows keep nothing, as they always did.
namespace Settings {
QString organisation();
std::unique_ptr<QSettings> open();
// Keeps the settings in a folder of the caller's, so that a test or a tool neither reads nor changes
// the user's own. Settings already opened are not moved.
void useFolder(const QString& folder);
} // namespace Settings
