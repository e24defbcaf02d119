// The forms layer: default instances by name, load and unload, outer and inner sizes, controls; and
// the decoders of its pictures and of the side files' code page.
#include "Fixture.h"
#include "platform/Bitmap.h"
#include "platform/CodePage.h"
#include "platform/ControlProps.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Forms.h"
#include "platform/Twips.h"
#include <QBuffer>
#include <QLabel>
#include <QStringDecoder>
#include <QMenuBar>
#include <QSignalSpy>
#include <QtTest>

namespace {
struct Counts {
    int loads = 0, unloads = 0;
};

class Probe : public Form {
public:
    explicit Probe(Counts* c) : Form(QStringLiteral("sonda")), counts(c) {}
    void Form_Load() override
    {
        ++counts->loads;
        // A load may refer to its own window by name without loading it again.
        selfDuringLoad = Forms::instance().ref(QStringLiteral("sonda"));
    }
    void Form_Unload() override { ++counts->unloads; }
    Counts* counts;
    Form* selfDuringLoad = nullptr;
};
} // namespace

class TestForms : public QObject {
    Q_OBJECT
    Counts counts;

private slots:
    void initTestCase()
    {
        Forms::instance().define(QStringLiteral("sonda"), [this] { return new Probe(&counts); });
    }
    void init()
    {
        Forms::instance().unloadAll();
        FlushDeletes();
        counts = {};
    }

    void referringLoadsOnce()
    {
        Forms& f = Forms::instance();
        QVERIFY(!f.isLoaded(QStringLiteral("sonda")));
        QVERIFY(!f.find(QStringLiteral("sonda")));   // looking does not load
        auto* p = f.ref<Probe>(QStringLiteral("sonda"));
        QVERIFY(p);
        QCOMPARE(p->selfDuringLoad, p);
        QCOMPARE(f.ref(QStringLiteral("sonda")), p);
        QCOMPARE(counts.loads, 1);
        QVERIFY(!p->isVisible());   // loaded, not shown
        f.show(QStringLiteral("sonda"));
        QVERIFY(p->isVisible());
        f.hide(QStringLiteral("sonda"));
        QVERIFY(f.isLoaded(QStringLiteral("sonda")));
        QCOMPARE(counts.loads, 1);
    }

    void unloadFreesTheNameAndReloadRunsLoadAgain()
    {
        Forms& f = Forms::instance();
        QSignalSpy none(&f, &Forms::noneLoaded);
        f.unload(QStringLiteral("sonda"));   // not loaded: nothing happens
        QCOMPARE(counts.unloads, 0);
        QCOMPARE(none.count(), 0);
        Form* first = f.ref(QStringLiteral("sonda"));
        QPointer<Form> guard(first);
        f.unload(QStringLiteral("sonda"));
        QCOMPARE(counts.unloads, 1);
        QCOMPARE(none.count(), 1);
        QVERIFY(!f.isLoaded(QStringLiteral("sonda")));
        FlushDeletes();
        QVERIFY(guard.isNull());
        f.ref(QStringLiteral("sonda"));
        QCOMPARE(counts.loads, 2);
    }

    void closingFromTheFrameUnloads()
    {
        Forms& f = Forms::instance();
        f.show(QStringLiteral("sonda"))->close();
        QVERIFY(!f.isLoaded(QStringLiteral("sonda")));
        QCOMPARE(counts.unloads, 1);
    }

    void unknownNameIsNoWindow()
    {
        QTest::ignoreMessage(QtWarningMsg, "Forms: no window named nessuna");
        QVERIFY(!Forms::instance().ref(QStringLiteral("nessuna")));
    }

    void outerSizeGivesTheDesignInnerSize()
    {
        Form plain(QStringLiteral("a"));
        plain.setOuterHeight(6825);
        plain.setOuterWidth(9600);
        QCOMPARE(plain.innerWidth(), 9480.0);
        QCOMPARE(plain.innerHeight(), 6420.0);
        Form withMenu(QStringLiteral("b"));
        withMenu.menuBar()->addMenu(QStringLiteral("&File"));
        withMenu.setOuterHeight(6825);
        withMenu.setOuterWidth(9600);
        QCOMPARE(withMenu.innerWidth(), 9480.0);
        QCOMPARE(withMenu.innerHeight(), 6135.0);
        withMenu.show();   // once laid out by Qt, the client area keeps its size
        QCOMPARE(withMenu.innerHeight(), 6135.0);
        Form bare(QStringLiteral("c"));
        bare.setBorder(Form::Border::None);
        bare.setInnerSize(8790, 5415);
        QCOMPARE(bare.outerWidth(), 8790.0);
    }

