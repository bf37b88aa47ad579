// StyledButton as a button: mouse, keyboard, access key and focus handling, hover tracking with the
// 3 ms timer, toggling, resizing with its window region, and the control's life cycle.
#include "StyledButton.h"

#include "CursorQuery.h"
#include "OverflowError.h"

#include <QTimer>

void StyledButton::UserControl_Initialize() {
    RedrawEnabled = true;
}

bool StyledButton::IsMouseOver() const {
    return platform::CursorQuery::WindowAtCursor() == hwnd();
}

void StyledButton::UserControl_MouseDown(short& Button, short& Shift, float& X, float& Y) {
    emit MouseDown(Button, Shift, X, Y);
    LastButton = platform::NarrowChecked<std::uint8_t>(Button, "Button");
    if (Button != platform::MouseButton::Right) {
        Redraw(StateDown, false);
    }
}

void StyledButton::UserControl_MouseMove(short& Button, short& Shift, float& X, float& Y) {
    emit MouseMove(Button, Shift, X, Y);
    if (Button == platform::MouseButton::None || Button == platform::MouseButton::Left) {
        HoverStep(Button);
    }
}

void StyledButton::HoverStep(short button) {
    if (!IsMouseOver()) {
        Redraw(StateUp, false); // dragging off the button with the left button held lifts it
        return;
    }
    if (button == platform::MouseButton::None && !IsOver) {
        OverTimer->start();
        IsOver = true;
        Redraw(StateUp, true);
        emit MouseOver();
    } else if (button == platform::MouseButton::Left) {
        // The down look is drawn with the hover flag set, then the flag is cleared again.
        IsOver = true;
        Redraw(StateDown, false);
        IsOver = false;
    }
}

void StyledButton::OverTimer_Timer() {
    if (IsMouseOver()) {
        return;
    }
    OverTimer->stop();
    IsOver = false;
    Redraw(StateUp, true);
    emit MouseOut();
}

void StyledButton::UserControl_MouseUp(short& Button, short& Shift, float& X, float& Y) {
    emit MouseUp(Button, Shift, X, Y);
    if (Button != platform::MouseButton::Right) {
        Redraw(StateUp, false);
    }
}

void StyledButton::UserControl_Click() {
    if (LastButton != platform::MouseButton::Left || !Props.Enabled) {
        return;
    }
    // Shown up before the host's handler runs, which may open a modal dialog.
    ToggleAndClick(true);
}

void StyledButton::UserControl_DblClick() {
    if (LastButton != platform::MouseButton::Left) {
        return;
    }
    short button = platform::MouseButton::Left;
    short shift = 0;
    float x = 0;
    float y = 0;
    UserControl_MouseDown(button, shift, x, y);
    SetCapture(); // so that the release arrives here as a mouse up
}

void StyledButton::UserControl_KeyDown(short& KeyCode, short& Shift) {
    emit KeyDown(KeyCode, Shift);
    LastKey = platform::NarrowChecked<std::uint8_t>(KeyCode, "KeyCode");
    switch (KeyCode) {
    case platform::KeyCode::Space:
        Redraw(StateDown, false);
        break;
    case platform::KeyCode::Left:
    case platform::KeyCode::Up:
        SendFocusKey(false);
        break;
    case platform::KeyCode::Right:
    case platform::KeyCode::Down:
        SendFocusKey(true);
        break;
    default:
        break;
    }
}

void StyledButton::UserControl_KeyPress(short& KeyAscii) {
    emit KeyPress(KeyAscii);
}

void StyledButton::UserControl_KeyUp(short& KeyCode, short& Shift) {
    emit KeyUp(KeyCode, Shift);
    if (LastKey != platform::KeyCode::Space || KeyCode != platform::KeyCode::Space) {
        return;
    }
    ToggleAndClick(false);
}

void StyledButton::ToggleAndClick(bool forceRedraw) {
    if (Props.CheckBoxBehaviour) {
        Props.Value = !Props.Value;
    }
    Redraw(StateUp, forceRedraw);
    RefreshSurface();
    emit Click();
}

void StyledButton::UserControl_AccessKeyPress(short&) {
    LastButton = platform::MouseButton::Left;
    UserControl_Click();
}

void StyledButton::UserControl_GotFocus() {
    HasFocus = true;
    Redraw(LastState, true);
}

void StyledButton::UserControl_LostFocus() {
    HasFocus = false;
    Redraw(LastState, true);
}

void StyledButton::UserControl_Resize() {
    if (Capturing) {
        return; // the background capture shrinks the control for a moment
    }
    ClientWidth = width();
    ClientHeight = height();
    FocusRect = {0, 0, ClientWidth, ClientHeight};
    if (Props.ButtonType >= FlatBevel && Props.ButtonType <= Elliptic) {
        gdi::InflateRect(FocusRect, -3, -3);
    } else if (Props.ButtonType == GradientPanel) {
        gdi::InflateRect(FocusRect, -5, -5);
        gdi::OffsetRect(FocusRect, 1, 1);
    } else {
        gdi::InflateRect(FocusRect, -4, -4);
    }
    LayoutCaption();
    ButtonRegion = BuildRegion();
    // The window keeps its own copy of the region; a 0-sized control has nothing to show.
    if (ButtonRegion.isEmpty()) {
        clearMask();
    } else {
        setMask(ButtonRegion);
    }
    if (ClientHeight != 0) {
        Redraw(StateUp, true);
    }
}

void StyledButton::UserControl_Show() {
    if (Props.ButtonType == ParentBackground) {
        if (!BackgroundDC) {
            // Made once, at the size the control has now; later resizes keep it.
            BackgroundBitmap = std::make_unique<QImage>(std::max(ClientWidth, 0), std::max(ClientHeight, 0),
                                                        QImage::Format_RGB32);
            if (!BackgroundBitmap->isNull()) {
                BackgroundBitmap->fill(Qt::black);
            }
            BackgroundDC = std::make_unique<gdi::DeviceContext>(*BackgroundBitmap);
        }
        CaptureBackground();
    }
    RedrawEnabled = true;
    ComputeColors();
    Redraw(StateUp, true);
}

void StyledButton::UserControl_Hide() {
    RedrawEnabled = false;
}

void StyledButton::UserControl_Terminate() {
    RedrawEnabled = false;
    BackgroundDC.reset();
    BackgroundBitmap.reset();
}

void StyledButton::UserControl_AmbientChanged(const QString&) {
    ComputeColors();
    Redraw(LastState, true);
}

void StyledButton::DisableRefresh() {
    RedrawEnabled = false;
}

void StyledButton::Refresh() {
    if (Props.ButtonType == ParentBackground) {
        CaptureBackground();
    }
    ComputeColors();
    LayoutCaption();
    RedrawEnabled = true;
    Redraw(LastState, true);
}
