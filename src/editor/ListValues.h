// How a list shows a stored number: its row, or, for a number no row stands for, no selection
// with the number kept as the placeholder "(unknown: 0x01F4)", so that Save writes it back.
#pragma once

#include <QString>
#include <cstdint>

class QComboBox;

namespace ListValues {

// "(unknown: 0x01F4)"
QString UnknownValueText(std::uint16_t value);

// Selects row `value` of `list`. A number with no row there selects nothing: the list then shows
// the number as its placeholder and keeps it, so that Save writes it back as it was read.
void ShowValue(QComboBox* list, std::int32_t value);

// The number a list stands for: its row, else the number it keeps, else -1 (saved as FFFF).
std::int32_t ShownValue(const QComboBox* list);

// A picked row replaces whatever number the list kept.
void ForgetUnknownValue(QComboBox* list);

} // namespace ListValues
