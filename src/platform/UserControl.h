// The surface a self-drawn control is built on: a widget with a persistent image that the control
// draws into, its input turned into the control's notifications, and the host's ambient properties.
#pragma once

#include "GdiDC.h"
#include "Picture.h"

#include <QCursor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

namespace platform {

class PropertyBag;

// The standard pointer numbers the surface treats apart; the others name Qt's pointer shapes.
namespace Pointer {
inline constexpr short Default = 0; // the host's pointer
inline constexpr short Arrow = 1;
inline constexpr short Custom = 99; // the surface's pointer icon or cursor
} // namespace Pointer

// The mouse-button bits of the control's mouse notifications (none while nothing is held).
namespace MouseButton {
inline constexpr short None = 0;
inline constexpr short Left = 1;
inline constexpr short Right = 2;
inline constexpr short Middle = 4;
} // namespace MouseButton

// The number the application's pointing-hand cursor resource carries.
inline constexpr int HandCursorResource = 101;

// The desktop's virtual key codes of the keys a control reacts to.
namespace KeyCode {
inline constexpr short Space = 32;
inline constexpr short Left = 37;
inline constexpr short Up = 38;
inline constexpr short Right = 39;
inline constexpr short Down = 40;
} // namespace KeyCode

// What the host tells its controls about itself.
struct AmbientProperties {
    QString DisplayName;           // the name the host gives the instance
    QFont Font;                    // the host's font, the default for new instances
    bool UserMode = true;          // false while the host is being designed
    bool DisplayAsDefault = false; // the control is the host's default button
};

class UserControl : public QWidget {
    Q_OBJECT

public:
    explicit UserControl(QWidget* parent = nullptr);
    ~UserControl() override;

    // The host's side of persistence: a new instance, loading a saved one, saving it.
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag);

    // Ambient properties: the display name is objectName(), the font the parent's; the host
    // changes the others through the setters, which notify the control.
    AmbientProperties Ambient() const;
    // The one ambient property asked for on every drawing, without building the others.
    bool AmbientDisplayAsDefault() const { return displayAsDefault; }
    void SetAmbientUserMode(bool userMode);
    void SetAmbientDisplayAsDefault(bool displayAsDefault);

    // The persistent image the control draws into; paintEvent only copies it to the screen.
    // It always has the widget's current size, also before Qt has sent the first resize event,
    // and the resolution of the widget's screen (its device pixel ratio).
    QImage& Surface() {
        SyncSurfaceSize();
        return surface;
    }
    // The device context over that image; it keeps its pen, text colour and font between calls.
    gdi::DeviceContext& hDC() {
        SyncSurfaceSize();
        return dc;
    }

    // Errors that end an event handler are caught at the event boundary and passed here.
    using ErrorReport = std::function<void(const QWidget* control, const std::exception& error)>;
    static void SetErrorReport(ErrorReport report); // an empty function restores the qWarning report
    static void ReportError(const QWidget* control, const std::exception& error);

    // The cursor resource the application carries under a number (HandCursorResource);
    // throws std::runtime_error for a number it does not have.
    static QCursor LoadResCursor(int id);

signals:
    // The host's property-changed notification: the instance changed and must be saved.
    void PropertyChangedNotify(const QString& propertyName);

protected:
    // Notifications, overridden by the control. Arguments are by reference as the control passes
    // them on to its own events.
    virtual void UserControl_Initialize() {}
    virtual void UserControl_InitProperties() {}
    virtual void UserControl_ReadProperties(const PropertyBag&) {}
    virtual void UserControl_WriteProperties(PropertyBag&) {}
    virtual void UserControl_MouseDown(short& /*Button*/, short& /*Shift*/, float& /*X*/, float& /*Y*/) {}
    virtual void UserControl_MouseMove(short& /*Button*/, short& /*Shift*/, float& /*X*/, float& /*Y*/) {}
    virtual void UserControl_MouseUp(short& /*Button*/, short& /*Shift*/, float& /*X*/, float& /*Y*/) {}
    virtual void UserControl_Click() {}
    virtual void UserControl_DblClick() {}
    virtual void UserControl_KeyDown(short& /*KeyCode*/, short& /*Shift*/) {}
    virtual void UserControl_KeyPress(short& /*KeyAscii*/) {}
    virtual void UserControl_KeyUp(short& /*KeyCode*/, short& /*Shift*/) {}
    virtual void UserControl_AccessKeyPress(short& /*KeyAscii*/) {}
    virtual void UserControl_GotFocus() {}
    virtual void UserControl_LostFocus() {}
    virtual void UserControl_Resize() {}
    virtual void UserControl_Show() {}
    virtual void UserControl_Hide() {}
    virtual void UserControl_Terminate() {}
    virtual void UserControl_AmbientChanged(const QString& /*PropertyName*/) {}
    virtual void UserControl_EnabledChanged(bool /*enabled*/) {}

    // Tells the host the property changed.
    void PropertyChanged(const QString& propertyName) { emit PropertyChangedNotify(propertyName); }

    // Surface services.
    void Cls();                   // clears the image to the surface's back colour
    void RefreshSurface();        // repaints the window from the image at once
    void SetCapture();            // the mouse stays with this control until its button is released
    void SendFocusKey(bool next); // moves the focus on as Tab (next) or Shift+Tab would, queued
    QString AccessKeys() const { return accessKeys; }
    void SetAccessKeys(const QString& keys);

    // The surface's pointer: a standard pointer number (0 default, 1 arrow, ..., 99 custom icon).
    short PointerNumber() const { return pointerNumber; }
    void SetPointerNumber(short number);
    Picture PointerIcon() const { return pointerIcon; }
    void SetPointerIcon(const Picture& icon);
    void SetPointerCursor(const QCursor& cursor); // a cursor resource as the custom icon

    // The device pixel ratio the surface is made with: the widget's screen's.
    virtual qreal SurfaceRatio() const { return devicePixelRatioF(); }

    // Runs a piece of a handler that is not reached through event() (timer ticks, queued calls)
    // with the same error boundary.
    void RunGuarded(const std::function<void()>& handler);

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void ApplyPointer();
    void SyncSurfaceSize();
    void RebuildSurface(qreal ratio);
    bool IsInside(const QPoint& pos) const;

    QImage surface;
    QSize surfaceSize; // the widget size and screen ratio the surface was made for
    qreal surfaceRatio = 1.0;
    gdi::DeviceContext dc{surface};
    bool userMode = true;
    bool displayAsDefault = false;

    short pointerNumber = 0;
    Picture pointerIcon;
    std::optional<QCursor> pointerCursor;

    QString accessKeys;
    std::vector<int> shortcutIds;

    // Mouse bookkeeping that turns Qt's press / release / double-click into the control's
    // down, up, click and double-click notifications.
    Qt::MouseButtons pressedHere;
    ulong lastPressTime = 0;
    Qt::MouseButton lastPressButton = Qt::NoButton;
    QPoint lastPressPos;
    bool swallowNextPress = false;  // the press that Qt delivers ahead of a double click
    bool releaseEndsDouble = false; // the release after a double click raises no click
    bool captured = false;
};

} // namespace platform
