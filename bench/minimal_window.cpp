// The smallest Qt Widgets program that shows one empty window; it reports its first paint and leaves.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

class Probe : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
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
    Probe w;
    w.resize(586, 361);
    w.show();
    return app.exec();
}
