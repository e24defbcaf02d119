// The resize engine: capture, tags, lines, tolerated failures, minimised windows, sizing to the screen.
#include "platform/ControlProps.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Twips.h"
#include "shell/clsResize.h"
#include <QLabel>
#include <QtTest>
#include <map>

namespace {
// A control whose properties fail as the test says: error numbers per property, for reads or writes.
class FaultyControl : public QObject, public Props::GeometryHooks {
public:
    std::map<Props::Geom, int> readErrors, writeErrors;
    std::map<Props::Geom, double> values{{Props::Geom::Left, 100}, {Props::Geom::Top, 200},
                                         {Props::Geom::Width, 300}, {Props::Geom::Height, 400}};
    std::vector<Props::Geom> writes;
    int readGeom(Props::Geom g, double& out) const override
    {
        if (auto it = readErrors.find(g); it != readErrors.end()) return it->second;
        out = values.at(g);
        return Props::Ok;
    }
    int writeGeom(Props::Geom g, double v) override
    {
        writes.push_back(g);
        if (auto it = writeErrors.find(g); it != writeErrors.end()) return it->second;
        values[g] = v;
        return Props::Ok;
    }
};

class Window : public Form {
public:
    Window() : Form(QStringLiteral("prova")) { setInnerSize(4800, 3600); }
    void Form_Resize() override { if (resizer) resizer->ResizeControls(); }
    clsResize* resizer = nullptr;
};

double prop(QObject* c, Props::Geom g)
{
    double v = -1;
    Props::read(c, g, v);
    return v;
}

using G = Props::Geom;
} // namespace

class TestResize : public QObject {
    Q_OBJECT
private slots:
    void firstCallOnlyRecords()
    {
        Window w;
        auto* a = w.place(new QLabel, QStringLiteral("a"), 480, 240, 3615, 375);
        clsResize r;
        r.setSourceForm(&w);
        QVERIFY(r.NeedsCapture());
        w.setInnerSize(9600, 7200);   // no resizer attached to the handler yet
        r.ResizeControls();
        QVERIFY(!r.NeedsCapture());
        QCOMPARE(r.CapturedWidth(), 9600);
        QCOMPARE(r.CapturedHeight(), 7200);
        QCOMPARE(prop(a, G::Left), 480.0);
        QCOMPARE(prop(a, G::Width), 3615.0);
        QCOMPARE(r.Layouts().size(), std::size_t(1));
        QCOMPARE(r.Layouts()[0].top, 240);
    }

    void scalesFromTheOneCapture()
    {
        Window w;
        auto* a = w.place(new QLabel, QStringLiteral("a"), 480, 240, 3615, 375);
        clsResize r;
        r.setSourceForm(&w);
        w.resizer = &r;
        r.ResizeControls();
        w.setInnerSize(9600, 3600);   // the width doubles, the height stays
        QCOMPARE(prop(a, G::Left), 960.0);
        QCOMPARE(prop(a, G::Width), 7230.0);
        QCOMPARE(prop(a, G::Top), 240.0);
        QCOMPARE(prop(a, G::Height), 375.0);
        // Back and forth many times: the values are always recomputed from the design ones.
        for (int i = 0; i < 7; ++i) w.setInnerSize(4800 + 135 * i, 3600 + 45 * i);
        w.setInnerSize(4800, 7200);
        QCOMPARE(prop(a, G::Left), 480.0);
        QCOMPARE(prop(a, G::Top), 480.0);
        QCOMPARE(prop(a, G::Height), 750.0);
    }

