// Writing and reading the table's CSV and JSON files.
#include "TableFile.h"

#include "EvolutionImage.h"
#include "EvolutionTable.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>

namespace TableFile {
namespace {

// The numeric columns, their positions in a CSV row and their ranges.
struct NumberColumn {
    const char* Name;
    int Column;
    qint64 Min;
    qint64 Max;
};

// The numeric columns of a file for `layout`, in the order Row takes them: species, slot, method,
// parameter, target and, where targets carry a form, target_form.
std::vector<NumberColumn> NumberColumnsOf(const rom::TableLayout& layout) {
    std::vector<NumberColumn> columns = {
        {"species", 0, 0, layout.Records - 1},
        {"slot", 2, 1, layout.Slots},
        {"method", 3, 0, 65535},
        {"parameter", 5, 0, 65535},
        {"target", 7, 0, 65535},
    };
    if (layout.TargetsCarryForm) {
        columns.back().Max = rom::MaxTargetSpecies;
        columns.push_back({"target_form", 8, 0, rom::MaxTargetForm});
    }
    return columns;
}

// The values of one slot, numbers and names, in column order.
QStringList Fields(int species, int slot, const rom::EvolutionSlot& value, const GameNames& names) {
    QStringList fields = {QString::number(species),
                          EvolutionSummary::SpeciesName(species, names),
                          QString::number(slot + 1),
                          QString::number(value.Method),
                          EvolutionSummary::MethodName(value.Method, names),
                          QString::number(value.Parameter),
                          EvolutionSummary::ParameterName(value, names),
                          QString::number(EvolutionSummary::TargetSpecies(value.Target, names))};
    if (names.Layout().TargetsCarryForm) {
        fields << QString::number(rom::TargetForm(value.Target));
    }
    fields << EvolutionSummary::TargetName(value.Target, names);
    return fields;
}

QString CsvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n')) {
        return text;
    }
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString JsonString(const QString& text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'"' || c == u'\\') {
            out += u'\\' + QString(c);
        } else if (c.unicode() < 0x20) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        } else {
            out += c;
        }
    }
    return out + u'"';
}

QByteArray WriteCsv(const EvolutionSummary::Table& table, const GameNames& names) {
    QStringList lines;
    lines << ColumnsOf(names.Layout()).join(u',');
    for (std::size_t species = 0; species < table.size(); ++species) {
        const std::vector<rom::EvolutionSlot>& values = table[species].Slots;
        for (std::size_t slot = 0; slot < values.size(); ++slot) {
            QStringList fields =
                Fields(static_cast<int>(species), static_cast<int>(slot), values[slot], names);
            for (QString& field : fields) {
                field = CsvField(field);
            }
            lines << fields.join(u',');
        }
    }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

// One object per line, keys in column order, so a row's line is easy to find and diff.
QByteArray WriteJson(const EvolutionSummary::Table& table, const GameNames& names) {
    const QStringList columns = ColumnsOf(names.Layout());
    QStringList objects;
    for (std::size_t species = 0; species < table.size(); ++species) {
        const std::vector<rom::EvolutionSlot>& values = table[species].Slots;
        for (std::size_t slot = 0; slot < values.size(); ++slot) {
            const QStringList fields =
                Fields(static_cast<int>(species), static_cast<int>(slot), values[slot], names);
            QStringList members;
            for (qsizetype column = 0; column < columns.size(); ++column) {
                const bool isName = columns[column].endsWith(QLatin1String("_name"));
                members << JsonString(columns[column]) + QStringLiteral(": ") +
                               (isName ? JsonString(fields[column]) : fields[column]);
            }
            objects << QStringLiteral("  {") + members.join(QStringLiteral(", ")) + u'}';
        }
    }
    return (QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) + QStringLiteral("\n]\n")).toUtf8();
}

// A CSV record and the line it starts on.
struct Record {
    int Line = 0;
    QStringList Fields;
};

// Reads the quoted field whose opening quote is text[i] into `field`, moving `i` past its closing
// quote and counting the line breaks it holds; false if the text ends first. A doubled quote
// stands for one quote.
bool ReadQuotedField(const QString& text, qsizetype& i, int& line, QString& field) {
    const qsizetype n = text.size();
    ++i;
    while (i < n) {
        if (text[i] == u'"') {
            if (i + 1 < n && text[i + 1] == u'"') {
                field += u'"';
                i += 2;
                continue;
            }
            ++i;
            return true;
        }
        if (text[i] == u'\n') {
            ++line;
        }
        field += text[i++];
    }
    return false;
}

