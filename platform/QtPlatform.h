#pragma once
#include "Platform.h"

// The production platform: Qt's message box and dialogs, QDesktopServices for the shell, FluidSynth
// for the tune.
class QtPlatform : public Platform {
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

    // Shell targets as the windows write them ("mailto: name@host" keeps a blank after the colon).
    static QString normaliseTarget(const QString& target);
    // The filter ("Description (*.a *.b)") that lists the file name's extension; -1 when none does.
    static int filterFor(const QString& fileName, const QStringList& filters);
};
