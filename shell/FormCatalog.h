#pragma once

// Tells the window registry how to create every window of the program, by name.
void DefineAllForms();
