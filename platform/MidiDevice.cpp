#include "MidiDevice.h"
#include "MidiFile.h"
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <alsa/asoundlib.h>
#include <cstdarg>
#include <dlfcn.h>
#include <fluidsynth.h>

namespace {
void silence(int, const char*, void*) {}

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

// The synthesiser library and its long tail of audio libraries are loaded only when a tune is first
// opened, on the device's worker: linked into the program, loading them would delay every start.
struct Fluid {
#define NORVELIA_FLUID_FUNCTIONS(X)                                                                          \
    X(new_fluid_settings) X(fluid_settings_setstr) X(fluid_settings_setint) X(new_fluid_synth)               \
    X(fluid_synth_sfload) X(new_fluid_audio_driver) X(new_fluid_player) X(fluid_player_set_loop)           \
    X(fluid_player_add_mem) X(fluid_player_play) X(fluid_player_stop) X(fluid_player_join)                 \
    X(delete_fluid_player) X(fluid_synth_all_notes_off) X(fluid_synth_all_sounds_off)                      \
    X(delete_fluid_audio_driver) X(delete_fluid_synth) X(delete_fluid_settings) X(fluid_set_log_function)
#define NORVELIA_FLUID_POINTER(name) decltype(&::name) name = nullptr;
    NORVELIA_FLUID_FUNCTIONS(NORVELIA_FLUID_POINTER)
#undef NORVELIA_FLUID_POINTER
    bool loaded = false;

    // Null when the library is not installed or lacks a function we use: the device is silent then.
    static const Fluid* get()
    {
        static const Fluid fluid = [] {
            Fluid f;
            void* lib = nullptr;
            for (const char* name : {"libfluidsynth.so.3", "libfluidsynth.so.2", "libfluidsynth.so"})
                if ((lib = dlopen(name, RTLD_NOW | RTLD_LOCAL))) break;
            if (!lib) return f;
            bool all = true;
#define NORVELIA_FLUID_LOAD(name)                                                                             \
    f.name = reinterpret_cast<decltype(f.name)>(dlsym(lib, #name));                                          \
    all = all && f.name;
            NORVELIA_FLUID_FUNCTIONS(NORVELIA_FLUID_LOAD)
#undef NORVELIA_FLUID_LOAD
            if (!all) return f;
            // Without a sound card the audio back ends complain on stderr; the device is silent then by
            // design, so the complaints are dropped.
            if (void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD)) {
                using SetHandler = int (*)(snd_lib_error_handler_t);
                if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(quietAlsa);
            }
            for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) f.fluid_set_log_function(level, silence, nullptr);
            f.loaded = true;
            return f;
        }();
        return fluid.loaded ? &fluid : nullptr;
    }
#undef NORVELIA_FLUID_FUNCTIONS
};
} // namespace

struct MidiDevice::Engine {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    fluid_player_t* player = nullptr;
    const Fluid* f = nullptr;

    bool tried = false;

    // The synthesiser and its soundfont are made once and kept for every later tune; a failure is not
    // tried again.
    bool start()
    {
        if (synth) return true;
        if (tried) return false;
        tried = true;
        const QString sf = MidiDevice::soundFontPath();
        if (sf.isEmpty()) return false;
        if (!f && !(f = Fluid::get())) return false;
        settings = f->new_fluid_settings();
        if (!settings) return false;
        const QByteArray drv = qgetenv("NORVELIA_AUDIO_DRIVER");
        if (!drv.isEmpty()) f->fluid_settings_setstr(settings, "audio.driver", drv.constData());
        const QByteArray file = qgetenv("NORVELIA_AUDIO_FILE");
        if (!file.isEmpty()) f->fluid_settings_setstr(settings, "audio.file.name", file.constData());
        f->fluid_settings_setint(settings, "synth.reverb.active", 1);
        synth = f->new_fluid_synth(settings);
        if (!synth) return false;
        if (f->fluid_synth_sfload(synth, QFile::encodeName(sf).constData(), 1) == FLUID_FAILED) {
            f->delete_fluid_synth(synth);
            synth = nullptr;
            return false;
        }
        return true;
    }
    // Each tune has an audio output of its own. The player hooks a timer into the synthesiser that the
    // output's rendering thread calls, and the library does not guard that timer against the player
    // being deleted while rendering runs: a player is therefore made before its output and deleted
    // only after the output has been stopped.
    void openTune(const QByteArray& bytes)
    {
        closeTune();
        if (!synth) return;
        player = f->new_fluid_player(synth);
        if (!player) return;
        f->fluid_player_set_loop(player, 1);   // once
        if (f->fluid_player_add_mem(player, bytes.constData(), std::size_t(bytes.size())) == FLUID_OK)
            driver = f->new_fluid_audio_driver(settings, synth);
        if (!driver) closeTune();
    }
    void play() { if (player) f->fluid_player_play(player); }
    void pause()
    {
        if (!player) return;
        f->fluid_player_stop(player);   // keeps the position; play resumes from it
        f->fluid_synth_all_notes_off(synth, -1);
    }
    void closeTune()
    {
        if (player) {
            f->fluid_player_stop(player);
            f->fluid_player_join(player);
        }
        if (driver) f->delete_fluid_audio_driver(driver);
        driver = nullptr;
        if (player) f->delete_fluid_player(player);
        player = nullptr;
        if (synth) f->fluid_synth_all_sounds_off(synth, -1);
    }
    ~Engine()
    {
        closeTune();
        if (synth) f->delete_fluid_synth(synth);
        if (settings) f->delete_fluid_settings(settings);
    }
};

