#pragma once
#include "ControlProps.h"
#include <QColor>
#include <QList>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QWidget>

class QMenuBar;
class QVBoxLayout;

// A window of the program as the designs describe it: a named form with a client area on which its
// controls sit at positions given in twips, a controls collection in creation order, and the
// load / resize / unload handlers the forms runtime calls. Instances are created and destroyed only by
// the Forms registry, which gives every window one default instance reached by its name.
class Form : public QWidget {
    Q_OBJECT
public:
    enum class Border { None, FixedSingle, Sizable };

    explicit Form(const QString& name);
    ~Form() override;

    QString formName() const { return objectName(); }

    // Handlers the runtime calls. Form_Load runs once per load, before the window is first shown.
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}
    virtual void Form_Click() {}
    virtual void Form_KeyPress(int keyAscii) { Q_UNUSED(keyAscii); }
    virtual void Form_MouseMove() {}
    // Whether a click on the window itself does something: assistive technology then offers Form_Click
    // as the window's press action.
    virtual bool clickGoesOn() const { return false; }

    // The area the controls live on.
    QWidget* client() const { return client_; }

    // Geometry in twips. The inner size is the client area; the outer size adds the runtime's standard
    // non-client metrics (border, title bar, menu bar), so that the outer sizes fixed by the designs
    // give back their design client areas whatever frame the window manager draws.
    double innerWidth() const;
    double innerHeight() const;
    void setInnerSize(double width, double height);
    double outerWidth() const;
    double outerHeight() const;
    void setOuterWidth(double twips);
    void setOuterHeight(double twips);
    double leftTw() const;
    double topTw() const;
    void setLeftTw(double twips);
    void setTopTw(double twips);
    void centreOnScreen();
    double nonClientWidth() const;
    double nonClientHeight() const;

    void setCaption(const QString& caption) { setWindowTitle(caption); }
    QString caption() const { return windowTitle(); }
    void setBorder(Border b);
    Border border() const { return border_; }
    void setBackColor(const QColor& c);
    QColor backColor() const { return backColor_; }

    QMenuBar* menuBar();
    bool hasMenuBar() const { return menuBar_ != nullptr; }

    // Stand-in for suspending all drawing of one window: at most one window is locked at a time.
    void lockDrawing();
    static void unlockDrawing();
    static Form* lockedWindow();

    // The controls collection, in the order the controls were added.
    void registerControl(QObject* control, const QString& name);
    int controlCount() const { return int(controls_.size()); }
    QObject* control(int index) const;
    QObject* controlNamed(const QString& name) const;

    template <class W>
    W* place(W* w, const QString& name, double left, double top, double width, double height)
    {
        registerControl(w, name);
        Props::placeWidget(w, left, top, width, height);
        return w;
    }
    // A command button: placed in twips, with its tool tip (none when the text is empty) and the handler
    // its click runs.
    template <class F>
    QPushButton* placeButton(const QString& name, const QString& caption, double left, double top, double width,
                             double height, const QString& tip, void (F::*onClick)())
    {
        auto* b = place(new QPushButton(caption), name, left, top, width, height);
        if (!tip.isEmpty()) b->setToolTip(tip);
        connect(b, &QPushButton::clicked, static_cast<F*>(this), onClick);
        return b;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyOuterSize(double width, double height);
    QWidget* client_;
    QVBoxLayout* layout_;
    QMenuBar* menuBar_ = nullptr;
    QList<QPointer<QObject>> controls_;
    Border border_ = Border::Sizable;
    QColor backColor_;
    static QPointer<Form> locked_;
};
