#include "clsResize.h"
#include "platform/ControlProps.h"
#include "platform/Form.h"
#include "platform/Twips.h"
#include <cfenv>
#include <cmath>
#include <limits>

using Props::Geom;

namespace {
bool tolerated(int error)
{
    return error == Props::ReadOnly || error == Props::CannotSet || error == Props::NotReadableAtRunTime ||
           error == Props::NotSupported;
}

struct DrawingLock {
    explicit DrawingLock(Form* f) { f->lockDrawing(); }
    ~DrawingLock() { Form::unlockDrawing(); }
};
} // namespace

clsResize::clsResize() = default;

clsResize::~clsResize()
{
    layouts_.clear();
    sourceForm_ = nullptr;
}

std::int32_t clsResize::RoundTwips(double value)
{
    if (!std::isfinite(value)) return 0;
    const double r = std::nearbyint(value);   // the default rounding mode rounds ties to even
    if (r >= double(std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
    if (r <= double(std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(r);
}

clsResize::Scaling clsResize::ScalingFor(const QString& tag)
{
    QString t = tag.toUpper();
    if (t.isEmpty() || !t.startsWith(QLatin1Char('@'))) t = QStringLiteral("@L,T,W,H");
    return {t.contains(QLatin1Char('L')), t.contains(QLatin1Char('T')), t.contains(QLatin1Char('W')),
            t.contains(QLatin1Char('H'))};
}

void clsResize::ReInitialise() { CaptureLayout(); }

void clsResize::CaptureLayout()
{
    if (!sourceForm_) return;
    capturedWidth_ = RoundTwips(sourceForm_->innerWidth());
    capturedHeight_ = RoundTwips(sourceForm_->innerHeight());
    layouts_.clear();
    const int count = sourceForm_->controlCount();
    layouts_.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        ControlLayout& l = layouts_[std::size_t(i)];
        QObject* c = sourceForm_->control(i);
        l.control = c;
        const bool line = Props::isLine(c);
        const Geom g[4] = {line ? Geom::X1 : Geom::Left, line ? Geom::Y1 : Geom::Top,
                           line ? Geom::X2 : Geom::Width, line ? Geom::Y2 : Geom::Height};
        std::int32_t* out[4] = {&l.left, &l.top, &l.width, &l.height};
        for (int k = 0; k < 4; ++k) {
            double v = 0;
            if (Props::read(c, g[k], v) == Props::Ok) *out[k] = RoundTwips(v);
        }
    }
    needsCapture_ = false;
}

void clsResize::ResizeControls()
{
    Form* form = sourceForm_;
    if (!form) return;
    if (form->controlCount() == 0) return;
    if (form->isMinimized()) return;
    if (needsCapture_ || capturedWidth_ == 0 || capturedHeight_ == 0) {
        CaptureLayout();
        return;
    }
    DrawingLock lock(form);
    const double heightRatio = form->innerHeight() / double(capturedHeight_);
    const double widthRatio = form->innerWidth() / double(capturedWidth_);
    for (const ControlLayout& rec : layouts_) {
        QObject* c = rec.control;
        if (!c) continue;   // a control destroyed since the capture
        const bool line = Props::isLine(c);
        const Scaling scale = ScalingFor(Props::tag(c));
        struct Step {
            bool on;
            Geom g;
            double value;
        };
        const Step steps[4] = {
            {scale.left, line ? Geom::X1 : Geom::Left, rec.left * widthRatio},
            {scale.top, line ? Geom::Y1 : Geom::Top, rec.top * heightRatio},
            {scale.width, line ? Geom::X2 : Geom::Width, rec.width * widthRatio},
            {scale.height, line ? Geom::Y2 : Geom::Height, rec.height * heightRatio},
        };
        for (const Step& s : steps) {
            if (!s.on) continue;
            const int err = Props::write(c, s.g, s.value);
            if (err == Props::Ok || tolerated(err)) continue;
            break;   // any other failure abandons this control only
        }
    }
}

void clsResize::SizeFormToScreen(std::uint8_t Percent)
{
    Form* form = sourceForm_;
    if (!form) return;
    if (needsCapture_) CaptureLayout();
    const float share = float(Percent) / 100.0f;
    const double screenH = Twips::screenHeight(), screenW = Twips::screenWidth();
    const double newHeight = std::floor(double(share) * screenH);
    const double newWidth = std::floor(double(share) * screenW);
    form->setTopTw((screenH - newHeight) / 2);
    form->setLeftTw((screenW - newWidth) / 2);
    form->setOuterHeight(newHeight);
    form->setOuterWidth(newWidth);
    ResizeControls();
}
