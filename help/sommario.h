#pragma once
#include "platform/Controls.h"
#include "platform/Form.h"
#include "shell/clsResize.h"
#include <QPushButton>
#include <array>
#include <memory>

// The help index: fifteen entries that open the help pages, the tip of the day, the licence terms and
// the price list; it also prints and saves the whole guide.
class sommario : public Form {
    Q_OBJECT
public:
    sommario();
    ~sommario() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;
    void Form_MouseMove() override;

    void puls_Click(int index);
    void lbl_MouseMove(int index);
    void lbl_Mousedown(int index);
    void lbl_MouseUp(int index);
    void cmdStampa_Click();
    void cmdchiudi_Click();
    void cmduscita_Click();

    VLabel* lbl(int index) const { return labels_.at(std::size_t(index - 1)); }
    QPushButton* puls(int index) const { return buttons_.at(std::size_t(index - 1)); }
    // The window an entry opens.
    static QString EntryTarget(int index);
    static QString GuideFileName();
    // Where the whole guide is saved: the application folder, or the user's documents folder when the
    // application folder cannot be written to.
    static QString GuidePath();

private:
    void ClearHighlight();
    std::unique_ptr<clsResize> resizer_;
    std::array<VLabel*, 15> labels_{};
    std::array<QPushButton*, 15> buttons_{};
};
