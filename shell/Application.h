#pragma once

namespace Norvelia {
// Sets up the application (fonts, windows, start sequence) and runs it until no window is left.
int run(int argc, char** argv);
// The set-up without the event loop: fonts and the window definitions.
void prepare();
} // namespace Norvelia
