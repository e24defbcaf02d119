#pragma once
#include "MMControl.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include <map>

// The first window: the product on a black, yellow-framed panel while the tune plays. A click opens
// the archive menu, a key press ends the program; after the exit confirmation it is the farewell screen.
class frmSplash : public Form {
    Q_OBJECT
public:
    static QString HowToGoOn()
    {
        return QStringLiteral("Fare clic sulla finestra per iniziare; premere un tasto per uscire.");
    }
    frmSplash();
    void Form_Load() override;
    void Form_Click() override;
    bool clickGoesOn() const override { return true; }
    void Form_KeyPress(int keyAscii) override;

    VLabel* label(int index) const;
    VImage* Image1() const { return image_; }
    VShape* Shape1() const { return shape_; }
    MMControl* MMControl1() const { return mm_; }

    static QString TuneFileName() { return QStringLiteral("Internet.mid"); }

private:
    void clickAnywhere();
    std::map<int, VLabel*> labels_;
    VImage* image_;
    VShape* shape_;
    MMControl* mm_;
};
