// Takes the screenshots the README and the AppStream data show, of the program's own windows on the
// offscreen platform, so that they always show the program as it is:
//   screenshots DIR [ARCHIVE TOPIC QUERY]
// writes DIR/splash.png (the opening window), DIR/menu.png (the archive menu), DIR/archivio.png (the
// archive window on the topic, second maxim), DIR/ricerca.png (the search window with the query typed
// and its first hit read whole under the list)
// and DIR/documento.png (the document of all the topic's maxims). By default: condominio, topic 7, and
// a query in words and a citation.
#include "archives/ArchiveWindow.h"
#include "platform/Forms.h"
#include "search/ricerca.h"
#include "shell/Application.h"
#include "shell/ModNorvelia.h"
#include "shell/Settings.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QThread>
#include <cstdio>

namespace {
// Lets the windows settle: queued layouts, resizes and paints.
void settle(int ms = 300)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
}

bool save(QWidget* w, const QDir& dir, const QString& name)
{
    if (!w) {
        std::fprintf(stderr, "screenshots: no window for %s\n", qPrintable(name));
        return false;
    }
    w->raise();
    settle();
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (!w->grab().save(path, "PNG")) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QWidget* documentWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("DocumentWindow") && w->isVisible()) return w;
    return nullptr;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Silent: a soundfont that is not there leaves the tune device quiet and changes nothing else.
    qputenv("NORVELIA_SOUNDFONT", "/nonexistent/none.sf2");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Norvelia"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 2 && argc != 5) {
        std::fprintf(stderr, "Uso: screenshots CARTELLA [ARCHIVIO ARGOMENTO RICERCA]\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const QString archive = argc == 5 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("condominio");
    const int topic = argc == 5 ? QByteArray(argv[3]).toInt() : 7;
    const QString query = argc == 5 ? QString::fromLocal8Bit(argv[4]) : QStringLiteral("revoca amministratore");
    if (!dir.mkpath(QStringLiteral("."))) return 1;
    // The windows as they first open, not as the user running the tool left them.
    QTemporaryDir settings;
    Settings::useFolder(settings.path());

    Norvelia::installItalianQtTexts();
    Norvelia::prepare();
    ModNorvelia::Start();
    Forms& forms = Forms::instance();
    bool ok = save(forms.find(QStringLiteral("frmSplash")), dir, QStringLiteral("splash"));

    ok = save(forms.show(QStringLiteral("scelta")), dir, QStringLiteral("menu")) && ok;

    auto* w = forms.show<ArchiveWindow>(archive);
    if (!w || topic < 1 || topic > w->List1()->count()) {
        std::fprintf(stderr, "screenshots: no topic %d in %s\n", topic, qPrintable(archive));
        return 2;
    }
    w->List1()->setCurrentRow(topic - 1);
    w->HScroll1()->setValue(2);
    ok = save(w, dir, QStringLiteral("archivio")) && ok;

    auto* r = forms.show<ricerca>(QStringLiteral("ricerca"));
    if (r) {
        r->resize(1000, 700);
        r->testo()->clear();
        r->testo()->insert(query);
    }
    ok = save(r, dir, QStringLiteral("ricerca")) && ok;

    forms.show(archive);
    w->HScroll1()->setValue(1);   // all the topic's maxims, from its first
    w->stampatutte_Click();
    QWidget* doc = documentWindow();
    if (doc) doc->resize(900, 680);
    ok = save(doc, dir, QStringLiteral("documento")) && ok;
    std::fflush(stdout);
    settings.remove();
    // The windows, the tune device and the documents need no orderly end here.
    std::_Exit(ok ? 0 : 1);
}
