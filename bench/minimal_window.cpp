// The smallest Qt Widgets program that shows one empty window; it reports its first paint and leaves.
// With "--text" the window shows one line of text instead: the same program plus what any window
// with text pays first (the font database and one font), to tell that cost apart from ours.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>

template <class Base>
class Probe : public Base {
protected:
    void paintEvent(QPaintEvent* e) override
    {
        Base::paintEvent(e);
        if (done_) return;
        done_ = true;
        std::printf("first-paint\n");
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    bool done_ = false;
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        Probe<QLabel> w;
        w.setText(QStringLiteral("software"));
        w.resize(586, 361);
        w.show();
        return app.exec();
    }
    Probe<QWidget> w;
    w.resize(586, 361);
    w.show();
    return app.exec();
}
