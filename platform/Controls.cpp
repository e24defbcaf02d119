#include "Controls.h"
#include "Twips.h"
#include <QEvent>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

VLabel::VLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMouseTracking(true);
    setAutoFillBackground(true);
}

void VLabel::setCaption(const QString& t)
{
    setText(t);
    if (autoSize_) fitToText();
}

void VLabel::setBackColor(const QColor& c)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, c);
    setPalette(p);
    setAutoFillBackground(true);
}

void VLabel::setForeColor(const QColor& c)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, c);
    setPalette(p);
}

QColor VLabel::backColor() const { return palette().color(QPalette::Window); }
QColor VLabel::foreColor() const { return palette().color(QPalette::WindowText); }
void VLabel::setTransparent(bool transparent) { setAutoFillBackground(!transparent); }

void VLabel::setBorder(bool single)
{
    setFrameStyle(single ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setLineWidth(1);
}

bool VLabel::hasBorder() const { return frameShape() == QFrame::Box; }

void VLabel::setBold(bool bold)
{
    QFont f = font();
    if (f.bold() == bold) return;
    f.setBold(bold);
    setFont(f);
}

void VLabel::setAutoSize(bool on)
{
    autoSize_ = on;
    if (on) fitToText();
}

void VLabel::fitToText()
{
    double l, t, w, h;
    Props::boxOf(this, l, t, w, h);
    const QFontMetrics fm(font());
    const QSize s = fm.size(0, text());
    const double nw = Twips::fromPxX(s.width() + 2 * frameWidth() + 2);
    const double nh = Twips::fromPxY(s.height() + 2 * frameWidth());
    Props::placeWidget(this, l + (w - nw) / 2.0, t, nw, nh);
}

void VLabel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        pressed_ = true;
        emit mouseDown();
    }
    QLabel::mousePressEvent(e);
}

void VLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        emit mouseUp();
        const bool inside = rect().contains(e->position().toPoint());
        if (pressed_ && inside) emit clicked();
        pressed_ = false;
    }
    QLabel::mouseReleaseEvent(e);
}

void VLabel::mouseMoveEvent(QMouseEvent* e)
{
    emit mouseMoved();
    QLabel::mouseMoveEvent(e);
    e->accept();   // the window under a label does not see the movement
}

// ---------------------------------------------------------------------------------------------------

VLine::VLine(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void VLine::setPoints(double x1, double y1, double x2, double y2)
{
    x1_ = x1; y1_ = y1; x2_ = x2; y2_ = y2;
    relayout();
}

int VLine::readGeom(Props::Geom g, double& out) const
{
    switch (g) {
    case Props::Geom::X1: out = x1_; return Props::Ok;
    case Props::Geom::Y1: out = y1_; return Props::Ok;
    case Props::Geom::X2: out = x2_; return Props::Ok;
    case Props::Geom::Y2: out = y2_; return Props::Ok;
    default: return Props::NotSupported;
    }
}

int VLine::writeGeom(Props::Geom g, double v)
{
    switch (g) {
    case Props::Geom::X1: x1_ = v; break;
    case Props::Geom::Y1: y1_ = v; break;
    case Props::Geom::X2: x2_ = v; break;
    case Props::Geom::Y2: y2_ = v; break;
    default: return Props::NotSupported;
    }
    relayout();
    return Props::Ok;
}

void VLine::relayout()
{
    const int ax = Twips::toPxX(x1_), ay = Twips::toPxY(y1_);
    const int bx = Twips::toPxX(x2_), by = Twips::toPxY(y2_);
    setGeometry(QRect(QPoint(std::min(ax, bx), std::min(ay, by)), QPoint(std::max(ax, bx), std::max(ay, by))));
    update();
}

void VLine::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(color_, 1));
    const QPoint o = geometry().topLeft();
    p.drawLine(QPoint(Twips::toPxX(x1_), Twips::toPxY(y1_)) - o, QPoint(Twips::toPxX(x2_), Twips::toPxY(y2_)) - o);
}

// ---------------------------------------------------------------------------------------------------

VShape::VShape(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

void VShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(color_, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

VImage::VImage(QWidget* parent) : QWidget(parent) {}

void VImage::paintEvent(QPaintEvent*)
{
    if (picture_.isNull()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), picture_);
}

void VImage::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
    QWidget::mouseReleaseEvent(e);
}

// ---------------------------------------------------------------------------------------------------

VStatusBar::VStatusBar(QWidget* parent) : QLabel(parent), Props::AlignedGeometry(this)
{
    setTextFormat(Qt::PlainText);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setIndent(4);
    if (parent) parent->installEventFilter(this);
    align();
}

void VStatusBar::align()
{
    if (!parentWidget()) return;
    const int h = fontMetrics().height() + 8;
    setGeometry(0, parentWidget()->height() - h, parentWidget()->width(), h);
}

bool VStatusBar::eventFilter(QObject* o, QEvent* e)
{
    if (o == parentWidget() && e->type() == QEvent::Resize) align();
    return QLabel::eventFilter(o, e);
}

VToolBar::VToolBar(QWidget* parent) : QToolBar(parent), Props::AlignedGeometry(this)
{
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    if (parent) parent->installEventFilter(this);
    align();
}

void VToolBar::align()
{
    if (parentWidget()) setGeometry(0, 0, parentWidget()->width(), std::max(sizeHint().height(), Twips::toPxY(540)));
}

bool VToolBar::eventFilter(QObject* o, QEvent* e)
{
    if (o == parentWidget() && e->type() == QEvent::Resize) align();
    return QToolBar::eventFilter(o, e);
}

// ---------------------------------------------------------------------------------------------------

void VListBox::focusInEvent(QFocusEvent* e)
{
    if (currentIndex().isValid()) {
        QListWidget::focusInEvent(e);
        return;
    }
    // The entry the focus made current is taken back before anyone hears of it; the first arrow key
    // or click then reaches the first entry as a real change.
    const QSignalBlocker quiet(this);
    QListWidget::focusInEvent(e);
    if (currentIndex().isValid()) selectionModel()->clearCurrentIndex();
}

// ---------------------------------------------------------------------------------------------------

VScrollBar::VScrollBar(Qt::Orientation o, QWidget* parent) : QScrollBar(o, parent) { setFocusPolicy(Qt::StrongFocus); }

void VScrollBar::keyPressEvent(QKeyEvent* e)
{
    SliderAction action = SliderNoAction;
    if ((e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up: action = SliderSingleStepSub; break;
        case Qt::Key_Right:
        case Qt::Key_Down: action = SliderSingleStepAdd; break;
        case Qt::Key_PageUp: action = SliderPageStepSub; break;
        case Qt::Key_PageDown: action = SliderPageStepAdd; break;
        case Qt::Key_Home: action = SliderToMinimum; break;
        case Qt::Key_End: action = SliderToMaximum; break;
        default: break;
        }
    }
    if (action == SliderNoAction) {
        QScrollBar::keyPressEvent(e);
        return;
    }
    triggerAction(action);   // the change handler runs inside, as for a click on the bar
    e->accept();
}

// ---------------------------------------------------------------------------------------------------

VOption::VOption(QWidget* parent) : QRadioButton(parent)
{
    setAutoExclusive(false);
    setMouseTracking(true);
}

void VOption::mouseMoveEvent(QMouseEvent* e)
{
    emit mouseMoved();
    QRadioButton::mouseMoveEvent(e);
    e->accept();
}
