// The constant names of a pret/pokeheartgold or hg-engine checkout, read from the headers that
// name what an evolution table holds: `#define` lists and enums, with the simple arithmetic their
// values use, so that a source file can be read and written in the names its project builds with.
#pragma once

#include "Result.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The projects whose evolution files are read and written.
enum class SourceProject { PokeHeartGold, HgEngine };

// "pokeheartgold" or "hg-engine", as the command line names them.
std::optional<SourceProject> SourceProjectNamed(const std::string& name);
const char* SourceProjectName(SourceProject project);

// A file of a checkout, read whole, or why it was not.
struct SourceText {
    QByteArray Bytes;
    std::string Problem; // empty when read
};
using SourceReader = std::function<SourceText(const std::filesystem::path&)>;

// The largest header or source file read.
inline constexpr std::size_t SourceFileLimit = std::size_t{4} * 1024 * 1024;

// Reads a regular file of at most SourceFileLimit bytes; anything else (a folder, a FIFO, a
// device) is refused without being opened.
SourceText ReadSourceFile(const std::filesystem::path& path);

class SourceNames {
public:
    // What a value of an evolution slot names, by the prefix of its constants.
    enum class Kind { Species, Item, Move, Method, Type };

    // The headers a checkout of `project` defines the names in, relative to its root: only these
    // are needed (and the files they include, where present).
    static std::vector<std::filesystem::path> Headers(SourceProject project);
    // The project's own evolution file, relative to its root.
    static std::filesystem::path DataFile(SourceProject project);

    // Reads the headers of the checkout at `root`. A header that is missing or unreadable fails
    // the whole, with the reason; a file one of them includes is read where it is present. The
    // project's own evolution file, when present, says which of several names for one value
    // the project writes.
    static rom::Result<SourceNames> Load(const std::filesystem::path& root, SourceProject project,
                                         const SourceReader& read = ReadSourceFile);

    SourceNames() = default;
    // Adds the definitions in one header's text; returns the files it includes in double quotes.
    QStringList AddHeader(const QByteArray& text);
    // Notes the names a project's own data uses, preferred among names of one value.
    void NoteUsedNames(const QByteArray& text);

    // The value of `expression` as the project's compiler computes it: a number (decimal, 0x hex,
    // octal, u/l suffixes), a defined name, parentheses, + - * / % << >> & | ^ ~, and calls of the
    // headers' function-like macros (MON_WITH_FORM(species, form)). `problem`, when given,
    // receives why there is none ("unknown name SPECIES_FOO").
    std::optional<std::int64_t> Evaluate(QStringView expression, QString* problem = nullptr) const;

    // The name a written file gives `value` of `kind`; empty when the headers define none. Of
    // several names for one value: the one the project's own data uses, else one that is not a
    // range mark (…_START, …_END, …_COUNT, …_NUM, …_MAX), else the first defined.
    QString NameOf(Kind kind, int value) const;
    // Whether the headers define a function-like macro `name`.
    bool DefinesMacro(const QString& name) const;

private:
    struct Macro {
        QString Body;
        QStringList Params;
        bool Function = false;
        bool Simple = true; // an object-like one, with a value
    };
    friend class SourceExpression;

    void AddDefine(const QString& line);
    void AddEnums(const QString& code);
    void AddName(const QString& name);
    // Builds the value -> name lists, once the definitions are all in.
    void ChooseNames() const;

    QHash<QString, Macro> defines_;
    QHash<QString, std::int64_t> enumValues_;
    std::vector<QString> order_; // every name, in the order first defined
    QSet<QString> usedInData_;
    mutable std::array<std::map<int, QString>, 5> chosen_{};
    mutable bool chosen = false;
};
