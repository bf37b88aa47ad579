// The property bag a host keeps a control's saved properties in: keys matched without regard to
// case, typed values in the order written, and a JSON text form with pictures as embedded PNG.
#pragma once

#include "Picture.h"

#include <QByteArray>
#include <QFont>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace platform {

class PropertyBag {
public:
    // A colour value kept apart from plain numbers so the text form says what it is.
    struct OleColor {
        std::uint32_t value = 0;
        friend bool operator==(const OleColor&, const OleColor&) = default;
    };
    using Value = std::variant<std::int32_t, std::int16_t, bool, QString, QFont, Picture, OleColor>;

    // Stores a value; an existing key (in any case) keeps its place and spelling.
    void WriteProperty(const QString& name, const Value& value);
    bool Contains(const QString& name) const { return Find(name) != nullptr; }
    const Value* Find(const QString& name) const;
    void Remove(const QString& name);
    QStringList Keys() const;
    bool IsEmpty() const { return entries.empty(); }

    // Typed reads: a missing key gives the default; a stored value of another type is converted
    // where the conversion is meaningful. A number that does not fit throws OverflowError, a value
    // that cannot be converted throws std::invalid_argument.
    std::int32_t ReadInt32(const QString& name, std::int32_t defaultValue) const;
    std::int16_t ReadInt16(const QString& name, std::int16_t defaultValue) const;
    bool ReadBool(const QString& name, bool defaultValue) const;
    QString ReadText(const QString& name, const QString& defaultValue) const;
    QFont ReadFont(const QString& name, const QFont& defaultValue) const;
    Picture ReadPicture(const QString& name, const Picture& defaultValue = Picture()) const;
    std::uint32_t ReadColor(const QString& name, std::uint32_t defaultValue) const;

    // The text form: a JSON document listing the entries in order, each with its key and one
    // member naming its type ("int32", "int16", "bool", "text", "font", "picture", "color").
    QByteArray ToText() const;
    // Parses the text form; on a malformed document returns nothing and says why in error.
    static std::optional<PropertyBag> FromText(const QByteArray& text, QString* error = nullptr);

    friend bool operator==(const PropertyBag& a, const PropertyBag& b);

private:
    // QFont (Qt 6.4) has no move constructor, so moving an entry copies its font, which only
    // shares the font's data and cannot throw.
    struct Entry { // NOLINT(bugprone-exception-escape)
        QString key;
        Value value;
    };
    std::vector<Entry> entries;
};

} // namespace platform
