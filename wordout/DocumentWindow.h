#pragma once
#include <QMainWindow>
#include <QPointer>
#include "PageView.h"
#include "WordDocument.h"

class QLabel;
class WordDocument;

// The window in which a printed document opens: visible and editable at once, its pages shown as they
// will print (PageView), with zoom, printing, print preview, saving (Word-compatible .doc, OpenDocument
// text, PDF), opening in the desktop's word processor and the usual editing commands. Closing a
// document the user changed asks whether to save it. Document windows are the user's: they are not
// among the program's own windows, and they keep the program running while they are open.
class DocumentWindow : public QMainWindow {
    Q_OBJECT
public:
    static DocumentWindow* open(WordDocument* doc);
    static int openCount();
    static QString programName() { return QStringLiteral("Elaboratore di testi Norvelia"); }
    // The document host this floor gives the platform.
    static bool host(QObject* document);

    WordDocument* document() const;
    PageView* editor() const { return view_; }
    QLabel* pageLabel() const { return pageLabel_; }

    bool save();
    bool saveAs();
    void printDocument();
    void previewDocument();
    // Writes the document as OpenDocument text into the user's temporary folder and has the desktop
    // open it with its word processor; false, after telling the user, when that cannot be done.
    bool openInWordProcessor();

signals:
    void lastClosed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit DocumentWindow(WordDocument* doc);
    ~DocumentWindow() override;
    void updateTitle();
    void updateStatus();
    bool saveTo(const QString& fileName);
    void sendKeys(QKeySequence::StandardKey key);
    QPointer<WordDocument> doc_;
    PageView* view_;
    QLabel* pageLabel_;
    QLabel* zoomLabel_;
};

// Notified when the last document window has closed (the program may then end).
class DocumentWindows : public QObject {
    Q_OBJECT
public:
    static DocumentWindows& instance();
signals:
    void allClosed();
};
