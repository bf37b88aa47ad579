// Header reading: comments and line continuations removed, `#define` and `#include` lines and
// enum bodies taken, everything else (declarations, structs, code) passed over.
#include "SourceNames.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <iterator>
#include <set>

namespace {

// Comments become blanks (a block comment keeps its line ends); string and character literals are
// passed over, so that "//" inside one is not taken for a comment.
QString WithoutComments(const QString& text) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'/' && i + 1 < n && text[i + 1] == u'/') {
            while (i < n && text[i] != u'\n') {
                ++i;
            }
            if (i < n) {
                out += u'\n';
            }
        } else if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            out += u' ';
            for (i += 2; i < n && !(text[i] == u'*' && i + 1 < n && text[i + 1] == u'/'); ++i) {
                if (text[i] == u'\n') {
                    out += u'\n';
                }
            }
            ++i;
        } else if (c == u'"' || c == u'\'') {
            out += c;
            for (++i; i < n && text[i] != c && text[i] != u'\n'; ++i) {
                out += text[i];
                if (text[i] == u'\\' && i + 1 < n) {
                    out += text[++i];
                }
            }
            if (i < n) {
                out += text[i];
            }
        } else {
            out += c;
        }
    }
    return out;
}

bool IsNameStart(QChar c) {
    return c == u'_' || (c.unicode() < 128 && c.isLetter());
}

bool IsNamePart(QChar c) {
    return IsNameStart(c) || (c.unicode() < 128 && c.isDigit());
}

// Where the name starting at `at` ends.
qsizetype NameEnd(QStringView text, qsizetype at) {
    while (at < text.size() && IsNamePart(text[at])) {
        ++at;
    }
    return at;
}

bool IsRangeMark(const QString& name) {
    static const char* const Marks[] = {"_START", "_END", "_COUNT", "_NUM", "_MAX"};
    return std::any_of(std::begin(Marks), std::end(Marks),
                       [&name](const char* mark) { return name.endsWith(QLatin1String(mark)); });
}

constexpr const char* KindPrefixes[] = {"SPECIES_", "ITEM_", "MOVE_", "EVO_", "TYPE_"};

} // namespace

// One expression, tokenised and computed; defined names and macro calls are expanded as the
// preprocessor would, to a limited depth so that a definition that refers to itself ends.
class SourceExpression {
public:
    struct Token {
        enum class Type { Number, Name, Operator };
        Type Kind = Type::Operator;
        QString Text;
        std::int64_t Number = 0;
    };

    static bool Tokenise(QStringView text, std::vector<Token>& tokens, QString& problem) {
        for (qsizetype i = 0; i < text.size();) {
            const QChar c = text[i];
            if (c.isSpace()) {
                ++i;
            } else if (IsNameStart(c)) {
                const qsizetype end = NameEnd(text, i);
                tokens.push_back({Token::Type::Name, text.mid(i, end - i).toString(), 0});
                i = end;
            } else if (c.unicode() < 128 && c.isDigit()) {
                const qsizetype end = NameEnd(text, i);
                Token token{Token::Type::Number, text.mid(i, end - i).toString(), 0};
                if (!ParseNumber(token.Text, token.Number)) {
                    problem = QStringLiteral("%1 is not a number").arg(token.Text);
                    return false;
                }
                tokens.push_back(token);
                i = end;
            } else {
                const QStringView two = text.mid(i, 2);
                const bool shift = two == u"<<" || two == u">>";
                const QString op = shift ? two.toString() : QString(c);
                if (!shift && !QStringLiteral("+-*/%|&^~(),").contains(c)) {
                    problem = QStringLiteral("'%1' is not simple arithmetic").arg(c);
                    return false;
                }
                tokens.push_back({Token::Type::Operator, op, 0});
                i += op.size();
            }
        }
        return true;
    }

    SourceExpression(const SourceNames& names, std::vector<Token> tokens, int depth)
        : names_(names), tokens_(std::move(tokens)), depth_(depth) {}

    std::optional<std::int64_t> Whole(QString& problem) {
        std::optional<std::int64_t> value = Binary(0);
        if (value && at_ < tokens_.size()) {
            Fail(QStringLiteral("'%1' was not expected").arg(tokens_[at_].Text));
        }
        problem = problem_;
        return problem_.isEmpty() ? value : std::nullopt;
    }

