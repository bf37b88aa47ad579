// Chooses the window's font and its stand-ins once per process.
#include "WindowFont.h"

#include <QFontDatabase>
#include <QStringList>
#include <mutex>

namespace WindowFont {
namespace {

const QString LayoutFamily = QStringLiteral("MS Sans Serif");

void InstallStandIns() {
    if (QFontDatabase::hasFamily(LayoutFamily)) {
        return;
    }
    // Families with the widths of the layout's font first; a condensed sans serif still fits
    // where none of them is installed.
    QFont::insertSubstitutions(LayoutFamily,
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("Arimo"), QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                                QStringLiteral("DejaVu Sans Condensed")});
}

} // namespace

QFont LayoutFont() {
    static std::once_flag once;
    std::call_once(once, InstallStandIns);
    QFont font(LayoutFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

} // namespace WindowFont
