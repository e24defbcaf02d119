#include "Forms.h"
#include <QEvent>
#include "Form.h"
#include <QDebug>
#include <QGuiApplication>

Forms& Forms::instance()
{
    static Forms* forms = new Forms;
    return *forms;
}

void Forms::define(const QString& name, Factory factory) { factories_.insert(name, std::move(factory)); }

Form* Forms::find(const QString& name) const
{
    auto it = loaded_.find(name);
    return it == loaded_.end() ? nullptr : it.value().data();
}

Form* Forms::ref(const QString& name)
{
    if (Form* f = find(name)) return f;
    auto it = factories_.find(name);
    if (it == factories_.end()) {
        qWarning("Forms: no window named %s", qPrintable(name));
        return nullptr;
    }
    Form* f = it.value()();
    // Registered before its load runs, so that the load may refer to its own window by name.
    loaded_.insert(name, f);
    order_.append(name);
    f->installEventFilter(this);
    f->Form_Load();
    emit loaded(name);
    return find(name);
}

Form* Forms::show(const QString& name)
{
    Form* f = ref(name);
    if (!f) return nullptr;
    f->show();
    // Headless test runs have no window stacking to change.
    static const bool canRaise = QGuiApplication::platformName() != QLatin1String("offscreen");
    if (canRaise) f->raise();
    f->activateWindow();
    return f;
}

void Forms::hide(const QString& name)
{
    if (Form* f = find(name)) f->hide();
}

void Forms::unload(const QString& name)
{
    Form* f = find(name);
    if (!f) return;
    loaded_.remove(name);
    order_.removeAll(name);
    f->Form_Unload();
    f->hide();
    f->deleteLater();
    emit unloaded(name);
    if (loaded_.isEmpty()) emit noneLoaded();
}

bool Forms::anyShown() const
{
    for (const QPointer<Form>& f : loaded_)
        if (f && f->isVisible()) return true;
    return false;
}

bool Forms::eventFilter(QObject* watched, QEvent* event)
{
    // Spontaneous hides are the window being minimised; it stays on screen as far as the user goes.
    if (event->type() == QEvent::Hide && !event->spontaneous() && qobject_cast<Form*>(watched)) emit windowHidden();
    return QObject::eventFilter(watched, event);
}

QStringList Forms::loadedNames() const
{
    QStringList names;
    for (const QString& n : order_)
        if (find(n)) names.append(n);
    return names;
}

void Forms::unloadAll()
{
    const QStringList names = loadedNames();
    const QSignalBlocker block(this);
    for (const QString& n : names) unload(n);
}
