#include "WordOut.h"
#include "WordApplication.h"
#include "WordDocument.h"
#include "platform/Platform.h"
#include "shell/ModNorvelia.h"

namespace WordOut {

QString CannotCreateText()
{
    return QStringLiteral("Impossibile creare il documento da stampare: la finestra del documento non si è potuta aprire.");
}

WordApplication* StartDocument()
{
    auto* app = new WordApplication;
    app->setDeleteWhenEmpty(true);
    app->setVisible(true);
    WordDocument* doc = app->DocumentsAdd();
    if (!doc) {
        delete app;
        MsgBox(CannotCreateText(), MsgButtons::OK, MsgIcon::Exclamation, ModNorvelia::state().ProductName + QStringLiteral(": stampa"));
        return nullptr;
    }
    ModNorvelia::state().WordApp = app;
    ModNorvelia::state().WordDoc = doc;
    return app;
}

WordApplication* currentApp() { return qobject_cast<WordApplication*>(ModNorvelia::state().WordApp.data()); }
WordDocument* currentDoc() { return qobject_cast<WordDocument*>(ModNorvelia::state().WordDoc.data()); }

} // namespace WordOut
