#include "frmSplash.h"
#include "AppPaths.h"
#include "ModNorvelia.h"
#include "platform/Bitmap.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"

namespace {
const QColor Yellow(255, 255, 0);
const QColor Black(0, 0, 0);
} // namespace

frmSplash::frmSplash() : Form(QStringLiteral("frmSplash"))
{
    setBorder(Border::None);
    setInnerSize(8790, 5415);
    setBackColor(Black);

    auto addLabel = [this](int i, double l, double t, double w, double h) {
        auto* lb = place(new VLabel, QStringLiteral("label(%1)").arg(i), l, t, w, h);
        lb->setBackColor(Black);
        lb->setForeColor(Yellow);
        connect(lb, &VLabel::clicked, this, &frmSplash::clickAnywhere);
        labels_[i] = lb;
        return lb;
    };
    // The frame: four solid yellow bars.
    for (auto [i, l, t, w, h] : {std::tuple{0, 0, 0, 8775, 255}, std::tuple{11, 0, 255, 255, 5175},
                                 std::tuple{10, 8520, 255, 255, 5175}, std::tuple{9, 240, 5160, 8295, 255}}) {
        addLabel(i, l, t, w, h)->setBackColor(Yellow);
    }
    image_ = place(new VImage, QStringLiteral("Image1"), 480, 600, 2295, 3225);
    image_->setPicture(Bitmap::load(QStringLiteral(":/shell/norvelia.bmp")));
    connect(image_, &VImage::clicked, this, &frmSplash::clickAnywhere);

    VLabel* l1 = addLabel(1, 2880, 480, 5520, 525);
    l1->setFont(Fonts::design(QStringLiteral("Simpson"), 21.75, true, true));
    l1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l1->setCaption(QStringLiteral("software VELMORIA"));
    l1->setAutoSize(true);

    VLabel* l2 = addLabel(2, 3840, 1200, 3855, 375);
    l2->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 12));
    l2->setCaption(QStringLiteral("                        presenta"));

    VLabel* l3 = addLabel(3, 5535, 1560, 225, 780);
    l3->setFont(Fonts::design(QStringLiteral("Arial Black"), 27.75, true));
    l3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l3->setAutoSize(true);

    VLabel* l4 = addLabel(4, 3000, 2640, 5415, 375);
    l4->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 12));
    l4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    addLabel(5, 3840, 3070, 3855, 375);
    shape_ = place(new VShape, QStringLiteral("Shape1"), 3720, 3000, 4050, 350);
    shape_->setBorderColor(Yellow);

    VLabel* l7 = addLabel(7, 480, 4080, 7935, 195);
    l7->setFont(Fonts::design(QStringLiteral("Arial"), 8.25));
    l7->setCaption(QStringLiteral("Avviso: ogni abuso del presente software, compreso il file audio, sarà perseguito a norma di legge"));

    addLabel(8, 3960, 4800, 4455, 255)
        ->setCaption(QStringLiteral("(cliccare sulla finestra per iniziare; premere un tasto per uscire)"));

    mm_ = new MMControl(this);
    registerControl(mm_, QStringLiteral("MMControl1"));
    setFocusPolicy(Qt::StrongFocus);
}

VLabel* frmSplash::label(int index) const
{
    auto it = labels_.find(index);
    return it == labels_.end() ? nullptr : it->second;
}

void frmSplash::Form_Load()
{
    mm_->setFileName(AppPaths::inCurrentDirectory(TuneFileName()));
    mm_->Command(QStringLiteral("open"));
    mm_->Command(QStringLiteral("play"));
    ModNorvelia::InitSharedState();
    const auto& s = ModNorvelia::state();
    label(3)->setCaption(s.ProductName);
    label(4)->setCaption(s.ProductSubtitle);
    label(5)->setCaption(QStringLiteral("EDIZIONE PROFESSIONALE - VERSIONE ") + s.ProductVersion);
    // The window has no caption and its picture no words: a reader hears the product and how to go on.
    setAccessibleName(s.ProductName);
    setAccessibleDescription(HowToGoOn());
    image_->setAccessibleName(QStringLiteral("Immagine di copertina di ") + s.ProductName);
    centreOnScreen();
}

void frmSplash::clickAnywhere()
{
    mm_->Command(QStringLiteral("pause"));
    ModNorvelia::ShowArchiveMenu();
}

void frmSplash::Form_Click() { clickAnywhere(); }

void frmSplash::Form_KeyPress(int)
{
    mm_->Command(QStringLiteral("close"));
    Forms::instance().unload(QStringLiteral("frmSplash"));
    Forms::instance().unload(QStringLiteral("prodotti"));
}
