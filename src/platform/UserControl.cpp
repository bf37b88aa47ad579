// The control surface: Qt's events become the control's notifications, errors that end a handler
// are reported at the event boundary, and the surface image persists between paints.
#include "UserControl.h"

#include "PropertyBag.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcutEvent>
#include <QStyleHints>
#include <QtDebug>
#include <stdexcept>

namespace platform {

namespace {

UserControl::ErrorReport& ErrorReportHook() {
    static UserControl::ErrorReport report;
    return report;
}

// Mouse buttons as the control counts them: 1 left, 2 right, 4 middle.
short ButtonBits(Qt::MouseButtons buttons) {
    short bits = 0;
    if (buttons & Qt::LeftButton) {
        bits |= MouseButton::Left;
    }
    if (buttons & Qt::RightButton) {
        bits |= MouseButton::Right;
    }
    if (buttons & Qt::MiddleButton) {
        bits |= MouseButton::Middle;
    }
    return bits;
}

// Shift state: 1 Shift, 2 Ctrl, 4 Alt.
short ShiftBits(Qt::KeyboardModifiers modifiers) {
    short bits = 0;
    if (modifiers & Qt::ShiftModifier) {
        bits |= 1;
    }
    if (modifiers & Qt::ControlModifier) {
        bits |= 2;
    }
    if (modifiers & Qt::AltModifier) {
        bits |= 4;
    }
    return bits;
}

// The desktop's virtual key code of a Qt key, 0 for keys it has no code for.
short VirtualKey(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return static_cast<short>(key); // same codes as upper-case ASCII
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return static_cast<short>(112 + (key - Qt::Key_F1));
    }
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return KeyCode::Space;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return KeyCode::Left;
    case Qt::Key_Up:
        return KeyCode::Up;
    case Qt::Key_Right:
        return KeyCode::Right;
    case Qt::Key_Down:
        return KeyCode::Down;
    case Qt::Key_Print:
        return 44;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Help:
        return 47;
    case Qt::Key_Menu:
        return 93;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    default:
        return 0;
    }
}

Qt::CursorShape StandardPointer(short number) {
    switch (number) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
    case 15:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor; // 1 arrow, 4 icon, and numbers we do not know
    }
}

} // namespace

UserControl::UserControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    // The image covers every pixel, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Every move is a notification, with or without a button held.
    setMouseTracking(true);
}

UserControl::~UserControl() = default;

void UserControl::InitProperties() {
    UserControl_InitProperties();
}

void UserControl::ReadProperties(const PropertyBag& bag) {
    UserControl_ReadProperties(bag);
}

void UserControl::WriteProperties(PropertyBag& bag) {
    UserControl_WriteProperties(bag);
}

AmbientProperties UserControl::Ambient() const {
    AmbientProperties ambient;
    ambient.DisplayName = objectName();
    if (parentWidget() != nullptr) {
        ambient.Font = parentWidget()->font();
    } else {
        ambient.Font = QApplication::font();
    }
    ambient.UserMode = userMode;
    ambient.DisplayAsDefault = displayAsDefault;
    return ambient;
}

void UserControl::SetAmbientUserMode(bool mode) {
    userMode = mode;
    UserControl_AmbientChanged(QStringLiteral("UserMode"));
}

void UserControl::SetAmbientDisplayAsDefault(bool value) {
    displayAsDefault = value;
    UserControl_AmbientChanged(QStringLiteral("DisplayAsDefault"));
}

void UserControl::SetErrorReport(ErrorReport report) {
    ErrorReportHook() = std::move(report);
}

void UserControl::ReportError(const QWidget* control, const std::exception& error) {
    if (ErrorReportHook()) {
        ErrorReportHook()(control, error);
        return;
    }
    qWarning("%s %s: %s", control != nullptr ? control->metaObject()->className() : "control",
             control != nullptr ? qPrintable(control->objectName()) : "", error.what());
}

QCursor UserControl::LoadResCursor(int id) {
    if (id == HandCursorResource) {
        return QCursor(Qt::PointingHandCursor);
    }
    throw std::runtime_error("Resource with identifier '" + std::to_string(id) + "' not found");
}

void UserControl::Cls() {
    Surface().fill(palette().color(QPalette::Button));
}

void UserControl::RefreshSurface() {
    repaint();
}

