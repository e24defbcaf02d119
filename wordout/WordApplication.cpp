#include "WordApplication.h"
#include "DocumentWindow.h"
#include "WordDocument.h"
#include "platform/Platform.h"
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextTable>

namespace {
QList<QPointer<WordApplication>>& registry()
{
    static QList<QPointer<WordApplication>> r;
    return r;
}
int& documentCounter()
{
    static int n = 0;
    return n;
}

Qt::Alignment alignmentFor(int wd)
{
    switch (wd) {
    case 1: return Qt::AlignHCenter;
    case 2: return Qt::AlignRight;
    case 3: return Qt::AlignJustify;
    default: return Qt::AlignLeft;
    }
}
} // namespace

// ---------------------------------------------------------------------------------------------------

WordDocument* WordSelection::Document() const { return doc_; }

void WordSelection::attach(WordDocument* doc)
{
    doc_ = doc;
    cursor_ = QTextCursor(doc->text());
    cursor_.movePosition(QTextCursor::End);
    format_ = cursor_.charFormat();
    range_ = Range::Point;
}

void WordSelection::setFontName(const QString& name)
{
    // Both properties: the OpenDocument writer of this Qt version reads only the single family (set
    // through the property itself, since the setter of that name now fills the list), the rest the list.
    format_.setFontFamilies(QStringList{name});
    format_.setProperty(QTextFormat::FontFamily, name);
    if (doc_ && range_ == Range::Point && cursor_.block().length() == 1) cursor_.setBlockCharFormat(format_);
}

void WordSelection::setFontSize(double points)
{
    if (points <= 0) return;
    format_.setFontPointSize(points);
    if (doc_ && range_ == Range::Point && cursor_.block().length() == 1) cursor_.setBlockCharFormat(format_);
}

void WordSelection::setBold(bool bold)
{
    format_.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    if (doc_ && range_ == Range::Point && cursor_.block().length() == 1) cursor_.setBlockCharFormat(format_);
}

QString WordSelection::fontName() const { return format_.property(QTextFormat::FontFamily).toString(); }
double WordSelection::fontSize() const { return format_.fontPointSize(); }

void WordSelection::TypeText(const QString& text)
{
    if (!doc_) return;
    if (range_ != Range::Point) release();
    doc_->holdPages();
    // One edit for the whole text: one undo step, and the document settles once instead of after
    // every piece.
    cursor_.beginEditBlock();
    QString run;
    auto flush = [&] {
        if (!run.isEmpty()) cursor_.insertText(run, format_);
        run.clear();
    };
    QChar previous;
    for (QChar c : text) {
        const QChar before = previous;
        previous = c;
        if (c == QChar(10) && before == QChar(13)) continue;   // CR LF is one paragraph mark
        if (c == QChar(13)) {
            flush();
            QTextBlockFormat bf = cursor_.blockFormat();
            bf.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
            cursor_.insertBlock(bf, format_);
        } else if (c == QChar(12)) {
            flush();
            // A page break: the text after it starts on a new page. On an empty paragraph (the usual
            // case, right after a paragraph mark) the paragraph itself moves to the new page.
            QTextBlockFormat bf = cursor_.blockFormat();
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            if (cursor_.block().length() == 1) cursor_.setBlockFormat(bf);
            else cursor_.insertBlock(bf, format_);
        } else if (c == QChar(10) || c == QChar(11)) {
            flush();
            cursor_.insertText(QString(QChar::LineSeparator), format_);
        } else {
            run += c;
        }
    }
    flush();
    cursor_.endEditBlock();
    settle();
}

void WordSelection::settle()
{
    // What the program types is not a change of the user's: closing such a document asks nothing.
    if (doc_) doc_->text()->setModified(false);
}

void WordSelection::SelectDocument()
{
    if (!doc_) return;
    range_ = Range::Document;
    cursor_.select(QTextCursor::Document);
}

void WordSelection::SelectColumn(WordTable* table, int column)
{
    if (!doc_ || !table || column < 1 || column > table->columns()) return;
    range_ = Range::Column;
    columnTable_ = table;
    column_ = column;
}

void WordSelection::setAlignment(int wd)
{
    if (!doc_) return;
    doc_->holdPages();
    const Qt::Alignment a = alignmentFor(wd);
    auto alignBlocks = [a](QTextCursor c) {
        const int end = c.selectionEnd();
        QTextBlock b = c.document()->findBlock(c.selectionStart());
        QTextCursor bc(b);
        bc.beginEditBlock();
        while (b.isValid() && b.position() <= end) {
            bc.setPosition(b.position());
            QTextBlockFormat f = b.blockFormat();
            f.setAlignment(a);
            bc.setBlockFormat(f);
            b = b.next();
        }
        bc.endEditBlock();
    };
    switch (range_) {
    case Range::Document: {
        QTextCursor all(doc_->text());
        all.select(QTextCursor::Document);
        alignBlocks(all);
        break;
    }
    case Range::Column:
        for (int r = 0; r < columnTable_->rows(); ++r) {
            const QTextTableCell cell = columnTable_->table()->cellAt(r, column_ - 1);
            QTextCursor c = cell.firstCursorPosition();
            c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            alignBlocks(c);
        }
        break;
    case Range::Point: {
        QTextCursor c = cursor_;
        alignBlocks(c);
        break;
    }
    }
    settle();
}

void WordSelection::release()
{
    range_ = Range::Point;
    columnTable_ = nullptr;
    if (!doc_) return;
    cursor_ = QTextCursor(doc_->text());
    cursor_.movePosition(QTextCursor::End);
}

// ---------------------------------------------------------------------------------------------------

WordApplication::WordApplication()
{
    registry().append(this);
    // The platform shows documents in this floor's windows; every application that starts tells it so.
    Platform::setDocumentHost(&DocumentWindow::host);
}

WordApplication::~WordApplication()
{
    // The documents are children and outlive this body, closed ones included; they must not call back
    // into a dying instance.
    for (WordDocument* d : findChildren<WordDocument*>(Qt::FindDirectChildrenOnly)) d->app_ = nullptr;
    documents_.clear();
    registry().removeAll(this);
    registry().removeAll(nullptr);
}

void WordApplication::setVisible(bool visible)
{
    if (visible == visible_) return;
    visible_ = visible;
    if (!visible) return;
    for (const auto& d : documents_)
        if (d) Platform::current().showDocument(d);
}

WordDocument* WordApplication::DocumentsAdd()
{
    auto* doc = new WordDocument(this, QStringLiteral("Documento%1").arg(++documentCounter()));
    if (visible_ && !Platform::current().showDocument(doc)) {
        delete doc;
        return nullptr;
    }
    documents_.append(doc);
    selection_.attach(doc);
    emit documentOpened(doc);
    return doc;
}

WordDocument* WordApplication::DocumentsItem(int n) const
{
    if (n < 1 || n > documents_.size()) return nullptr;
    return documents_.at(n - 1);
}

void WordApplication::forget(WordDocument* doc)
{
    documents_.removeAll(doc);
    documents_.removeAll(nullptr);
    // An instance whose documents the user has all closed has nothing left to hold.
    if (documents_.isEmpty() && deleteWhenEmpty_) deleteLater();
}

QList<WordApplication*> WordApplication::instances()
{
    QList<WordApplication*> out;
    for (const auto& a : registry())
        if (a) out << a.data();
    return out;
}

int WordApplication::openDocumentCount()
{
    int n = 0;
    for (WordApplication* a : instances()) n += a->DocumentsCount();
    return n;
}
