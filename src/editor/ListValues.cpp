// How a list shows a stored number: its row, or, for a number no row stands for, no selection
// with the number kept as the placeholder.
#include "ListValues.h"

#include <QComboBox>
#include <QVariant>

namespace ListValues {
namespace {

// The number a list keeps for a stored value it has no row for.
constexpr char UnknownValueProperty[] = "unknownValue";

} // namespace

QString UnknownValueText(std::uint16_t value) {
    return QStringLiteral("(unknown: 0x%1)")
        .arg(QString::number(value, 16).toUpper().rightJustified(4, u'0'));
}

// Selects row `value` of `list`. A number with no row there selects nothing: the list then shows
// the number as its placeholder and keeps it, so that Save writes it back as it was read.
void ShowValue(QComboBox* list, std::int32_t value) {
    if (value >= 0 && value < list->count()) {
        list->setCurrentIndex(value);
        return;
    }
    if (value >= -0x8000 && value <= 0xFFFF) {
        const auto bits = static_cast<std::uint16_t>(value);
        list->setProperty(UnknownValueProperty, bits);
        list->setPlaceholderText(UnknownValueText(bits));
    } else {
        list->setProperty(UnknownValueProperty, QVariant());
        list->setPlaceholderText(QString());
    }
    list->setCurrentIndex(-1);
}

// The number a list stands for: its row, else the number it keeps, else -1 (saved as FFFF).
std::int32_t ShownValue(const QComboBox* list) {
    if (list->currentIndex() >= 0)
        return list->currentIndex();
    const QVariant kept = list->property(UnknownValueProperty);
    return kept.isValid() ? kept.toInt() : -1;
}

// A picked row replaces whatever number the list kept.
void ForgetUnknownValue(QComboBox* list) {
    list->setProperty(UnknownValueProperty, QVariant());
    list->setPlaceholderText(QString());
}

} // namespace ListValues
