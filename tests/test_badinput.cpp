// Side files in every bad state, met through the windows as a user meets them: the program carries on,
// says what is wrong where it may, and loses nothing.
#include "Fixture.h"
#include "archives/ArchiveWindow.h"
#include "catalogue/prodotti.h"
#include "help/frmTip.h"
#include "help/sommario.h"
#include "platform/MidiDevice.h"
#include "shell/AppPaths.h"
#include "shell/frmSplash.h"
#include "shell/scelta.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "wordout/WordOut.h"
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextTable>
#include <QtTest>
#include <csignal>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}
QByteArray noise(int size, unsigned seed)
{
    std::mt19937 rng(seed);
    QByteArray b(size, '\0');
    for (char& c : b) c = char(rng() & 0xff);
    return b;
}
// Clicks a window's button by name; false when the window has no such button.
bool press(QWidget* window, const char* name)
{
    auto* b = window ? window->findChild<QPushButton*>(QLatin1String(name)) : nullptr;
    if (b) b->click();
    return b;
}
QByteArray shipped(const char* name)
{
    return readAll(qEnvironmentVariable("NORVELIA_SOURCE_DIR") + QStringLiteral("/resources/") + QLatin1String(name));
}
QByteArray listFile(int announced, int rows)
{
    QByteArray b = "\"2001\"," + QByteArray::number(announced) + "\r\n";
    for (int k = 1; k <= rows; ++k)
        b += "\"PROG" + QByteArray::number(k) + "\",\"argomento " + QByteArray::number(k) + "\"," + QByteArray::number(100 + k) +
             "," + QByteArray::number(90 + k) + "\r\n";
    return b;
}

// Writes beyond `bytes` fail for the life of the object, as on a full disk.
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit l = saved_;
        l.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};
} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFixture> fx;
    std::unique_ptr<QTemporaryDir> sandbox;
    QString startDir;

    QString inSandbox(const QString& name) const { return sandbox->filePath(name); }

    // The user starts the program and clicks the splash.
    scelta* startAndOpenMenu()
    {
        ModNorvelia::Start();
        auto* splash = Forms::instance().find<frmSplash>(QStringLiteral("frmSplash"));
        if (!splash) return nullptr;
        QTest::mouseClick(splash->client(), Qt::LeftButton, {}, QPoint(300, 370));
        return Forms::instance().find<scelta>(QStringLiteral("scelta"));
    }
    sommario* openHelpIndex(scelta* menu)
    {
        if (!press(menu, "guida")) return nullptr;
        return Forms::instance().find<sommario>(QStringLiteral("sommario"));
    }
    void closeDocuments()
    {
        for (WordApplication* a : WordApplication::instances()) delete a;
    }