// The separator of a CSV text: the first comma, semicolon or tab outside quotes on its header
// line (the column names hold none of them), so that the files spreadsheets save with semicolons
// or tabs where a comma is the decimal mark read as well; a comma when the line has none.
QChar Separator(const QString& text) {
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u',' || c == u';' || c == u'\t')) {
            return c;
        } else if (!quoted && (c == u'\n' || c == u'\r')) {
            break;
        }
    }
    return u',';
}

// Splits RFC 4180 text into records, fields parted by `separator`. Quoted fields may hold
// separators, doubled quotes and line breaks; lines may end in CRLF or LF. A line that is entirely
// empty is no record.
std::vector<Record> SplitCsv(const QString& text, QChar separator, std::vector<Problem>& problems) {
    std::vector<Record> records;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        Record record{line, {}};
        if (text[i] == u'\n' || (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')) {
            i += text[i] == u'\r' ? 2 : 1;
            ++line;
            continue;
        }
        QString field;
        bool endOfRecord = false;
        while (!endOfRecord) {
            if (i < n && text[i] == u'"' && !ReadQuotedField(text, i, line, field)) {
                problems.push_back({record.Line, QStringLiteral("a quoted field is not closed")});
                return records;
            }
            // Unquoted text, or whatever follows a closing quote, up to the next separator.
            while (i < n && text[i] != separator && text[i] != u'\n' &&
                   !(text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')) {
                field += text[i++];
            }
            record.Fields << field;
            field.clear();
            if (i < n && text[i] == separator) {
                ++i;
                continue;
            }
            endOfRecord = true;
            if (i < n) {
                i += text[i] == u'\r' ? 2 : 1;
                ++line;
            }
        }
        records.push_back(std::move(record));
    }
    return records;
}

// A whole number written in decimal, or nothing; a number too long for 64 bits reads as a huge one
// so that it is reported as out of range, not as text.
std::optional<qint64> ParseNumber(const QString& text) {
    const QString t = text.trimmed();
    const qsizetype start = t.startsWith(u'-') ? 1 : 0;
    if (t.size() == start) {
        return std::nullopt;
    }
    for (qsizetype i = start; i < t.size(); ++i) {
        if (t[i] < u'0' || t[i] > u'9') {
            return std::nullopt;
        }
    }
    bool ok = false;
    const qint64 value = t.toLongLong(&ok);
    if (!ok) {
        return start ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
    }
    return value;
}

QString OutOfRange(const NumberColumn& column, const QString& value) {
    return QStringLiteral("%1 %2 is out of range (%3-%4)")
        .arg(QLatin1String(column.Name), value)
        .arg(column.Min)
        .arg(column.Max);
}

// Fills `row` from the numbers of `columns`, or reports each one that is missing or wrong. `get`
// gives a column's number or the reason it has none.
template <typename Get>
bool ReadNumbers(Row& row, int line, const std::vector<NumberColumn>& columns, std::vector<Problem>& problems,
                 Get get) {
    std::vector<qint64> values(columns.size(), 0);
    bool ok = true;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        QString value;
        const std::optional<qint64> number = get(columns[c], value);
        if (!number) {
            problems.push_back({line, value});
            ok = false;
        } else if (*number < columns[c].Min || *number > columns[c].Max) {
            problems.push_back({line, OutOfRange(columns[c], value)});
            ok = false;
        }
        values[c] = number.value_or(0);
    }
    if (!ok) {
        return false;
    }
    row.Line = line;
    row.Species = static_cast<int>(values[0]);
    row.Slot = static_cast<int>(values[1]) - 1;
    const std::uint16_t target =
        columns.size() > 5 ? rom::FormTarget(static_cast<int>(values[4]), static_cast<int>(values[5]))
                           : static_cast<std::uint16_t>(values[4]);
    row.Value = {static_cast<std::uint16_t>(values[2]), static_cast<std::uint16_t>(values[3]), target};
    return true;
}

