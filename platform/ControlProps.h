#pragma once
#include <QString>

class QObject;
class QWidget;

// Reading and setting a control's position properties by name, the way the resize engine addresses
// every kind of control. A failure is reported by the runtime's error number, so that callers can tell
// the tolerated ones apart from any other.
namespace Props {

enum Error : int {
    Ok = 0,
    InvalidCall = 5,          // any other failure: the caller abandons the control
    ReadOnly = 383,           // the property is read-only
    CannotSet = 387,          // the property cannot be set on this control
    NotReadableAtRunTime = 393,
    NotSupported = 438,       // the control does not have the property
};

enum class Geom { Left, Top, Width, Height, X1, Y1, X2, Y2 };
const char* name(Geom g);

// Controls whose geometry follows other rules than the plain box (lines, aligned bars, or test doubles)
// implement this next to their QObject base.
class GeometryHooks {
public:
    virtual ~GeometryHooks() = default;
    virtual int readGeom(Geom g, double& out) const = 0;
    virtual int writeGeom(Geom g, double value) = 0;
    virtual bool isLine() const { return false; }
};

// An aligned control (a toolbar along the top, a status bar along the bottom) follows its window by
// itself: its position can be read, but setting it is refused as read-only, as the runtime does.
class AlignedGeometry : public GeometryHooks {
public:
    explicit AlignedGeometry(const QWidget* self) : self_(self) {}
    int readGeom(Geom g, double& out) const override;
    int writeGeom(Geom g, double value) override;

private:
    const QWidget* self_;
};

int read(const QObject* control, Geom g, double& out);
int write(QObject* control, Geom g, double value);
bool isLine(const QObject* control);

QString tag(const QObject* control);
void setTag(QObject* control, const QString& tag);

// Plain box geometry of a widget in twips, kept unrounded so that reading gives back what was set.
void placeWidget(QWidget* w, double left, double top, double width, double height);
bool boxOf(const QWidget* w, double& left, double& top, double& width, double& height);

} // namespace Props
