#pragma once

namespace Norvelia {
// Sets up the application (fonts, windows, start sequence) and runs it until no window is left.
int run(int argc, char** argv);
// The set-up without the event loop: fonts and the window definitions.
void prepare();
// Installs Qt's own Italian texts (standard buttons, file, colour and print dialogs, context menus) in
// the running application; true when they were found. Installing them twice changes nothing.
bool installItalianQtTexts();
} // namespace Norvelia
