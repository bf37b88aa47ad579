// StyledButton's properties: their setters and side effects, the defaults of a new instance, and
// loading and saving through the host's property bag.
#include "StyledButton.h"

#include "OverflowError.h"
#include "PropertyBag.h"
#include "StyledButtonAccessible.h"
#include "SysColors.h"

#include <QTimer>
#include <cmath>
#include <stdexcept>

namespace {

// How often, in milliseconds, the hover timer asks whether the pointer has left the button.
constexpr int HoverInterval = 3;

} // namespace

StyledButton::StyledButton(QWidget* parent) : platform::UserControl(parent) {
    OverTimer = new QTimer(this);
    OverTimer->setInterval(HoverInterval);
    connect(OverTimer, &QTimer::timeout, this, [this] { RunGuarded([this] { OverTimer_Timer(); }); });
    UserControl_Initialize();
    StyledButtonAccessible::InstallFactory();
    AccessibleShown = CurrentAccessibleFacts();
}

StyledButton::~StyledButton() {
    UserControl_Terminate();
}

void StyledButton::UserControl_InitProperties() {
    Props.Enabled = true;
    Props.ShowFocusRect = true;
    Props.UseMaskColor = true;
    const platform::AmbientProperties ambient = Ambient();
    Props.Caption = ambient.DisplayName;
    setFont(ambient.Font);
    Props.ButtonType = ClassicBevel;
    Props.ColorScheme = SystemColors;
    ComputeColors();
    // Plain RGB values of the desktop colours at this moment, not references to them.
    Props.BackColor = FaceColor;
    Props.BackOver = FaceColor;
    Props.ForeColor = TextColor;
    Props.ForeOver = TextColor;
    Props.MaskColor = 0xC0C0C0;
    LayoutCaption();
}

void StyledButton::UserControl_ReadProperties(const platform::PropertyBag& bag) {
    Props.ButtonType = bag.ReadInt32("BTYPE", ClassicBevel);
    Props.Caption = bag.ReadText("TX", QString());
    Props.Enabled = bag.ReadBool("ENAB", true);
    setFont(bag.ReadFont("FONT", font()));
    Props.ColorScheme = bag.ReadInt32("COLTYPE", SystemColors);
    Props.ShowFocusRect = bag.ReadBool("FOCUSR", true);
    Props.BackColor = bag.ReadColor("BCOL", gdi::GetSysColor(gdi::ColorBtnFace));
    Props.BackOver = bag.ReadColor("BCOLO", Props.BackColor);
    Props.ForeColor = bag.ReadColor("FCOL", gdi::GetSysColor(gdi::ColorBtnText));
    Props.ForeOver = bag.ReadColor("FCOLO", Props.ForeColor);
    Props.MaskColor = bag.ReadColor("MCOL", 0xC0C0C0);
    SetPointerNumber(bag.ReadInt16("MPTR", 0));
    SetPointerIcon(bag.ReadPicture("MICON"));
    Props.PictureNormal = bag.ReadPicture("PICN");
    Props.PictureOver = bag.ReadPicture("PICH");
    Props.UseMaskColor = bag.ReadBool("UMCOL", true);
    Props.SoftBevel = bag.ReadBool("SOFT", false);
    Props.PicturePosition = bag.ReadInt32("PICPOS", PictureLeft);
    Props.UseGreyscale = bag.ReadBool("NGREY", false);
    Props.SpecialEffect = bag.ReadInt32("FX", EffectNone);
    // Through the setter: the hand setting decides the pointer and icon just loaded.
    SetHandPointer(bag.ReadBool("HAND", false));
    Props.CheckBoxBehaviour = bag.ReadBool("CHECK", false);
    Props.Value = bag.ReadBool("VALUE", false);
    setEnabled(Props.Enabled);
    MeasurePicture();
    LayoutCaption();
    SetAccessKeys();
}

