// hg-engine's data/Evolutions.c: written as the engine lays it out, so that it compiles in its
// tree; read as a C compiler reads the table's initialiser (designated or in order, the slots of a
// record under .entries or bare, fewer slots than a record has filled with zeros).
#include "SourceTableShared.h"

namespace SourceTable {
namespace {

// What the file holds before the table: the engine's own includes and the record's struct.
constexpr const char* Preamble = R"(#include "../include/types.h"
#include "../include/pokemon.h"
#include "../include/battle.h"
#include "../include/constants/item.h"
#include "../include/constants/moves.h"
#include "../include/constants/species.h"

typedef struct EvolutionTable {
    struct Evolution entries[MAX_EVOS_PER_POKE];
    u16 terminator;
} EvolutionTable;

u32 __size = sizeof(EvolutionTable);

const EvolutionTable __data[MAX_SPECIES_INCLUDING_FORMS + 1] =
{
)";

struct Token {
    enum class Type { Name, Number, Punctuation, Literal, End };
    Type Kind = Type::End;
    QString Text;
    int Line = 0;
};

// The file as C tokens, without comments and preprocessor lines.
std::vector<Token> Tokenise(const QString& text) {
    std::vector<Token> tokens;
    int line = 1;
    bool lineStart = true;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i];
        const QChar next = i + 1 < n ? text[i + 1] : QChar();
        if (c == u'\n') {
            ++line;
            lineStart = true;
            ++i;
        } else if (c.isSpace()) {
            ++i;
        } else if (c == u'#' && lineStart) {
            for (; i < n && text[i] != u'\n'; ++i) {
                if (text[i] == u'\\' && i + 1 < n && text[i + 1] == u'\n') {
                    ++i;
                    ++line;
                }
            }
        } else if (c == u'/' && next == u'/') {
            while (i < n && text[i] != u'\n') {
                ++i;
            }
        } else if (c == u'/' && next == u'*') {
            for (i += 2; i < n && !(text[i] == u'*' && i + 1 < n && text[i + 1] == u'/'); ++i) {
                line += text[i] == u'\n' ? 1 : 0;
            }
            i += 2;
        } else {
            lineStart = false;
            Token token{Token::Type::Punctuation, QString(c), line};
            qsizetype end = i + 1;
            if (c == u'_' || (c.unicode() < 128 && c.isLetterOrNumber())) {
                while (end < n &&
                       (text[end] == u'_' || (text[end].unicode() < 128 && text[end].isLetterOrNumber()))) {
                    ++end;
                }
                token.Kind = c.isDigit() ? Token::Type::Number : Token::Type::Name;
            } else if (c == u'"' || c == u'\'') {
                while (end < n && text[end] != c && text[end] != u'\n') {
                    end += text[end] == u'\\' ? 2 : 1;
                }
                token.Kind = Token::Type::Literal;
                end = std::min(end + 1, n);
            } else if ((c == u'<' || c == u'>') && next == c) {
                end = i + 2;
            }
            token.Text = text.mid(i, end - i);
            tokens.push_back(token);
            i = end;
        }
    }
    tokens.push_back({Token::Type::End, QString(), line});
    return tokens;
}

class Parser {
public:
    Parser(std::vector<Token> tokens, const rom::TableLayout& layout, const SourceNames& names,
           Listing& listing)
        : tokens_(std::move(tokens)), layout_(layout), names_(names), listing_(listing) {}

    void Read() {
        if (!FindTable()) {
            Problem(1,
                    QStringLiteral("no table \"__data[...] = { ... }\" found: not the shape of hg-engine's "
                                   "Evolutions.c"));
            return;
        }
        int next = 0; // the record a listing without a designator is
        while (failed_.isEmpty() && !Is(u"}")) {
            const int line = Peek().Line;
            int record = next;
            bool known = true;
            if (Take(u"[")) {
                const QString designator = Until(u"]");
                if (!Expect(u"]") || !Expect(u"=")) {
                    break;
                }
                const std::optional<int> designated = listing_.Record(designator, line, layout_, names_);
                known = designated.has_value();
                record = designated.value_or(next);
            } else if (next >= layout_.Records) {
                listing_.Problems.push_back({line, QStringLiteral("record %1 is past the image's %2 records")
                                                       .arg(next)
                                                       .arg(layout_.Records)});
                known = false;
            }
            Listing::Listed listed{line, {}};
            const bool complete = ReadRecord(listed);
            if (known && complete) {
                listing_.Records[record] = std::move(listed);
            }
            next = record + 1;
            if (!Take(u",")) {
                break;
            }
        }
        if (failed_.isEmpty() && Expect(u"}")) {
            Expect(u";");
        }
    }

private:
    const Token& Peek() const { return tokens_[at_]; }
    bool Is(QStringView text) const { return Peek().Kind != Token::Type::End && Peek().Text == text; }
    bool Take(QStringView text) {
        if (!Is(text)) {
            return false;
        }
        ++at_;
        return true;
    }
    void Problem(int line, const QString& reason) { listing_.Problems.push_back({line, reason}); }
    // Stops the reading: what follows cannot be made sense of.
    bool Expect(QStringView text) {
        if (Take(text)) {
            return true;
        }
        if (failed_.isEmpty()) {
            failed_ =
                Peek().Kind == Token::Type::End
                    ? QStringLiteral("the file ends where '%1' was expected").arg(text)
                    : QStringLiteral("'%1' was expected here, not '%2': a shape this reader does not know")
                          .arg(text, Peek().Text);
            Problem(Peek().Line, failed_);
        }
        return false;
    }