    static std::optional<std::int64_t> Of(const SourceNames& names, QStringView text, int depth,
                                          QString& problem) {
        std::vector<Token> tokens;
        if (!Tokenise(text, tokens, problem)) {
            return std::nullopt;
        }
        if (tokens.empty()) {
            problem = QStringLiteral("there is no value");
            return std::nullopt;
        }
        return SourceExpression(names, std::move(tokens), depth).Whole(problem);
    }

private:
    // Names defined through names, and parentheses or signs one inside another: far more than
    // real headers use, and few enough that the computation stays shallow on any stack.
    static constexpr int MaxDepth = 32;
    static constexpr int MaxNesting = 16;
    static constexpr std::int64_t Limit = std::int64_t{1} << 40;

    static bool ParseNumber(QString text, std::int64_t& value) {
        while (!text.isEmpty() && QStringLiteral("uUlL").contains(text.back())) {
            text.chop(1);
        }
        int base = 10;
        if (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"))) {
            base = 16;
            text = text.mid(2);
        } else if (text.size() > 1 && text.startsWith(u'0')) {
            base = 8;
        }
        bool ok = false;
        value = text.toLongLong(&ok, base);
        return ok && value < Limit;
    }

    void Fail(const QString& problem) {
        if (problem_.isEmpty()) {
            problem_ = problem;
        }
    }

    const Token* Next() const { return at_ < tokens_.size() ? &tokens_[at_] : nullptr; }
    bool NextIs(const char* op) const {
        const Token* token = Next();
        return token && token->Kind == Token::Type::Operator && token->Text == QLatin1String(op);
    }

    // Operators by binding, loosest first, as C ranks them.
    static int Rank(const QString& op) {
        static const char* const Ranks[][3] = {{"|"},        {"^"},      {"&"},
                                               {"<<", ">>"}, {"+", "-"}, {"*", "/", "%"}};
        for (int rank = 0; rank < static_cast<int>(std::size(Ranks)); ++rank) {
            for (const char* known : Ranks[rank]) {
                if (known && op == QLatin1String(known)) {
                    return rank;
                }
            }
        }
        return -1;
    }

    std::optional<std::int64_t> Binary(int rank) {
        if (rank > 5) {
            return Unary();
        }
        std::optional<std::int64_t> left = Binary(rank + 1);
        while (left && Next() && Next()->Kind == Token::Type::Operator && Rank(Next()->Text) == rank) {
            const QString op = tokens_[at_++].Text;
            const std::optional<std::int64_t> right = Binary(rank + 1);
            if (!right) {
                return std::nullopt;
            }
            left = Apply(op, *left, *right);
        }
        return left;
    }

    std::optional<std::int64_t> Apply(const QString& op, std::int64_t a, std::int64_t b) {
        std::int64_t result = 0;
        if (op == u"|") {
            result = a | b;
        } else if (op == u"^") {
            result = a ^ b;
        } else if (op == u"&") {
            result = a & b;
        } else if (op == u"<<" || op == u">>") {
            if (a < 0 || b < 0 || b > 40) {
                Fail(QStringLiteral("a shift by %1 is out of range").arg(b));
                return std::nullopt;
            }
            result = op == u"<<" ? a << b : a >> b;
        } else if (op == u"+") {
            result = a + b;
        } else if (op == u"-") {
            result = a - b;
        } else if (op == u"*") {
            result = a * b;
        } else if (b == 0) {
            Fail(QStringLiteral("a division by zero"));
            return std::nullopt;
        } else {
            result = op == u"/" ? a / b : a % b;
        }
        if (result >= Limit || result <= -Limit) {
            Fail(QStringLiteral("the value is too large"));
            return std::nullopt;
        }
        return result;
    }

    std::optional<std::int64_t> Unary() {
        for (const char* op : {"-", "+", "~"}) {
            if (NextIs(op)) {
                ++at_;
                if (++parentheses_ > MaxNesting) {
                    Fail(QStringLiteral("the expression is nested too deep"));
                    return std::nullopt;
                }
                const std::optional<std::int64_t> value = Unary();
                --parentheses_;
                if (!value) {
                    return std::nullopt;
                }
                return *op == '-' ? -*value : *op == '~' ? ~*value : *value;
            }
        }
        return Primary();
    }

