#pragma once
#include "platform/Controls.h"
#include "platform/Form.h"
#include <QPushButton>
#include <QStringList>

// The tip of the day: short tips read from a plain text file beside the program, one a line, shown one
// at a time, forwards with wrap-around and backwards without. "&Chiudi" only hides the window.
class frmTip : public Form {
    Q_OBJECT
public:
    frmTip();
    void Form_Load() override;
    void Form_KeyPress(int keyAscii) override;

    bool LoadTips(const QString& path);
    void DisplayCurrentTip();
    void cmdNextTip_Click();
    void cmdprecedente_Click();
    void cmdOK_Click();

    static QString TipFileName() { return QStringLiteral("SuggerimentiNorvelia.TXT"); }
    static QString MissingFileText();
    // The lines of the file: ended by CR, LF or CR LF; a last line without terminator counts; text in
    // the Windows Western code page.
    static QStringList SplitTips(const QByteArray& bytes);

    const QStringList& TipList() const { return tips_; }
    int TipIndex() const { return tipIndex_; }
    VLabel* lblTipText() const { return text_; }

private:
    void AdvanceTip();
    QStringList tips_;
    int tipIndex_ = 0;
    VLabel* text_;
};
