#pragma once
#include "clsResize.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include <QPushButton>
#include <array>
#include <memory>

// The archive menu, window 1 of the eight main windows: the seven archives with their counts and the
// total, and the archive the user picks.
class scelta : public Form {
    Q_OBJECT
public:
    scelta();
    ~scelta() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;
    void Form_MouseMove() override;

    void Option1_Click(int index);
    void option1_MouseMove(int index);
    void aiuto_Click();
    void guida_Click();
    void cmdesci_Click();
    void forum_Click();
    void trova_Click();
    void raccolte_Click();

    VOption* Option1(int index) const { return options_.at(std::size_t(index - 1)); }
    VLabel* countLabel(int n) const { return labels_.at(std::size_t(n - 1)); }   // Label1 .. Label7
    VLabel* num() const { return num_; }
    VStatusBar* StatusBar1() const { return status_; }
    clsResize* Resizer() const { return resizer_.get(); }

    static QString OptionHint(int index);
    static QString GeneralHint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int optionIndex(const QObject* o) const;   // 1 to 7, or 0 for anything else
    std::unique_ptr<clsResize> resizer_;
    std::array<VOption*, 7> options_{};
    std::array<VLabel*, 7> labels_{};
    VLabel* num_;
    VStatusBar* status_;
};
