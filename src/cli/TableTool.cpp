// The commands of evolution-table and the reading of its command line.
#include "TableTool.h"

#include "EditorLists.h"
#include "EvolutionImage.h"
#include "EvolutionSummary.h"
#include "FileIO.h"
#include "SlotChanges.h"
#include "TableFile.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <system_error>

#ifndef EVO_VERSION
#define EVO_VERSION "unknown"
#endif

namespace TableTool {
namespace {

constexpr const char* Program = "evolution-table";

constexpr const char* HelpText =
    "Usage: evolution-table COMMAND IMAGE [ARGUMENTS] [OPTIONS]\n"
    "Reads and changes the evolution table of a Generation 4 DS ROM image in place.\n"
    "\n"
    "Commands:\n"
    "  info IMAGE                      the game, where its table lies, its layout and how many\n"
    "                                  slots are used\n"
    "  export IMAGE [--format csv|json] [-o FILE]\n"
    "                                  every slot of every record (494 species x 7 slots on the\n"
    "                                  games' images), to FILE or the output\n"
    "  import IMAGE FILE [--dry-run]   writes the slots of a CSV or JSON file that differ from the\n"
    "                                  image, after checking every row; --dry-run writes nothing\n"
    "  show IMAGE SPECIES              a species' slots and the slots that evolve into it\n"
    "                                  (SPECIES is a number or a name)\n"
    "  names IMAGE [species|moves|items]\n"
    "                                  the names the image holds (or the built-in ones it\n"
    "                                  falls back to), number and name, and where they come from\n"
    "\n"
    "Options:\n"
    "  --format csv|json   export format (csv by default)\n"
    "  -o, --output FILE   export into FILE instead of the output\n"
    "  --dry-run           import: show the changes, write nothing\n"
    "  -h, --help          this text\n"
    "  --version           the program's version\n"
    "\n"
    "An import file is a regular file or a pipe of at most 4 MiB.\n"
    "Exit status: 0 success, 1 bad input, a refused image or a failed write, 2 wrong usage.\n";

using Path = std::filesystem::path;
using FileIO::PathOf;

struct Invocation {
    std::string Command;
    std::vector<std::string> Operands; // as given; a path is made from the bytes only where used
    std::optional<std::string> Format;
    std::optional<std::string> Output;
    bool DryRun = false;
    bool Help = false;
    bool Version = false;
};

// The command line, or the reason it is wrong.
struct Parsed {
    Invocation Call;
    std::string Error;
};

Parsed Parse(const std::vector<std::string>& args) {
    Parsed parsed;
    Invocation& call = parsed.Call;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options || arg.empty() || arg[0] != '-' || arg == "-") {
            if (call.Command.empty()) {
                call.Command = arg;
            } else {
                call.Operands.push_back(args[i]);
            }
            continue;
        }
        // The value after "--name=" or in the next argument, its bytes as given.
        const auto value = [&](const std::string& name, std::optional<std::string>& into) {
            const std::string prefix = name + "=";
            if (arg.rfind(prefix, 0) == 0) {
                into = arg.substr(prefix.size());
                return;
            }
            if (i + 1 >= args.size()) {
                parsed.Error = name + " needs a value";
                return;
            }
            into = args[++i];
        };
        if (arg == "--") {
            options = false;
        } else if (arg == "-h" || arg == "--help") {
            call.Help = true;
        } else if (arg == "--version") {
            call.Version = true;
        } else if (arg == "--dry-run") {
            call.DryRun = true;
        } else if (arg == "--format" || arg.rfind("--format=", 0) == 0) {
            value("--format", call.Format);
        } else if (arg == "-o") {
            value("-o", call.Output);
        } else if (arg == "--output" || arg.rfind("--output=", 0) == 0) {
            value("--output", call.Output);
        } else {
            parsed.Error = "unknown option " + arg;
        }
        if (!parsed.Error.empty()) {
            return parsed;
        }
    }
    if (call.Help || call.Version) {
        return parsed;
    }

