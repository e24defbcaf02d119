#include "ProgramLifetime.h"
#include "platform/Forms.h"
#include "wordout/DocumentWindow.h"
#include <QMetaObject>

ProgramLifetime::ProgramLifetime()
{
    Forms& forms = Forms::instance();
    connect(&forms, &Forms::noneLoaded, this, &ProgramLifetime::schedule);
    connect(&forms, &Forms::windowHidden, this, &ProgramLifetime::schedule);
    connect(&DocumentWindows::instance(), &DocumentWindows::allClosed, this, &ProgramLifetime::schedule);
}

void ProgramLifetime::schedule()
{
    // Windows are hidden and shown again within one handler (the exit confirmation unloads everything
    // and then shows the farewell screen): only the state once the handler has finished counts.
    if (pending_) return;
    pending_ = true;
    QMetaObject::invokeMethod(this, &ProgramLifetime::check, Qt::QueuedConnection);
}

void ProgramLifetime::check()
{
    pending_ = false;
    if (DocumentWindow::openCount() > 0) return;
    Forms& forms = Forms::instance();
    if (forms.loadedCount() > 0 && forms.anyShown()) return;
    forms.unloadAll();
    emit ended();
}