void StyledButton::UserControl_WriteProperties(platform::PropertyBag& bag) {
    bag.WriteProperty("BTYPE", Props.ButtonType);
    bag.WriteProperty("TX", Props.Caption);
    bag.WriteProperty("ENAB", Props.Enabled);
    bag.WriteProperty("FONT", font());
    bag.WriteProperty("COLTYPE", Props.ColorScheme);
    bag.WriteProperty("FOCUSR", Props.ShowFocusRect);
    bag.WriteProperty("BCOL", static_cast<std::int32_t>(Props.BackColor));
    bag.WriteProperty("BCOLO", static_cast<std::int32_t>(Props.BackOver));
    bag.WriteProperty("FCOL", static_cast<std::int32_t>(Props.ForeColor));
    bag.WriteProperty("FCOLO", static_cast<std::int32_t>(Props.ForeOver));
    bag.WriteProperty("MCOL", static_cast<std::int32_t>(Props.MaskColor));
    bag.WriteProperty("MPTR", PointerNumber());
    bag.WriteProperty("MICON", PointerIcon());
    bag.WriteProperty("PICN", Props.PictureNormal);
    bag.WriteProperty("PICH", Props.PictureOver);
    bag.WriteProperty("UMCOL", Props.UseMaskColor);
    bag.WriteProperty("SOFT", Props.SoftBevel);
    bag.WriteProperty("PICPOS", Props.PicturePosition);
    bag.WriteProperty("NGREY", Props.UseGreyscale);
    bag.WriteProperty("FX", Props.SpecialEffect);
    bag.WriteProperty("HAND", Props.HandPointer);
    bag.WriteProperty("CHECK", Props.CheckBoxBehaviour);
    bag.WriteProperty("VALUE", Props.Value);
}

void StyledButton::SetBackColor(std::uint32_t value) {
    Props.BackColor = value;
    if (!Ambient().UserMode) {
        Props.BackOver = value; // while designing, the hover face follows the face
    }
    ComputeColors();
    Redraw(LastState, true);
    PropertyChanged("BackColor");
}

void StyledButton::SetBackOver(std::uint32_t value) {
    Props.BackOver = value;
    ComputeColors();
    Redraw(LastState, true);
    PropertyChanged("BackOver");
}

void StyledButton::SetForeColor(std::uint32_t value) {
    Props.ForeColor = value;
    if (!Ambient().UserMode) {
        Props.ForeOver = value;
    }
    ComputeColors();
    Redraw(LastState, true);
    PropertyChanged("ForeColor");
}

void StyledButton::SetForeOver(std::uint32_t value) {
    Props.ForeOver = value;
    ComputeColors();
    Redraw(LastState, true);
    PropertyChanged("ForeOver");
}

void StyledButton::SetMaskColor(std::uint32_t value) {
    Props.MaskColor = value;
    ComputeColors();
    Redraw(LastState, true);
    PropertyChanged("MaskColor");
}

void StyledButton::SetButtonType(std::int32_t value) {
    Props.ButtonType = value;
    if (value == FlatPanel && !Ambient().UserMode) {
        QFont f = font();
        f.setBold(true);
        setFont(f);
    } else if (value == ParentBackground && RedrawEnabled) {
        CaptureBackground();
    }
    UserControl_Resize();
    PropertyChanged("ButtonType");
}

void StyledButton::SetCaption(const QString& value) {
    Props.Caption = value;
    SetAccessKeys();
    LayoutCaption();
    Redraw(StateUp, true);
    PropertyChanged("Caption");
}

void StyledButton::SetEnabled(bool value) {
    Props.Enabled = value;
    Redraw(StateUp, true);
    setEnabled(value);
    NotifyAccessibility(); // the widget's own state has only now followed
    PropertyChanged("Enabled");
}

void StyledButton::UserControl_EnabledChanged(bool enabled) {
    // A host that enables or disables the widget itself reaches the Enabled property.
    if (enabled != Props.Enabled) {
        SetEnabled(enabled);
    }
}

void StyledButton::SetFont(const QFont& value) {
    setFont(value);
    LayoutCaption();
    Redraw(StateUp, true);
    PropertyChanged("Font");
}

void StyledButton::SetFontBold(bool value) {
    QFont f = font();
    f.setBold(value);
    setFont(f);
    LayoutCaption();
    Redraw(StateUp, true);
}

void StyledButton::SetFontItalic(bool value) {
    QFont f = font();
    f.setItalic(value);
    setFont(f);
    LayoutCaption();
    Redraw(StateUp, true);
}