    // Past `__data [ ... ] = {`.
    bool FindTable() {
        for (; Peek().Kind != Token::Type::End; ++at_) {
            if (Peek().Kind == Token::Type::Name && Peek().Text == u"__data" &&
                tokens_[at_ + 1].Text == u"[") {
                at_ += 2;
                Until(u"]");
                return Take(u"]") && Take(u"=") && Take(u"{");
            }
        }
        return false;
    }

    // The tokens up to `close` (outside parentheses), as text, the tokens taken.
    QString Until(QStringView close) {
        QString text;
        for (int depth = 0; Peek().Kind != Token::Type::End; ++at_) {
            if (depth == 0 && (Is(close) || Is(u",") || Is(u"}") || Is(u"]") || Is(u";"))) {
                break;
            }
            depth += Is(u"(") ? 1 : Is(u")") ? -1 : 0;
            text += Peek().Text + u' ';
        }
        return text.trimmed();
    }

    // `{ .entries = { slot, ... }, .terminator = n }`, or the same without the member names.
    bool ReadRecord(Listing::Listed& listed) {
        if (!Expect(u"{")) {
            return false;
        }
        bool complete = true;
        int member = 0; // 0 the slots, 1 the terminator
        while (failed_.isEmpty() && !Is(u"}")) {
            if (Take(u".")) {
                const Token& name = Peek();
                if (name.Text == u"entries") {
                    member = 0;
                } else if (name.Text == u"terminator") {
                    member = 1;
                } else {
                    Problem(name.Line, QStringLiteral("a record has no member \"%1\"").arg(name.Text));
                    failed_ = name.Text;
                    return false;
                }
                ++at_;
                if (!Expect(u"=")) {
                    return false;
                }
            }
            if (member == 0) {
                complete = ReadSlots(listed) && complete;
            } else if (member == 1) {
                Until(u"}"); // the two bytes after the slots are left as the image has them
            } else {
                Expect(u"}");
                return false;
            }
            ++member;
            if (!Take(u",")) {
                break;
            }
        }
        return Expect(u"}") && complete;
    }

    bool ReadSlots(Listing::Listed& listed) {
        if (!Expect(u"{")) {
            return false;
        }
        bool complete = true;
        while (failed_.isEmpty() && !Is(u"}")) {
            const int line = Peek().Line;
            if (!Expect(u"{")) {
                return false;
            }
            std::array<std::uint16_t, 3> fields{};
            static constexpr const char* Names[] = {"method", "param", "target"};
            for (std::size_t field = 0; field < fields.size() && !Is(u"}"); ++field) {
                const QString expression = Until(u"}");
                const std::optional<std::uint16_t> value =
                    listing_.Value(expression, Names[field], line, names_);
                complete = complete && value.has_value();
                fields[field] = value.value_or(0);
                if (!Take(u",")) {
                    break;
                }
            }
            if (!Expect(u"}")) {
                return false;
            }
            if (listed.Slots.size() == static_cast<std::size_t>(layout_.Slots)) {
                Problem(line, QStringLiteral("more slots than the %1 of a record").arg(layout_.Slots));
                complete = false;
            } else {
                listed.Slots.push_back({fields[0], fields[1], fields[2]});
            }
            if (!Take(u",")) {
                break;
            }
        }
        return Expect(u"}") && complete;
    }

    std::vector<Token> tokens_;
    std::size_t at_ = 0;
    const rom::TableLayout& layout_;
    const SourceNames& names_;
    Listing& listing_;
    QString failed_;
};

bool Listed(const std::vector<rom::EvolutionSlot>& record) {
    return std::any_of(record.begin(), record.end(), [](const rom::EvolutionSlot& slot) {
        return slot.Method != 0 || slot.Parameter != 0 || slot.Target != 0;
    });
}

} // namespace

QByteArray WriteEvolutionsC(const EvolutionSummary::Table& table, const rom::TableLayout& layout,
                            const Namer& namer) {
    QString text = QString::fromLatin1(Preamble);
    for (std::size_t species = 0; species < table.size(); ++species) {
        const std::vector<rom::EvolutionSlot>& record = table[species].Slots;
        bool unnamed = false;
        const QString name = namer.Species(static_cast<int>(species), &unnamed);
        // An empty record of a species the headers do not name is left to the compiler's zeros.
        if (unnamed && !Listed(record)) {
            continue;
        }
        text += QStringLiteral("    [%1] = {\n        .entries = {\n").arg(name);
        for (int slot = 0; slot < layout.Slots && static_cast<std::size_t>(slot) < record.size(); ++slot) {
            const SlotText slotText = namer.Slot(record[static_cast<std::size_t>(slot)]);
            text += QStringLiteral("            { %1, %2, %3 },\n")
                        .arg(slotText.Method, slotText.Parameter, slotText.Target);
        }
        text += QStringLiteral("        },\n    },\n\n");
    }
    text += QStringLiteral("};\n");
    return text.toUtf8();
}

void ReadEvolutionsC(const QByteArray& text, const rom::TableLayout& layout, const SourceNames& names,
                     Listing& listing) {
    if (!text.isValidUtf8()) {
        listing.Problems.push_back({1, QStringLiteral("the file is not UTF-8 text")});
        return;
    }
    Parser(Tokenise(QString::fromUtf8(text)), layout, names, listing).Read();
}

} // namespace SourceTable