private slots:
    void initTestCase() { startDir = QDir::currentPath(); }
    void init()
    {
        fx = std::make_unique<ProgramFixture>();
        sandbox = std::make_unique<QTemporaryDir>();
        // Side files are looked for in the current directory, the program's folder and the data folder:
        // all three are the test's own.
        QDir::setCurrent(sandbox->path());
        QDir().mkpath(inSandbox(QStringLiteral("programma")));
        QDir().mkpath(inSandbox(QStringLiteral("dati")));
        AppPaths::setApplicationFolder(inSandbox(QStringLiteral("programma")));
        qputenv("NORVELIA_DATA_DIR", QFile::encodeName(inSandbox(QStringLiteral("dati"))));
    }
    void cleanup()
    {
        closeDocuments();
        fx.reset();
        QDir::setCurrent(startDir);
        AppPaths::setApplicationFolder(QString());
        qunsetenv("NORVELIA_DATA_DIR");
        for (const char* v : {"NORVELIA_AUDIO_DRIVER", "NORVELIA_AUDIO_FILE", "NORVELIA_SOUNDFONT"}) qunsetenv(v);
        sandbox.reset();
    }

    void priceList_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rows");
        const QByteArray good = shipped("listino.txt");
        QTest::newRow("missing") << false << QByteArray() << 0;
        QTest::newRow("empty") << true << QByteArray() << 0;
        QTest::newRow("truncated in a row") << true << good.left(good.indexOf("\r\n", good.size() / 2) - 3) << -1;
        QTest::newRow("more than 100 products") << true << listFile(150, 150) << 100;
        QTest::newRow("count not a number") << true << QByteArray("\"2001\",dodici\r\n" + listFile(12, 12).mid(11)) << 0;
        QTest::newRow("price not a number") << true << QByteArray(listFile(12, 2) + "\"PROG3\",\"x\",cento,90\r\n") << 2;
        QTest::newRow("binary") << true << noise(4096, 7) << -1;
        QTest::newRow("binary after a good head") << true << QByteArray("\"2001\",12\r\n" + noise(2048, 8)) << -1;
    }
    void priceList()
    {
        QFETCH(bool, present);
        QFETCH(QByteArray, bytes);
        QFETCH(int, rows);
        const QString path = inSandbox(QStringLiteral("listino.txt"));
        if (present) write(path, bytes);

        scelta* menu = startAndOpenMenu();
        QVERIFY(menu && menu->isVisible());
        QVERIFY(fx->platform().boxes.isEmpty());   // the start is undisturbed
        sommario* index = openHelpIndex(menu);
        QVERIFY(index);
        QTest::mousePress(index->lbl(15), Qt::LeftButton);
        auto* list = Forms::instance().find<prodotti>(QStringLiteral("prodotti"));
        QVERIFY(list && list->isVisible());
        if (rows >= 0) QCOMPARE(list->RowCount(), rows);
        QVERIFY(list->RowCount() <= 100);
        // A clear message, once, in Italian, naming the file.
        QCOMPARE(fx->platform().boxes.size(), 1);
        QVERIFY(fx->platform().boxes[0].text.contains(QStringLiteral("listino")));
        QCOMPARE(fx->platform().boxes[0].title, prodotti::MessageTitle());

        // The window works with what it has: scrolling to the end and printing.
        list->VScroll1()->triggerAction(QAbstractSlider::SliderToMaximum);
        QVERIFY(press(list, "cmdstampa"));
        QVERIFY(WordOut::currentDoc());
        const QTextDocument* d = WordOut::currentDoc()->text();
        int tableRows = 0;
        for (QTextFrame* f : d->rootFrame()->childFrames())
            if (auto* t = qobject_cast<QTextTable*>(f)) tableRows = t->rows();
        QCOMPARE(tableRows, list->RowCount() + 1);
        // Closing and reopening tells nothing new; the file itself is never touched.
        QVERIFY(press(list, "cmdchiudi"));
        Forms::instance().show(QStringLiteral("prodotti"));
        QCOMPARE(fx->platform().boxes.size(), 1);
        QCOMPARE(QFileInfo::exists(path), present);
        if (present) QCOMPARE(readAll(path), bytes);
    }

    void tips_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("firstTips");
        QTest::newRow("missing") << false << QByteArray() << QStringList{frmTip::MissingFileText()};
        QTest::newRow("empty") << true << QByteArray() << QStringList{QString()};
        QTest::newRow("mixed line ends") << true << QByteArray("primo\r\nsecondo\nterzo\rquarto\r\n")
                                         << QStringList{"primo", "secondo", "terzo", "quarto", "primo"};
        QTest::newRow("binary") << true << noise(3000, 11) << QStringList();
        QByteArray huge;
        for (int i = 0; huge.size() < 40 * 1024 * 1024; ++i) huge += "suggerimento numero " + QByteArray::number(i) + "\r\n";
        QTest::newRow("very large") << true << huge << QStringList{"suggerimento numero 0", "suggerimento numero 1"};
        QTest::newRow("one endless line") << true << QByteArray(8 * 1024 * 1024, 'x') << QStringList();
    }
    void tips()
    {
        QFETCH(bool, present);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, firstTips);
        const QString path = inSandbox(QStringLiteral("programma/") + frmTip::TipFileName());
        if (present) write(path, bytes);

        scelta* menu = startAndOpenMenu();
        QVERIFY(menu);
        QTest::mousePress(openHelpIndex(menu)->lbl(13), Qt::LeftButton);
        auto* tip = Forms::instance().find<frmTip>(QStringLiteral("frmTip"));
        QVERIFY(tip && tip->isVisible());
        QVERIFY(fx->platform().boxes.isEmpty());
        // Tips are kept to a sensible size, however large the file.
        QVERIFY(tip->lblTipText()->caption().size() <= 1 << 20);
        QVERIFY(tip->TipList().size() <= 1 << 20);
        for (int i = 0; i < firstTips.size(); ++i) {
            QCOMPARE(tip->lblTipText()->caption(), firstTips[i]);
            QVERIFY(press(tip, "cmdNextTip"));
        }
        for (int i = 0; i < 5; ++i) QVERIFY(press(tip, "cmdprecedente"));
        QVERIFY(press(tip, "cmdOK"));
        if (present) QCOMPARE(readAll(path), bytes);
    }

    void tune_data()
    {
        QTest::addColumn<QByteArray>("file");   // empty: no file at all
        QTest::addColumn<QByteArray>("soundfont");
        QTest::addColumn<QByteArray>("driver");
        QTest::newRow("missing file") << QByteArray() << QByteArray() << QByteArray("file");
        QTest::newRow("corrupt file") << noise(600, 3) << QByteArray() << QByteArray("file");
        QTest::newRow("cut-off file") << shipped("Internet.mid").left(40) << QByteArray() << QByteArray("file");
        QTest::newRow("missing soundfont") << shipped("Internet.mid") << QByteArray("/nessun/suono.sf2") << QByteArray("file");
        QTest::newRow("no audio device") << shipped("Internet.mid") << QByteArray() << QByteArray("nessun-dispositivo");
    }
    void tune()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, soundfont);
        QFETCH(QByteArray, driver);
        if (!file.isEmpty()) write(inSandbox(QStringLiteral("Internet.mid")), file);
        fx->platform().realTuneDevice = true;
        qputenv("NORVELIA_AUDIO_DRIVER", driver);
        qputenv("NORVELIA_AUDIO_FILE", QFile::encodeName(inSandbox(QStringLiteral("suono.wav"))));
        if (!soundfont.isEmpty()) qputenv("NORVELIA_SOUNDFONT", soundfont);

        // The whole walk with the real device: start, menu, exit and farewell, a key to end.
        scelta* menu = startAndOpenMenu();
        QVERIFY(menu && menu->isVisible());
        fx->platform().answers.push_back(MsgAnswer::Yes);
        QVERIFY(press(menu, "cmdesci"));
        auto* splash = Forms::instance().find<frmSplash>(QStringLiteral("frmSplash"));
        QVERIFY(splash && splash->isVisible());
        auto* device = dynamic_cast<MidiDevice*>(splash->MMControl1()->device());
        QVERIFY(device);
        device->drain();
        if (file != shipped("Internet.mid") || !soundfont.isEmpty() || driver != "file") QVERIFY(!device->audible());
        QTest::keyClick(splash, Qt::Key_Escape);
        QCOMPARE(Forms::instance().loadedCount(), 0);
        QCOMPARE(fx->platform().boxes.size(), 1);   // only the exit question
    }

    void wholeGuideCannotBeSaved_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::newRow("no folder can be written") << false;
        QTest::newRow("full disk") << true;
    }
    void wholeGuideCannotBeSaved()
    {
        QFETCH(bool, fullDisk);
        const QString home = qEnvironmentVariable("HOME");
        QString earlier;
        if (fullDisk) {
            // An earlier guide is there and the user agrees to replace it; the disk fills up on the way.
            ModNorvelia::InitSharedState();
            earlier = inSandbox(QStringLiteral("programma/") + sommario::GuideFileName());
            write(earlier, "guida precedente");
            fx->platform().answers.push_back(MsgAnswer::Yes);
        } else {
            // Neither the program's folder nor the documents folder takes a file, not even for root.
            AppPaths::setApplicationFolder(QStringLiteral("/proc/self"));
            qputenv("HOME", "/proc/self");
        }
        scelta* menu = startAndOpenMenu();
        QVERIFY(menu);
        sommario* index = openHelpIndex(menu);
        {
            std::unique_ptr<FullDisk> limit;
            if (fullDisk) limit = std::make_unique<FullDisk>(1024);
            QVERIFY(press(index, "cmdstampa"));
        }
        qputenv("HOME", QFile::encodeName(home));
        const MsgBoxRequest& last = fx->platform().boxes.last();
        QVERIFY2(last.text.startsWith(QStringLiteral("Impossibile salvare la guida")), qPrintable(last.text));
        QVERIFY(last.text.contains(QStringLiteral("resta aperto")));
        // The document is still there for the user to save elsewhere, and the earlier file is intact.
        WordDocument* doc = WordOut::currentDoc();
        QVERIFY(doc);
        QVERIFY(doc->FullName().isEmpty());
        QVERIFY(doc->text()->toPlainText().contains(QStringLiteral("Guida: ")));
        if (fullDisk) {
            QCOMPARE(readAll(earlier), QByteArray("guida precedente"));
            QCOMPARE(QDir(inSandbox(QStringLiteral("programma"))).entryList(QDir::Files), QStringList{sommario::GuideFileName()});
            // With room again, the same document saves.
            QVERIFY(doc->SaveAs(earlier));
            QVERIFY(readAll(earlier).startsWith("{\\rtf1"));
        }
    }

    void deleteDialog_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("a folder") << "cartella";
        QTest::newRow("a file in a folder that forbids it") << "protetto";
        QTest::newRow("a file the system keeps") << "/proc/version";
        QTest::newRow("a file that vanished") << "svanito";
    }
    void deleteDialog()
    {
        QFETCH(QString, what);
        QString target = what;
        if (what == QLatin1String("cartella")) {
            target = inSandbox(QStringLiteral("cartella"));
            QDir().mkpath(target);
            write(target + QStringLiteral("/dentro.txt"), "resta");
        } else if (what == QLatin1String("protetto")) {
            if (geteuid() == 0) QSKIP("permissions do not bind the superuser; the system file case covers a refused delete");
            QDir().mkpath(inSandbox(QStringLiteral("protetta")));
            target = inSandbox(QStringLiteral("protetta/file.txt"));
            write(target, "resta");
            QFile::setPermissions(inSandbox(QStringLiteral("protetta")), QFile::ReadOwner | QFile::ExeOwner);
        } else if (what == QLatin1String("svanito")) {
            target = inSandbox(QStringLiteral("svanito.txt"));
        }
        const QByteArray before = QFileInfo(target).isFile() ? readAll(target) : QByteArray();

        scelta* menu = startAndOpenMenu();
        QVERIFY(menu);
        QTest::mouseClick(menu->Option1(2), Qt::LeftButton, {}, QPoint(8, menu->Option1(2)->height() / 2));
        auto* w = Forms::instance().find<ArchiveWindow>(QStringLiteral("urbanistica"));
        QVERIFY(w && w->isVisible());
        fx->platform().fileNames.push_back(target);
        w->toolbarButton(1)->trigger();
        // Nothing said, nothing removed, the window as it was.
        QCOMPARE(fx->platform().fileDialogTitles.size(), 1);
        QVERIFY(fx->platform().boxes.isEmpty());
        if (what == QLatin1String("cartella")) QCOMPARE(readAll(target + QStringLiteral("/dentro.txt")), QByteArray("resta"));
        else if (what != QLatin1String("svanito")) QCOMPARE(readAll(target), before);
        else QVERIFY(!QFileInfo::exists(target));
        QVERIFY(w->isVisible());
        if (what == QLatin1String("protetto"))
            QFile::setPermissions(inSandbox(QStringLiteral("protetta")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_MAIN(TestBadInput)
#include "test_badinput.moc"
