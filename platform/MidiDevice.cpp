#include "MidiDevice.h"
#include "MidiFile.h"
#include <QFile>
#include <QFileInfo>
#include <alsa/asoundlib.h>
#include <cstdarg>
#include <fluidsynth.h>

namespace {
void silence(int, const char*, void*) {}

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card the synthesiser's audio back ends complain on stderr; the device is silent then
// by design, so the complaints are dropped.
void muteFluidLog()
{
    static const bool done = [] {
        snd_lib_error_set_handler(quietAlsa);
        for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) fluid_set_log_function(level, silence, nullptr);
        return true;
    }();
    (void)done;
}
} // namespace

struct MidiDevice::Engine {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    fluid_player_t* player = nullptr;

    bool start()
    {
        if (synth) return driver != nullptr;
        const QString sf = MidiDevice::soundFontPath();
        if (sf.isEmpty()) return false;
        settings = new_fluid_settings();
        if (!settings) return false;
        const QByteArray drv = qgetenv("NORVELIA_AUDIO_DRIVER");
        if (!drv.isEmpty()) fluid_settings_setstr(settings, "audio.driver", drv.constData());
        const QByteArray file = qgetenv("NORVELIA_AUDIO_FILE");
        if (!file.isEmpty()) fluid_settings_setstr(settings, "audio.file.name", file.constData());
        fluid_settings_setint(settings, "synth.reverb.active", 1);
        synth = new_fluid_synth(settings);
        if (!synth) return false;
        if (fluid_synth_sfload(synth, QFile::encodeName(sf).constData(), 1) == FLUID_FAILED) return false;
        driver = new_fluid_audio_driver(settings, synth);
        return driver != nullptr;
    }
    void openTune(const QByteArray& bytes)
    {
        closeTune();
        if (!driver) return;
        player = new_fluid_player(synth);
        if (!player) return;
        fluid_player_set_loop(player, 1);   // once
        if (fluid_player_add_mem(player, bytes.constData(), std::size_t(bytes.size())) != FLUID_OK) closeTune();
    }
    void play() { if (player) fluid_player_play(player); }
    void pause()
    {
        if (!player) return;
        fluid_player_stop(player);   // keeps the position; play resumes from it
        fluid_synth_all_notes_off(synth, -1);
    }
    void closeTune()
    {
        if (!player) return;
        fluid_player_stop(player);
        fluid_player_join(player);
        delete_fluid_player(player);
        player = nullptr;
        if (synth) fluid_synth_all_sounds_off(synth, -1);
    }
    ~Engine()
    {
        closeTune();
        if (driver) delete_fluid_audio_driver(driver);
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
};

MidiDevice::MidiDevice()
{
    muteFluidLog();
    worker_ = std::thread([this] { run(); });
}

MidiDevice::~MidiDevice()
{
    post({Op::Quit, {}});
    worker_.join();
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
            const bool ok = engine.start();
            if (ok) engine.openTune(r.data);
            std::lock_guard<std::mutex> lock(mutex_);
            audible_ = ok && engine.player;
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
