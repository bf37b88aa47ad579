// System colours from the application palette, and stored-colour translation.
#include "SysColors.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>

namespace gdi {

namespace {

bool PaletteRole(int index, QPalette::ColorRole& role) {
    switch (index) {
    case ColorWindow:
        role = QPalette::Base;
        return true;
    case ColorWindowText:
        role = QPalette::WindowText;
        return true;
    case ColorHighlight:
        role = QPalette::Highlight;
        return true;
    case ColorBtnFace:
        role = QPalette::Button;
        return true;
    case ColorBtnShadow:
        role = QPalette::Dark;
        return true;
    case ColorBtnText:
        role = QPalette::ButtonText;
        return true;
    case ColorBtnHighlight:
        role = QPalette::Light;
        return true;
    case Color3dDkShadow:
        role = QPalette::Shadow;
        return true;
    case Color3dLight:
        role = QPalette::Midlight;
        return true;
    default:
        return false;
    }
}

} // namespace

bool IsKnownSysColor(int index) {
    QPalette::ColorRole role;
    return PaletteRole(index, role);
}

COLORREF GetSysColor(int index) {
    QPalette::ColorRole role;
    if (!PaletteRole(index, role)) {
        return 0;
    }
    return FromQColor(QGuiApplication::palette().color(QPalette::Active, role));
}

bool TranslateOleColor(std::uint32_t ole, COLORREF& out) {
    const std::uint32_t kind = ole >> 24;
    if (kind == 0x00) {
        out = ole;
        return true;
    }
    if ((ole & 0xFFFFFF00u) == SystemColorFlag) {
        const int index = static_cast<int>(ole & 0xFF);
        if (!IsKnownSysColor(index)) {
            return false;
        }
        out = GetSysColor(index);
        return true;
    }
    return false;
}

} // namespace gdi
