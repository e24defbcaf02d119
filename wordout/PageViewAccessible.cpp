#include "PageViewAccessible.h"
#include "PageView.h"
#include <QAbstractTextDocumentLayout>
#include <QAccessibleWidget>
#include <QEvent>
#include <QGraphicsTextItem>
#include <QPointer>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace {

int textLength(const QTextDocument* doc) { return std::max(0, doc->characterCount() - 1); }

// Tells assistive technology what changed in the document and where the caret went. Edits come from
// the document's own signal; the caret moves with keys and the mouse, so after each of those the
// caret and the selection are compared with what was last told.
class PageViewWatcher : public QObject {
public:
    explicit PageViewWatcher(PageView* view) : QObject(view), view_(view)
    {
        QTextDocument* doc = view->textItem()->document();
        shown_ = QAccessible::isActive() ? doc->toPlainText() : QString();
        stale_ = !QAccessible::isActive();
        connect(doc, &QTextDocument::contentsChange, this, &PageViewWatcher::changed);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        const QTextCursor c = view->textItem()->textCursor();
        caret_ = c.position();
        selStart_ = c.selectionStart();
        selEnd_ = c.selectionEnd();
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::InputMethod:
        case QEvent::FocusIn:
            // The item moves the caret while it handles the event, after this filter has seen it.
            QMetaObject::invokeMethod(this, &PageViewWatcher::checkCaret, Qt::QueuedConnection);
            break;
        default: break;
        }
        return false;
    }

private:
    void changed(int position, int removed, int added)
    {
        if (!view_) return;
        QTextDocument* doc = view_->textItem()->document();
        // With no assistive technology listening nothing is told; the copy is read again when one is.
        if (!QAccessible::isActive()) {
            stale_ = true;
            return;
        }
        if (stale_) {
            stale_ = false;
            shown_ = doc->toPlainText();
            QAccessibleTextUpdateEvent ev(view_, 0, QString(), shown_);
            QAccessible::updateAccessibility(&ev);
            checkCaret();
            return;
        }
        // Only the changed span is read: reading the whole text at every change would make a long print
        // into a shown document cost the square of its length.
        QTextCursor span(doc);
        span.setPosition(std::min(position, textLength(doc)));
        span.setPosition(std::min(position + added, textLength(doc)), QTextCursor::KeepAnchor);
        QString after = span.selectedText();
        after.replace(QChar::ParagraphSeparator, QLatin1Char('\n')).replace(QChar::LineSeparator, QLatin1Char('\n'));
        after.replace(QChar::Nbsp, QLatin1Char(' '));
        const QString before = shown_.mid(position, removed);
        shown_.replace(position, removed, after);
        if (before == after) return;   // a change of format only
        if (!before.isEmpty()) {
            QAccessibleTextRemoveEvent ev(view_, position, before);
            QAccessible::updateAccessibility(&ev);
        }
        if (!after.isEmpty()) {
            QAccessibleTextInsertEvent ev(view_, position, after);
            QAccessible::updateAccessibility(&ev);
        }
        checkCaret();
    }

    void checkCaret()
    {
        if (!view_) return;
        const QTextCursor c = view_->textItem()->textCursor();
        if (c.selectionStart() != selStart_ || c.selectionEnd() != selEnd_) {
            selStart_ = c.selectionStart();
            selEnd_ = c.selectionEnd();
            QAccessibleTextSelectionEvent ev(view_, selStart_, selEnd_);
            ev.setCursorPosition(c.position());
            QAccessible::updateAccessibility(&ev);
        }
        if (c.position() != caret_) {
            caret_ = c.position();
            QAccessibleTextCursorEvent ev(view_, caret_);
            QAccessible::updateAccessibility(&ev);
        }
    }

    QPointer<PageView> view_;
    QString shown_;
    bool stale_ = false;   // shown_ was not kept while no assistive technology listened
    int caret_ = 0, selStart_ = 0, selEnd_ = 0;
};

