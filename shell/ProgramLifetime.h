#pragma once
#include <QObject>

// Decides when a run of the program is over: when none of its windows is loaded and the user has
// closed every document. A run whose windows are all loaded but hidden is over too: with no window on
// screen and no document open, nothing could ever bring them back (a window closed from its frame or
// from the window manager can leave the program in that state), so they are unloaded.
class ProgramLifetime : public QObject {
    Q_OBJECT
public:
    ProgramLifetime();
    // The check the signals trigger, once control is back in the event loop.
    void check();

signals:
    void ended();

private:
    bool pending_ = false;
    void schedule();
};
