#pragma once
#include "platform/Platform.h"
#include <QColor>
#include <QList>
#include <QPointer>
#include "wordout/WordDocument.h"
#include <QStringList>
#include <deque>
#include <optional>

// A platform for tests: message boxes answer from a script and are recorded, dialogs return scripted
// values, the shell records its targets, and the tune device records its commands.
class ScriptedMciDevice : public MciDevice {
public:
    void setFileName(const QString& n) override { fileName = n; }
    void command(const QString& cmd) override;
    Mode mode() const override { return mode_; }
    QString fileName;
    QStringList commands;
    bool fileExists = true;   // an open of a missing file leaves the device not open

private:
    Mode mode_ = Mode::NotOpen;
};

class ScriptedPlatform : public Platform {
public:
    MsgAnswer messageBox(const MsgBoxRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& preset) override;
    QString openFileName(const QString& title) override;
    int shellOpen(const QString& target) override;
    std::unique_ptr<MciDevice> createMciDevice() override;
    bool showDocument(QObject* document) override;
    SaveChoice saveFileName(const QString& title, const QString& suggested, const QStringList& filters) override;
    std::optional<QString> inputText(const QString& title, const QString& label, const QStringList& choices,
                                     const QString& preset) override;

    // Answers for the next message boxes with Yes/No buttons; when none is left, No.
    std::deque<MsgAnswer> answers;
    QList<MsgBoxRequest> boxes;
    std::deque<std::optional<QColor>> colours;   // when none is left, the preset
    QList<QColor> colourPresets;
    std::deque<QString> fileNames;
    QStringList fileDialogTitles;
    QStringList shellTargets;
    int shellResult = 42;   // what the shell answers: 32 or less when nothing could open the target
    QList<ScriptedMciDevice*> devices;   // owned by their controls; valid while those live
    bool tuneFileExists = true;
    bool realTuneDevice = false;   // true: the synthesiser the program plays its tune with
    QList<QPointer<WordDocument>> shownDocuments;
    bool documentWindowsOpen = true;   // false: the host cannot open a window
    bool openRealDocumentWindows = false;   // true: documents open in real document windows, by the host
    std::deque<QString> saveNames;
    // The filter chosen with each name; when none is left, the one listing the name's extension, else
    // the preset one.
    std::deque<int> saveFilters;
    QStringList saveTitles;
    QList<QStringList> saveFilterLists;
    QStringList saveSuggestions;
    // Answers for the next text inputs; when none is left, the input is cancelled.
    std::deque<std::optional<QString>> inputs;
    QStringList inputTitles;
    QList<QStringList> inputChoices;
    QStringList inputPresets;
};

// Installs a fresh scripted platform for the life of the object and restores the previous one.
class PlatformScope {
public:
    PlatformScope();
    ~PlatformScope();
    ScriptedPlatform& operator*() { return *platform_; }
    ScriptedPlatform* operator->() { return platform_; }

private:
    ScriptedPlatform* platform_;
    std::unique_ptr<Platform> previous_;
};
