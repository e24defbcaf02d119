#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTextCharFormat>
#include <QTextCursor>

class WordDocument;
class WordTable;

// The insertion point and current selection of a word-processor application: everything the prints
// write goes through it. Font settings apply to the text typed afterwards.
class WordSelection {
public:
    void setFontName(const QString& name);
    void setFontSize(double points);
    // Font.Bold of the text typed afterwards.
    void setBold(bool bold);
    QString fontName() const;
    double fontSize() const;
    // Inserts text at the insertion point: character 13 ends a paragraph, character 12 starts a page.
    void TypeText(const QString& text);
    // Selection.Document.Select
    void SelectDocument();
    // Selects column `column` (from 1) of a table.
    void SelectColumn(WordTable* table, int column);
    // ParagraphFormat.Alignment of every paragraph in the selection: 0 left, 1 centre, 2 right, 3 justified.
    void setAlignment(int wdAlignment);
    // Back to an insertion point at the end of the document.
    void release();
    WordDocument* Document() const;

private:
    friend class WordApplication;
    void attach(WordDocument* doc);
    void settle();
    QPointer<WordDocument> doc_;
    QTextCursor cursor_;
    QTextCharFormat format_;
    enum class Range { Point, Document, Column } range_ = Range::Point;
    WordTable* columnTable_ = nullptr;
    int column_ = 0;
};

// One instance of the word processor, as a print starts it: visible or not, with its documents and
// its selection. Each print creates a new one; the documents stay open for the user.
class WordApplication : public QObject {
    Q_OBJECT
public:
    WordApplication();
    ~WordApplication() override;

    // Application.Visible: a visible application shows each of its documents in a window.
    void setVisible(bool visible);
    bool Visible() const { return visible_; }
    // Documents.Add: a new blank document, which takes the selection. Nothing when the document
    // window cannot be opened.
    WordDocument* DocumentsAdd();
    int DocumentsCount() const { return int(documents_.size()); }
    WordDocument* DocumentsItem(int n) const;   // from 1
    WordSelection& Selection() { return selection_; }

    // All applications started by this run that still have documents.
    static QList<WordApplication*> instances();
    // An instance started by a print goes away once the user has closed all its documents.
    void setDeleteWhenEmpty(bool on) { deleteWhenEmpty_ = on; }
    static int openDocumentCount();

signals:
    void documentOpened(WordDocument* doc);

private:
    void forget(WordDocument* doc);
    friend class WordDocument;
    bool visible_ = false;
    bool deleteWhenEmpty_ = false;
    QList<QPointer<WordDocument>> documents_;
    WordSelection selection_;
};