    void controlsCollectionKeepsOrderAndGeometry()
    {
        Form f(QStringLiteral("d"));
        auto* a = f.place(new QLabel, QStringLiteral("a"), 480, 240, 3615, 375);
        auto* n = new NonVisualControl;
        f.registerControl(n, QStringLiteral("CommonDialog1"));
        auto* b = f.place(new QLabel, QStringLiteral("b"), 0, 0, 15, 15);
        QCOMPARE(f.controlCount(), 3);
        QCOMPARE(f.control(0), a);
        QCOMPARE(f.control(1), n);
        QCOMPARE(f.control(2), b);
        QVERIFY(!f.control(3));
        QCOMPARE(f.controlNamed(QStringLiteral("CommonDialog1")), n);
        QCOMPARE(a->parentWidget(), f.client());
        double v = 0;
        QCOMPARE(Props::read(n, Props::Geom::Left, v), int(Props::NotSupported));
        QCOMPARE(Props::read(a, Props::Geom::X1, v), int(Props::NotSupported));
        QCOMPARE(Props::write(a, Props::Geom::Width, 1000.4), int(Props::Ok));
        QCOMPARE(Props::read(a, Props::Geom::Width, v), int(Props::Ok));
        QCOMPARE(v, 1000.4);   // unrounded, as set
        QCOMPARE(a->width(), Twips::toPxX(480 + 1000.4) - Twips::toPxX(480));
        QCOMPARE(Props::write(a, Props::Geom::Height, -1), int(Props::InvalidCall));
    }

    void onlyOneWindowIsLockedAtATime()
    {
        Form a(QStringLiteral("a")), b(QStringLiteral("b"));
        a.lockDrawing();
        QVERIFY(!a.updatesEnabled());
        b.lockDrawing();
        QVERIFY(a.updatesEnabled());
        QCOMPARE(Form::lockedWindow(), &b);
        Form::unlockDrawing();
        QVERIFY(b.updatesEnabled());
        QVERIFY(!Form::lockedWindow());
    }

    // Our bitmap decoder and Qt's image reader must see the same picture.
    void bitmapsDecodeAsQtReadsThem()
    {
        QFile shipped(QStringLiteral(":/shell/norvelia.bmp"));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        const QByteArray bytes = shipped.readAll();
        const QImage ours = Bitmap::decode(bytes);
        QCOMPARE(ours.size(), QSize(215, 299));
        QCOMPARE(ours.convertToFormat(QImage::Format_RGB32), QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32));

        QImage colour(7, 5, QImage::Format_RGB32);   // an odd width: every row is padded
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) colour.setPixel(x, y, qRgb(30 * x, 50 * y, 7 * x * y));
        QByteArray saved;
        QBuffer buffer(&saved);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(colour.save(&buffer, "BMP"));
        QCOMPARE(quint8(saved[28]), quint8(24));
        QCOMPARE(Bitmap::decode(saved).convertToFormat(QImage::Format_RGB32), colour);

        // Rows stored top down, as a negative height says.
        QByteArray topDown = saved;
        const qint32 h = -5;
        std::memcpy(topDown.data() + 22, &h, 4);
        const QImage flipped = Bitmap::decode(topDown);
        QCOMPARE(flipped.size(), QSize(7, 5));
        QCOMPARE(flipped.convertToFormat(QImage::Format_RGB32), colour.mirrored(false, true));

        // Damage gives no picture rather than a wrong one.
        QVERIFY(Bitmap::decode(bytes.left(bytes.size() - 1)).isNull());
        QVERIFY(Bitmap::decode(bytes.left(30)).isNull());
        QByteArray compressed = bytes;
        compressed[30] = 1;   // run-length encoded
        QVERIFY(Bitmap::decode(compressed).isNull());
        QByteArray wide = bytes;
        wide[21] = char(0x7F);   // a width the pixels cannot hold
        QVERIFY(Bitmap::decode(wide).isNull());
        QByteArray colours = bytes;
        colours[46] = 1;
        colours[47] = 1;   // 257 palette entries
        QVERIFY(Bitmap::decode(colours).isNull());
        QVERIFY(Bitmap::load(QStringLiteral(":/nowhere.bmp")).isNull());
    }

    void windowsCodePageMatchesTheSystemConverter()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b) all.append(char(b));
        QCOMPARE(fromWindows1252(all), QStringDecoder("windows-1252").decode(all));
        QCOMPARE(fromWindows1252("perch\xE9 \x80 5 \x96 citt\xE0"), QStringLiteral(u"perché € 5 – città"));
        QVERIFY(fromWindows1252(QByteArrayView()).isEmpty());
    }
};

QTEST_MAIN(TestForms)
#include "test_forms.moc"