void UserControl::SetCapture() {
    // Qt already sends the release to the widget that got the press (or double click); an
    // explicit grab is needed only when no button went down here.
    if (pressedHere == Qt::NoButton && isVisible() && QWidget::mouseGrabber() != this) {
        grabMouse();
        captured = true;
    }
}

void UserControl::SendFocusKey(bool next) {
    // Like a posted keystroke, the move happens after the current handler has finished.
    QPointer<UserControl> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, next] {
            if (self) {
                self->focusNextPrevChild(next);
            }
        },
        Qt::QueuedConnection);
}

void UserControl::SetAccessKeys(const QString& keys) {
    for (int id : shortcutIds) {
        releaseShortcut(id);
    }
    shortcutIds.clear();
    accessKeys = keys;
    for (QChar c : keys) {
        const int key = c.toUpper().unicode();
        shortcutIds.push_back(grabShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(key)))));
    }
}

void UserControl::SetPointerNumber(short number) {
    pointerNumber = number;
    ApplyPointer();
}

void UserControl::SetPointerIcon(const Picture& icon) {
    pointerIcon = icon;
    pointerCursor.reset();
    ApplyPointer();
}

void UserControl::SetPointerCursor(const QCursor& cursor) {
    pointerIcon = Picture();
    pointerCursor = cursor;
    ApplyPointer();
}

void UserControl::ApplyPointer() {
    if (pointerNumber == Pointer::Default) {
        unsetCursor();
    } else if (pointerNumber == Pointer::Custom) {
        if (pointerCursor) {
            setCursor(*pointerCursor);
        } else if (!pointerIcon.IsEmpty()) {
            setCursor(QCursor(QPixmap::fromImage(pointerIcon.Image())));
        } else {
            setCursor(Qt::ArrowCursor);
        }
    } else {
        setCursor(StandardPointer(pointerNumber));
    }
}

bool UserControl::IsInside(const QPoint& pos) const {
    return rect().contains(pos) && (mask().isEmpty() || mask().contains(pos));
}

void UserControl::RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ReportError(this, error);
    }
}

bool UserControl::event(QEvent* e) {
    // The error boundary: an error that ends a notification handler must not unwind into Qt.
    try {
        if (e->type() == QEvent::Shortcut) {
            auto* shortcut = static_cast<QShortcutEvent*>(e);
            for (std::size_t i = 0; i < shortcutIds.size(); ++i) {
                if (shortcutIds[i] == shortcut->shortcutId()) {
                    setFocus(Qt::ShortcutFocusReason);
                    short keyAscii = static_cast<short>(accessKeys.at(static_cast<qsizetype>(i)).unicode());
                    UserControl_AccessKeyPress(keyAscii);
                    return true;
                }
            }
        }
        return QWidget::event(e);
    } catch (const std::exception& error) {
        ReportError(this, error);
        return true;
    }
}

void UserControl::paintEvent(QPaintEvent*) {
    if (const qreal ratio = SurfaceRatio(); ratio != surfaceRatio) {
        // Moved to a screen of another resolution: the control draws itself again at this one.
        RebuildSurface(ratio);
        UserControl_Resize();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, surface);
}

void UserControl::resizeEvent(QResizeEvent*) {
    SyncSurfaceSize();
    UserControl_Resize();
}

void UserControl::SyncSurfaceSize() {
    // Runs before every drawing call, so it only compares sizes; the screen's ratio is asked for
    // when the size changes and at each paint.
    if (size() != surfaceSize) {
        RebuildSurface(SurfaceRatio());
    }
}

void UserControl::RebuildSurface(qreal ratio) {
    // The image keeps what was drawn where the new size still covers it.
    surfaceSize = size();
    surfaceRatio = ratio;
    const QSize pixels = ratio == 1.0 ? size() : (QSizeF(size()) * ratio).toSize();
    QImage grown(pixels, QImage::Format_RGB32);
    if (!grown.isNull()) {
        grown.setDevicePixelRatio(ratio);
        grown.fill(palette().color(QPalette::Button));
        if (!surface.isNull()) {
            QPainter painter(&grown);
            painter.drawImage(0, 0, surface);
        }
    }
    surface = grown;
}

void UserControl::showEvent(QShowEvent*) {
    UserControl_Show();
}

