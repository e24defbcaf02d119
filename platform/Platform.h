#pragma once
#include <QColor>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QObject;

// The modal and outside-world pieces the windows lean on: message boxes, the colour and file dialogs,
// the shell, the tune device. Windows reach them only through Platform::current(), so that tests can
// install a scripted implementation; the program installs the Qt one at start.

enum class MsgButtons { OK, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Question, Exclamation };
enum class MsgAnswer { OK, Yes, No, Cancel };

struct MsgBoxRequest {
    QString text;   // lines may be separated by carriage returns, as the windows build them
    QString title;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    bool defaultSecond = false;   // the second button (No) is the default one
};

// A media device driven by string commands: "open", "play", "pause", "close".
class MciDevice {
public:
    enum class Mode { NotOpen, Stopped, Playing, Paused };
    virtual ~MciDevice() = default;
    virtual void setFileName(const QString& name) = 0;
    virtual void command(const QString& cmd) = 0;
    virtual Mode mode() const = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    virtual MsgAnswer messageBox(const MsgBoxRequest& request) = 0;
    // The colour the dialog reports; nothing when the dialog failed.
    virtual std::optional<QColor> chooseColor(const QColor& preset) = 0;
    // The chosen file name, or an empty text when the user cancelled.
    virtual QString openFileName(const QString& title) = 0;
    // Opens a web address or a document with its default handler; returns the shell's result code
    // (greater than 32 on success, as the shell reports it).
    virtual int shellOpen(const QString& target) = 0;
    virtual std::unique_ptr<MciDevice> createMciDevice() = 0;
    // Shows a document in a window of its own, visible and editable at once. False when no window
    // could be opened for it.
    virtual bool showDocument(QObject* document) = 0;
    // What the user chose in a save dialog: the file name as typed (empty when cancelled) and the
    // index of the chosen filter in the list offered.
    struct SaveChoice {
        QString fileName;
        int filter = 0;
    };
    // Filters read "Description (*.ext)"; the one matching the suggested name's extension is preset.
    virtual SaveChoice saveFileName(const QString& title, const QString& suggested, const QStringList& filters) = 0;
    // A short text the user types, or picks among `choices` offered in an editable drop-down, with
    // `preset` shown first. Nothing when the user cancelled (and on platforms that cannot ask).
    virtual std::optional<QString> inputText(const QString& title, const QString& label, const QStringList& choices,
                                             const QString& preset)
    {
        return std::nullopt;
    }

    static Platform& current();
    // Installs the implementation in use; returns the previous one.
    static std::unique_ptr<Platform> install(std::unique_ptr<Platform> platform);

    // The windows that show documents belong to a higher floor, which hands them to the platform
    // here; until it does, no document can be shown.
    using DocumentHost = std::function<bool(QObject* document)>;
    static void setDocumentHost(DocumentHost host);
    static const DocumentHost& documentHost();
};

// The message box call the windows use, in the runtime's argument order.
MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title, bool defaultSecond = false);
