// The files that make the program installable agree with the program and with one another: the version
// everywhere, the options of the manual page, the icons the generator draws, the screenshots the README
// and the AppStream data show.
#include "shell/CommandLine.h"
#include "shell/ModNorvelia.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {
QString sourceDir() { return qEnvironmentVariable("NORVELIA_SOURCE_DIR"); }
QString binaryDir() { return qEnvironmentVariable("NORVELIA_BINARY_DIR"); }
QString appId() { return QStringLiteral("example.velmoria.Norvelia"); }

QString readSource(const QString& relative)
{
    QFile f(QDir(sourceDir()).filePath(relative));
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(f.readAll());
}

QString firstMatch(const QString& text, const QString& pattern)
{
    return QRegularExpression(pattern, QRegularExpression::MultilineOption).match(text).captured(1);
}
} // namespace

class TestPackaging : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ModNorvelia::InitSharedState(); }

    void versionIsTheProgramsEverywhere_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("package") << QStringLiteral("packaging/Packaging.cmake") << QStringLiteral("NORVELIA_PACKAGE_VERSION \"([^\"]+)\"");
        QTest::newRow("AppStream release") << (QStringLiteral("packaging/") + appId() + QStringLiteral(".metainfo.xml"))
                                           << QStringLiteral("<release version=\"([^\"]+)\" date=\"2001-03-19\"");
        QTest::newRow("manual page") << QStringLiteral("packaging/norvelia.1") << QStringLiteral("^\\.TH NORVELIA 1 \"[^\"]+\" \"Norvelia ([^\"]+)\"");
        QTest::newRow("changelog") << QStringLiteral("packaging/changelog") << QStringLiteral("^norvelia \\(([^)]+)\\)");
    }
    void versionIsTheProgramsEverywhere()
    {
        QFETCH(QString, file);
        QFETCH(QString, pattern);
        const QString text = readSource(file);
        QVERIFY2(!text.isEmpty(), qPrintable(file));
        QCOMPARE(firstMatch(text, pattern), ModNorvelia::state().ProductVersion);
    }

    void manualPageDocumentsEveryOptionAndExitCode()
    {
        QString out, err;
        QCOMPARE(CommandLine::run({QStringLiteral("norvelia"), QStringLiteral("--help")}, out, err), 0);
        const QString page = readSource(QStringLiteral("packaging/norvelia.1"));
        QStringList options;
        for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("--([a-z]+(?:-[a-z]+)*)")).globalMatch(out)) options << m.captured(1);
        options.removeDuplicates();
        QCOMPARE(options.size(), 12);
        for (QString o : options) {
            o.replace(QLatin1Char('-'), QStringLiteral("\\-"));   // a hyphen in a manual page is written escaped
            QVERIFY2(page.contains(QStringLiteral(".B \\-\\-") + o) || page.contains(QStringLiteral(".BI \\-\\-") + o) ||
                         page.contains(QStringLiteral(".BR \\-\\-") + o),
                     qPrintable(o));
        }
        const QString codes = page.mid(page.indexOf(QStringLiteral(".SH \"CODICI DI USCITA\"")));
        QVERIFY(codes.contains(QStringLiteral(".B 0\n")));
        QVERIFY(codes.contains(QStringLiteral(".B 2\n")));
    }

    void menuEntryStartsTheInstalledProgramWithItsIcon()
    {
        const QString entry = readSource(QStringLiteral("packaging/") + appId() + QStringLiteral(".desktop"));
        QCOMPARE(firstMatch(entry, QStringLiteral("^Exec=(.*)$")), QStringLiteral("norvelia"));
        QCOMPARE(firstMatch(entry, QStringLiteral("^Icon=(.*)$")), appId());
        QCOMPARE(firstMatch(entry, QStringLiteral("^GenericName=(.*)$")), QStringLiteral("Massime di giurisprudenza edilizia"));
        QVERIFY(firstMatch(entry, QStringLiteral("^Categories=(.*)$")).split(QLatin1Char(';')).contains(QStringLiteral("Office")));
        const QString metainfo = readSource(QStringLiteral("packaging/") + appId() + QStringLiteral(".metainfo.xml"));
        QCOMPARE(firstMatch(metainfo, QStringLiteral("<launchable type=\"desktop-id\">([^<]+)<")), appId() + QStringLiteral(".desktop"));
        QCOMPARE(firstMatch(metainfo, QStringLiteral("<id>([^<]+)<")), appId());
    }

    void iconsAreDrawnAtEverySize()
    {
        QTemporaryDir dir;
        QCOMPARE(QProcess::execute(binaryDir() + QStringLiteral("/makeicon"), {dir.path(), appId(), QStringLiteral("48"), QStringLiteral("256")}), 0);
        for (int size : {48, 256}) {
            const QImage img(dir.filePath(QStringLiteral("%1/%2.png").arg(size).arg(appId())));
            QCOMPARE(img.size(), QSize(size, size));
            QVERIFY(img.hasAlphaChannel());
            QCOMPARE(qAlpha(img.pixel(0, 0)), 0);   // the rounded square leaves the corners clear
            QCOMPARE(qAlpha(img.pixel(size / 2, size / 2)), 255);
        }
        QFile svg(dir.filePath(appId() + QStringLiteral(".svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&svg);
        QVERIFY(xml.readNextStartElement());
        QCOMPARE(xml.name().toString(), QStringLiteral("svg"));
        QCOMPARE(xml.attributes().value(QStringLiteral("viewBox")).toString(), QStringLiteral("0 0 256 256"));
        int shapes = 0;
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("defs")) ++shapes;
            xml.skipCurrentElement();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(shapes > 20);
    }

    void screenshotsToolPaintsEveryWindow()
    {
        QTemporaryDir dir;
        QProcess tool;
        tool.start(binaryDir() + QStringLiteral("/screenshots"), {dir.path()});
        QVERIFY(tool.waitForFinished(120000));
        QCOMPARE(tool.exitCode(), 0);
        for (const QString& name : {QStringLiteral("splash"), QStringLiteral("menu"), QStringLiteral("archivio"), QStringLiteral("ricerca"),
                                    QStringLiteral("documento")}) {
            const QImage img(dir.filePath(name + QStringLiteral(".png")));
            QVERIFY2(img.width() > 300 && img.height() > 300, qPrintable(name));
            // A window grabbed before it painted comes out in one colour.
            QSet<QRgb> colours;
            for (int y = 0; y < img.height(); y += 3)
                for (int x = 0; x < img.width(); x += 3) colours.insert(img.pixel(x, y));
            QVERIFY2(colours.size() > 16, qPrintable(name));
        }
    }

    void screenshotsShownAreTheOnesTaken()
    {
        const QStringList taken = QDir(QDir(sourceDir()).filePath(QStringLiteral("docs/screenshots"))).entryList({QStringLiteral("*.png")});
        QCOMPARE(taken, (QStringList{QStringLiteral("archivio.png"), QStringLiteral("documento.png"), QStringLiteral("menu.png"),
                                     QStringLiteral("ricerca.png"), QStringLiteral("splash.png")}));
        const QString readme = readSource(QStringLiteral("README.md"));
        const QString metainfo = readSource(QStringLiteral("packaging/") + appId() + QStringLiteral(".metainfo.xml"));
        for (const QString& png : taken) {
            QVERIFY2(readme.contains(QStringLiteral("(docs/screenshots/") + png + QLatin1Char(')')), qPrintable(png));
            QVERIFY2(metainfo.contains(QStringLiteral("/schermate/") + png + QStringLiteral("</image>")), qPrintable(png));
        }
    }
};

QTEST_MAIN(TestPackaging)
#include "test_packaging.moc"
