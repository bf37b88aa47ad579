// StyledButton: a self-drawn command button with persisted properties, hover tracking, toggle
// behaviour and fourteen drawing styles, built on the UserControl surface.
#pragma once

#include "Color.h"
#include "GdiDC.h"
#include "Picture.h"
#include "UserControl.h"

#include <QRegion>
#include <QString>
#include <cstdint>
#include <memory>

class QTimer;
class StyledButtonAccessible;

class StyledButton : public platform::UserControl {
    Q_OBJECT
    friend class StyledButtonAccessible;

public:
    // Style numbers of ButtonType.
    enum Style : std::int32_t {
        BorderedBevel = 1,
        ClassicBevel = 2,
        GradientFramed = 3,
        InsetPanel = 4,
        FlatPanel = 5,
        LightBevel = 6,
        FlatBevel = 7,
        HoverBevel = 8,
        SelectionHover = 9,
        PlainFace = 10,
        ParentBackground = 11,
        HoverClassicBevel = 12,
        Elliptic = 13,
        GradientPanel = 14,
    };
    // A type number past the fourteen styles that only the pressed look knows, drawn there as
    // BorderedBevel; its normal and disabled looks draw nothing.
    static constexpr std::int32_t PressedBorderedBevel = 15;
    enum Scheme : std::int32_t { SystemColors = 1, CustomColors = 2, FixedColors = 3, ContainerColors = 4 };
    enum PicturePlace : std::int32_t {
        PictureLeft = 0,
        PictureRight = 1,
        PictureAbove = 2,
        PictureBelow = 3,
        PictureBehind = 4,
    };
    enum Effect : std::int32_t { EffectNone = 0, EffectRaised = 1, EffectSunken = 2, EffectShadow = 3 };

    explicit StyledButton(QWidget* parent = nullptr);
    ~StyledButton() override;

    // Properties. Colours are OLE colours: 0x00BBGGRR, or 0x800000nn naming system colour nn.
    std::uint32_t BackColor() const { return Props.BackColor; }
    void SetBackColor(std::uint32_t value);
    std::uint32_t BackOver() const { return Props.BackOver; }
    void SetBackOver(std::uint32_t value);
    std::uint32_t ForeColor() const { return Props.ForeColor; }
    void SetForeColor(std::uint32_t value);
    std::uint32_t ForeOver() const { return Props.ForeOver; }
    void SetForeOver(std::uint32_t value);
    std::uint32_t MaskColor() const { return Props.MaskColor; }
    void SetMaskColor(std::uint32_t value);
    std::int32_t ButtonType() const { return Props.ButtonType; }
    void SetButtonType(std::int32_t value);
    QString Caption() const { return Props.Caption; }
    void SetCaption(const QString& value);
    bool Enabled() const { return Props.Enabled; }
    void SetEnabled(bool value);
    QFont Font() const { return font(); }
    void SetFont(const QFont& value);
    bool FontBold() const { return font().bold(); }
    void SetFontBold(bool value);
    bool FontItalic() const { return font().italic(); }
    void SetFontItalic(bool value);
    bool FontUnderline() const { return font().underline(); }
    void SetFontUnderline(bool value);
    std::int16_t FontSize() const; // whole points, halves to even
    void SetFontSize(std::int16_t value);
    QString FontName() const { return font().family(); }
    void SetFontName(const QString& value);
    std::int32_t ColorScheme() const { return Props.ColorScheme; }
    void SetColorScheme(std::int32_t value);
    bool ShowFocusRect() const { return Props.ShowFocusRect; }
    void SetShowFocusRect(bool value);
    std::int32_t MousePointer() const { return PointerNumber(); }
    void SetMousePointer(std::int32_t value); // throws OverflowError outside 16 bits
    platform::Picture MouseIcon() const { return PointerIcon(); }
    void SetMouseIcon(const platform::Picture& value);
    bool HandPointer() const { return Props.HandPointer; }
    void SetHandPointer(bool value);
    const QWidget* hwnd() const { return this; }
    bool SoftBevel() const { return Props.SoftBevel; }
    void SetSoftBevel(bool value);
    platform::Picture PictureNormal() const { return Props.PictureNormal; }
    void SetPictureNormal(const platform::Picture& value);
    platform::Picture PictureOver() const { return Props.PictureOver; }
    void SetPictureOver(const platform::Picture& value);
    std::int32_t PicturePosition() const { return Props.PicturePosition; }
    void SetPicturePosition(std::int32_t value);
    bool UseMaskColor() const { return Props.UseMaskColor; }
    void SetUseMaskColor(bool value);
    bool UseGreyscale() const { return Props.UseGreyscale; }
    void SetUseGreyscale(bool value);
    std::int32_t SpecialEffect() const { return Props.SpecialEffect; }
    void SetSpecialEffect(std::int32_t value);
    bool CheckBoxBehaviour() const { return Props.CheckBoxBehaviour; }
    void SetCheckBoxBehaviour(bool value);
    bool Value() const { return Props.Value; }
    void SetValue(bool value);
    QString Version() const { return QStringLiteral("2.0.6 B"); }

