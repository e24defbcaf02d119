#include "frmTip.h"
#include "TipFile.h"
#include "platform/Fonts.h"
#include "shell/AppPaths.h"
#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace {
const QColor PaleYellow(255, 255, 192);

// The small decorative picture at the top left of the tip: a light bulb.
class TipPicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), PaleYellow);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(90, 70, 0), 1.5));
        p.setBrush(QColor(255, 220, 60));
        p.drawEllipse(QRectF(6, 4, 18, 18));
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(11, 21, 8, 7));
    }
};
} // namespace

frmTip::frmTip() : Form(QStringLiteral("frmTip"))
{
    setCaption(QStringLiteral("Suggerimento del giorno"));
    setBorder(Border::FixedSingle);
    setInnerSize(6195, 3285);
    auto* picture = place(new TipPicture, QStringLiteral("Picture1"), 120, 120, 4455, 2715);
    auto* label1 = new VLabel(picture);
    registerControl(label1, QStringLiteral("Label1"));
    Props::placeWidget(label1, 540, 180, 2655, 255);
    label1->setCaption(QStringLiteral("Non tutti sanno che..."));
    label1->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 9.75, true));
    label1->setTransparent(true);
    text_ = new VLabel(picture);
    registerControl(text_, QStringLiteral("lblTipText"));
    Props::placeWidget(text_, 180, 840, 4095, 1635);
    text_->setBackColor(PaleYellow);
    placeButton(QStringLiteral("cmdOK"), QStringLiteral("&Chiudi"), 4800, 120, 1215, 375, QString(), &frmTip::cmdOK_Click)
        ->setDefault(true);
    placeButton(QStringLiteral("cmdNextTip"), QStringLiteral("&Successivo"), 4800, 600, 1215, 375, QString(), &frmTip::cmdNextTip_Click);
    placeButton(QStringLiteral("cmdprecedente"), QStringLiteral("&Precedente"), 4800, 1080, 1215, 375, QString(),
                &frmTip::cmdprecedente_Click);
}

QString frmTip::MissingFileText()
{
    return QStringLiteral("Impossibile trovare il file ") + TipFileName() + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Creare un file di testo denominato ") + TipFileName() +
           QStringLiteral(" utilizzando il Blocco note e inserendo un suggerimento per ogni riga. ") +
           QStringLiteral("Inserire il file nella stessa directory dell'applicazione. ");
}

void frmTip::Form_Load()
{
    if (!LoadTips(AppPaths::inApplicationFolder(TipFileName()))) text_->setCaption(MissingFileText());
    centreOnScreen();
}

void frmTip::Form_KeyPress(int keyAscii)
{
    // The close button is the window's default and cancel button.
    if (keyAscii == 13 || keyAscii == 27) cmdOK_Click();
}

QStringList frmTip::SplitTips(const QByteArray& bytes) { return TipFile::split(bytes); }

bool frmTip::LoadTips(const QString& path)
{
    if (path.isEmpty()) return false;
    QFileInfo info(path);
    if (!info.exists() || !info.isFile()) return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    // Tips are short lines; a runaway file is read only as far as a sensible size.
    tips_ = SplitTips(f.read(1 << 20));
    AdvanceTip();
    return true;
}

void frmTip::AdvanceTip()
{
    ++tipIndex_;
    if (tips_.size() < tipIndex_) tipIndex_ = 1;
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip()
{
    if (!tips_.isEmpty()) text_->setCaption(tips_.at(tipIndex_ - 1));
}

void frmTip::cmdNextTip_Click() { AdvanceTip(); }

void frmTip::cmdprecedente_Click()
{
    if (tips_.isEmpty() || tipIndex_ <= 1) return;
    --tipIndex_;
    text_->setCaption(tips_.at(tipIndex_ - 1));
}

void frmTip::cmdOK_Click() { hide(); }
