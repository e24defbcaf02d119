// Start-up: from process start to the first paint of the splash window, against a minimal Qt Widgets
// program showing one line of text, both started alternately in the same run. The same minimal program
// showing an empty window runs beside them: the difference between the two minimal programs is what
// the first text of any window costs (the font database), which the empty window never pays.
#include "BenchRow.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double timeToFirstPaint(const QString& exe, bool norvelia, const QStringList& args = {})
{
    QProcess p;
    p.setWorkingDirectory(QStringLiteral(RUN_DIR));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM"))) env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (norvelia) env.insert(QStringLiteral("NORVELIA_REPORT_FIRST_PAINT"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(exe, args);
    while (p.waitForReadyRead(10000)) {
        if (p.readAll().contains("first-paint")) break;
    }
    const double ms = double(t.nsecsElapsed()) / 1e6;
    p.waitForFinished(10000);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : (MinSeconds(1) < 1 ? 1 : 15);
    const QStringList text{QStringLiteral("--text")};
    std::vector<double> program, minimal, withText;
    timeToFirstPaint(QStringLiteral(NORVELIA_EXE), true);   // warm the caches of all three
    timeToFirstPaint(QStringLiteral(MINIMAL_EXE), false);
    timeToFirstPaint(QStringLiteral(MINIMAL_EXE), false, text);
    for (int i = 0; i < rounds; ++i) {
        program.push_back(timeToFirstPaint(QStringLiteral(NORVELIA_EXE), true));
        minimal.push_back(timeToFirstPaint(QStringLiteral(MINIMAL_EXE), false));
        withText.push_back(timeToFirstPaint(QStringLiteral(MINIMAL_EXE), false, text));
    }
    const double a = median(program), b = median(minimal), c = median(withText);
    std::printf("start-up to first paint of the splash: %.1f ms (median of %d)\n", a, rounds);
    std::printf("minimal window with one line of text:  %.1f ms\n", c);
    std::printf("ratio %.2f (target at most 1.25)%s\n", a / c, a / c <= 1.25 ? "" : "  ABOVE TARGET");
    std::printf("minimal empty window:                  %.1f ms (the window with text is %.2f of it; the splash %.2f)\n", b,
                c / b, a / b);
    PrintSummaryRow("start-up to the splash's first paint vs minimal window with one line of text", Milliseconds(a),
                    Milliseconds(c), a / c, 1.25);
    PrintSummaryRow("the same vs minimal empty window", Milliseconds(a), Milliseconds(b), a / b, 0);
    return 0;
}