    // Stops all drawing until Refresh (or the next show).
    void DisableRefresh();
    // Recomputes colours and layout and repaints in the last state.
    void Refresh();

signals:
    // The control's events. Arguments are references: with a direct connection a handler may
    // change them, and the button then acts on the changed values.
    void Click();
    void MouseDown(short& Button, short& Shift, float& X, float& Y);
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    void MouseUp(short& Button, short& Shift, float& X, float& Y);
    void KeyPress(short& KeyAscii);
    void KeyDown(short& KeyCode, short& Shift);
    void KeyUp(short& KeyCode, short& Shift);
    void MouseOver();
    void MouseOut();

protected:
    // Surface notifications.
    void UserControl_Initialize() override;
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const platform::PropertyBag& bag) override;
    void UserControl_WriteProperties(platform::PropertyBag& bag) override;
    void UserControl_MouseDown(short& Button, short& Shift, float& X, float& Y) override;
    void UserControl_MouseMove(short& Button, short& Shift, float& X, float& Y) override;
    void UserControl_MouseUp(short& Button, short& Shift, float& X, float& Y) override;
    void UserControl_Click() override;
    void UserControl_DblClick() override;
    void UserControl_KeyDown(short& KeyCode, short& Shift) override;
    void UserControl_KeyPress(short& KeyAscii) override;
    void UserControl_KeyUp(short& KeyCode, short& Shift) override;
    void UserControl_AccessKeyPress(short& KeyAscii) override;
    void UserControl_GotFocus() override;
    void UserControl_LostFocus() override;
    void UserControl_Resize() override;
    void UserControl_Show() override;
    void UserControl_Hide() override;
    void UserControl_Terminate() override;
    void UserControl_AmbientChanged(const QString& PropertyName) override;
    void UserControl_EnabledChanged(bool enabled) override;
    void OverTimer_Timer();

    // Hover test and the hover step of a mouse move with no button or the left button held.
    bool IsMouseOver() const;
    void HoverStep(short button);
    // A click: toggles a check-box button, shows it up on screen, then raises Click.
    void ToggleAndClick(bool forceRedraw);

    // Drawing primitives on the control's surface.
    void DrawRectangle(int x, int y, int width, int height, gdi::COLORREF color, bool frameOnly = false);
    void DrawEllipse(int x, int y, int width, int height, gdi::COLORREF borderColor, gdi::COLORREF fillColor);
    void DrawLine(int x1, int y1, int x2, int y2, gdi::COLORREF color);
    void DrawFrame(gdi::COLORREF outerLight, gdi::COLORREF outerDark, gdi::COLORREF innerLight,
                   gdi::COLORREF innerDark, std::int16_t inset, bool singleRing);
    void DrawPixel(int x, int y, gdi::COLORREF color);
    void DrawInnerCorners(gdi::COLORREF color);
    void DrawFocus();
    void DrawCaptionOutline();

public:
    // Colour arithmetic; ShiftColor and LightenColor read SoftBevel.
    static gdi::COLORREF TranslateColor(std::uint32_t color);
    gdi::COLORREF ShiftColor(gdi::COLORREF color, std::int32_t amount, bool proportionalBlue = false) const;
    static gdi::COLORREF LightenColor(gdi::COLORREF color, std::int32_t amount);