    void tagsSelectWhatScales()
    {
        const auto s = clsResize::ScalingFor(QStringLiteral("@l,t"));
        QVERIFY(s.left && s.top && !s.width && !s.height);
        const auto none = clsResize::ScalingFor(QStringLiteral("@"));
        QVERIFY(!none.left && !none.top && !none.width && !none.height);
        const auto all = clsResize::ScalingFor(QStringLiteral("nota"));   // no "@": all four
        QVERIFY(all.left && all.top && all.width && all.height);
        const auto wh = clsResize::ScalingFor(QStringLiteral("@ height and width"));
        QVERIFY(wh.width && wh.height && !wh.left);   // the letters count anywhere

        Window w;
        auto* fixed = w.place(new QLabel, QStringLiteral("fisso"), 480, 240, 1000, 300);
        Props::setTag(fixed, QStringLiteral("@"));
        auto* moved = w.place(new QLabel, QStringLiteral("mosso"), 480, 240, 1000, 300);
        Props::setTag(moved, QStringLiteral("@l,t"));
        clsResize r;
        r.setSourceForm(&w);
        w.resizer = &r;
        r.ResizeControls();
        w.setInnerSize(9600, 7200);
        QCOMPARE(prop(fixed, G::Left), 480.0);
        QCOMPARE(prop(fixed, G::Width), 1000.0);
        QCOMPARE(prop(moved, G::Left), 960.0);
        QCOMPARE(prop(moved, G::Top), 480.0);
        QCOMPARE(prop(moved, G::Width), 1000.0);
        QCOMPARE(prop(moved, G::Height), 300.0);
    }

    void linesScaleTheirEndPoints()
    {
        Window w;
        auto* line = new VLine;
        w.registerControl(line, QStringLiteral("Line1"));
        line->setPoints(100, 200, 1100, 200);
        clsResize r;
        r.setSourceForm(&w);
        w.resizer = &r;
        r.ResizeControls();
        QCOMPARE(r.Layouts()[0].width, 1100);   // X2 recorded in the width place
        w.setInnerSize(7200, 4800);   // width grows by half, height by a third
        QCOMPARE(line->x1(), 150.0);
        QCOMPARE(line->x2(), 1650.0);
        QCOMPARE(line->y1(), 200.0 * 4800 / 3600);
        QCOMPARE(line->y2(), 200.0 * 4800 / 3600);
    }

    void toleratedFailuresSkipOneStatement()
    {
        Window w;
        auto* c = new FaultyControl;
        w.registerControl(c, QStringLiteral("f"));
        c->writeErrors = {{G::Left, Props::ReadOnly}, {G::Top, Props::CannotSet}, {G::Width, Props::NotSupported}};
        auto* other = new FaultyControl;
        w.registerControl(other, QStringLiteral("g"));
        other->writeErrors = {{G::Top, Props::InvalidCall}};   // any other failure abandons the control
        auto* last = w.place(new QLabel, QStringLiteral("ultimo"), 480, 240, 1000, 300);
        clsResize r;
        r.setSourceForm(&w);
        w.resizer = &r;
        r.ResizeControls();
        w.setInnerSize(9600, 7200);
        QCOMPARE(c->values[G::Height], 800.0);   // the fourth statement still ran
        QCOMPARE(other->values[G::Left], 200.0);
        QCOMPARE(other->writes.back(), G::Top);   // nothing after the failing statement
        QCOMPARE(other->values[G::Height], 400.0);
        QCOMPARE(prop(last, G::Left), 960.0);     // the next control is scaled
        QVERIFY(!Form::lockedWindow());           // drawing is never left locked
    }

    void captureFailuresLeaveZero()
    {
        Window w;
        auto* c = new FaultyControl;
        c->readErrors = {{G::Top, Props::NotReadableAtRunTime}, {G::Height, Props::InvalidCall}};
        w.registerControl(c, QStringLiteral("f"));
        auto* menu = new NonVisualControl;   // a control with no position at all
        w.registerControl(menu, QStringLiteral("menu"));
        clsResize r;
        r.setSourceForm(&w);
        r.ReInitialise();
        QCOMPARE(r.Layouts().size(), std::size_t(2));
        QCOMPARE(r.Layouts()[0].left, 100);
        QCOMPARE(r.Layouts()[0].top, 0);
        QCOMPARE(r.Layouts()[0].width, 300);
        QCOMPARE(r.Layouts()[0].height, 0);
        QCOMPARE(r.Layouts()[1].left, 0);
        w.resizer = &r;
        w.setInnerSize(9600, 7200);   // the menu entry is passed over without complaint
        QCOMPARE(c->values[G::Left], 200.0);
    }

