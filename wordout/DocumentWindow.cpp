#include "DocumentWindow.h"
#include "PageLayout.h"
#include "PageView.h"
#include "PageViewAccessible.h"
#include "WordDocument.h"
#include "platform/Platform.h"
#include "platform/ScreenFit.h"
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsTextItem>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryFile>
#include <array>
#include <tuple>

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

bool DocumentWindow::host(QObject* document) { return open(qobject_cast<WordDocument*>(document)) != nullptr; }

int DocumentWindow::openCount() { return count(); }

WordDocument* DocumentWindow::document() const { return doc_; }

DocumentWindow::DocumentWindow(WordDocument* doc) : doc_(doc)
{
    ++count();
    setObjectName(QStringLiteral("DocumentWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    PageViewAccessible::install();
    view_ = new PageView(doc->text(), this);
    setCentralWidget(view_);
    view_->setFocus();   // the keys and a screen reader start in the document
    // Never larger than the screen's free area, title bar and status bar included, whatever the scale.
    resize(ScreenFit::fitting(QSize(860, 700), screen()->availableGeometry()));

    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("pagina"));
    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName(QStringLiteral("zoom"));
    statusBar()->setObjectName(QStringLiteral("barraDiStato"));
    statusBar()->addWidget(pageLabel_);
    statusBar()->addPermanentWidget(zoomLabel_);

    auto add = [this](QMenu* m, const QString& text, const QString& name, QList<QKeySequence> keys, auto slot) {
        QAction* a = m->addAction(text);
        a->setObjectName(name);
        a->setShortcuts(keys);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    using K = QKeySequence;
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, QStringLiteral("&Salva"), QStringLiteral("salva"), {K::Save}, [this] { save(); });
    add(file, QStringLiteral("Salva &con nome..."), QStringLiteral("salvaConNome"), {K::SaveAs}, [this] { saveAs(); });
    add(file, QStringLiteral("Apri con l'&elaboratore di testi"), QStringLiteral("apriConElaboratore"), {}, [this] { openInWordProcessor(); });
    file->addSeparator();
    add(file, QStringLiteral("&Stampa..."), QStringLiteral("stampa"), {K::Print}, [this] { printDocument(); });
    add(file, QStringLiteral("&Anteprima di stampa"), QStringLiteral("anteprima"), {}, [this] { previewDocument(); });
    file->addSeparator();
    add(file, QStringLiteral("&Chiudi"), QStringLiteral("chiudi"), {K::Close}, [this] { close(); });
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Modifica"));
    const std::array<std::tuple<const char*, const char*, K::StandardKey>, 6> editing{{
        {"&Annulla", "annulla", K::Undo}, {"&Ripeti", "ripeti", K::Redo}, {"&Taglia", "taglia", K::Cut},
        {"&Copia", "copia", K::Copy}, {"I&ncolla", "incolla", K::Paste}, {"Seleziona &tutto", "selezionaTutto", K::SelectAll}}};
    for (const auto& [text, name, key] : editing) {
        if (key == K::Cut || key == K::SelectAll) edit->addSeparator();
        QAction* a = add(edit, QString::fromUtf8(text), QString::fromLatin1(name), {K(key)}, [this, key = key] { sendKeys(key); });
        // The text answers these keys itself; the menu only shows them, and its commands send them.
        a->setShortcutContext(Qt::WidgetShortcut);
    }
    QMenu* look = menuBar()->addMenu(QStringLiteral("&Visualizza"));
    add(look, QStringLiteral("Zoom &avanti"), QStringLiteral("zoomAvanti"), {K(Qt::CTRL | Qt::Key_Plus), K(Qt::CTRL | Qt::Key_Equal)},
        [this] { view_->zoomIn(); });
    add(look, QStringLiteral("Zoom &indietro"), QStringLiteral("zoomIndietro"), {K(Qt::CTRL | Qt::Key_Minus)}, [this] { view_->zoomOut(); });
    add(look, QStringLiteral("&Dimensioni reali (100%)"), QStringLiteral("zoomReale"), {K(Qt::CTRL | Qt::Key_0)}, [this] { view_->setZoom(1.0); });
    look->addSeparator();
    add(look, QStringLiteral("Adatta alla &larghezza"), QStringLiteral("adattaLarghezza"), {}, [this] { view_->fitWidth(); });
    add(look, QStringLiteral("&Pagina intera"), QStringLiteral("paginaIntera"), {}, [this] { view_->fitPage(); });


    connect(view_, &PageView::pageChanged, this, &DocumentWindow::updateStatus);
    connect(view_, &PageView::zoomChanged, this, &DocumentWindow::updateStatus);
    connect(doc->text(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
    connect(doc, &WordDocument::renamed, this, &DocumentWindow::updateTitle);
    updateTitle();
    updateStatus();
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

void DocumentWindow::updateStatus()
{
    pageLabel_->setText(QStringLiteral("Pagina %1 di %2").arg(view_->currentPage()).arg(view_->pageCount()));
    zoomLabel_->setText(QStringLiteral("%1%").arg(std::lround(view_->zoom() * 100)));
}

void DocumentWindow::sendKeys(QKeySequence::StandardKey key)
{
    // The menu's editing commands are the keys the text answers to, so both do the same.
    const QKeyCombination k = QKeySequence(key)[0];
    QKeyEvent press(QEvent::KeyPress, k.key(), k.keyboardModifiers());
    view_->scene()->sendEvent(view_->textItem(), &press);
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
    const QStringList filters = WordDocument::fileFilters();
    const Platform::SaveChoice choice = Platform::current().saveFileName(QStringLiteral("Salva con nome"), suggested, filters);
    if (choice.fileName.isEmpty()) return false;
    // A name typed with the extension of a known type is saved in that type; any other name gets the
    // chosen filter's extension and type.
    const auto format = WordDocument::Format(std::clamp(choice.filter, 0, int(filters.size()) - 1));
    const QString name = WordDocument::nameForSave(choice.fileName, format);
    if (name != choice.fileName && QFileInfo::exists(name) &&
        MsgBox(QStringLiteral("Il file \"") + QDir::toNativeSeparators(name) + QStringLiteral("\" esiste già. Sostituirlo?"), MsgButtons::YesNo,
               MsgIcon::Exclamation, programName(), true) != MsgAnswer::Yes)
        return false;
    return saveTo(name);
}

bool DocumentWindow::openInWordProcessor()
{
    if (!doc_) return false;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    const QString base = QFileInfo(doc_->Name()).completeBaseName();
    // A name of its own each time: the word processor may still hold the previous copy open.
    QTemporaryFile copy(QDir(folder).filePath(base + QStringLiteral("-XXXXXX.odt")));
    copy.setAutoRemove(false);
    QString error;
    const bool written = copy.open() && (copy.close(), WordDocument::write(*doc_->text(), copy.fileName(), WordDocument::Format::Odt, &error));
    if (!written) {
        if (error.isEmpty()) error = copy.errorString();
        copy.remove();
        MsgBox(QStringLiteral("Impossibile preparare il documento per l'elaboratore di testi nella cartella \"") +
                   QDir::toNativeSeparators(folder) + QStringLiteral("\": ") + error + QLatin1Char('.'),
               MsgButtons::OK, MsgIcon::Exclamation, programName());
        return false;
    }
    const QString path = QFileInfo(copy.fileName()).absoluteFilePath();
    if (Platform::current().shellOpen(path) > 32) return true;
    MsgBox(QStringLiteral("Nessun elaboratore di testi ha potuto aprire il documento: sul computer non ne risulta installato uno "
                          "per i documenti di testo OpenDocument (.odt).\rUna copia del documento è stata scritta in \"") +
               QDir::toNativeSeparators(path) + QStringLiteral("\"; il documento resta aperto in questa finestra."),
           MsgButtons::OK, MsgIcon::Exclamation, programName());
    return false;
}

void DocumentWindow::printDocument()
{
    if (!doc_) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Stampa"));
    if (dialog.exec() == QDialog::Accepted) PageLayout::print(doc_->text(), &printer);
}

void DocumentWindow::previewDocument()
{
    if (!doc_) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PageLayout::print(doc_->text(), p); });
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
    view_->detach();
    if (doc_) doc_->close();
    event->accept();
}
