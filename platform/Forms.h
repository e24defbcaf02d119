#pragma once
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

class Form;

// The default instances of the program's windows. Every window has one instance, reached by its name;
// referring to a window that is not loaded creates it and runs its load handler first. Unloading runs
// the unload handler and frees the name at once (the widget itself is deleted once control returns to
// the event loop, so a window may unload itself from its own handlers).
class Forms : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<Form*()>;

    static Forms& instance();

    void define(const QString& name, Factory factory);
    bool isDefined(const QString& name) const { return factories_.contains(name); }

    Form* ref(const QString& name);
    template <class T>
    T* ref(const QString& name) { return dynamic_cast<T*>(ref(name)); }

    Form* find(const QString& name) const;
    template <class T>
    T* find(const QString& name) const { return dynamic_cast<T*>(find(name)); }
    bool isLoaded(const QString& name) const { return find(name) != nullptr; }

    // Modeless show, bringing the window to the front; loads it first when needed.
    Form* show(const QString& name);
    template <class T>
    T* show(const QString& name) { return dynamic_cast<T*>(show(name)); }
    void hide(const QString& name);
    void unload(const QString& name);

    QStringList loadedNames() const;
    int loadedCount() const { return int(loaded_.size()); }

    // Unloads every window without running further program logic; for a clean slate between tests.
    void unloadAll();
    // Whether any loaded window is on screen (a minimised window counts).
    bool anyShown() const;

signals:
    void loaded(const QString& name);
    void unloaded(const QString& name);
    void noneLoaded();
    // A loaded window went off screen: hidden, closed or unloaded.
    void windowHidden();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Forms() = default;
    QHash<QString, Factory> factories_;
    QHash<QString, QPointer<Form>> loaded_;
    QStringList order_;
};
