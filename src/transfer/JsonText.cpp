// A strict recursive JSON reader (RFC 8259) that counts lines as it goes.
#include "JsonText.h"

#include <string>
#include <tuple>

namespace JsonText {
namespace {

class Reader {
public:
    explicit Reader(const QByteArray& text) : text_(text) {}

    Document Read() {
        Document document;
        if (text_.startsWith("\xEF\xBB\xBF")) {
            at_ = 3;
        }
        SkipBlanks();
        if (at_ >= text_.size()) {
            Fail("the file holds no JSON value (it is empty)");
        } else {
            document.Root = ReadValue(0);
            SkipBlanks();
            if (error_.isEmpty() && at_ < text_.size()) {
                Fail(QStringLiteral("more text follows the JSON value"));
            }
        }
        document.Error = error_;
        document.ErrorLine = error_.isEmpty() ? 0 : errorLine_;
        return document;
    }

private:
    void Fail(const QString& reason) {
        if (error_.isEmpty()) {
            error_ = reason;
            errorLine_ = line_;
        }
    }

    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek() const { return text_[at_]; }

    void SkipBlanks() {
        while (!AtEnd()) {
            const char c = Peek();
            if (c == '\n') {
                ++line_;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                return;
            }
            ++at_;
        }
    }

    void Truncated(const char* inside) {
        Fail(QStringLiteral("the file ends inside %1").arg(QLatin1String(inside)));
    }

    Value ReadValue(int depth) {
        Value value;
        value.Line = line_;
        if (AtEnd()) {
            Truncated("a value");
            return value;
        }
        const char c = Peek();
        if (c == '{' || c == '[') {
            if (depth >= MaxDepth) {
                Fail(QStringLiteral("the values are nested more than %1 deep").arg(MaxDepth));
                return value;
            }
            c == '{' ? ReadObject(value, depth + 1) : ReadArray(value, depth + 1);
        } else if (c == '"') {
            value.Kind = Value::Type::String;
            value.Text = ReadString();
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            ReadNumber(value);
        } else if (!ReadWord(value)) {
            Fail(QStringLiteral("a JSON value was expected here, not '%1'").arg(QChar::fromLatin1(c)));
        }
        return value;
    }

    bool ReadWord(Value& value) {
        for (const auto& [word, kind, truth] :
             {std::tuple{"true", Value::Type::Bool, true}, std::tuple{"false", Value::Type::Bool, false},
              std::tuple{"null", Value::Type::Null, false}}) {
            const QByteArray spelled(word);
            if (text_.mid(at_, spelled.size()) == spelled) {
                at_ += spelled.size();
                value.Kind = kind;
                value.Bool = truth;
                return true;
            }
        }
        return false;
    }

    void ReadObject(Value& value, int depth) {
        value.Kind = Value::Type::Object;
        ++at_;
        SkipBlanks();
        if (!AtEnd() && Peek() == '}') {
            ++at_;
            return;
        }
        while (error_.isEmpty()) {
            SkipBlanks();
            if (AtEnd()) {
                return Truncated("an object");
            }
            if (Peek() != '"') {
                return Fail(QStringLiteral("a key in double quotes was expected in the object"));
            }
            const int keyLine = line_;
            const QString key = ReadString();
            if (value.Member(key)) {
                line_ = keyLine;
                return Fail(QStringLiteral("the key \"%1\" is given twice in one object").arg(key));
            }
            SkipBlanks();
            if (AtEnd()) {
                return Truncated("an object");
            }
            if (Peek() != ':') {
                return Fail(QStringLiteral("':' was expected after the key \"%1\"").arg(key));
            }
            ++at_;
            SkipBlanks();
            value.Keys << key;
            value.Items.push_back(ReadValue(depth));
            if (!CommaOr('}', "an object")) {
                return;
            }
        }
    }

    void ReadArray(Value& value, int depth) {
        value.Kind = Value::Type::Array;
        ++at_;
        SkipBlanks();
        if (!AtEnd() && Peek() == ']') {
            ++at_;
            return;
        }
        while (error_.isEmpty()) {
            SkipBlanks();
            value.Items.push_back(ReadValue(depth));
            if (!CommaOr(']', "an array")) {
                return;
            }
        }
    }

    // After a member or an item: true when another follows (a comma), false at the end.
    bool CommaOr(char close, const char* inside) {
        if (!error_.isEmpty()) {
            return false;
        }
        SkipBlanks();
        if (AtEnd()) {
            Truncated(inside);
            return false;
        }
        if (Peek() == ',') {
            ++at_;
            return true;
        }
        if (Peek() == close) {
            ++at_;
            return false;
        }
        Fail(QStringLiteral("',' or '%1' was expected in %2")
                 .arg(QChar::fromLatin1(close), QLatin1String(inside)));
        return false;
    }

