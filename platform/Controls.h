#pragma once
#include "ControlProps.h"
#include <QColor>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolBar>
#include <QWidget>

// Stand-ins for the standard controls of the forms runtime that Qt has no direct equivalent for, or
// whose behaviour the windows rely on (label mouse events, lines with end points, shapes, pictures,
// aligned status bars, controls without a position).

// A label: plain text, word-wrapped at its width like the runtime's labels, with click and mouse events.
class VLabel : public QLabel {
    Q_OBJECT
public:
    explicit VLabel(QWidget* parent = nullptr);
    void setCaption(const QString& text);
    QString caption() const { return text(); }
    void setBackColor(const QColor& c);
    void setForeColor(const QColor& c);
    QColor backColor() const;
    QColor foreColor() const;
    void setTransparent(bool transparent);
    void setBorder(bool single);
    bool hasBorder() const;
    void setBold(bool bold);
    bool isBold() const { return font().bold(); }
    // Grows or shrinks to fit the caption, keeping its horizontal centre and its top.
    void setAutoSize(bool on);

signals:
    void clicked();
    void mouseMoved();
    void mouseDown();
    void mouseUp();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void fitToText();
    bool autoSize_ = false;
    bool pressed_ = false;
};

// A line control: a segment from (X1, Y1) to (X2, Y2) in twips, drawn inside its parent.
class VLine : public QWidget, public Props::GeometryHooks {
    Q_OBJECT
public:
    explicit VLine(QWidget* parent = nullptr);
    void setPoints(double x1, double y1, double x2, double y2);
    void setColor(const QColor& c) { color_ = c; update(); }
    int readGeom(Props::Geom g, double& out) const override;
    int writeGeom(Props::Geom g, double value) override;
    bool isLine() const override { return true; }
    double x1() const { return x1_; }
    double y1() const { return y1_; }
    double x2() const { return x2_; }
    double y2() const { return y2_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void relayout();
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    QColor color_ = Qt::black;
};

// A shape control drawing a rectangle border.
class VShape : public QWidget {
    Q_OBJECT
public:
    explicit VShape(QWidget* parent = nullptr);
    void setBorderColor(const QColor& c) { color_ = c; update(); }
    QColor borderColor() const { return color_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor color_ = Qt::black;
};

// An image control whose picture is stretched to the control.
class VImage : public QWidget {
    Q_OBJECT
public:
    explicit VImage(QWidget* parent = nullptr);
    void setPicture(const QPixmap& p) { picture_ = p; update(); }
    const QPixmap& picture() const { return picture_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QPixmap picture_;
};

// A single-panel status bar aligned to the bottom of its window.
class VStatusBar : public QLabel, public Props::AlignedGeometry {
    Q_OBJECT
public:
    explicit VStatusBar(QWidget* parent = nullptr);
    void setSimpleText(const QString& t) { setText(t); }
    QString simpleText() const { return text(); }
    void align();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};

// A toolbar aligned to the top of its window, at least as tall as the designs' toolbar.
class VToolBar : public QToolBar, public Props::AlignedGeometry {
    Q_OBJECT
public:
    explicit VToolBar(QWidget* parent = nullptr);
    void align();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};

// A control with no place on the window (common dialog, image list, timer-like helpers): it is part of
// the controls collection but has no position properties.
class NonVisualControl : public QObject {
    Q_OBJECT
public:
    explicit NonVisualControl(QObject* parent = nullptr) : QObject(parent) {}
};

// A list box whose entry is chosen only by the user. Qt's lists make their first entry current when they
// receive the focus with none current, and where a row change chooses something (a topic) that would
// choose it before the user has touched the list; here the focus alone leaves the list as it was.
class VListBox : public QListWidget {
    Q_OBJECT
public:
    explicit VListBox(QWidget* parent = nullptr) : QListWidget(parent) {}

protected:
    void focusInEvent(QFocusEvent* e) override;
};

// A scroll bar that takes the focus (Tab or a click) and steps from the keyboard as the runtime's scroll
// bars do: Left and Up one step back, Right and Down one step on, Page Up and Page Down a page, Home and
// End to the ends. Qt's own horizontal bar steps backwards on Right.
class VScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit VScrollBar(Qt::Orientation o, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

// An option button that reports the mouse moving over it, and that the program can set back to not
// selected (option buttons of one array are not mutually exclusive by themselves here).
class VOption : public QRadioButton {
    Q_OBJECT
public:
    explicit VOption(QWidget* parent = nullptr);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
};
