// The command steps shared by the table's own files, the patches and the source files.
#include "ToolSteps.h"

#include "FileIO.h"
#include "SlotChanges.h"
#include "TableTool.h"

#include <algorithm>
#include <system_error>

namespace TableTool {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

std::optional<rom::EvolutionImage> OpenImage(const std::string& path, bool forWriting, std::ostream& err) {
    rom::Result<rom::EvolutionImage> image = rom::EvolutionImage::OpenHeld(FileIO::PathOf(path), forWriting);
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

std::optional<OpenTable> ReadImageTable(const std::string& path, std::ostream& err, bool forWriting) {
    std::optional<rom::EvolutionImage> image = OpenImage(path, forWriting, err);
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

bool IsSameFile(const std::filesystem::path& image, const std::filesystem::path& output) {
    std::error_code error;
    return std::filesystem::equivalent(image, output, error) && !error;
}

namespace {

constexpr std::size_t ProblemsShown = 100;

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

} // namespace

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

std::string SlotName(int species, int slot) {
    return "slot " + std::to_string(slot + 1) + " of species " + std::to_string(species);
}

int Deliver(const QByteArray& text, const std::optional<std::string>& output, std::ostream& out,
            std::ostream& err) {
    if (!output || FileIO::IsStandardOutput(FileIO::PathOf(*output))) {
        out.write(text.constData(), text.size());
        return Success;
    }
    const std::string problem =
        FileIO::WriteOutput(FileIO::PathOf(*output), std::string_view(text.constData(), text.size()));
    if (!problem.empty()) {
        err << Program << ": " << *output << ": " << problem << "\n";
        return BadInput;
    }
    return Success;
}

bool WriteSlots(const std::string& path, const rom::EvolutionImage& image,
                const std::vector<rom::SlotChange>& writes, std::ostream& err) {
    const rom::SlotChangeReport report = rom::ApplySlotChanges(image, writes, rom::OnFailure::PutBack);
    if (report.Complete()) {
        return true;
    }
    const std::size_t i = report.Failed.front().Index;
    const rom::SlotPosition at = writes[i].At;
    err << Program << ": " << path << ": " << SlotName(at.Species, at.Slot)
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
    return false;
}

int ImportRows(const std::string& path, const rom::EvolutionImage& image,
               const EvolutionSummary::Table& table, const GameNames& names,
               const std::vector<TableFile::Row>& rows, bool dryRun, std::ostream& out, std::ostream& err) {
    using TableFile::Change;
    const std::vector<Change> changes = TableFile::Changes(rows, table);
    for (const Change& change : changes) {
        out << Utf8(EvolutionSummary::DescribeChange(change.Row.Species, change.Row.Slot,
                                                     rom::DecodeSlot(change.Before), change.Row.Value, names))
            << "\n";
    }
    const std::string noun = changes.size() == 1 ? " slot" : " slots";
    if (dryRun) {
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
    if (!WriteSlots(path, image, writes, err)) {
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

} // namespace TableTool
