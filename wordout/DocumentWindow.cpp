#include "DocumentWindow.h"
#include "WordDocument.h"
#include "platform/Platform.h"
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextEdit>

namespace {
int& count()
{
    static int n = 0;
    return n;
}
} // namespace

DocumentWindows& DocumentWindows::instance()
{
    static DocumentWindows* w = new DocumentWindows;
    return *w;
}

DocumentWindow* DocumentWindow::open(WordDocument* doc)
{
    if (!doc) return nullptr;
    auto* w = new DocumentWindow(doc);
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

int DocumentWindow::openCount() { return count(); }

WordDocument* DocumentWindow::document() const { return doc_; }

DocumentWindow::DocumentWindow(WordDocument* doc) : doc_(doc)
{
    ++count();
    setObjectName(QStringLiteral("DocumentWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    editor_ = new QTextEdit(this);
    editor_->setObjectName(QStringLiteral("editor"));
    editor_->setDocument(doc->text());
    // Lines as long as on an A4 page with its margins, so that the text reads as it will print.
    editor_->setLineWrapMode(QTextEdit::FixedPixelWidth);
    editor_->setLineWrapColumnOrWidth(int(doc->text()->pageSize().width() - 2 * doc->text()->documentMargin()) * logicalDpiX() / 72);
    setCentralWidget(editor_);
    resize(860, 700);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    auto add = [this](QMenu* m, const QString& text, QKeySequence key, auto slot) {
        QAction* a = m->addAction(text);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(file, QStringLiteral("&Salva"), QKeySequence::Save, [this] { save(); });
    add(file, QStringLiteral("Salva &con nome..."), QKeySequence::SaveAs, [this] { saveAs(); });
    file->addSeparator();
    add(file, QStringLiteral("&Stampa..."), QKeySequence::Print, [this] { printDocument(); });
    add(file, QStringLiteral("&Anteprima di stampa"), QKeySequence(), [this] { previewDocument(); });
    file->addSeparator();
    add(file, QStringLiteral("&Chiudi"), QKeySequence::Close, [this] { close(); });
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Modifica"));
    add(edit, QStringLiteral("&Annulla"), QKeySequence::Undo, [this] { editor_->undo(); });
    add(edit, QStringLiteral("&Ripeti"), QKeySequence::Redo, [this] { editor_->redo(); });
    edit->addSeparator();
    add(edit, QStringLiteral("&Taglia"), QKeySequence::Cut, [this] { editor_->cut(); });
    add(edit, QStringLiteral("&Copia"), QKeySequence::Copy, [this] { editor_->copy(); });
    add(edit, QStringLiteral("I&ncolla"), QKeySequence::Paste, [this] { editor_->paste(); });
    edit->addSeparator();
    add(edit, QStringLiteral("Seleziona &tutto"), QKeySequence::SelectAll, [this] { editor_->selectAll(); });

    connect(doc->text(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
    connect(doc, &WordDocument::renamed, this, &DocumentWindow::updateTitle);
    updateTitle();
}

DocumentWindow::~DocumentWindow()
{
    if (--count() == 0) emit DocumentWindows::instance().allClosed();
}

void DocumentWindow::updateTitle()
{
    // A saved document names its folder too, so that the user can see where it went.
    QString name = doc_ ? doc_->Name() : QString();
    if (doc_ && !doc_->FullName().isEmpty())
        name += QStringLiteral(" (") + QDir::toNativeSeparators(QFileInfo(doc_->FullName()).absolutePath()) + QLatin1Char(')');
    setWindowTitle(name + QStringLiteral("[*] - ") + programName());
}

bool DocumentWindow::saveTo(const QString& fileName)
{
    QString error;
    if (doc_->SaveAs(fileName, &error)) return true;
    MsgBox(QStringLiteral("Impossibile salvare il documento in \"") + QDir::toNativeSeparators(fileName) +
               QStringLiteral("\": ") + error + QStringLiteral(". Il documento resta aperto e un file già esistente non è stato modificato."),
           MsgButtons::OK, MsgIcon::Exclamation, programName());
    return false;
}

bool DocumentWindow::save()
{
    if (!doc_) return false;
    if (doc_->FullName().isEmpty()) return saveAs();
    return saveTo(doc_->FullName());
}

bool DocumentWindow::saveAs()
{
    if (!doc_) return false;
    const QString suggested = doc_->FullName().isEmpty() ? QDir::home().filePath(doc_->Name() + QStringLiteral(".doc"))
                                                         : doc_->FullName();
    const QString name = Platform::current().saveFileName(QStringLiteral("Salva con nome"), suggested);
    if (name.isEmpty()) return false;
    return saveTo(name);
}

void DocumentWindow::printDocument()
{
    if (!doc_) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Stampa"));
    if (dialog.exec() == QDialog::Accepted) doc_->text()->print(&printer);
}

void DocumentWindow::previewDocument()
{
    if (!doc_) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { doc_->text()->print(p); });
    preview.exec();
}

void DocumentWindow::closeEvent(QCloseEvent* event)
{
    if (doc_ && doc_->isModified()) {
        const MsgAnswer a = MsgBox(QStringLiteral("Salvare le modifiche apportate a \"") + doc_->Name() + QStringLiteral("\"?"),
                                   MsgButtons::YesNoCancel, MsgIcon::Exclamation, programName());
        if (a == MsgAnswer::Cancel || (a == MsgAnswer::Yes && !save())) {
            event->ignore();
            return;
        }
    }
    editor_->setDocument(nullptr);
    if (doc_) doc_->close();
    event->accept();
}
