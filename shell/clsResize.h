#pragma once
#include <QPointer>
#include <QObject>
#include <cstdint>
#include <vector>

class Form;

// Keeps a window's controls in proportion to the window. The first call records the position and
// size of every control and the window's inner size; every later resize sets each control to its
// recorded values times the ratio of the present to the recorded inner size, so rounding never
// accumulates. A control's Tag selects what is scaled: "@" followed by any of L, T, W, H; an empty tag
// or one not starting with "@" scales all four.
//
// A captured width or height of 0 is no basis for ratios: the next resize then records the layout
// again, as a first call does, instead of scaling.
class clsResize {
public:
    struct ControlLayout {
        QPointer<QObject> control;
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
    };

    clsResize();     // Class_Initialize
    ~clsResize();    // Class_Terminate

    Form* SourceForm() const { return sourceForm_; }
    void setSourceForm(Form* form) { sourceForm_ = form; }

    void ReInitialise();
    void SizeFormToScreen(std::uint8_t Percent);
    void ResizeControls();

    bool NeedsCapture() const { return needsCapture_; }
    std::int32_t CapturedWidth() const { return capturedWidth_; }
    std::int32_t CapturedHeight() const { return capturedHeight_; }
    const std::vector<ControlLayout>& Layouts() const { return layouts_; }

    // Which of the four values a tag scales.
    struct Scaling {
        bool left, top, width, height;
    };
    static Scaling ScalingFor(const QString& tag);
    // Rounds to the nearest whole twip, ties to the even number.
    static std::int32_t RoundTwips(double value);

private:
    void CaptureLayout();

    QPointer<Form> sourceForm_;
    bool needsCapture_ = true;
    std::int32_t capturedWidth_ = 0;
    std::int32_t capturedHeight_ = 0;
    std::vector<ControlLayout> layouts_;
};
