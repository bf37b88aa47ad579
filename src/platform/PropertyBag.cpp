// Property bag storage, typed reads with the runtime's conversions, and the JSON text form.
#include "PropertyBag.h"

#include "OverflowError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>
#include <stdexcept>

namespace platform {

namespace {

[[noreturn]] void TypeMismatch(const QString& name, const char* wanted) {
    throw std::invalid_argument("Type mismatch: property '" + name.toStdString() + "' is not " + wanted);
}

// A stored number of any kind, for the numeric reads; true counts as -1 as the runtime has it.
std::optional<std::int64_t> AsNumber(const PropertyBag::Value& value) {
    if (auto v = std::get_if<std::int32_t>(&value)) {
        return *v;
    }
    if (auto v = std::get_if<std::int16_t>(&value)) {
        return *v;
    }
    if (auto v = std::get_if<bool>(&value)) {
        return *v ? -1 : 0;
    }
    if (auto v = std::get_if<PropertyBag::OleColor>(&value)) {
        return static_cast<std::int32_t>(v->value); // colours travel as the same 32 bits
    }
    if (auto v = std::get_if<QString>(&value)) {
        bool ok = false;
        const qlonglong n = v->trimmed().toLongLong(&ok);
        if (ok) {
            return n;
        }
    }
    return std::nullopt;
}

QJsonObject FontToJson(const QFont& font) {
    QJsonObject o;
    o["name"] = font.family();
    o["size"] = font.pointSizeF();
    o["weight"] = font.weight();
    o["italic"] = font.italic();
    o["underline"] = font.underline();
    o["strikeout"] = font.strikeOut();
    return o;
}

QFont FontFromJson(const QJsonObject& o) {
    QFont font(o["name"].toString());
    const double size = o["size"].toDouble(8.25);
    if (size > 0) {
        font.setPointSizeF(size);
    }
    font.setWeight(QFont::Weight(std::clamp(o["weight"].toInt(400), 1, 1000)));
    font.setItalic(o["italic"].toBool());
    font.setUnderline(o["underline"].toBool());
    font.setStrikeOut(o["strikeout"].toBool());
    return font;
}

} // namespace

const PropertyBag::Value* PropertyBag::Find(const QString& name) const {
    for (const Entry& e : entries) {
        if (e.key.compare(name, Qt::CaseInsensitive) == 0) {
            return &e.value;
        }
    }
    return nullptr;
}

void PropertyBag::WriteProperty(const QString& name, const Value& value) {
    for (Entry& e : entries) {
        if (e.key.compare(name, Qt::CaseInsensitive) == 0) {
            e.value = value;
            return;
        }
    }
    entries.push_back({name, value});
}

void PropertyBag::Remove(const QString& name) {
    std::erase_if(entries, [&](const Entry& e) { return e.key.compare(name, Qt::CaseInsensitive) == 0; });
}

QStringList PropertyBag::Keys() const {
    QStringList keys;
    for (const Entry& e : entries) {
        keys << e.key;
    }
    return keys;
}

namespace {

// A whole number stored under name that must fit T; the default when nothing is stored.
template <typename T> T ReadWhole(const PropertyBag& bag, const QString& name, T defaultValue) {
    const PropertyBag::Value* v = bag.Find(name);
    if (v == nullptr) {
        return defaultValue;
    }
    const auto n = AsNumber(*v);
    if (!n) {
        TypeMismatch(name, "a number");
    }
    return NarrowChecked<T>(*n, qPrintable(name));
}

} // namespace

std::int32_t PropertyBag::ReadInt32(const QString& name, std::int32_t defaultValue) const {
    return ReadWhole(*this, name, defaultValue);
}

std::int16_t PropertyBag::ReadInt16(const QString& name, std::int16_t defaultValue) const {
    return ReadWhole(*this, name, defaultValue);
}

std::uint32_t PropertyBag::ReadColor(const QString& name, std::uint32_t defaultValue) const {
    const Value* v = Find(name);
    if (v == nullptr) {
        return defaultValue;
    }
    const auto n = AsNumber(*v);
    if (!n) {
        TypeMismatch(name, "a colour");
    }
    // A colour is 32 bits whether it was stored signed (system colours are negative) or not.
    if (*n < INT32_MIN || *n > UINT32_MAX) {
        throw OverflowError("Overflow: " + name.toStdString() + " is not a 32-bit colour");
    }
    return static_cast<std::uint32_t>(*n);
}

bool PropertyBag::ReadBool(const QString& name, bool defaultValue) const {
    const Value* v = Find(name);
    if (v == nullptr) {
        return defaultValue;
    }
    if (auto b = std::get_if<bool>(v)) {
        return *b;
    }
    if (auto s = std::get_if<QString>(v)) {
        if (s->compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
            return true;
        }
        if (s->compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
            return false;
        }
    }
    const auto n = AsNumber(*v);
    if (!n) {
        TypeMismatch(name, "a boolean");
    }
    return *n != 0;
}

QString PropertyBag::ReadText(const QString& name, const QString& defaultValue) const {
    const Value* v = Find(name);
    if (v == nullptr) {
        return defaultValue;
    }
    if (auto s = std::get_if<QString>(v)) {
        return *s;
    }
    if (auto b = std::get_if<bool>(v)) {
        return *b ? QStringLiteral("True") : QStringLiteral("False");
    }
    const auto n = AsNumber(*v);
    if (!n) {
        TypeMismatch(name, "text");
    }
    return QString::number(*n);
}

QFont PropertyBag::ReadFont(const QString& name, const QFont& defaultValue) const {
    const Value* v = Find(name);
    if (v == nullptr) {
        return defaultValue;
    }
    if (auto f = std::get_if<QFont>(v)) {
        return *f;
    }
    TypeMismatch(name, "a font");
}

Picture PropertyBag::ReadPicture(const QString& name, const Picture& defaultValue) const {
    const Value* v = Find(name);
    if (v == nullptr) {
        return defaultValue;
    }
    if (auto p = std::get_if<Picture>(v)) {
        return *p;
    }
    TypeMismatch(name, "a picture");
}

QByteArray PropertyBag::ToText() const {
    QJsonArray list;
    for (const Entry& e : entries) {
        QJsonObject o;
        o["key"] = e.key;
        std::visit(
            [&](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::int32_t>) {
                    o["int32"] = v;
                } else if constexpr (std::is_same_v<T, std::int16_t>) {
                    o["int16"] = v;
                } else if constexpr (std::is_same_v<T, bool>) {
                    o["bool"] = v;
                } else if constexpr (std::is_same_v<T, QString>) {
                    o["text"] = v;
                } else if constexpr (std::is_same_v<T, QFont>) {
                    o["font"] = FontToJson(v);
                } else if constexpr (std::is_same_v<T, Picture>) {
                    QJsonObject p;
                    p["kind"] = static_cast<int>(v.Type());
                    p["png"] = QString::fromLatin1(v.ToPng().toBase64());
                    o["picture"] = p;
                } else {
                    o["color"] = static_cast<qint64>(v.value);
                }
            },
            e.value);
        list.append(o);
    }
    QJsonObject root;
    root["properties"] = list;
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<PropertyBag> PropertyBag::FromText(const QByteArray& text, QString* error) {
    auto fail = [&](const QString& why) -> std::optional<PropertyBag> {
        if (error != nullptr) {
            *error = why;
        }
        return std::nullopt;
    };
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &parseError);
    if (doc.isNull()) {
        return fail(QStringLiteral("not a property bag: %1").arg(parseError.errorString()));
    }
    if (!doc.isObject() || !doc.object()["properties"].isArray()) {
        return fail(QStringLiteral("not a property bag: no \"properties\" list"));
    }
    PropertyBag bag;
    const QJsonArray items = doc.object()["properties"].toArray();
    for (const QJsonValue item : items) {
        const QJsonObject o = item.toObject();
        const QString key = o["key"].toString();
        if (key.isEmpty()) {
            return fail(QStringLiteral("an entry has no key"));
        }
        // Integers must be whole and inside their type; anything else is a damaged file.
        auto integer = [&](const char* member, qint64 lo, qint64 hi) -> std::optional<qint64> {
            const double d = o[member].toDouble(std::nan(""));
            if (!std::isfinite(d) || d != std::floor(d) || d < double(lo) || d > double(hi)) {
                return std::nullopt;
            }
            return static_cast<qint64>(d);
        };
        if (o.contains("int32")) {
            const auto n = integer("int32", INT32_MIN, INT32_MAX);
            if (!n) {
                return fail(QStringLiteral("'%1' is not a 32-bit integer").arg(key));
            }
            bag.WriteProperty(key, static_cast<std::int32_t>(*n));
        } else if (o.contains("int16")) {
            const auto n = integer("int16", INT16_MIN, INT16_MAX);
            if (!n) {
                return fail(QStringLiteral("'%1' is not a 16-bit integer").arg(key));
            }
            bag.WriteProperty(key, static_cast<std::int16_t>(*n));
        } else if (o.contains("color")) {
            const auto n = integer("color", 0, UINT32_MAX);
            if (!n) {
                return fail(QStringLiteral("'%1' is not a colour").arg(key));
            }
            bag.WriteProperty(key, OleColor{static_cast<std::uint32_t>(*n)});
        } else if (o["bool"].isBool()) {
            bag.WriteProperty(key, o["bool"].toBool());
        } else if (o["text"].isString()) {
            bag.WriteProperty(key, o["text"].toString());
        } else if (o["font"].isObject()) {
            bag.WriteProperty(key, FontFromJson(o["font"].toObject()));
        } else if (o["picture"].isObject()) {
            const QJsonObject p = o["picture"].toObject();
            const QByteArray png = QByteArray::fromBase64(p["png"].toString().toLatin1());
            const int kind = p["kind"].toInt();
            Picture picture;
            if (!png.isEmpty()) {
                picture = Picture::FromPng(png, kind == static_cast<int>(Picture::Kind::Icon)
                                                    ? Picture::Kind::Icon
                                                    : Picture::Kind::Bitmap);
                if (picture.IsEmpty()) {
                    return fail(QStringLiteral("'%1' holds a picture that cannot be read").arg(key));
                }
            }
            bag.WriteProperty(key, picture);
        } else {
            return fail(QStringLiteral("'%1' has no value of a known type").arg(key));
        }
    }
    return bag;
}

bool operator==(const PropertyBag& a, const PropertyBag& b) {
    if (a.entries.size() != b.entries.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.entries.size(); ++i) {
        if (a.entries[i].key != b.entries[i].key || !(a.entries[i].value == b.entries[i].value)) {
            return false;
        }
    }
    return true;
}

} // namespace platform
