#include "WordDocument.h"
#include "PageLayout.h"
#include "RtfWriter.h"
#include "WordApplication.h"
#include <QBrush>
#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTextCursor>
#include <QTextDocumentWriter>
#include <QTextTable>

int WordTable::rows() const { return table_ ? table_->rows() : 0; }
int WordTable::columns() const { return table_ ? table_->columns() : 0; }

bool WordTable::setCellText(int row, int column, const QString& text)
{
    if (!table_ || row < 1 || column < 1 || row > rows() || column > columns()) return false;
    if (doc_) doc_->holdPages();
    const QTextTableCell cell = table_->cellAt(row - 1, column - 1);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    QTextCharFormat f = c.charFormat();
    if (fontSize_ > 0) f.setFontPointSize(fontSize_);
    c.insertText(text, f);
    settle();
    return true;
}

void WordTable::settle()
{
    if (doc_) doc_->text()->setModified(false);
}

QString WordTable::cellText(int row, int column) const
{
    if (!table_ || row < 1 || column < 1 || row > rows() || column > columns()) return {};
    const QTextTableCell cell = table_->cellAt(row - 1, column - 1);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selectedText();
}

void WordTable::setFontSize(double points)
{
    if (!table_ || points <= 0) return;
    if (doc_) doc_->holdPages();
    fontSize_ = points;
    QTextCharFormat f;
    f.setFontPointSize(points);
    for (int r = 0; r < rows(); ++r)
        for (int c = 0; c < columns(); ++c) {
            const QTextTableCell cell = table_->cellAt(r, c);
            QTextCursor cur = cell.firstCursorPosition();
            cur.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            cur.mergeCharFormat(f);
            cur.mergeBlockCharFormat(f);
        }
    settle();
}

void WordTable::AutoFormat(int format)
{
    if (!table_) return;
    if (doc_) doc_->holdPages();
    autoFormat_ = format;
    // Our own look in the spirit of the format: a coloured header row in bold white, banded rows,
    // thin grey rules.
    QTextTableFormat tf = table_->format();
    tf.setBorder(0.5);
    tf.setBorderBrush(QColor(150, 150, 150));
    tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    tf.setCellPadding(3);
    tf.setCellSpacing(0);
    tf.setHeaderRowCount(1);
    tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    table_->setFormat(tf);
    for (int r = 0; r < rows(); ++r)
        for (int c = 0; c < columns(); ++c) {
            QTextTableCell cell = table_->cellAt(r, c);
            QTextTableCellFormat cf = cell.format().toTableCellFormat();
            if (r == 0) cf.setBackground(QColor(31, 73, 125));
            else cf.setBackground(r % 2 ? QColor(255, 255, 255) : QColor(220, 230, 241));
            cell.setFormat(cf);
            if (r == 0) {
                QTextCursor cur = cell.firstCursorPosition();
                cur.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                QTextCharFormat head;
                head.setFontWeight(QFont::Bold);
                head.setForeground(QColor(255, 255, 255));
                cur.mergeCharFormat(head);
            }
        }
    settle();
}

// ---------------------------------------------------------------------------------------------------

WordDocument::WordDocument(WordApplication* app, const QString& name) : QObject(app), app_(app), name_(name)
{
    PageLayout::apply(&doc_);
    doc_.setModified(false);
}

WordDocument::~WordDocument()
{
    if (app_) app_->forget(this);
}

void WordDocument::holdPages()
{
    PageLayout::holdPages(&doc_);
    if (pagesDue_) return;
    pagesDue_ = true;
    // Once the program has finished writing, which is when control is back in the event loop, the
    // window showing the document gets its pages.
    QMetaObject::invokeMethod(
        this,
        [this] {
            pagesDue_ = false;
            PageLayout::ensurePages(&doc_);
        },
        Qt::QueuedConnection);
}

QString WordDocument::Name() const { return fileName_.isEmpty() ? name_ : QFileInfo(fileName_).fileName(); }

