// How a slot editor's list shows and gives back a stored number.
#include "ValueList.h"

ValueList::ValueList(QWidget* parent) : QComboBox(parent) {
    // A picked row replaces whatever number the list kept.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row >= 0 && kept) {
            kept.reset();
            setPlaceholderText(QString());
        }
    });
}

QString ValueList::UnknownValueText(std::uint16_t value) {
    return QStringLiteral("(unknown: 0x%1)")
        .arg(QString::number(value, 16).toUpper().rightJustified(4, u'0'));
}

void ValueList::ShowValue(std::int32_t value) {
    if (value >= 0 && value < count()) {
        setCurrentIndex(value);
        return;
    }
    if (value >= -0x8000 && value <= 0xFFFF) {
        kept = static_cast<std::uint16_t>(value);
        setPlaceholderText(UnknownValueText(*kept));
    } else {
        kept.reset();
        setPlaceholderText(QString());
    }
    setCurrentIndex(-1);
}

std::int32_t ValueList::ShownValue() const {
    if (currentIndex() >= 0) {
        return currentIndex();
    }
    return kept ? std::int32_t{*kept} : -1;
}