    std::optional<std::int64_t> Primary() {
        const Token* token = Next();
        if (!token) {
            Fail(QStringLiteral("the expression ends too soon"));
            return std::nullopt;
        }
        ++at_;
        if (token->Kind == Token::Type::Number) {
            return token->Number;
        }
        if (token->Kind == Token::Type::Name) {
            return Name(token->Text);
        }
        if (token->Text != u"(") {
            Fail(QStringLiteral("'%1' was not expected").arg(token->Text));
            return std::nullopt;
        }
        if (++parentheses_ > MaxNesting) {
            Fail(QStringLiteral("the expression is nested too deep"));
            return std::nullopt;
        }
        const std::optional<std::int64_t> inner = Binary(0);
        --parentheses_;
        if (inner && !NextIs(")")) {
            Fail(QStringLiteral("a ')' is missing"));
            return std::nullopt;
        }
        ++at_;
        return inner;
    }

    std::optional<std::int64_t> Name(const QString& name) {
        if (const auto value = names_.enumValues_.constFind(name); value != names_.enumValues_.cend()) {
            return *value;
        }
        const auto define = names_.defines_.constFind(name);
        if (define == names_.defines_.cend()) {
            Fail(QStringLiteral("unknown name %1").arg(name));
            return std::nullopt;
        }
        if (depth_ >= MaxDepth) {
            Fail(QStringLiteral("%1 is defined through itself").arg(name));
            return std::nullopt;
        }
        std::vector<Token> body;
        QString problem;
        if (!define->Function) {
            if (!define->Simple || !Tokenise(define->Body, body, problem) || body.empty()) {
                Fail(QStringLiteral("%1 is not defined as a number").arg(name));
                return std::nullopt;
            }
        } else if (!Expand(*define, name, body)) {
            return std::nullopt;
        }
        const std::optional<std::int64_t> value =
            SourceExpression(names_, std::move(body), depth_ + 1).Whole(problem);
        if (!value) {
            // Said once, of the name the expression itself uses.
            Fail(depth_ == 0 ? QStringLiteral("%1 cannot be computed (%2)").arg(name, problem) : problem);
        }
        return value;
    }

    // A call of a function-like macro: the arguments, parted by commas outside parentheses, put
    // in the body where its parameters stand.
    bool Expand(const SourceNames::Macro& define, const QString& name, std::vector<Token>& body) {
        if (!NextIs("(")) {
            Fail(QStringLiteral("%1 is a macro that takes arguments").arg(name));
            return false;
        }
        ++at_;
        std::vector<std::vector<Token>> arguments(1);
        for (int depth = 0;; ++at_) {
            const Token* token = Next();
            if (!token) {
                Fail(QStringLiteral("the arguments of %1 are not closed").arg(name));
                return false;
            }
            const bool op = token->Kind == Token::Type::Operator;
            if (op && token->Text == u")" && depth == 0) {
                ++at_;
                break;
            }
            if (op && token->Text == u"," && depth == 0) {
                arguments.emplace_back();
                continue;
            }
            depth += op && token->Text == u"(" ? 1 : op && token->Text == u")" ? -1 : 0;
            arguments.back().push_back(*token);
        }
        if (arguments.size() != static_cast<std::size_t>(define.Params.size())) {
            Fail(QStringLiteral("%1 takes %2 arguments").arg(name).arg(define.Params.size()));
            return false;
        }
        std::vector<Token> written;
        QString problem;
        if (!Tokenise(define.Body, written, problem)) {
            Fail(QStringLiteral("%1 cannot be computed (%2)").arg(name, problem));
            return false;
        }
        for (const Token& token : written) {
            const qsizetype param = token.Kind == Token::Type::Name ? define.Params.indexOf(token.Text) : -1;
            if (param < 0) {
                body.push_back(token);
            } else {
                const std::vector<Token>& argument = arguments[static_cast<std::size_t>(param)];
                body.insert(body.end(), argument.begin(), argument.end());
            }
        }
        return true;
    }

    const SourceNames& names_;
    std::vector<Token> tokens_;
    std::size_t at_ = 0;
    int depth_ = 0;
    int parentheses_ = 0;
    QString problem_;
};

std::optional<SourceProject> SourceProjectNamed(const std::string& name) {
    if (name == "pokeheartgold") {
        return SourceProject::PokeHeartGold;
    }
    if (name == "hg-engine") {
        return SourceProject::HgEngine;
    }
    return std::nullopt;
}

const char* SourceProjectName(SourceProject project) {
    return project == SourceProject::PokeHeartGold ? "pokeheartgold" : "hg-engine";
}