void UserControl::hideEvent(QHideEvent*) {
    UserControl_Hide();
}

void UserControl::mousePressEvent(QMouseEvent* e) {
    const Qt::MouseButton button = e->button();
    // Qt delivers the second press of a double click before the double click itself; the
    // control sees the double click in place of that press.
    const bool secondOfDouble = button == lastPressButton &&
                                e->timestamp() - lastPressTime < ulong(QApplication::doubleClickInterval()) &&
                                (e->position().toPoint() - lastPressPos).manhattanLength() <=
                                    QGuiApplication::styleHints()->mouseDoubleClickDistance();
    lastPressTime = e->timestamp();
    lastPressPos = e->position().toPoint();
    lastPressButton = secondOfDouble ? Qt::NoButton : button;
    pressedHere |= button;
    if (secondOfDouble) {
        swallowNextPress = true;
        return;
    }
    releaseEndsDouble = false;
    short b = ButtonBits(button);
    short shift = ShiftBits(e->modifiers());
    float x = static_cast<float>(e->position().x());
    float y = static_cast<float>(e->position().y());
    UserControl_MouseDown(b, shift, x, y);
}

void UserControl::mouseDoubleClickEvent(QMouseEvent* e) {
    swallowNextPress = false;
    pressedHere |= e->button();
    releaseEndsDouble = true;
    UserControl_DblClick();
}

void UserControl::mouseMoveEvent(QMouseEvent* e) {
    short b = ButtonBits(e->buttons());
    short shift = ShiftBits(e->modifiers());
    float x = static_cast<float>(e->position().x());
    float y = static_cast<float>(e->position().y());
    UserControl_MouseMove(b, shift, x, y);
}

void UserControl::mouseReleaseEvent(QMouseEvent* e) {
    const Qt::MouseButton button = e->button();
    short b = ButtonBits(button);
    short shift = ShiftBits(e->modifiers());
    float x = static_cast<float>(e->position().x());
    float y = static_cast<float>(e->position().y());
    if (swallowNextPress) {
        // The press was held back for a double click that never came: it was a plain press.
        swallowNextPress = false;
        short b2 = b, shift2 = shift;
        float x2 = x, y2 = y;
        UserControl_MouseDown(b2, shift2, x2, y2);
    }
    const bool pressed = pressedHere.testFlag(button);
    pressedHere &= ~Qt::MouseButtons(button);
    const bool afterDouble = releaseEndsDouble;
    releaseEndsDouble = false;
    if (captured && e->buttons() == Qt::NoButton) {
        captured = false;
        releaseMouse();
    }
    const bool inside = IsInside(e->position().toPoint());
    UserControl_MouseUp(b, shift, x, y);
    if (pressed && !afterDouble && inside) {
        UserControl_Click();
    }
}

void UserControl::keyPressEvent(QKeyEvent* e) {
    short keyCode = VirtualKey(e->key());
    short shift = ShiftBits(e->modifiers());
    UserControl_KeyDown(keyCode, shift);
    const QString text = e->text();
    if (!text.isEmpty() && text.at(0).unicode() < 0x8000) {
        short keyAscii = static_cast<short>(text.at(0).unicode());
        UserControl_KeyPress(keyAscii);
    }
}

void UserControl::keyReleaseEvent(QKeyEvent* e) {
    if (e->isAutoRepeat()) {
        return; // a held key repeats its key-down only
    }
    short keyCode = VirtualKey(e->key());
    short shift = ShiftBits(e->modifiers());
    UserControl_KeyUp(keyCode, shift);
}

void UserControl::focusInEvent(QFocusEvent*) {
    UserControl_GotFocus();
}

void UserControl::focusOutEvent(QFocusEvent*) {
    UserControl_LostFocus();
}

void UserControl::changeEvent(QEvent* e) {
    // A host that disables this very widget (not an ancestor) changes the control's Enabled.
    if (e->type() == QEvent::EnabledChange) {
        UserControl_EnabledChanged(!testAttribute(Qt::WA_ForceDisabled));
    } else if (e->type() == QEvent::PaletteChange || e->type() == QEvent::ApplicationPaletteChange) {
        // The desktop colours the control draws with come from the palette.
        UserControl_AmbientChanged(QStringLiteral("Palette"));
    }
    QWidget::changeEvent(e);
}

} // namespace platform