    struct Shape {
        const char* Command;
        std::size_t Operands;
        const char* Usage;
        std::size_t MoreOperands = 0; // optional ones
    };
    static constexpr Shape Shapes[] = {
        {"info", 1, "info IMAGE"},
        {"export", 1, "export IMAGE [--format csv|json] [-o FILE]"},
        {"import", 2, "import IMAGE FILE [--dry-run]"},
        {"show", 2, "show IMAGE SPECIES"},
        {"names", 1, "names IMAGE [species|moves|items]", 1},
    };
    if (call.Command.empty()) {
        parsed.Error = "no command given";
        return parsed;
    }
    const auto shape = std::find_if(std::begin(Shapes), std::end(Shapes),
                                    [&call](const Shape& s) { return call.Command == s.Command; });
    if (shape == std::end(Shapes)) {
        parsed.Error = "unknown command " + call.Command;
    } else if (call.Operands.size() < shape->Operands ||
               call.Operands.size() > shape->Operands + shape->MoreOperands) {
        parsed.Error = std::string("usage: ") + Program + " " + shape->Usage;
    } else if ((call.Format || call.Output) && call.Command != "export") {
        parsed.Error = "--format and --output apply to export only";
    } else if (call.DryRun && call.Command != "import") {
        parsed.Error = "--dry-run applies to import only";
    } else if (call.Format && *call.Format != "csv" && *call.Format != "json") {
        parsed.Error = "--format is csv or json, not " + *call.Format;
    }
    return parsed;
}

std::string Utf8(const QString& text) {
    return text.toStdString();
}

std::string Hex(std::int32_t offset) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(offset));
    return text;
}

// Opens the image once and identifies it; that one open serves the whole command, so every read
// and write reaches the file identified whatever happens to its path meanwhile. A refused image
// gets the same reason the window gives.
std::optional<rom::EvolutionImage> OpenImage(const std::string& path, bool forWriting, std::ostream& err) {
    rom::Result<rom::EvolutionImage> image = rom::EvolutionImage::OpenHeld(PathOf(path), forWriting);
    if (!image) {
        err << Program << ": " << path << ": " << image.Reason() << "\n";
        return std::nullopt;
    }
    return std::move(*image);
}

void ReportUnreadable(const std::string& path, int species, int slot, std::ostream& err) {
    err << Program << ": " << path << ": slot " << slot + 1 << " of species " << species
        << " cannot be read: the file ends inside the evolution table\n";
}

struct OpenTable {
    rom::EvolutionImage Image;
    EvolutionSummary::Table Table;
    GameNames Names;
};

// The image and every slot of its table, or nothing when either cannot be had.
std::optional<OpenTable> ReadImageTable(const std::string& path, std::ostream& err) {
    std::optional<rom::EvolutionImage> image = OpenImage(path, false, err);
    if (!image) {
        return std::nullopt;
    }
    rom::SlotPosition at;
    std::optional<EvolutionSummary::Table> table = image->ReadTable(&at);
    if (!table) {
        ReportUnreadable(path, at.Species, at.Slot, err);
        return std::nullopt;
    }
    GameNames names = GameNames::ForImage(*image);
    return OpenTable{std::move(*image), std::move(*table), std::move(names)};
}

int Info(const Invocation& call, std::ostream& out, std::ostream& err) {
    const std::string& path = call.Operands[0];
    const std::optional<OpenTable> open = ReadImageTable(path, err);
    if (!open) {
        return BadInput;
    }
    const rom::TableLocation& location = open->Image.Location();
    int used = 0;
    for (const rom::EvolutionRecord& record : open->Table) {
        used +=
            static_cast<int>(std::count_if(std::begin(record.Slots), std::end(record.Slots),
                                           [](const rom::EvolutionSlot& slot) { return slot.Method != 0; }));
    }
    out << "image: " << path << "\n";
    if (location.HasHeader()) {
        out << "game: " << location.Description() << "\n";
        out << "title: " << location.Title() << "\n";
        out << "table: " << location.ArchivePath() << ", ";
    } else {
        out << "game: no DS header\n";
        out << "table: fixed offset, ";
    }
    const int last = location.Records() - 1;
    out << "record 0 at " << Hex(location.RecordOffset(0)) << ", record " << last << " at "
        << Hex(location.RecordOffset(last)) << "\n";
    out << "layout: " << location.Layout().Describe() << "\n";
    if (location.HasHeader()) {
        out << Utf8(open->Names.Source()) << "\n";
        for (const QString& line : open->Names.Details()) {
            out << "  " << Utf8(line) << "\n";
        }
    } else {
        out << Utf8(open->Names.Source()) << "\n";
    }
    out << "slots used: " << used << " of " << location.Layout().SlotTotal() << "\n";
    return Success;
}