SourceText ReadSourceFile(const std::filesystem::path& path) {
    SourceText text;
    const QFileInfo info(path);
    if (!info.exists()) {
        text.Problem = "there is no such file";
    } else if (info.isDir()) {
        text.Problem = "it is a folder, not a file";
    } else if (!info.isFile()) {
        text.Problem = "it is not a regular file";
    } else if (static_cast<std::uint64_t>(info.size()) > SourceFileLimit) {
        text.Problem =
            "it is larger than " + std::to_string(SourceFileLimit / (std::size_t{1024} * 1024)) + " MiB";
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            text.Problem = "it cannot be read (" + file.errorString().toStdString() + ")";
        } else {
            text.Bytes = file.read(static_cast<qint64>(SourceFileLimit) + 1);
        }
    }
    return text;
}

std::vector<std::filesystem::path> SourceNames::Headers(SourceProject project) {
    if (project == SourceProject::PokeHeartGold) {
        return {"include/constants/species.h", "include/constants/items.h", "include/constants/moves.h",
                "include/constants/pokemon.h"};
    }
    return {"include/constants/species.h", "include/constants/item.h", "include/constants/moves.h",
            "include/constants/pokemon.h", "include/pokemon.h"};
}

std::filesystem::path SourceNames::DataFile(SourceProject project) {
    return project == SourceProject::PokeHeartGold ? "files/poketool/personal/evo.json" : "data/Evolutions.c";
}

rom::Result<SourceNames> SourceNames::Load(const std::filesystem::path& root, SourceProject project,
                                           const SourceReader& read) {
    SourceNames names;
    // Included files are read where they are present (a partial tree may lack them), each once.
    constexpr std::size_t MaxFiles = 256;
    std::set<std::filesystem::path> seen;
    std::vector<std::filesystem::path> pending;
    for (const std::filesystem::path& header : Headers(project)) {
        const std::filesystem::path path = root / header;
        const SourceText text = read(path);
        if (!text.Problem.empty()) {
            // In UTF-8 whatever the system's code page: a narrow path would not hold every name.
            return rom::Failure{QString::fromStdU16String(path.generic_u16string()).toStdString() + ": " +
                                text.Problem + " (a " + SourceProjectName(project) + " checkout holds it)"};
        }
        seen.insert(path.lexically_normal());
        pending.clear();
        for (const QString& include : names.AddHeader(text.Bytes)) {
            pending.push_back(path.parent_path() / std::filesystem::path(include.toStdU16String()));
        }
        while (!pending.empty() && seen.size() < MaxFiles) {
            const std::filesystem::path next = pending.back().lexically_normal();
            pending.pop_back();
            // Only the checkout's own files: an include that leads out of it is passed over.
            const std::filesystem::path inside = next.lexically_relative(root.lexically_normal());
            if (inside.empty() || *inside.begin() == ".." || !seen.insert(next).second) {
                continue;
            }
            const SourceText included = read(next);
            if (!included.Problem.empty()) {
                continue;
            }
            for (const QString& include : names.AddHeader(included.Bytes)) {
                pending.push_back(next.parent_path() / std::filesystem::path(include.toStdU16String()));
            }
        }
    }
    const SourceText data = read(root / DataFile(project));
    if (data.Problem.empty()) {
        names.NoteUsedNames(data.Bytes);
    }
    return names;
}

