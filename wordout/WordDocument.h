#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextDocument>
#include <memory>
#include <vector>

class QTextTable;
class WordApplication;
class WordDocument;

// A table of a document, with the operations the price list uses.
class WordTable {
public:
    explicit WordTable(QTextTable* table, WordDocument* doc) : table_(table), doc_(doc) {}
    QTextTable* table() const { return table_; }
    int rows() const;
    int columns() const;
    // Cell(row, column).Range.Text: rows and columns from 1.
    bool setCellText(int row, int column, const QString& text);
    QString cellText(int row, int column) const;
    void setFontSize(double points);
    // AutoFormat: Word's built-in table formats. Format 9 gives a coloured header row and banded rows.
    void AutoFormat(int format);
    int autoFormat() const { return autoFormat_; }

private:
    void settle();
    QTextTable* table_;
    QPointer<WordDocument> doc_;
    double fontSize_ = 0;
    int autoFormat_ = 0;
};

// A document of the word-processor layer: its text, its name ("Documento1" until saved under a file
// name), the tables added to it, and saving in the formats the program offers.
class WordDocument : public QObject {
    Q_OBJECT
public:
    enum class Format { Doc, Odt, Pdf };

    WordDocument(WordApplication* app, const QString& name);
    ~WordDocument() override;

    QTextDocument* text() { return &doc_; }
    const QTextDocument* text() const { return &doc_; }
    WordApplication* Application() const { return app_; }
    QString Name() const;
    QString FullName() const { return fileName_; }

    // Tables.Add at the end of the document; the table belongs to the document.
    WordTable* addTableAtEnd(int rows, int columns);
    // Content.Paragraphs.Add at the range of the built-in bookmark "\endofdoc".
    void addParagraphAtEnd();
    int tableCount() const { return int(tables_.size()); }
    WordTable* Tables(int index) const;   // from 1

    // SaveAs: the format follows the file name's extension (".odt", ".pdf", anything else the
    // Word-compatible ".doc"). Written atomically: a failed save leaves an earlier file intact.
    bool SaveAs(const QString& fileName, QString* error = nullptr);
    bool Save(QString* error = nullptr);
    static Format formatFor(const QString& fileName);
    // The formats as a save dialog offers them, in the order of Format: "Description (*.ext)".
    static QStringList fileFilters();
    static QString extension(Format format);
    // The file a save in `format` writes: a name without that format's extension gets it.
    static QString nameForFormat(const QString& fileName, Format format);
    // The file "Salva con nome" writes: a name that ends with a known extension (.doc, .odt, .pdf, .rtf)
    // as typed, whatever the filter; any other name with the chosen filter's extension added.
    static QString nameForSave(const QString& typed, Format chosen);
    static bool write(const QTextDocument& doc, const QString& fileName, Format format, QString* error);

    bool isModified() const { return doc_.isModified(); }
    // The program is about to write into the document: its pages wait until control is back in the
    // event loop, or until something asks for them, and are then laid out once (PageLayout::holdPages).
    void holdPages();
    // The document is being closed by the user; the application forgets it.
    void close();

signals:
    void closed();
    void renamed();

private:
    friend class WordApplication;
    WordApplication* app_;
    QString name_;
    QString fileName_;
    QTextDocument doc_;
    std::vector<std::unique_ptr<WordTable>> tables_;
    bool pagesDue_ = false;
};
