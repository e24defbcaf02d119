#include "Accessibility.h"
#include "Controls.h"
#include "Form.h"
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHash>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QScrollBar>
#include <QToolButton>
#include <QWindow>

namespace {

QString withoutMnemonics(QString text)
{
    // "&&" is a literal ampersand; a single one marks the access key.
    text.replace(QStringLiteral("&&"), QString(QChar(0xE000)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0xE000), QLatin1Char('&'));
    return text;
}

// A form: a frame named by its caption. Where a click on the window goes on (the splash), that click is
// its press action, so that a reader can do it without a mouse.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}
    Form* form() const { return static_cast<Form*>(widget()); }
    QStringList actionNames() const override
    {
        const QStringList own = QAccessibleWidget::actionNames();
        return form()->clickGoesOn() ? QStringList{pressAction()} + own : own;
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && form()->clickGoesOn()) form()->Form_Click();
        else QAccessibleWidget::doAction(name);
    }
};

// An option of an option array: a radio button to the reader, whatever Qt infers from its exclusivity.
class OptionAccessible : public QAccessibleWidget {
public:
    explicit OptionAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::RadioButton) {}
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return withoutMnemonics(button()->text());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction()) {
            if (widget()->isEnabled()) button()->click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }
};

// A scroll bar: its value, range and step, and a name of its own or that of the area it scrolls.
class ScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ScrollBarAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::ScrollBar) {}
    QScrollBar* bar() const { return static_cast<QScrollBar*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) return QString::number(bar()->value());
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty()) return QAccessibleWidget::text(t);
        const QString direction = bar()->orientation() == Qt::Vertical ? QStringLiteral("barra di scorrimento verticale")
                                                                      : QStringLiteral("barra di scorrimento orizzontale");
        // The bars of a scroll area sit in a container of the area's.
        for (QWidget* p = widget()->parentWidget(); p; p = p->isWindow() ? nullptr : p->parentWidget()) {
            if (auto* area = qobject_cast<QAbstractScrollArea*>(p)) {
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(area);
                const QString areaName = a ? a->text(QAccessible::Name) : QString();
                if (!areaName.isEmpty()) return areaName + QStringLiteral(", ") + direction;
                break;
            }
        }
        return direction.left(1).toUpper() + direction.mid(1);
    }
    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant& value) override { bar()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return bar()->singleStep(); }
};

class ListAccessible;

// One entry of a list, as the reader sees it: its text, whether it is chosen, and the focus only while
// the list itself has it (the current entry of a list the user has left is not where the keys go).
class ListItemAccessible : public QAccessibleInterface {
public:
    ListItemAccessible(QListView* view, const QModelIndex& index) : view_(view), index_(index) {}
    QModelIndex index() const { return index_; }

    bool isValid() const override { return view_ && index_.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override
    {
        if (!isValid()) return QString();
        if (t == QAccessible::Name) {
            const QString s = index_.data(Qt::AccessibleTextRole).toString();
            return s.isEmpty() ? index_.data(Qt::DisplayRole).toString() : s;
        }
        if (t == QAccessible::Description) {
            const QString s = index_.data(Qt::AccessibleDescriptionRole).toString();
            return s.isEmpty() ? index_.data(Qt::ToolTipRole).toString() : s;
        }
        return QString();
    }
    QRect rect() const override
    {
        if (!isValid()) return QRect();
        const QRect r = view_->visualRect(index_);
        return QRect(view_->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const Qt::ItemFlags flags = index_.flags();
        s.selectable = s.focusable = bool(flags & Qt::ItemIsSelectable);
        s.disabled = !(flags & Qt::ItemIsEnabled);
        s.selected = view_->selectionModel() && view_->selectionModel()->isSelected(index_);
        s.focused = view_->hasFocus() && view_->currentIndex() == QModelIndex(index_);
        const QRect visible = view_->viewport()->rect();
        s.offscreen = !visible.intersects(view_->visualRect(index_));
        s.invisible = !view_->isVisible();
        return s;
    }

private:
    QPointer<QListView> view_;
    QPersistentModelIndex index_;
};

class ListAccessible : public QAccessibleWidget {
public:
    explicit ListAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::List) {}
    ~ListAccessible() override
    {
        for (QAccessible::Id id : std::as_const(items_)) QAccessible::deleteAccessibleInterface(id);
    }
    QListView* view() const { return static_cast<QListView*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        QString s = QAccessibleWidget::text(t);
        if (t != QAccessible::Name || !s.isEmpty()) return s;
        // The list a choice box opens is named after the choice.
        for (QObject* p = view()->parent(); p; p = p->parent()) {
            if (auto* box = qobject_cast<QComboBox*>(p)) {
                QAccessibleInterface* b = QAccessible::queryAccessibleInterface(box);
                const auto labels = b ? b->relations(QAccessible::Label) : decltype(b->relations()){};
                s = labels.isEmpty() ? box->toolTip() : labels.first().first->text(QAccessible::Name);
                return s.isEmpty() ? QStringLiteral("Elenco delle scelte") : QStringLiteral("Elenco: ") + s;
            }
        }
        return s;
    }
    int childCount() const override
    {
        return view()->model() ? view()->model()->rowCount(view()->rootIndex()) : 0;
    }
    QAccessibleInterface* child(int row) const override
    {
        if (row < 0 || row >= childCount()) return nullptr;
        const QModelIndex index = view()->model()->index(row, view()->modelColumn(), view()->rootIndex());
        auto it = items_.find(row);
        if (it != items_.end()) {
            auto* known = static_cast<ListItemAccessible*>(QAccessible::accessibleInterface(it.value()));
            if (known && known->index() == index) return known;
            QAccessible::deleteAccessibleInterface(it.value());
        }
        auto* item = new ListItemAccessible(view(), index);
        items_.insert(row, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child && child->role() == QAccessible::ListItem && child->parent() == this)
            return static_cast<const ListItemAccessible*>(child)->index().row();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QModelIndex index = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(index.row()) : nullptr;
    }
    // The focus is the current entry's while there is one; the list says it is focused only when the
    // keys reach the list itself.
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (focusChild()) s.focused = false;
        return s;
    }
    QAccessibleInterface* focusChild() const override
    {
        const QModelIndex current = view()->currentIndex();
        return view()->hasFocus() && current.isValid() ? child(current.row()) : nullptr;
    }

private:
    mutable QHash<int, QAccessible::Id> items_;
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType()) return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (className == QLatin1String("Form") && w->isWindow()) return new FormAccessible(w);
    if (className == QLatin1String("VOption")) return new OptionAccessible(w);
    if (className == QLatin1String("VImage")) return new QAccessibleWidget(w, QAccessible::Graphic);
    if (className == QLatin1String("QScrollBar")) return new ScrollBarAccessible(w);
    if (className == QLatin1String("QListView")) return new ListAccessible(w);
    return nullptr;
}

