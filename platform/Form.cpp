#include "Form.h"
#include "Accessibility.h"
#include "Forms.h"
#include "Twips.h"
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

namespace {
// Standard non-client metrics of the runtime the designs were drawn with, in twips.
constexpr double BorderTwips = 60;     // each side
constexpr double CaptionTwips = 345;   // title bar
constexpr double MenuBarTwips = 285;
} // namespace

QPointer<Form> Form::locked_;

Form::Form(const QString& name) : QWidget(nullptr)
{
    Accessibility::install();
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose, false);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    client_ = new QWidget(this);
    client_->setObjectName(name + QStringLiteral("_client"));
    client_->setMouseTracking(true);
    client_->setAutoFillBackground(true);
    client_->installEventFilter(this);
    layout_->addWidget(client_, 1);
    setBackColor(QColor(240, 240, 240));
}

Form::~Form()
{
    if (locked_ == this) unlockDrawing();
}

QMenuBar* Form::menuBar()
{
    if (!menuBar_) {
        const double h = outerHeight();
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        layout_->insertWidget(0, menuBar_);
        applyOuterSize(outerWidth(), h);
    }
    return menuBar_;
}

double Form::nonClientWidth() const { return border_ == Border::None ? 0 : 2 * BorderTwips; }

double Form::nonClientHeight() const
{
    double h = border_ == Border::None ? 0 : 2 * BorderTwips + CaptionTwips - BorderTwips;
    if (menuBar_) h += MenuBarTwips;
    return h;
}

double Form::innerWidth() const { return Twips::fromPxX(client_->width()); }
double Form::innerHeight() const { return Twips::fromPxY(client_->height()); }

void Form::setInnerSize(double width, double height)
{
    applyOuterSize(width + nonClientWidth(), height + nonClientHeight());
}

double Form::outerWidth() const { return innerWidth() + nonClientWidth(); }
double Form::outerHeight() const { return innerHeight() + nonClientHeight(); }
void Form::setOuterWidth(double twips) { applyOuterSize(twips, outerHeight()); }
void Form::setOuterHeight(double twips) { applyOuterSize(outerWidth(), twips); }

void Form::applyOuterSize(double width, double height)
{
    const int cw = std::max(0, Twips::toPxX(width - nonClientWidth()));
    const int ch = std::max(0, Twips::toPxY(height - nonClientHeight()));
    const int menuPx = menuBar_ ? menuBar_->sizeHint().height() : 0;
    if (menuBar_) menuBar_->setFixedHeight(menuPx);
    const QSize before = client_->size();
    // A fixed border is a size the user cannot change: the window manager is told so through equal
    // minimum and maximum sizes, the only hint every window manager honours.
    if (border_ == Border::FixedSingle) setFixedSize(cw, ch + menuPx);
    else resize(cw, ch + menuPx);
    // A hidden widget is laid out only when shown, but the client size is what the handlers read now.
    client_->setGeometry(0, menuPx, cw, ch);
    // Qt delivers the resize event of a hidden widget only when it is shown; the designs expect the
    // resize handler to run inside the assignment, as it does for a visible window.
    if (!client_->isVisible() && client_->size() != before) Form_Resize();
}

double Form::leftTw() const { return Twips::fromPxX(geometry().x()); }
double Form::topTw() const { return Twips::fromPxY(geometry().y()); }
void Form::setLeftTw(double twips) { move(Twips::toPxX(twips), geometry().y()); }
void Form::setTopTw(double twips) { move(geometry().x(), Twips::toPxY(twips)); }

void Form::centreOnScreen()
{
    setLeftTw((Twips::screenWidth() - outerWidth()) / 2);
    setTopTw((Twips::screenHeight() - outerHeight()) / 2);
}

void Form::setBorder(Border b)
{
    const double w = innerWidth(), h = innerHeight();
    if (border_ == Border::FixedSingle && b != Border::FixedSingle) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    border_ = b;
    Qt::WindowFlags flags = Qt::Window;
    switch (b) {
    case Border::None: flags |= Qt::FramelessWindowHint; break;
    case Border::FixedSingle:
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
        break;
    case Border::Sizable: break;
    }
    setWindowFlags(flags);
    setInnerSize(w, h);
}

void Form::setBackColor(const QColor& c)
{
    backColor_ = c;
    QPalette p = client_->palette();
    p.setColor(QPalette::Window, c);
    client_->setPalette(p);
}

void Form::lockDrawing()
{
    if (locked_ && locked_ != this) unlockDrawing();
    locked_ = this;
    setUpdatesEnabled(false);
}

void Form::unlockDrawing()
{
    if (locked_) locked_->setUpdatesEnabled(true);
    locked_ = nullptr;
}

Form* Form::lockedWindow() { return locked_; }

void Form::registerControl(QObject* control, const QString& name)
{
    control->setObjectName(name);
    if (auto* w = qobject_cast<QWidget*>(control)) {
        if (!w->parentWidget()) w->setParent(client_);
        // Mouse events belong to the control under the mouse, not to the window behind it.
        w->setAttribute(Qt::WA_NoMousePropagation);
    } else if (!control->parent()) {
        control->setParent(this);
    }
    controls_.append(control);
}

QObject* Form::control(int index) const
{
    if (index < 0 || index >= controls_.size()) return nullptr;
    return controls_.at(index).data();
}

QObject* Form::controlNamed(const QString& name) const
{
    for (const auto& c : controls_)
        if (c && c->objectName() == name) return c;
    return nullptr;
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_) {
        switch (event->type()) {
        case QEvent::Resize: Form_Resize(); break;
        case QEvent::MouseMove: Form_MouseMove(); break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) Form_Click();
            break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form::closeEvent(QCloseEvent* event)
{
    // Closing a window from its frame unloads it, as the runtime does.
    event->accept();
    Forms::instance().unload(formName());
}

void Form::keyPressEvent(QKeyEvent* event)
{
    const QString t = event->text();
    if (!t.isEmpty() && t.at(0).unicode() < 256) {
        Form_KeyPress(t.at(0).unicode());
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form::changeEvent(QEvent* event)
{
    // Minimising and restoring raise the resize handler too, so that a restored window is rescaled.
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
    QWidget::changeEvent(event);
}
