#include "Application.h"
#include "CommandLine.h"
#include "FormCatalog.h"
#include "ModNorvelia.h"
#include "ProgramLifetime.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLibraryInfo>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <cstdio>

namespace {
// For the start-up benchmark: reports the time from process start to the first paint of the splash
// and leaves at once. Active only when NORVELIA_REPORT_FIRST_PAINT is set.
class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* w = qobject_cast<QWidget*>(o);
        if (e->type() == QEvent::Paint && w && w->window()->objectName() == QLatin1String("frmSplash")) {
            std::printf("first-paint\n");
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            qApp->removeEventFilter(this);
        }
        return false;
    }
};
} // namespace

namespace Norvelia {

bool installItalianQtTexts()
{
    static QPointer<QTranslator> installed;
    if (installed) return true;
    auto* t = new QTranslator(qApp);
    if (!t->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    installed = t;
    return true;
}

void prepare()
{
    Fonts::install();
    DefineAllForms();
}

int run(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (CommandLine::wanted(arguments)) {
        // No window, tune or display: a script may run this on a machine without either.
        QString out, err;
        const int code = CommandLine::run(arguments, out, err);
        const QByteArray o = out.toUtf8(), e = err.toUtf8();
        std::fwrite(o.constData(), 1, std::size_t(o.size()), stdout);
        std::fwrite(e.constData(), 1, std::size_t(e.size()), stderr);
        return code;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Norvelia"));
    // The program ends when no window is loaded, not when the last visible one closes: hidden windows
    // stay loaded on purpose.
    QApplication::setQuitOnLastWindowClosed(false);
    // Before any window is built: Qt's own texts in the dialogs and menus are Italian like the program's.
    installItalianQtTexts();
    FirstPaintProbe probe;
    if (qEnvironmentVariableIsSet("NORVELIA_REPORT_FIRST_PAINT")) app.installEventFilter(&probe);
    prepare();
    ProgramLifetime lifetime;
    QObject::connect(&lifetime, &ProgramLifetime::ended, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    ModNorvelia::Start();
    return app.exec();
}

} // namespace Norvelia
