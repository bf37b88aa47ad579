// The commands of evolution-table and the reading of its command line.
#include "TableTool.h"

#include "EditorLists.h"
#include "EvolutionImage.h"
#include "EvolutionSummary.h"
#include "FileIO.h"
#include "PatchCommands.h"
#include "SourceCommands.h"
#include "TableFile.h"
#include "ToolSteps.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>

#ifndef EVO_VERSION
#define EVO_VERSION "unknown"
#endif

namespace TableTool {
namespace {

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
    "  diff OLD NEW [-o PATCH]         the slots that differ between two images of one layout, as\n"
    "                                  an evolution patch (JSON) to PATCH or the output, with a\n"
    "                                  summary on the output (on the error output when the patch\n"
    "                                  goes to the output)\n"
    "  apply IMAGE PATCH [--dry-run]   puts a patch on an image of any language: a slot holding\n"
    "                                  what the patch expected is changed, one holding what it\n"
    "                                  makes is left; any other is a conflict, and then nothing is\n"
    "                                  written\n"
    "  export IMAGE --format pokeheartgold|hg-engine --source DIR [-o FILE]\n"
    "  import IMAGE FILE --format pokeheartgold|hg-engine --source DIR [--dry-run]\n"
    "                                  the table as pret/pokeheartgold's evo.json or hg-engine's\n"
    "                                  data/Evolutions.c, named as the checkout DIR's headers\n"
    "                                  name the constants; a record the file does not list is\n"
    "                                  empty\n"
    "\n"
    "Options:\n"
    "  --format FORMAT     export: csv (by default), json, pokeheartgold or hg-engine;\n"
    "                      import: pokeheartgold or hg-engine (CSV and JSON tell themselves)\n"
    "  --source DIR        the pokeheartgold or hg-engine checkout whose headers give the names\n"
    "  -o, --output FILE   export or diff into FILE instead of the output\n"
    "  --dry-run           import, apply: show the changes, write nothing\n"
    "  -h, --help          this text\n"
    "  --version           the program's version\n"
    "\n"
    "An import, patch or source file is a regular file or a pipe of at most 4 MiB.\n"
    "Exit status: 0 success, 1 bad input, a refused image or a failed write, 2 wrong usage.\n";

using FileIO::PathOf;

struct Invocation {
    std::string Command;
    std::vector<std::string> Operands; // as given; a path is made from the bytes only where used
    std::optional<std::string> Format;
    std::optional<std::string> Output;
    std::optional<std::string> Source;
    bool DryRun = false;
    bool Help = false;
    bool Version = false;
};

// What is wrong with the options given to the command, or nothing.
std::string OptionProblem(const Invocation& call) {
    const std::string& command = call.Command;
    const bool source = call.Format && SourceProjectNamed(*call.Format);
    if (call.Format && command != "export" && command != "import") {
        return "--format applies to export and import only";
    }
    if (call.Output && command != "export" && command != "diff") {
        return "--output applies to export and diff only";
    }
    if (call.DryRun && command != "import" && command != "apply") {
        return "--dry-run applies to import and apply only";
    }
    if (command == "export" && call.Format && !source && *call.Format != "csv" && *call.Format != "json") {
        return "--format is csv or json, or pokeheartgold or hg-engine with --source DIR, not " +
               *call.Format;
    }
    if (command == "import" && call.Format && !source) {
        return "--format of an import is pokeheartgold or hg-engine (a CSV or JSON file tells itself), not " +
               *call.Format;
    }
    if (source && !call.Source) {
        return "--format " + *call.Format +
               " needs --source DIR, the checkout whose headers name the constants";
    }
    if (call.Source && !source) {
        return "--source applies to --format pokeheartgold or hg-engine only";
    }
    if (call.Source && call.Source->empty()) {
        return "--source needs the checkout's folder";
    }
    return {};
}

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
        } else if (arg == "--source" || arg.rfind("--source=", 0) == 0) {
            value("--source", call.Source);
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
        {"import", 2, "import IMAGE FILE [--dry-run] [--format pokeheartgold|hg-engine --source DIR]"},
        {"show", 2, "show IMAGE SPECIES"},
        {"names", 1, "names IMAGE [species|moves|items]", 1},
        {"diff", 2, "diff OLD NEW [-o PATCH]"},
        {"apply", 2, "apply IMAGE PATCH [--dry-run]"},
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
    } else {
        parsed.Error = OptionProblem(call);
    }
    return parsed;
}

std::string Hex(std::int32_t offset) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(offset));
    return text;
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
    return Deliver(text, call.Output, out, err);
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
    return ImportRows(path, *image, *table, GameNames::ForImage(*image), contents.Rows, call.DryRun, out,
                      err);
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
    // --source comes only with a source shape's --format: the options were checked for it.
    const SourceProject project =
        SourceProjectNamed(call.Format.value_or("")).value_or(SourceProject::PokeHeartGold);
    if (call.Command == "export") {
        return call.Source ? ExportSource(call.Operands[0], project, *call.Source, call.Output, out, err)
                           : Export(call, out, err);
    }
    if (call.Command == "import") {
        return call.Source ? ImportSource(call.Operands[0], call.Operands[1], project, *call.Source,
                                          call.DryRun, out, err)
                           : Import(call, out, err);
    }
    if (call.Command == "diff") {
        return Diff(call.Operands[0], call.Operands[1], call.Output, out, err);
    }
    if (call.Command == "apply") {
        return Apply(call.Operands[0], call.Operands[1], call.DryRun, out, err);
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