void StyledButton::SetFontUnderline(bool value) {
    QFont f = font();
    f.setUnderline(value);
    setFont(f);
    LayoutCaption();
    Redraw(StateUp, true);
}

std::int16_t StyledButton::FontSize() const {
    return platform::NarrowChecked<std::int16_t>(std::llround(std::nearbyint(font().pointSizeF())),
                                                 "FontSize");
}

void StyledButton::SetFontSize(std::int16_t value) {
    if (value <= 0) {
        throw std::invalid_argument("Invalid property value: FontSize must be at least 1");
    }
    QFont f = font();
    f.setPointSize(value);
    setFont(f);
    LayoutCaption();
    Redraw(StateUp, true);
}

void StyledButton::SetFontName(const QString& value) {
    QFont f = font();
    f.setFamily(value);
    setFont(f);
    LayoutCaption();
    Redraw(StateUp, true);
}

void StyledButton::SetColorScheme(std::int32_t value) {
    Props.ColorScheme = value;
    ComputeColors();
    Redraw(StateUp, true);
    PropertyChanged("ColorScheme");
}

void StyledButton::SetShowFocusRect(bool value) {
    Props.ShowFocusRect = value;
    Redraw(LastState, true);
    PropertyChanged("ShowFocusRect");
}

void StyledButton::SetMousePointer(std::int32_t value) {
    SetPointerNumber(platform::NarrowChecked<std::int16_t>(value, "MousePointer"));
    PropertyChanged("MousePointer");
}

void StyledButton::SetMouseIcon(const platform::Picture& value) {
    try {
        SetPointerIcon(value);
    } catch (const std::exception&) {
        // A picture the surface cannot use as a pointer leaves the pointer as it was.
    }
    PropertyChanged("MouseIcon");
}

void StyledButton::SetHandPointer(bool value) {
    Props.HandPointer = value;
    if (value) {
        SetPointerCursor(LoadResCursor(platform::HandCursorResource));
        SetPointerNumber(platform::Pointer::Custom);
    } else {
        SetPointerIcon(platform::Picture());
        SetPointerNumber(platform::Pointer::Arrow);
    }
    PropertyChanged("HandPointer");
}

void StyledButton::SetSoftBevel(bool value) {
    Props.SoftBevel = value;
    ComputeColors();
    Redraw(LastState, true);
    PropertyChanged("SoftBevel");
}

void StyledButton::SetPictureNormal(const platform::Picture& value) {
    Props.PictureNormal = value;
    MeasurePicture();
    LayoutCaption();
    Redraw(LastState, true);
    PropertyChanged("PictureNormal");
}

void StyledButton::SetPictureOver(const platform::Picture& value) {
    Props.PictureOver = value;
    if (IsOver) {
        Redraw(LastState, true);
    }
    PropertyChanged("PictureOver");
}

void StyledButton::SetPicturePosition(std::int32_t value) {
    Props.PicturePosition = value;
    PropertyChanged("PicturePosition");
    LayoutCaption();
    Redraw(LastState, true);
}

void StyledButton::SetUseMaskColor(bool value) {
    Props.UseMaskColor = value;
    if (!Props.PictureNormal.IsEmpty()) {
        Redraw(LastState, true);
    }
    PropertyChanged("UseMaskColor");
}

void StyledButton::SetUseGreyscale(bool value) {
    Props.UseGreyscale = value;
    if (!Props.PictureNormal.IsEmpty()) {
        Redraw(LastState, true);
    }
    PropertyChanged("UseGreyscale");
}

void StyledButton::SetSpecialEffect(std::int32_t value) {
    Props.SpecialEffect = value;
    Redraw(LastState, true);
    PropertyChanged("SpecialEffect");
}

void StyledButton::SetCheckBoxBehaviour(bool value) {
    Props.CheckBoxBehaviour = value;
    Redraw(LastState, true);
    PropertyChanged("CheckBoxBehaviour");
}

void StyledButton::SetValue(bool value) {
    Props.Value = value;
    if (Props.CheckBoxBehaviour) {
        Redraw(StateUp, true); // a checked toggle draws itself down
    }
    PropertyChanged("Value");
}
