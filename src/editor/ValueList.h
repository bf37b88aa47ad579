// A drop-down list of the slot editor that stands for a stored number: its row, or, for a number
// no row stands for, no selection with the number kept and shown as the placeholder
// "(unknown: 0x01F4)", so that Save writes it back as it was read.
#pragma once

#include <QComboBox>
#include <cstdint>
#include <optional>

class ValueList : public QComboBox {
public:
    explicit ValueList(QWidget* parent = nullptr);

    // "(unknown: 0x01F4)"
    static QString UnknownValueText(std::uint16_t value);

    // Selects row `value`. A number with no row selects nothing and is kept.
    void ShowValue(std::int32_t value);
    // The number the list stands for: its row, else the number it keeps, else -1 (saved as FFFF).
    std::int32_t ShownValue() const;

private:
    std::optional<std::uint16_t> kept;
};