QStringList SourceNames::AddHeader(const QByteArray& text) {
    QString source = WithoutComments(QString::fromUtf8(text));
    source.replace(QLatin1String("\\\r\n"), QLatin1String(" "));
    source.replace(QLatin1String("\\\n"), QLatin1String(" "));
    QStringList includes;
    QString code;
    static const QRegularExpression Include(QStringLiteral(R"(^\s*#\s*include\s*"([^"]+)\")"));
    static const QRegularExpression Directive(QStringLiteral(R"(^\s*#\s*define\s+)"));
    for (const QString& line : source.split(u'\n')) {
        if (!line.trimmed().startsWith(u'#')) {
            code += line + u'\n';
            continue;
        }
        if (const QRegularExpressionMatch define = Directive.match(line); define.hasMatch()) {
            AddDefine(line.mid(define.capturedEnd()));
        } else if (const QRegularExpressionMatch include = Include.match(line); include.hasMatch()) {
            includes << include.captured(1);
        }
    }
    AddEnums(code);
    return includes;
}

void SourceNames::AddName(const QString& name) {
    if (!defines_.contains(name) && !enumValues_.contains(name)) {
        order_.push_back(name);
    }
    chosen = false;
}

void SourceNames::AddDefine(const QString& line) {
    const qsizetype end = NameEnd(line, 0);
    if (end == 0 || !IsNameStart(line[0])) {
        return;
    }
    const QString name = line.left(end);
    Macro define;
    if (end < line.size() && line[end] == u'(') {
        const qsizetype close = line.indexOf(u')', end);
        if (close < 0) {
            return;
        }
        define.Function = true;
        for (const QString& param : line.mid(end + 1, close - end - 1).split(u',', Qt::SkipEmptyParts)) {
            define.Params << param.trimmed();
        }
        define.Body = line.mid(close + 1).trimmed();
    } else {
        define.Body = line.mid(end).trimmed();
        define.Simple = !define.Body.isEmpty();
    }
    AddName(name);
    defines_.insert(name, define);
}

void SourceNames::AddEnums(const QString& code) {
    static const QRegularExpression Enum(QStringLiteral(R"(\benum\b\s*[A-Za-z_0-9]*\s*\{)"));
    for (QRegularExpressionMatchIterator it = Enum.globalMatch(code); it.hasNext();) {
        const qsizetype start = it.next().capturedEnd();
        const qsizetype close = code.indexOf(u'}', start);
        if (close < 0) {
            return;
        }
        // Values count up from the last one given; after one that cannot be computed, the names
        // that count from it have none either.
        bool known = true;
        std::int64_t next = 0;
        for (const QString& item : code.mid(start, close - start).split(u',')) {
            const QString entry = item.trimmed();
            const qsizetype end = NameEnd(entry, 0);
            if (end == 0 || !IsNameStart(entry[0])) {
                continue;
            }
            const QString name = entry.left(end);
            const QString rest = entry.mid(end).trimmed();
            if (rest.startsWith(u'=')) {
                const std::optional<std::int64_t> given = Evaluate(QStringView(rest).mid(1));
                known = given.has_value();
                next = given.value_or(0);
            } else if (!rest.isEmpty()) {
                known = false;
            }
            if (known) {
                AddName(name);
                enumValues_.insert(name, next);
                ++next;
            }
        }
    }
}

void SourceNames::NoteUsedNames(const QByteArray& text) {
    const QString source = QString::fromUtf8(text);
    for (qsizetype i = 0; i < source.size();) {
        if (IsNameStart(source[i]) && (i == 0 || !IsNamePart(source[i - 1]))) {
            const qsizetype end = NameEnd(source, i);
            usedInData_.insert(source.mid(i, end - i));
            i = end;
        } else {
            ++i;
        }
    }
    chosen = false;
}

void SourceNames::ChooseNames() const {
    if (chosen) {
        return;
    }
    chosen = true;
    // Per kind and value, the candidates in definition order; the first of the best rank wins.
    for (std::size_t kind = 0; kind < chosen_.size(); ++kind) {
        chosen_[kind].clear();
        std::map<int, int> rankOf;
        for (const QString& name : order_) {
            if (!name.startsWith(QLatin1String(KindPrefixes[kind]))) {
                continue;
            }
            const std::optional<std::int64_t> value = Evaluate(name);
            if (!value || *value < 0 || *value > 0xFFFF) {
                continue;
            }
            const int rank = usedInData_.contains(name) ? 0 : IsRangeMark(name) ? 2 : 1;
            const int at = static_cast<int>(*value);
            if (const auto known = rankOf.find(at); known == rankOf.end() || rank < known->second) {
                rankOf[at] = rank;
                chosen_[kind][at] = name;
            }
        }
    }
}

std::optional<std::int64_t> SourceNames::Evaluate(QStringView expression, QString* problem) const {
    QString why;
    std::optional<std::int64_t> value = SourceExpression::Of(*this, expression, 0, why);
    if (problem) {
        *problem = why;
    }
    return value;
}

QString SourceNames::NameOf(Kind kind, int value) const {
    ChooseNames();
    const std::map<int, QString>& names = chosen_[static_cast<std::size_t>(kind)];
    const auto found = names.find(value);
    return found == names.end() ? QString() : found->second;
}

bool SourceNames::DefinesMacro(const QString& name) const {
    const auto define = defines_.constFind(name);
    return define != defines_.cend() && define->Function;
}