protected:
    // The states the renderer draws and keeps in LastState: up, or down while pressed (or
    // checked). The three gradient styles draw a disabled state between them.
    enum DrawState : std::uint8_t { StateUp = 0, StateDisabled = 1, StateDown = 2 };
    // How DrawCaption draws the caption (CaptionLook).
    enum CaptionLooks : std::uint8_t {
        CaptionNormal = 0,
        CaptionHover = 1,
        CaptionPressed = 2,
        CaptionEngraved = 3,
        CaptionFlat = 4,
        CaptionGradient = 5,
        CaptionEmbossed = 6,
        CaptionPressedGradient = 7,
    };
    // How DrawPicture draws the picture.
    enum PictureLooks : std::uint8_t { PictureUp = 0, PictureDown = 1, PictureDisabled = 2 };

    void ComputeColors();
    QRegion BuildRegion() const;
    void SetAccessKeys();
    void MeasurePicture();
    void LayoutCaption();
    void PlacePicture();
    void DrawCaption(std::uint8_t look);
    void DrawCaptionEffect(const gdi::Rect& rect);
    void DrawCaptionText(const gdi::Rect& rect, gdi::COLORREF color);

    // The style renderer and its parts.
    void Redraw(std::uint8_t state, bool force);
    void DrawNormal(std::uint8_t look);
    void DrawPressed();
    void DrawDisabled();
    void DrawGradientFramed(std::uint8_t state, std::uint8_t look);
    void DrawInsetPanel(std::uint8_t state, std::uint8_t look);
    void DrawGradientPanel(std::uint8_t state, std::uint8_t look);
    void DrawGradient(gdi::COLORREF base, float step, bool proportionalBlue, bool reversed);
    void DrawGradientFramedLines(const gdi::COLORREF (&colors)[6]);
    void CopyBackground();
    void DrawPicture(std::uint8_t pictureState);
    void DrawPictureEffect(std::int32_t offset, const platform::Picture& picture);
    void DrawTransparentPicture(int x, int y, int width, int height, const platform::Picture& picture,
                                gdi::COLORREF transparentColor, std::int32_t brushColor, bool darkOnly,
                                bool greyscale, bool blend);
    void CaptureBackground();
    bool DefaultButton() const { return AmbientDisplayAsDefault(); }

    // What assistive technology is told about the button; NotifyAccessibility compares it with
    // what was told last and sends an event for each change.
    struct AccessibleFacts {
        bool disabled = false;
        bool focused = false;
        bool pressed = false;
        bool checkable = false;
        bool checked = false;
        bool defaultButton = false;
        QString caption;
    };
    AccessibleFacts CurrentAccessibleFacts() const;
    QString AccessibleCaption() const; // the caption without its access-key markers
    void NotifyAccessibility();
    void AccessiblePress();

    // Persisted properties, as stored (fonts, pointer and icon live on the surface).
    struct PropertyFields {
        std::int32_t ButtonType = 0;
        std::int32_t ColorScheme = 0;
        std::int32_t PicturePosition = 0;
        std::int32_t SpecialEffect = 0;
        std::uint32_t BackColor = 0;
        std::uint32_t BackOver = 0;
        std::uint32_t ForeColor = 0;
        std::uint32_t ForeOver = 0;
        std::uint32_t MaskColor = 0;
        bool UseMaskColor = false;
        bool UseGreyscale = false;
        bool HandPointer = false;
        platform::Picture PictureNormal;
        platform::Picture PictureOver;
        QString Caption;
        bool Enabled = false;
        bool SoftBevel = false;
        bool ShowFocusRect = false;
        bool CheckBoxBehaviour = false;
        bool Value = false;
    } Props;

    // Interaction state.
    std::uint8_t LastButton = 0;
    std::uint8_t LastKey = 0;
    bool HasFocus = false;
    std::uint8_t LastState = 0;
    QString LastCaption;
    bool RedrawEnabled = false;
    bool IsOver = false;
    bool Capturing = false;
    std::int32_t ClientWidth = 0;
    std::int32_t ClientHeight = 0;
    gdi::Rect FocusRect;
    QRegion ButtonRegion;
    // The container's pixels under a transparent-style button, made at its first show.
    std::unique_ptr<QImage> BackgroundBitmap;
    std::unique_ptr<gdi::DeviceContext> BackgroundDC;
    QTimer* OverTimer = nullptr;

    // Colour set derived by ComputeColors; every drawing uses these.
    gdi::COLORREF FaceColor = 0;
    gdi::COLORREF LightColor = 0;
    gdi::COLORREF HighlightColor = 0;
    gdi::COLORREF ShadowColor = 0;
    gdi::COLORREF DarkShadowColor = 0;
    gdi::COLORREF TextColor = 0;
    gdi::COLORREF TextOverColor = 0;
    gdi::COLORREF SelectionColor = 0;
    gdi::COLORREF SelectionLight = 0;
    gdi::COLORREF MaskRgb = 0;
    gdi::COLORREF GradientBase = 0;

    // Caption and picture geometry.
    gdi::Rect CaptionRect;
    gdi::Rect CaptionRectPressed;
    std::int32_t CaptionWidth = 0;
    std::int32_t CaptionHeight = 0;
    std::int32_t PictureX = 0;
    std::int32_t PictureY = 0;
    std::int32_t PictureWidth = 0;
    std::int32_t PictureHeight = 0;
    std::uint8_t CaptionLook = 0;
    // The caption as last broken into lines and shaped, and what that was done for.
    struct KeptCaption {
        gdi::TextLayout layout;
        QString caption;
        QFont font;
        int width = -1;
        qreal ratio = 0;
    } CaptionShape;

    AccessibleFacts AccessibleShown;
};
