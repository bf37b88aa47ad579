// Shared helpers of the button tests: a fixed desktop palette, a button subclass that opens its
// drawing state to the tests, and readable pixel comparisons.
#pragma once

#include "StyledButton.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace ButtonTest {

// The desktop colours every button test draws with (0x00BBGGRR as the drawing code sees them).
inline constexpr gdi::COLORREF Face = 0xC0C0C0;
inline constexpr gdi::COLORREF Text = 0x000000;
inline constexpr gdi::COLORREF Shadow = 0x808080;
inline constexpr gdi::COLORREF Light = 0xE0E0E0;
inline constexpr gdi::COLORREF Highlight = 0xFFFFFF;
inline constexpr gdi::COLORREF DarkShadow = 0x404040;
inline constexpr gdi::COLORREF Selection = 0x800000; // dark blue

inline QPalette FixedPalette() {
    QPalette p;
    p.setColor(QPalette::Button, QColor(0xC0, 0xC0, 0xC0));
    p.setColor(QPalette::ButtonText, QColor(0, 0, 0));
    p.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Midlight, QColor(0xE0, 0xE0, 0xE0));
    p.setColor(QPalette::Light, QColor(0xFF, 0xFF, 0xFF));
    p.setColor(QPalette::Shadow, QColor(0x40, 0x40, 0x40));
    p.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0x80));
    p.setColor(QPalette::Window, QColor(0xD4, 0xD0, 0xC8));
    p.setColor(QPalette::WindowText, QColor(0x10, 0x20, 0x30));
    p.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xFF));
    return p;
}

// Installs the fixed palette for the lifetime of a test class.
class PaletteScope {
public:
    PaletteScope() : saved(QApplication::palette()) { QApplication::setPalette(FixedPalette()); }
    ~PaletteScope() { QApplication::setPalette(saved); }

private:
    QPalette saved;
};

// Opens the button's drawing routines and state to the tests.
class TestButton : public StyledButton {
public:
    using platform::UserControl::AccessKeys;
    using StyledButton::BackgroundBitmap;
    using StyledButton::BackgroundDC;
    using StyledButton::BuildRegion;
    using StyledButton::ButtonRegion;
    using StyledButton::CaptionHeight;
    using StyledButton::CaptionLook;
    using StyledButton::CaptionRect;
    using StyledButton::CaptionRectPressed;
    using StyledButton::CaptionWidth;
    using StyledButton::CaptureBackground;
    using StyledButton::Capturing;
    using StyledButton::ClientHeight;
    using StyledButton::ClientWidth;
    using StyledButton::ComputeColors;
    using StyledButton::DarkShadowColor;
    using StyledButton::DrawCaption;
    using StyledButton::DrawEllipse;
    using StyledButton::DrawFocus;
    using StyledButton::DrawFrame;
    using StyledButton::DrawLine;
    using StyledButton::DrawPicture;
    using StyledButton::DrawPixel;
    using StyledButton::DrawRectangle;
    using StyledButton::FaceColor;
    using StyledButton::FocusRect;
    using StyledButton::GradientBase;
    using StyledButton::HasFocus;
    using StyledButton::hDC;
    using StyledButton::HighlightColor;
    using StyledButton::IsOver;
    using StyledButton::LastButton;
    using StyledButton::LastCaption;
    using StyledButton::LastKey;
    using StyledButton::LastState;
    using StyledButton::LayoutCaption;
    using StyledButton::LightColor;
    using StyledButton::MaskRgb;
    using StyledButton::OverTimer;
    using StyledButton::PictureHeight;
    using StyledButton::PictureWidth;
    using StyledButton::PictureX;
    using StyledButton::PictureY;
    using StyledButton::Redraw;
    using StyledButton::RedrawEnabled;
    using StyledButton::SelectionColor;
    using StyledButton::SelectionLight;
    using StyledButton::ShadowColor;
    using StyledButton::StyledButton;
    using StyledButton::Surface;
    using StyledButton::TextColor;
    using StyledButton::TextOverColor;
};

inline gdi::COLORREF PixelAt(const QImage& image, int x, int y) {
    return gdi::FromQRgb(image.pixel(x, y));
}

// The pixels of a rectangle as hex rows, to show where two images differ.
inline QString PixelRows(const QImage& image, const QRect& area) {
    QStringList rows;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QStringList row;
        for (int x = area.left(); x <= area.right(); ++x) {
            row << QString::number(PixelAt(image, x, y), 16).rightJustified(6, QLatin1Char('0'));
        }
        rows << QStringLiteral("%1: ").arg(y, 3) + row.join(QLatin1Char(' '));
    }
    return rows.join(QLatin1Char('\n'));
}

// Compares a run of pixels with the colours expected there; on a mismatch says where and shows
// the surrounding pixels.
inline bool CheckRun(const QImage& image, QPoint from, QPoint step,
                     const std::vector<gdi::COLORREF>& expected, QString* why) {
    QPoint p = from;
    for (std::size_t i = 0; i < expected.size(); ++i, p += step) {
        if (PixelAt(image, p.x(), p.y()) != expected[i]) {
            const QRect around = QRect(p - QPoint(2, 2), QSize(5, 5)).intersected(image.rect());
            *why = QStringLiteral("pixel (%1, %2) is %3, expected %4\n%5")
                       .arg(p.x())
                       .arg(p.y())
                       .arg(PixelAt(image, p.x(), p.y()), 6, 16, QLatin1Char('0'))
                       .arg(expected[i], 6, 16, QLatin1Char('0'))
                       .arg(PixelRows(image, around));
            return false;
        }
    }
    return true;
}

} // namespace ButtonTest

#define CHECK_RUN(image, from, step, ...)                                                                    \
    do {                                                                                                     \
        QString why_;                                                                                        \
        QVERIFY2(ButtonTest::CheckRun(image, from, step, __VA_ARGS__, &why_), qPrintable(why_));             \
    } while (false)