    void roundingIsToEven()
    {
        QCOMPARE(clsResize::RoundTwips(2.5), 2);
        QCOMPARE(clsResize::RoundTwips(3.5), 4);
        QCOMPARE(clsResize::RoundTwips(-2.5), -2);
        QCOMPARE(clsResize::RoundTwips(1e12), std::numeric_limits<std::int32_t>::max());
        QCOMPARE(clsResize::RoundTwips(std::nan("")), 0);
    }

    void minimisedWindowIsLeftAlone()
    {
        Window w;
        auto* a = w.place(new QLabel, QStringLiteral("a"), 480, 240, 1000, 300);
        clsResize r;
        r.setSourceForm(&w);
        w.resizer = &r;
        r.ResizeControls();
        w.show();
        w.setWindowState(Qt::WindowMinimized);
        QVERIFY(w.isMinimized());
        w.setInnerSize(9600, 7200);
        QCOMPARE(prop(a, G::Left), 480.0);
        w.setWindowState(Qt::WindowNoState);   // restoring rescales
        QCOMPARE(prop(a, G::Left), 960.0);
        QCOMPARE(prop(a, G::Height), 600.0);
    }

    void zeroCapturedSizeRecapturesInsteadOfScaling()
    {
        Window w;
        auto* a = w.place(new QLabel, QStringLiteral("a"), 480, 240, 1000, 300);
        w.setInnerSize(0, 3600);
        clsResize r;
        r.setSourceForm(&w);
        r.ResizeControls();
        QCOMPARE(r.CapturedWidth(), 0);
        w.resizer = &r;
        w.setInnerSize(4800, 3600);   // no ratio from a zero basis: records again
        QCOMPARE(r.CapturedWidth(), 4800);
        QCOMPARE(prop(a, G::Left), 480.0);
        w.setInnerSize(9600, 3600);
        QCOMPARE(prop(a, G::Left), 960.0);
    }

    void windowWithoutControls()
    {
        Window w;
        clsResize r;
        r.setSourceForm(&w);
        r.ResizeControls();
        QVERIFY(r.NeedsCapture());   // nothing to do: returns before capturing
        r.ReInitialise();
        QVERIFY(!r.NeedsCapture());
        QVERIFY(r.Layouts().empty());
        clsResize none;
        none.ResizeControls();       // no window at all
        none.SizeFormToScreen(75);
    }

    void sizeFormToScreen()
    {
        Window w;
        auto* a = w.place(new QLabel, QStringLiteral("a"), 480, 240, 1000, 300);
        clsResize r;
        r.setSourceForm(&w);
        w.resizer = &r;
        r.SizeFormToScreen(75);
        const double sh = Twips::screenHeight(), sw = Twips::screenWidth();
        const double h = std::floor(0.75 * sh), wd = std::floor(0.75 * sw);
        QCOMPARE(r.CapturedWidth(), 4800);   // the design layout was recorded before the change
        QVERIFY(qAbs(w.outerHeight() - h) <= Twips::perPixelY());
        QVERIFY(qAbs(w.outerWidth() - wd) <= Twips::perPixelX());
        QVERIFY(qAbs(w.topTw() - (sh - h) / 2) <= Twips::perPixelY());
        QVERIFY(qAbs(w.leftTw() - (sw - wd) / 2) <= Twips::perPixelX());
        QVERIFY(qAbs(prop(a, G::Left) - 480 * w.innerWidth() / 4800) < 1e-6);
    }
};

QTEST_MAIN(TestResize)
#include "test_resize.moc"