class PageViewInterface : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit PageViewInterface(PageView* view) : QAccessibleWidget(view, QAccessible::EditableText)
    {
        new PageViewWatcher(view);
    }

    PageView* view() const { return static_cast<PageView*>(widget()); }
    QGraphicsTextItem* item() const { return view()->textItem(); }
    QTextDocument* doc() const { return item()->document(); }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return QStringLiteral("Testo del documento");
        if (t == QAccessible::Value) return doc()->toPlainText();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.multiLine = true;
        s.selectableText = true;
        s.editable = bool(item()->textInteractionFlags() & Qt::TextEditable);
        s.readOnly = !s.editable;
        return s;
    }

    // The pages are the text itself: the scroll bars are the only children (the viewport would be a
    // second object saying it has the focus).
    int childCount() const override { return int(parts().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> p = parts();
        return index >= 0 && index < p.size() ? QAccessible::queryAccessibleInterface(p[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() ? int(parts().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

    // --- reading
    int characterCount() const override { return textLength(doc()); }
    QString text(int start, int end) const override
    {
        const int n = characterCount();
        start = std::clamp(start, 0, n);
        end = end < 0 ? n : std::clamp(end, start, n);
        return doc()->toPlainText().mid(start, end - start);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        const auto r = PageViewAccessible::unitAt(doc(), offset, type);
        *start = r.first;
        *end = r.second;
        return text(r.first, r.second);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        const auto at = PageViewAccessible::unitAt(doc(), offset, type);
        if (at.first <= 0) {
            *start = *end = 0;
            return QString();
        }
        return textAtOffset(at.first - 1, type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        const auto at = PageViewAccessible::unitAt(doc(), offset, type);
        if (at.second >= characterCount()) {
            *start = *end = characterCount();
            return QString();
        }
        return textAtOffset(at.second, type, start, end);
    }
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        const QTextBlock block = doc()->findBlock(offset);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (offset < f.position() || offset >= f.position() + f.length()) continue;
            *startOffset = f.position();
            *endOffset = f.position() + f.length();
            const QFont font = f.charFormat().font();
            return QStringLiteral("font-family:\"%1\";font-size:%2pt;font-weight:%3;")
                .arg(font.family())
                .arg(font.pointSizeF())
                .arg(font.bold() ? 700 : 400);
        }
        *startOffset = *endOffset = offset;
        return QString();
    }

    // --- caret and selection
    int cursorPosition() const override { return item()->textCursor().position(); }
    void setCursorPosition(int position) override
    {
        QTextCursor c = item()->textCursor();
        c.setPosition(std::clamp(position, 0, characterCount()));
        item()->setTextCursor(c);
    }
    int selectionCount() const override { return item()->textCursor().hasSelection() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override
    {
        const QTextCursor c = item()->textCursor();
        *start = *end = 0;
        if (index != 0 || !c.hasSelection()) return;
        *start = c.selectionStart();
        *end = c.selectionEnd();
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index != 0) return;
        QTextCursor c = item()->textCursor();
        c.clearSelection();
        item()->setTextCursor(c);
    }
    void setSelection(int index, int start, int end) override
    {
        if (index != 0) return;
        const int n = characterCount();
        QTextCursor c(doc());
        c.setPosition(std::clamp(start, 0, n));
        c.setPosition(std::clamp(end, 0, n), QTextCursor::KeepAnchor);
        item()->setTextCursor(c);
    }

    // --- where the text is on the screen
    QRect characterRect(int offset) const override
    {
        const QRectF r = itemRect(offset);
        if (r.isNull()) return QRect();
        const QRect inView = view()->mapFromScene(item()->mapToScene(r)).boundingRect();
        return QRect(view()->viewport()->mapToGlobal(inView.topLeft()), inView.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        const QPointF scene = view()->mapToScene(view()->viewport()->mapFromGlobal(point));
        return doc()->documentLayout()->hitTest(item()->mapFromScene(scene), Qt::FuzzyHit);
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        const QRectF r = itemRect(startIndex).united(itemRect(std::max(startIndex, endIndex - 1)));
        if (!r.isNull()) view()->ensureVisible(item()->mapRectToScene(r));
    }

    // --- editing, as typing would
    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        if (!(item()->textInteractionFlags() & Qt::TextEditable)) return;
        const int n = characterCount();
        QTextCursor c(doc());
        c.setPosition(std::clamp(startOffset, 0, n));
        c.setPosition(std::clamp(endOffset, 0, n), QTextCursor::KeepAnchor);
        c.insertText(text);
    }

private:
    QList<QWidget*> parts() const
    {
        QList<QWidget*> out;
        for (QWidget* w : view()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != view()->viewport() && !w->isWindow() && w->isVisible()) out << w;
        return out;
    }

    // The box of one character in the text item's coordinates.
    QRectF itemRect(int offset) const
    {
        const QTextBlock block = doc()->findBlock(offset);
        if (!block.isValid() || !block.layout()) return QRectF();
        const QTextLayout* layout = block.layout();
        const int rel = offset - block.position();
        const QTextLine line = layout->lineForTextPosition(rel);
        if (!line.isValid()) return QRectF();
        const QPointF origin = doc()->documentLayout()->blockBoundingRect(block).topLeft();
        const qreal x = line.cursorToX(rel), next = line.cursorToX(std::min(rel + 1, block.length() - 1));
        return QRectF(origin.x() + std::min(x, next), origin.y() + line.y(), std::max<qreal>(1, std::abs(next - x)),
                      line.height());
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("PageView") && object && object->isWidgetType())
        return new PageViewInterface(static_cast<PageView*>(object));
    return nullptr;
}

} // namespace

namespace PageViewAccessible {

void install()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(&factory);
}

std::pair<int, int> unitAt(const QTextDocument* doc, int offset, QAccessible::TextBoundaryType type)
{
    const int n = textLength(doc);
    offset = std::clamp(offset, 0, n);
    if (type == QAccessible::NoBoundary) return {0, n};
    if (type == QAccessible::CharBoundary) return {offset, std::min(offset + 1, n)};

    const QTextBlock block = doc->findBlock(offset);
    const int first = block.position();
    const int rel = offset - first;
    const int withSeparator = std::min(first + block.length(), n);
    if (type == QAccessible::ParagraphBoundary) return {first, withSeparator};

    if (type == QAccessible::LineBoundary) {
        const QTextLayout* layout = block.layout();
        const QTextLine line = layout ? layout->lineForTextPosition(rel) : QTextLine();
        if (!line.isValid() || !layout || layout->lineCount() == 0) return {first, withSeparator};
        const bool last = line.lineNumber() == layout->lineCount() - 1;
        return {first + line.textStart(), last ? withSeparator : first + line.textStart() + line.textLength()};
    }

    // Words and sentences never cross a paragraph; the separator is a unit of its own.
    const QString text = block.text();
    if (rel >= text.size()) return {offset, std::min(offset + 1, n)};
    QTextBoundaryFinder finder(type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word : QTextBoundaryFinder::Sentence,
                               text);
    finder.setPosition(rel);
    int start = finder.isAtBoundary() ? rel : finder.toPreviousBoundary();
    if (start < 0) start = 0;
    finder.setPosition(start);
    int end = finder.toNextBoundary();
    if (end < 0 || end > text.size()) end = text.size();
    // A sentence that ends its paragraph is read with the paragraph's end.
    if (type == QAccessible::SentenceBoundary && end == text.size()) return {first + start, withSeparator};
    return {first + start, first + end};
}

} // namespace PageViewAccessible
