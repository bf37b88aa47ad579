// JSON read with the line each value starts on, so that a patch's or a decompilation's file can
// be faulted as FILE:LINE: reason. A hostile file (nested too deep, truncated, not UTF-8) gives a
// reason, never a crash.
#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace JsonText {

struct Value {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type Kind = Type::Null;
    int Line = 0; // where the value starts, from 1
    bool Bool = false;
    // A number written as an integer that fits in 64 bits; none for 1.5, 1e3 or a huge one.
    std::optional<std::int64_t> Integer;
    QString Text;             // a string's text, or a number as written
    std::vector<Value> Items; // an array's items, or an object's values in file order
    QStringList Keys;         // an object's keys, unique, Keys[i] naming Items[i]

    // The member named `key`, or nothing.
    const Value* Member(QAnyStringView key) const;
};

struct Document {
    Value Root;
    int ErrorLine = 0;
    QString Error; // empty when the text is JSON
    bool Ok() const { return Error.isEmpty(); }
};

// The most arrays and objects one inside another that a file may hold.
inline constexpr int MaxDepth = 64;

// Parses `text` (UTF-8, a byte-order mark allowed). A key given twice in one object is an error,
// as no reader can tell which one is meant.
Document Parse(const QByteArray& text);

// "a string", "a number", "an object"..., for messages.
QString KindName(const Value& value);

} // namespace JsonText