// A control that says what it is only through something beside it: a field, a choice, a list, a text.
// Buttons and options carry their own captions.
bool wantsLabel(const QWidget* w)
{
    const QWidget* p = w->parentWidget();
    if (p && (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p))) return false;
    if (qobject_cast<const QAbstractSlider*>(w))
        return !(p && p->objectName().startsWith(QLatin1String("qt_scrollarea")));
    return qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractScrollArea*>(w);
}

bool hasLabel(const QWidget* w, const QList<QLabel*>& labels)
{
    return std::any_of(labels.begin(), labels.end(), [w](const QLabel* l) { return l->buddy() == w; });
}

// The caption written beside a control: a label of the same parent just to its left on the same row,
// or just above it and starting no further right, the nearer first.
QLabel* captionBeside(const QWidget* w, const QList<QLabel*>& labels)
{
    const QRect c = w->geometry();
    QLabel* best = nullptr;
    int bestDistance = 0;
    for (QLabel* l : labels) {
        // A label with a buddy shows "&" as an access key: one written in the caption stays as it is.
        if (l->parentWidget() != w->parentWidget() || l->buddy() || l->text().trimmed().isEmpty() ||
            l->text().contains(QLatin1Char('&')))
            continue;
        const QRect r = l->geometry();
        int distance = -1;
        const int reach = std::max(r.height(), c.height());
        if (r.right() <= c.left() + 1 && c.left() - r.right() <= reach && r.center().y() >= c.top() &&
            r.center().y() <= c.bottom())
            distance = c.left() - r.right();
        else if (r.bottom() <= c.top() + 1 && c.top() - r.bottom() <= r.height() && r.left() <= c.left() + 2 &&
                 r.right() > c.left())
            distance = c.top() - r.bottom();
        if (distance >= 0 && (!best || distance < bestDistance)) {
            best = l;
            bestDistance = distance;
        }
    }
    return best;
}

// Names what a window shows without one, once it is about to be seen: a label is linked to the control
// it captions (the reader then says what a choice chooses rather than its current value), and a control
// with no caption at all is named by its tool tip or its example text.
void nameControls(QWidget* window)
{
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->accessibleName().isEmpty()) continue;
        if (auto* b = qobject_cast<QToolButton*>(w)) {
            if (!b->text().isEmpty()) continue;
            QString name = b->toolTip();
            if (name.isEmpty() && b->defaultAction() &&
                b->defaultAction()->objectName() == QLatin1String("_q_qlineeditclearaction"))
                name = QStringLiteral("Cancella il testo");
            // The button a tool bar shows for the buttons it has no room for.
            if (name.isEmpty() && b->objectName() == QLatin1String("qt_toolbar_ext_button"))
                name = QStringLiteral("Altri pulsanti della barra");
            if (!name.isEmpty()) b->setAccessibleName(name);
            continue;
        }
        if (!wantsLabel(w) || hasLabel(w, labels)) continue;
        if (QLabel* l = captionBeside(w, labels)) {
            l->setBuddy(w);
            continue;
        }
        QString name = w->toolTip();
        if (auto* e = qobject_cast<QLineEdit*>(w); e && name.isEmpty()) name = e->placeholderText();
        if (!name.isEmpty()) w->setAccessibleName(name);
    }
}

class WindowWatcher : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow())
            nameControls(static_cast<QWidget*>(o));
        return false;
    }
};

} // namespace

namespace Accessibility {
void install()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(&factory);
    if (qApp) {
        // Owned by the application, so that it goes with it.
        auto* watcher = new WindowWatcher;
        watcher->setParent(qApp);
        qApp->installEventFilter(watcher);
    }
}

void nameControlsOf(QWidget* window) { nameControls(window); }
} // namespace Accessibility
