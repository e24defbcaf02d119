#pragma once
#include "RaccoltaDocument.h"
#include "RaccolteStore.h"
#include <vector>

// What every window does with the raccolte, in one place: the program's store (telling the user once
// why it cannot be written, or where a damaged file went), adding maxims to the raccolta the user
// picks, and putting quotes on the clipboard. Windows call these and show the message they return.
namespace RaccolteActions {
// The title of the raccolte's message boxes and dialogs.
QString title();
// The program's store; its first use tells the user, once, about a file set aside or a store that
// cannot be written.
RaccolteStore& store();
// The maxims of the archives as they are now, read once, and the locator over them.
const std::vector<MaximEntry>& corpus();
const MaximLocator& locator();
// Forgets the corpus and the store (tests that change the data or the file).
void reset();

// "2 massime aggiunte a «Causa Rossi»", "1 massima aggiunta a «X» (1 era già presente)",
// "La massima è già presente in «X»".
QString addedMessage(const RaccolteStore::Added& added, const QString& name);
// Asks which raccolta to add to (the last used is offered first; a new name creates one), adds and
// returns the confirmation. Empty when the user cancelled or the change failed (the failure is told).
QString addMaxims(const std::vector<MaximRef>& maxims);
// Plain text and HTML on the clipboard together.
void copyToClipboard(const QString& plain, const QString& html);
// Shows a fault in a message box; false when there was none.
bool tell(const RaccolteError& error);
} // namespace RaccolteActions