// Whether `output` names the image itself, under its own path or another one (a hard or symbolic
// link): the export would replace the ROM with its table in text.
bool IsSameFile(const Path& image, const Path& output) {
    std::error_code error;
    return std::filesystem::equivalent(image, output, error) && !error;
}

int Export(const Invocation& call, std::ostream& out, std::ostream& err) {
    const std::string& path = call.Operands[0];
    if (call.Output && IsSameFile(PathOf(path), PathOf(*call.Output))) {
        err << Program << ": " << *call.Output
            << ": the output file is the image itself; nothing was written\n";
        return BadInput;
    }
    const std::optional<OpenTable> open = ReadImageTable(path, err);
    if (!open) {
        return BadInput;
    }
    const auto format =
        call.Format.value_or("csv") == "json" ? TableFile::Format::Json : TableFile::Format::Csv;
    const QByteArray text = TableFile::Write(open->Table, format, open->Names);
    // "-o /dev/stdout" goes where the output goes, as if no file were named.
    if (call.Output && !FileIO::IsStandardOutput(PathOf(*call.Output))) {
        const std::string problem =
            FileIO::WriteOutput(PathOf(*call.Output), std::string_view(text.constData(), text.size()));
        if (!problem.empty()) {
            err << Program << ": " << *call.Output << ": " << problem << "\n";
            return BadInput;
        }
        return Success;
    }
    out.write(text.constData(), text.size());
    return Success;
}

// The file's problems, the first hundred of them: a file that is not a table at all would
// otherwise bury the terminal.
constexpr std::size_t ProblemsShown = 100;

void ReportProblems(const std::string& file, const std::vector<TableFile::Problem>& problems,
                    std::ostream& err) {
    const std::size_t shown = std::min(problems.size(), ProblemsShown);
    for (std::size_t i = 0; i < shown; ++i) {
        err << file << ":" << problems[i].Line << ": " << Utf8(problems[i].Reason) << "\n";
    }
    if (problems.size() > shown) {
        const std::size_t rest = problems.size() - shown;
        err << file << ": " << rest << (rest == 1 ? " more problem" : " more problems") << " not shown\n";
    }
}

using TableFile::Change;

std::string SlotName(int species, int slot) {
    return "slot " + std::to_string(slot + 1) + " of species " + std::to_string(species);
}

// Says which slots written before a failed one could not be put back, and what each holds now.
void ReportNotPutBack(const std::string& path, const std::vector<rom::SlotChangeReport::Left>& left,
                      std::ostream& err) {
    for (const rom::SlotChangeReport::Left& slot : left) {
        const rom::SlotChange& made = slot.Change;
        std::string holds = "cannot be read";
        if (slot.Now && *slot.Now == made.Value) {
            holds = "holds the imported " + Utf8(EvolutionSummary::Describe(rom::DecodeSlot(made.Value)));
        } else if (slot.Now && *slot.Now == *made.Expected) {
            holds = "holds its old " + Utf8(EvolutionSummary::Describe(rom::DecodeSlot(*slot.Now)));
        } else if (slot.Now) {
            holds = "holds " + Utf8(EvolutionSummary::Describe(rom::DecodeSlot(*slot.Now))) +
                    ", written by another program";
        }
        err << Program << ": " << path << ": " << SlotName(made.At.Species, made.At.Slot)
            << " was not put back (" << slot.Reason << "): it " << holds << "\n";
    }
}

