#pragma once
#include "platform/Controls.h"
#include "platform/Form.h"
#include <QPushButton>

// The about window: product, edition, version and years. OK hides it; it stays loaded.
class informa : public Form {
    Q_OBJECT
public:
    informa();
    void Form_Load() override;
    void cmdOK_Click();
    // "edizione professionale - versione 2.05.05   2001- 2011"
    static QString EditionLine();
    int loadCount() const { return loads_; }

private:
    VLabel* label1_;
    VLabel* label2_;
    VLabel* label6_;
    int loads_ = 0;
};

// How to reach product support. OK hides it; it stays loaded.
class supportoclienti : public Form {
    Q_OBJECT
public:
    supportoclienti();
    void Command1_Click();
};