    void ReadNumber(Value& value) {
        value.Kind = Value::Type::Number;
        const qsizetype start = at_;
        const auto digits = [this] {
            const qsizetype from = at_;
            while (!AtEnd() && Peek() >= '0' && Peek() <= '9') {
                ++at_;
            }
            return at_ - from;
        };
        if (Peek() == '-') {
            ++at_;
        }
        const qsizetype intStart = at_;
        const qsizetype intDigits = digits();
        bool integral = true;
        if (intDigits == 0 || (intDigits > 1 && text_[intStart] == '0')) {
            return Fail(QStringLiteral("a number is written wrongly here"));
        }
        if (!AtEnd() && Peek() == '.') {
            ++at_;
            integral = false;
            if (digits() == 0) {
                return Fail(QStringLiteral("a number is written wrongly here"));
            }
        }
        if (!AtEnd() && (Peek() == 'e' || Peek() == 'E')) {
            ++at_;
            integral = false;
            if (!AtEnd() && (Peek() == '+' || Peek() == '-')) {
                ++at_;
            }
            if (digits() == 0) {
                return Fail(QStringLiteral("a number is written wrongly here"));
            }
        }
        value.Text = QString::fromLatin1(text_.mid(start, at_ - start));
        if (integral) {
            bool fits = false;
            const qlonglong number = value.Text.toLongLong(&fits);
            if (fits) {
                value.Integer = number;
            }
        }
    }

    int HexDigits(qsizetype from) const {
        int code = 0;
        for (qsizetype i = from; i < from + 4; ++i) {
            const char c = text_[i];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) {
                return -1;
            }
            code = code * 16 + digit;
        }
        return code;
    }

    // A \u escape at `at_` (just after the backslash and 'u'), a surrogate pair taken whole.
    bool ReadEscapedUnit(QByteArray& bytes) {
        if (at_ + 4 > text_.size()) {
            return false;
        }
        int code = HexDigits(at_);
        if (code < 0) {
            return false;
        }
        at_ += 4;
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (at_ + 6 > text_.size() || text_[at_] != '\\' || text_[at_ + 1] != 'u') {
                return false;
            }
            const int low = HexDigits(at_ + 2);
            if (low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            at_ += 6;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return false;
        }
        const auto unit = static_cast<char32_t>(code);
        bytes += QString::fromUcs4(&unit, 1).toUtf8();
        return true;
    }

    QString ReadString() {
        ++at_;
        QByteArray bytes;
        while (error_.isEmpty()) {
            if (AtEnd()) {
                Truncated("a string");
                break;
            }
            const char c = text_[at_++];
            if (c == '"') {
                break;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                Fail(QStringLiteral("a string holds a control character (a line end inside quotes?)"));
                break;
            }
            if (c != '\\') {
                bytes += c;
                continue;
            }
            if (AtEnd()) {
                Truncated("a string");
                break;
            }
            const char escaped = text_[at_++];
            static constexpr char From[] = "\"\\/bfnrt";
            static constexpr char To[] = "\"\\/\b\f\n\r\t";
            const char* known = escaped ? std::char_traits<char>::find(From, 8, escaped) : nullptr;
            if (known) {
                bytes += To[known - From];
            } else if (escaped != 'u' || !ReadEscapedUnit(bytes)) {
                Fail(QStringLiteral("a string holds an unknown escape"));
            }
        }
        if (error_.isEmpty() && !bytes.isValidUtf8()) {
            Fail(QStringLiteral("a string is not UTF-8 text"));
        }
        return QString::fromUtf8(bytes);
    }

    const QByteArray& text_;
    qsizetype at_ = 0;
    int line_ = 1;
    QString error_;
    int errorLine_ = 0;
};

} // namespace

const Value* Value::Member(QAnyStringView key) const {
    for (qsizetype i = 0; i < Keys.size(); ++i) {
        if (QAnyStringView::equal(Keys[i], key)) {
            return &Items[static_cast<std::size_t>(i)];
        }
    }
    return nullptr;
}

Document Parse(const QByteArray& text) {
    return Reader(text).Read();
}

QString KindName(const Value& value) {
    switch (value.Kind) {
    case Value::Type::Null:
        return QStringLiteral("null");
    case Value::Type::Bool:
        return value.Bool ? QStringLiteral("true") : QStringLiteral("false");
    case Value::Type::Number:
        return QStringLiteral("a number");
    case Value::Type::String:
        return QStringLiteral("a string");
    case Value::Type::Array:
        return QStringLiteral("an array");
    case Value::Type::Object:
        return QStringLiteral("an object");
    }
    return {};
}

} // namespace JsonText
