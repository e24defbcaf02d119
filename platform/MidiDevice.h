#pragma once
#include "Platform.h"
#include <QByteArray>
#include <QObject>
#include <memory>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// The tune device: plays a MIDI file through FluidSynth with a General MIDI soundfont. Loading the
// soundfont and opening the audio output take time, so they happen on a worker thread of the device
// and the commands are queued to it in order; the window that owns the device never waits for sound.
// With no file, no soundfont or no audio output the device goes silent and behaves the same otherwise.
class MidiDevice : public MciDevice {
public:
    MidiDevice();
    ~MidiDevice() override;

    void setFileName(const QString& name) override { fileName_ = name; }
    void command(const QString& cmd) override;
    Mode mode() const override { return mode_; }

    // Where the soundfont is looked for: NORVELIA_SOUNDFONT, then Debian's General MIDI soundfonts.
    static QString soundFontPath();
    // Waits until the worker has carried out every queued command (for tests and for shutdown).
    void drain();
    // True when the last open reached a working synthesiser and audio output.
    bool audible() const;

private:
    enum class Op { Open, Play, Pause, Close, Quit };
    struct Request {
        Op op;
        QByteArray data;
    };
    struct Engine;
    void post(Request r);
    void run();
    void letEngineStart();

    QString fileName_;
    Mode mode_ = Mode::NotOpen;
    std::thread worker_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Request> queue_;
    bool busy_ = false;
    bool audible_ = false;
    bool engineMayStart_ = false;
    bool quitting_ = false;
    std::unique_ptr<QObject> watcher_;   // context of the connection that lets the engine start
};