int Import(const Invocation& call, std::ostream& out, std::ostream& err) {
    const std::string& path = call.Operands[0];
    const std::string& filePath = call.Operands[1];
    const FileIO::Input input = FileIO::ReadInput(PathOf(filePath), InputLimit);
    if (!input.Problem.empty()) {
        err << Program << ": " << filePath << ": " << input.Problem << "\n";
        return BadInput;
    }
    // The file is read by the image's layout: its columns, how many records and slots there are.
    const std::optional<rom::EvolutionImage> image = OpenImage(path, !call.DryRun, err);
    if (!image) {
        return BadInput;
    }
    const TableFile::Contents contents = TableFile::Read(
        QByteArray::fromRawData(input.Bytes.data(), static_cast<qsizetype>(input.Bytes.size())),
        image->Location().Layout());
    if (!contents.Problems.empty()) {
        ReportProblems(filePath, contents.Problems, err);
        return BadInput;
    }

    rom::SlotPosition at;
    const std::optional<EvolutionSummary::Table> table = image->ReadTable(&at);
    if (!table) {
        ReportUnreadable(path, at.Species, at.Slot, err);
        return BadInput;
    }
    const std::vector<Change> changes = TableFile::Changes(contents.Rows, *table);

    const GameNames names = GameNames::ForImage(*image);
    for (const Change& change : changes) {
        out << Utf8(EvolutionSummary::DescribeChange(change.Row.Species, change.Row.Slot,
                                                     rom::DecodeSlot(change.Before), change.Row.Value, names))
            << "\n";
    }
    const std::string noun = changes.size() == 1 ? " slot" : " slots";
    if (call.DryRun) {
        out << changes.size() << noun << " would change (dry run: nothing written)\n";
        return Success;
    }
    // The list of changes is the import's report: when it cannot be written (the output closed,
    // a full disk), the image is left alone rather than changed without a word.
    if (!out.flush()) {
        err << Program << ": the output cannot be written; nothing was written to " << path << "\n";
        return BadInput;
    }
    // A slot another program changed since it was read is left as that program wrote it; should a
    // write fail, the slots written before it are put back.
    std::vector<rom::SlotChange> writes;
    writes.reserve(changes.size());
    for (const Change& change : changes) {
        writes.push_back(
            {{change.Row.Species, change.Row.Slot}, change.Before, rom::EncodeSlot(change.Row.Value)});
    }
    const rom::SlotChangeReport report = rom::ApplySlotChanges(*image, writes, rom::OnFailure::PutBack);
    if (!report.Complete()) {
        const std::size_t i = report.Failed.front().Index;
        const TableFile::Row& row = changes[i].Row;
        err << Program << ": " << path << ": " << SlotName(row.Species, row.Slot)
            << " was not written: " << report.Failed.front().Reason << "\n";
        if (i > 0) {
            ReportNotPutBack(path, report.NotPutBack, err);
            const std::size_t left = report.NotPutBack.size();
            if (left == 0) {
                err << Program << ": the " << i << (i == 1 ? " slot" : " slots")
                    << " written before it were put back; the image is as it was\n";
            } else {
                err << Program << ": " << left << " of the " << i
                    << " slots written before it could not be put back (listed above)\n";
            }
        }
        return BadInput;
    }
    out << changes.size() << noun << " changed\n";
    if (!out.flush()) {
        err << Program << ": " << path << ": " << changes.size() << noun
            << " changed, but the report of it cannot be written\n";
        return BadInput;
    }
    return Success;
}

int Show(const Invocation& call, std::ostream& out, std::ostream& err) {
    const std::string& path = call.Operands[0];
    const std::optional<OpenTable> open = ReadImageTable(path, err);
    if (!open) {
        return BadInput;
    }
    const GameNames& names = open->Names;
    const std::optional<int> species = FindSpecies(call.Operands[1], names);
    if (!species) {
        err << Program << ": no species " << call.Operands[1] << " (a number from 0 to "
            << names.Species().size() - 1 << " or a name)\n";
        return BadInput;
    }

    out << Utf8(EvolutionSummary::SpeciesName(*species, names)) << " (" << *species << ")\n";
    const auto list = [&out, &names](const char* heading, const std::vector<EvolutionSummary::Link>& links,
                                     bool named) {
        out << heading << "\n";
        if (links.empty()) {
            out << "  nothing\n";
        }
        for (const EvolutionSummary::Link& link : links) {
            out << "  ";
            if (named) {
                out << Utf8(EvolutionSummary::SpeciesName(link.Species, names)) << " (" << link.Species
                    << ") ";
            }
            out << "slot " << link.Slot + 1 << ": " << Utf8(EvolutionSummary::Describe(link.Value, names))
                << "\n";
        }
    };
    list("evolves into:", EvolutionSummary::EvolvesInto(open->Table, *species), false);
    list("evolves from:", EvolutionSummary::EvolvesFrom(open->Table, *species, names), true);
    return Success;
}

