#pragma once

// What assistive technology (a screen reader) learns of the controls: their names, roles, values and
// which one has the focus. Qt describes most widgets well by itself; the interfaces installed here
// speak for the controls where it does not:
// - a form is a frame named by its caption, not an anonymous filler;
// - an option of an option array is a radio button, although the array is not exclusive by itself;
// - a picture is a graphic;
// - a scroll bar without a name of its own is named after the text or list it scrolls;
// - the entries of a list report the focus only while the list has it, so that exactly one object
//   of the desktop says it is focused.
// Names themselves come from the windows: captions, tool tips (read as descriptions) and the accessible
// names a window gives its controls when it creates them.
class QWidget;

namespace Accessibility {
// Installs the interfaces once; every form does it when it is created.
void install();
// What install() does to every window as it is shown: labels linked to the controls they caption, and a
// name from the tool tip (or a field's example text) for a control that has no caption.
void nameControlsOf(QWidget* window);
} // namespace Accessibility