namespace {
// Tells when the engine may start: once a window has been painted, or when none is on screen to be
// painted, and the event loop then has nothing left to do. The event loop idles before the first
// window is painted too (the display's expose has still to come), and the synthesiser's loading
// (its library with its dependencies, the soundfont) taken there competed with that first paint.
class EngineGate : public QObject {
public:
    explicit EngineGate(std::function<void()> open) : open_(std::move(open))
    {
        // A program without widgets has no window to wait for.
        painted_ = !qobject_cast<QApplication*>(QCoreApplication::instance());
        if (!painted_) qApp->installEventFilter(this);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, &EngineGate::idle);
    }

    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            painted_ = true;
            qApp->removeEventFilter(this);
        }
        return false;
    }

private:
    void idle()
    {
        if (!painted_) {
            const QWidgetList tops = QApplication::topLevelWidgets();
            if (std::any_of(tops.begin(), tops.end(), [](const QWidget* w) { return w->isVisible(); })) return;
        }
        disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
        qApp->removeEventFilter(this);
        open_();
    }

    std::function<void()> open_;
    bool painted_ = false;
};
} // namespace

MidiDevice::MidiDevice()
{
    // Loading the soundfont is heavy (memory, the synthesiser's own threads, and its library): it waits
    // until the first window has been drawn and the event loop has nothing left to do, so that the
    // first window does not wait for the sound. Without an event loop it starts at once.
    auto* dispatcher = QCoreApplication::instance() ? QAbstractEventDispatcher::instance() : nullptr;
    if (dispatcher) watcher_ = std::make_unique<EngineGate>([this] { letEngineStart(); });
    else engineMayStart_ = true;
    worker_ = std::thread([this] { run(); });
}

MidiDevice::~MidiDevice()
{
    watcher_.reset();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quitting_ = true;   // a tune not started yet is not worth loading the soundfont for
    }
    letEngineStart();
    post({Op::Quit, {}});
    worker_.join();
}

void MidiDevice::letEngineStart()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        engineMayStart_ = true;
    }
    cv_.notify_all();
}

QString MidiDevice::soundFontPath()
{
    const QString env = qEnvironmentVariable("NORVELIA_SOUNDFONT");
    if (!env.isEmpty()) return QFileInfo::exists(env) ? env : QString();
    for (const char* c : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                          "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3"}) {
        if (QFileInfo::exists(QString::fromLatin1(c))) return QString::fromLatin1(c);
    }
    return QString();
}

void MidiDevice::command(const QString& cmd)
{
    const QString c = cmd.trimmed().toLower();
    if (c == QLatin1String("open")) {
        if (mode_ != Mode::NotOpen) return;
        QFile f(fileName_);
        if (fileName_.isEmpty() || !f.open(QIODevice::ReadOnly)) return;
        const QByteArray bytes = f.read(4 * 1024 * 1024);
        if (!MidiFile::parse(bytes)) return;
        mode_ = Mode::Stopped;
        post({Op::Open, bytes});
    } else if (c == QLatin1String("play")) {
        if (mode_ == Mode::NotOpen || mode_ == Mode::Playing) return;
        mode_ = Mode::Playing;
        post({Op::Play, {}});
    } else if (c == QLatin1String("pause")) {
        if (mode_ != Mode::Playing) return;
        mode_ = Mode::Paused;
        post({Op::Pause, {}});
    } else if (c == QLatin1String("close")) {
        if (mode_ == Mode::NotOpen) return;
        mode_ = Mode::NotOpen;
        post({Op::Close, {}});
    }
}

void MidiDevice::post(Request r)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(r));
    }
    cv_.notify_all();
}

void MidiDevice::drain()
{
    letEngineStart();   // whoever waits for the device wants its work done now
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

bool MidiDevice::audible() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return audible_;
}

void MidiDevice::run()
{
    Engine engine;
    for (;;) {
        Request r;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            cv_.wait(lock, [this] { return !queue_.empty(); });
            r = std::move(queue_.front());
            queue_.pop_front();
            busy_ = true;
        }
        switch (r.op) {
        case Op::Open: {
            {
                // A program that never lets its event loop idle still gets its tune, a moment later.
                std::unique_lock<std::mutex> lock(mutex_);
                cv_.wait_for(lock, std::chrono::seconds(1), [this] { return engineMayStart_; });
                if (quitting_) break;
            }
            const bool ok = engine.start();
            if (ok) engine.openTune(r.data);
            std::lock_guard<std::mutex> lock(mutex_);
            audible_ = ok && engine.player;   // a player only ever exists with its output
            break;
        }
        case Op::Play: engine.play(); break;
        case Op::Pause: engine.pause(); break;
        case Op::Close: engine.closeTune(); break;
        case Op::Quit: break;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            busy_ = false;
        }
        cv_.notify_all();
        if (r.op == Op::Quit) return;
    }
}
