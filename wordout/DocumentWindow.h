#pragma once
#include <QMainWindow>
#include <QPointer>
#include "WordDocument.h"

class QTextEdit;
class WordDocument;

// The window in which a printed document opens: visible and editable at once, with printing, print
// preview, saving (Word-compatible .doc, OpenDocument text, PDF) and the usual editing commands. Closing
// a document the user changed asks whether to save it. Document windows are the user's: they are not
// among the program's own windows, and they keep the program running while they are open.
class DocumentWindow : public QMainWindow {
    Q_OBJECT
public:
    static DocumentWindow* open(WordDocument* doc);
    static int openCount();
    static QString programName() { return QStringLiteral("Elaboratore di testi Norvelia"); }

    WordDocument* document() const;
    QTextEdit* editor() const { return editor_; }

    bool save();
    bool saveAs();
    void printDocument();
    void previewDocument();

signals:
    void lastClosed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit DocumentWindow(WordDocument* doc);
    ~DocumentWindow() override;
    void updateTitle();
    bool saveTo(const QString& fileName);
    QPointer<WordDocument> doc_;
    QTextEdit* editor_;
};

// Notified when the last document window has closed (the program may then end).
class DocumentWindows : public QObject {
    Q_OBJECT
public:
    static DocumentWindows& instance();
signals:
    void allClosed();
};
