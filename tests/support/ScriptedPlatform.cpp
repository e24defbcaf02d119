#include "ScriptedPlatform.h"
#include "platform/MidiDevice.h"
#include "platform/QtPlatform.h"

void ScriptedMciDevice::command(const QString& cmd)
{
    commands << cmd;
    if (cmd == QLatin1String("open")) mode_ = fileExists ? Mode::Stopped : Mode::NotOpen;
    else if (cmd == QLatin1String("play") && mode_ != Mode::NotOpen) mode_ = Mode::Playing;
    else if (cmd == QLatin1String("pause") && mode_ == Mode::Playing) mode_ = Mode::Paused;
    else if (cmd == QLatin1String("close")) mode_ = Mode::NotOpen;
}

MsgAnswer ScriptedPlatform::messageBox(const MsgBoxRequest& request)
{
    boxes << request;
    if (request.buttons == MsgButtons::OK) return MsgAnswer::OK;
    if (answers.empty()) return request.buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel : MsgAnswer::No;
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QColor> ScriptedPlatform::chooseColor(const QColor& preset)
{
    colourPresets << preset;
    if (colours.empty()) return preset;
    auto c = colours.front();
    colours.pop_front();
    return c;
}

QString ScriptedPlatform::openFileName(const QString& title)
{
    fileDialogTitles << title;
    if (fileNames.empty()) return QString();
    const QString n = fileNames.front();
    fileNames.pop_front();
    return n;
}

int ScriptedPlatform::shellOpen(const QString& target)
{
    shellTargets << target;
    return shellResult;
}

std::unique_ptr<MciDevice> ScriptedPlatform::createMciDevice()
{
    if (realTuneDevice) return std::make_unique<MidiDevice>();
    auto d = std::make_unique<ScriptedMciDevice>();
    d->fileExists = tuneFileExists;
    devices << d.get();
    return d;
}

PlatformScope::PlatformScope()
{
    auto p = std::make_unique<ScriptedPlatform>();
    platform_ = p.get();
    previous_ = Platform::install(std::move(p));
}

PlatformScope::~PlatformScope() { Platform::install(std::move(previous_)); }

bool ScriptedPlatform::showDocument(QObject* document)
{
    if (!documentWindowsOpen) return false;
    shownDocuments << qobject_cast<WordDocument*>(document);
    if (!openRealDocumentWindows) return true;
    const DocumentHost& host = documentHost();
    return host && host(document);
}

Platform::SaveChoice ScriptedPlatform::saveFileName(const QString& title, const QString& suggested, const QStringList& filters)
{
    saveTitles << title;
    saveSuggestions << suggested;
    saveFilterLists << filters;
    SaveChoice c;
    if (saveNames.empty()) return c;
    c.fileName = saveNames.front();
    saveNames.pop_front();
    if (!saveFilters.empty()) {
        c.filter = saveFilters.front();
        saveFilters.pop_front();
    } else {
        const int byName = QtPlatform::filterFor(c.fileName, filters);
        c.filter = byName >= 0 ? byName : std::max(0, QtPlatform::filterFor(suggested, filters));
    }
    return c;
}

std::optional<QString> ScriptedPlatform::inputText(const QString& title, const QString& label, const QStringList& choices,
                                                   const QString& preset)
{
    inputTitles << title;
    inputChoices << choices;
    inputPresets << preset;
    if (inputs.empty()) return std::nullopt;
    std::optional<QString> answer = inputs.front();
    inputs.pop_front();
    return answer;
}