void ReadCsv(const QString& text, const rom::TableLayout& layout, Contents& contents) {
    const std::vector<Record> records = SplitCsv(text, Separator(text), contents.Problems);
    if (records.empty()) {
        if (contents.Problems.empty()) {
            contents.Problems.push_back({1, QStringLiteral("the file is empty")});
        }
        return;
    }
    const QStringList header = ColumnsOf(layout);
    const std::vector<NumberColumn> columns = NumberColumnsOf(layout);
    QStringList given = records.front().Fields;
    if (!given.isEmpty() && given.first().startsWith(QChar(0xFEFF))) {
        given.first().remove(0, 1);
    }
    if (given != header) {
        contents.Problems.push_back(
            {records.front().Line, QStringLiteral("the header must be %1").arg(header.join(u','))});
        return;
    }
    for (std::size_t r = 1; r < records.size(); ++r) {
        const Record& record = records[r];
        if (record.Fields.size() != header.size()) {
            const QString found = record.Fields.size() == 1
                                      ? QStringLiteral("1 field")
                                      : QStringLiteral("%1 fields").arg(record.Fields.size());
            contents.Problems.push_back(
                {record.Line, QStringLiteral("%1 where %2 are expected").arg(found).arg(header.size())});
            continue;
        }
        Row row;
        if (ReadNumbers(row, record.Line, columns, contents.Problems,
                        [&record](const NumberColumn& column, QString& value) {
                            value = record.Fields[column.Column].trimmed();
                            const std::optional<qint64> number = ParseNumber(value);
                            if (!number) {
                                value = QStringLiteral("%1 \"%2\" is not a number")
                                            .arg(QLatin1String(column.Name), record.Fields[column.Column]);
                            }
                            return number;
                        })) {
            contents.Rows.push_back(row);
        }
    }
}

int LineAt(const QByteArray& text, qsizetype offset) {
    return 1 + static_cast<int>(text.left(offset).count('\n'));
}

// The line of each offset, in one pass over the text: the offsets come in increasing order, and
// counting from the start for each would take time growing with the square of the file.
std::vector<int> LinesAt(const QByteArray& text, const std::vector<qsizetype>& offsets) {
    std::vector<int> lines;
    lines.reserve(offsets.size());
    int line = 1;
    qsizetype at = 0;
    for (const qsizetype offset : offsets) {
        for (; at < offset && at < text.size(); ++at) {
            line += text[at] == '\n' ? 1 : 0;
        }
        lines.push_back(line);
    }
    return lines;
}

// Where each element of the top-level array starts, in a text already known to be valid JSON.
std::vector<qsizetype> ElementOffsets(const QByteArray& text) {
    std::vector<qsizetype> offsets;
    int depth = 0;
    bool inString = false;
    bool expecting = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            continue;
        }
        if (depth == 1 && expecting && c != ']') {
            offsets.push_back(i);
            expecting = false;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            expecting = ++depth == 1;
        } else if (c == ']' || c == '}') {
            --depth;
        } else if (c == ',' && depth == 1) {
            expecting = true;
        }
    }
    return offsets;
}

// A JSON value that is neither a number nor a string, as a problem names it.
QString JsonKind(const QJsonValue& value) {
    if (value.isBool()) {
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    }
    if (value.isArray()) {
        return QStringLiteral("an array");
    }
    if (value.isObject()) {
        return QStringLiteral("an object");
    }
    return QStringLiteral("null");
}