int Names(const Invocation& call, std::ostream& out, std::ostream& err) {
    const std::string& path = call.Operands[0];
    const std::string which = call.Operands.size() > 1 ? call.Operands[1] : std::string();
    if (!which.empty() && which != "species" && which != "moves" && which != "items") {
        err << Program << ": names lists species, moves or items, not " << which << "\n";
        return BadUsage;
    }
    const std::optional<rom::EvolutionImage> image = OpenImage(path, false, err);
    if (!image) {
        return BadInput;
    }
    const GameNames names = GameNames::ForImage(*image);
    out << "# " << Utf8(names.Source()) << "\n";
    const QStringList details = names.Details();
    const std::array<std::pair<const char*, const QStringList*>, 3> lists{
        {{"species", &names.Species()}, {"moves", &names.Moves()}, {"items", &names.Items()}}};
    for (std::size_t i = 0; i < lists.size(); ++i) {
        if (!which.empty() && which != lists[i].first) {
            continue;
        }
        if (image->Location().HasHeader()) {
            out << "# " << Utf8(details.value(static_cast<qsizetype>(i))) << "\n";
        }
        const QStringList& rows = *lists[i].second;
        for (qsizetype row = 0; row < rows.size(); ++row) {
            out << row << "\t" << Utf8(rows[row]) << "\n";
        }
    }
    return Success;
}

int Dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Parsed parsed = Parse(args);
    if (!parsed.Error.empty()) {
        err << Program << ": " << parsed.Error << "\n"
            << "Try '" << Program << " --help' for more information.\n";
        return BadUsage;
    }
    const Invocation& call = parsed.Call;
    if (call.Help) {
        out << HelpText;
        return Success;
    }
    if (call.Version) {
        out << Program << " " << EVO_VERSION << "\n";
        return Success;
    }
    if (call.Command == "info") {
        return Info(call, out, err);
    }
    if (call.Command == "export") {
        return Export(call, out, err);
    }
    if (call.Command == "import") {
        return Import(call, out, err);
    }
    if (call.Command == "names") {
        return Names(call, out, err);
    }
    return Show(call, out, err);
}

} // namespace

std::optional<int> FindSpecies(const std::string& text) {
    return FindSpecies(text, GameNames::BuiltIn());
}

std::optional<int> FindSpecies(const std::string& text, const GameNames& imageNames) {
    const QString given = QString::fromStdString(text).trimmed();
    bool isNumber = false;
    const int number = given.toInt(&isNumber);
    const int records = static_cast<int>(imageNames.Species().size());
    if (isNumber) {
        return number >= 0 && number < records ? std::optional<int>(number) : std::nullopt;
    }
    // A name spelled exactly is taken first, so that a looser match can never make it ambiguous;
    // in each pass the image's own names first, then the built-in spellings, which stay usable
    // on an image with other names.
    const QStringList& gameNames = EditorLists::GameSpeciesNames();
    const std::array<std::function<QString(int)>, 2> sources{
        [&imageNames](int species) { return EvolutionSummary::SpeciesName(species, imageNames); },
        [&gameNames](int species) {
            return species < rom::SpeciesCount
                       ? EvolutionSummary::SpeciesName(species) + u'\n' + gameNames.value(species)
                       : QString();
        }};
    const QString key = EvolutionSummary::NameKey(given);
    for (const bool loose : {false, true}) {
        if (loose && key.isEmpty()) {
            break;
        }
        for (const auto& source : sources) {
            for (int species = 0; species < records; ++species) {
                for (const QString& name : source(species).split(u'\n', Qt::SkipEmptyParts)) {
                    if (loose ? EvolutionSummary::NameKey(name) == key
                              : name.compare(given, Qt::CaseInsensitive) == 0) {
                        return species;
                    }
                }
            }
        }
    }
    return std::nullopt;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const int status = Dispatch(args, out, err);
    // A full disk or a closed pipe shows only here, once the buffered output is flushed. A command
    // that failed has said why already.
    if (!out.flush() && status == Success) {
        err << Program << ": the output cannot be written\n";
        return BadInput;
    }
    return status;
}

} // namespace TableTool