WordTable* WordDocument::addTableAtEnd(int rows, int columns)
{
    if (rows < 1 || columns < 1) return nullptr;
    holdPages();
    QTextCursor c(&doc_);
    c.movePosition(QTextCursor::End);
    QTextTableFormat tf;
    tf.setCellPadding(2);
    QTextTable* t = c.insertTable(rows, columns, tf);
    tables_.push_back(std::make_unique<WordTable>(t, this));
    doc_.setModified(false);
    return tables_.back().get();
}

void WordDocument::addParagraphAtEnd()
{
    holdPages();
    QTextCursor c(&doc_);
    c.movePosition(QTextCursor::End);
    c.insertBlock();
    doc_.setModified(false);
}

WordTable* WordDocument::Tables(int index) const
{
    if (index < 1 || index > int(tables_.size())) return nullptr;
    return tables_[std::size_t(index - 1)].get();
}

WordDocument::Format WordDocument::formatFor(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("odt")) return Format::Odt;
    if (suffix == QLatin1String("pdf")) return Format::Pdf;
    return Format::Doc;
}

QStringList WordDocument::fileFilters()
{
    return {QStringLiteral("Documento Word (*.doc)"), QStringLiteral("Documento di testo OpenDocument (*.odt)"), QStringLiteral("PDF (*.pdf)")};
}

QString WordDocument::extension(Format format)
{
    switch (format) {
    case Format::Odt: return QStringLiteral("odt");
    case Format::Pdf: return QStringLiteral("pdf");
    case Format::Doc: break;
    }
    return QStringLiteral("doc");
}

QString WordDocument::nameForFormat(const QString& fileName, Format format)
{
    if (fileName.isEmpty()) return fileName;
    const QString ext = extension(format);
    if (QFileInfo(fileName).suffix().compare(ext, Qt::CaseInsensitive) == 0) return fileName;
    return fileName + QLatin1Char('.') + ext;
}

QString WordDocument::nameForSave(const QString& typed, Format chosen)
{
    static const QStringList known{QStringLiteral("doc"), QStringLiteral("odt"), QStringLiteral("pdf"), QStringLiteral("rtf")};
    if (known.contains(QFileInfo(typed).suffix(), Qt::CaseInsensitive)) return typed;
    return nameForFormat(typed, chosen);
}

bool WordDocument::write(const QTextDocument& doc, const QString& fileName, Format format, QString* error)
{
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error) *error = out.errorString();
        return false;
    }
    bool ok = true;
    switch (format) {
    case Format::Doc:
        ok = RtfWriter::write(doc, &out);
        break;
    case Format::Odt: {
        // The zip writer closes its device when done, which an atomic file must not be; it writes
        // into memory first.
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QTextDocumentWriter w(&buffer, "odf");
        ok = w.write(&doc) && out.write(buffer.data()) == buffer.data().size();
        break;
    }
    case Format::Pdf: {
        // The printer writes a file of its own; it is copied into the atomic file afterwards. The pages
        // are the document's own, as its window shows them.
        QTemporaryFile tmp;
        if (!tmp.open()) { ok = false; break; }
        tmp.close();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(tmp.fileName());
        printer.setPageSize(QPageSize(QPageSize::A4));
        PageLayout::print(&doc, &printer);
        QFile f(tmp.fileName());
        ok = f.open(QIODevice::ReadOnly) && f.size() > 0 && out.write(f.readAll()) == f.size();
        break;
    }
    }
    if (!ok) {
        out.cancelWriting();
        if (error && error->isEmpty()) *error = QStringLiteral("scrittura non riuscita");
        return false;
    }
    if (!out.commit()) {
        if (error) *error = out.errorString();
        return false;
    }
    return true;
}

bool WordDocument::SaveAs(const QString& fileName, QString* error)
{
    if (!write(doc_, fileName, formatFor(fileName), error)) return false;
    fileName_ = QFileInfo(fileName).absoluteFilePath();
    doc_.setModified(false);
    emit renamed();
    return true;
}

bool WordDocument::Save(QString* error)
{
    if (fileName_.isEmpty()) {
        if (error) *error = QStringLiteral("il documento non ha ancora un nome di file");
        return false;
    }
    return SaveAs(fileName_, error);
}

void WordDocument::close()
{
    emit closed();
    if (app_) app_->forget(this);
    deleteLater();
}