void ReadJson(const QByteArray& text, qsizetype start, const rom::TableLayout& layout, Contents& contents) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        contents.Problems.push_back({LineAt(text, error.offset), error.errorString()});
        return;
    }
    if (!document.isArray()) {
        contents.Problems.push_back(
            {LineAt(text, start), QStringLiteral("the file must hold an array of objects")});
        return;
    }
    const QJsonArray array = document.array();
    const std::vector<int> lines = LinesAt(text, ElementOffsets(text));
    const QStringList keys = ColumnsOf(layout);
    const std::vector<NumberColumn> columns = NumberColumnsOf(layout);
    for (qsizetype e = 0; e < array.size(); ++e) {
        const int line = static_cast<std::size_t>(e) < lines.size() ? lines[static_cast<std::size_t>(e)] : 1;
        if (!array[e].isObject()) {
            contents.Problems.push_back({line, QStringLiteral("an element that is not an object")});
            continue;
        }
        const QJsonObject object = array[e].toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!keys.contains(it.key())) {
                contents.Problems.push_back({line, QStringLiteral("unknown key \"%1\"").arg(it.key())});
            }
        }
        Row row;
        if (ReadNumbers(
                row, line, columns, contents.Problems,
                [&object](const NumberColumn& column, QString& value) -> std::optional<qint64> {
                    const QString name = QLatin1String(column.Name);
                    const QJsonValue v = object.value(name);
                    if (v.isUndefined()) {
                        value = QStringLiteral("no \"%1\"").arg(name);
                        return std::nullopt;
                    }
                    if (v.isString()) {
                        value = QStringLiteral("%1 %2 is not a number").arg(name, JsonString(v.toString()));
                        return std::nullopt;
                    }
                    if (!v.isDouble()) {
                        value = QStringLiteral("%1 is not a number (%2)").arg(name, JsonKind(v));
                        return std::nullopt;
                    }
                    const double d = v.toDouble();
                    value = QString::number(d, 'g', 17);
                    if (d != std::floor(d)) {
                        value = QStringLiteral("%1 %2 is not a whole number").arg(name, value);
                        return std::nullopt;
                    }
                    // Any value beyond 16 bits is out of range; clamp before converting.
                    return static_cast<qint64>(std::clamp(d, -1e9, 1e9));
                })) {
            contents.Rows.push_back(row);
        }
    }
}

} // namespace

QStringList ColumnsOf(const rom::TableLayout& layout) {
    QStringList columns;
    if (layout.TargetsCarryForm) {
        for (const char* column : FormColumns) {
            columns << QLatin1String(column);
        }
    } else {
        for (const char* column : Columns) {
            columns << QLatin1String(column);
        }
    }
    return columns;
}

QByteArray Write(const EvolutionSummary::Table& table, Format format, const GameNames& names) {
    return format == Format::Json ? WriteJson(table, names) : WriteCsv(table, names);
}

Contents Read(const QByteArray& text, const rom::TableLayout& layout) {
    Contents contents;
    qsizetype start = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < text.size() && QByteArrayView(" \t\r\n").contains(text[start])) {
        ++start;
    }
    if (start == text.size()) {
        contents.Problems.push_back({1, QStringLiteral("the file is empty")});
        return contents;
    }
    if (text[start] == '[' || text[start] == '{') {
        ReadJson(text, start, layout, contents);
    } else {
        ReadCsv(QString::fromUtf8(text), layout, contents);
    }

    // A species and slot given twice is reported where it is given the second time.
    QHash<int, int> firstLine;
    for (const Row& row : contents.Rows) {
        const int key = row.Species * layout.Slots + row.Slot;
        const auto seen = firstLine.constFind(key);
        if (seen == firstLine.constEnd()) {
            firstLine.insert(key, row.Line);
        } else {
            contents.Problems.push_back(
                {row.Line, QStringLiteral("species %1 slot %2 is already given on line %3")
                               .arg(row.Species)
                               .arg(row.Slot + 1)
                               .arg(*seen)});
        }
    }
    std::stable_sort(contents.Problems.begin(), contents.Problems.end(),
                     [](const Problem& a, const Problem& b) { return a.Line < b.Line; });
    return contents;
}

std::vector<Change> Changes(const std::vector<Row>& rows, const EvolutionSummary::Table& table) {
    std::vector<Change> changes;
    for (const Row& row : rows) {
        // Rows are checked against the table's layout when read; a row of another layout's file
        // that the table has no slot for is no change this table can take.
        if (row.Species < 0 || static_cast<std::size_t>(row.Species) >= table.size() || row.Slot < 0 ||
            static_cast<std::size_t>(row.Slot) >= table[static_cast<std::size_t>(row.Species)].Slots.size()) {
            continue;
        }
        const rom::SlotBytes now = rom::EncodeSlot(
            table[static_cast<std::size_t>(row.Species)].Slots[static_cast<std::size_t>(row.Slot)]);
        if (now != rom::EncodeSlot(row.Value)) {
            changes.push_back({row, now});
        }
    }
    std::sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) {
        return a.Row.Species != b.Row.Species ? a.Row.Species < b.Row.Species : a.Row.Slot < b.Row.Slot;
    });
    return changes;
}

} // namespace TableFile
