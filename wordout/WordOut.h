#pragma once
#include <QString>

class WordApplication;
class WordDocument;

// Steps every print begins with: a new word-processor instance, made visible, a new blank document and
// its insertion point; the shared WordApp and WordDoc then refer to them. When the document cannot be
// opened, the user is told so and nothing is returned.
namespace WordOut {
WordApplication* StartDocument();
WordApplication* currentApp();
WordDocument* currentDoc();
// The message shown when a print cannot create its document.
QString CannotCreateText();
} // namespace WordOut
