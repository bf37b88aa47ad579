// diff and apply: a patch made of two images' tables, and one planned and written through the
// import's one write path.
#include "PatchCommands.h"

#include "EvolutionPatch.h"
#include "FileIO.h"
#include "TableTool.h"
#include "ToolSteps.h"

namespace TableTool {
namespace {

std::string Slots(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " slot" : " slots");
}

} // namespace

int Diff(const std::string& oldPath, const std::string& newPath, const std::optional<std::string>& output,
         std::ostream& out, std::ostream& err) {
    const bool toFile = output && !FileIO::IsStandardOutput(FileIO::PathOf(*output));
    if (toFile && (IsSameFile(FileIO::PathOf(oldPath), FileIO::PathOf(*output)) ||
                   IsSameFile(FileIO::PathOf(newPath), FileIO::PathOf(*output)))) {
        err << Program << ": " << *output << ": the output file is one of the images; nothing was written\n";
        return BadInput;
    }
    const std::optional<OpenTable> before = ReadImageTable(oldPath, err);
    if (!before) {
        return BadInput;
    }
    const std::optional<OpenTable> after = ReadImageTable(newPath, err);
    if (!after) {
        return BadInput;
    }
    const rom::Result<EvolutionPatch::Patch> patch =
        EvolutionPatch::Diff(before->Table, before->Image.Location().Layout(), after->Table,
                             after->Image.Location().Layout(), before->Image.Location().GameCode());
    if (!patch) {
        err << Program << ": " << oldPath << " and " << newPath << ": " << patch.Reason() << "\n";
        return BadInput;
    }
    const QByteArray text = EvolutionPatch::Write(*patch);
    // The summary goes where the patch does not, so that a patch written to the output can be piped.
    std::ostream& summary = toFile ? out : err;
    for (const EvolutionPatch::Change& change : patch->Changes) {
        summary << Utf8(EvolutionSummary::DescribeChange(change.Species, change.Slot, change.Old, change.New,
                                                         after->Names))
                << "\n";
    }
    summary << Slots(patch->Changes.size()) << (patch->Changes.size() == 1 ? " differs\n" : " differ\n");
    return Deliver(text, output, out, err);
}

int Apply(const std::string& imagePath, const std::string& patchPath, bool dryRun, std::ostream& out,
          std::ostream& err) {
    const FileIO::Input input = FileIO::ReadInput(FileIO::PathOf(patchPath), InputLimit);
    if (!input.Problem.empty()) {
        err << Program << ": " << patchPath << ": " << input.Problem << "\n";
        return BadInput;
    }
    const EvolutionPatch::Contents contents = EvolutionPatch::Read(
        QByteArray::fromRawData(input.Bytes.data(), static_cast<qsizetype>(input.Bytes.size())));
    if (!contents.Problems.empty()) {
        ReportProblems(patchPath, contents.Problems, err);
        return BadInput;
    }
    const std::optional<OpenTable> open = ReadImageTable(imagePath, err, !dryRun);
    if (!open) {
        return BadInput;
    }
    const EvolutionPatch::Plan plan =
        EvolutionPatch::PlanApply(*contents.Read, open->Table, open->Image.Location().Layout());
    if (!plan.Problems.empty()) {
        ReportProblems(patchPath, plan.Problems, err);
        err << Program << ": the patch does not fit " << imagePath << "; nothing was written\n";
        return BadInput;
    }

    using Kind = EvolutionPatch::Step::Kind;
    for (const EvolutionPatch::Step& step : plan.Steps) {
        const EvolutionPatch::Change& change = step.Change;
        if (step.What == Kind::Change) {
            out << Utf8(EvolutionSummary::DescribeChange(change.Species, change.Slot, change.Old, change.New,
                                                         open->Names))
                << "\n";
        } else if (step.What == Kind::AlreadyMade) {
            out << Utf8(EvolutionSummary::SpeciesText(change.Species, open->Names)) << " slot "
                << change.Slot + 1 << ": already applied\n";
        } else {
            err << Program << ": " << imagePath
                << ": conflict: " << Utf8(EvolutionPatch::DescribeConflict(step, open->Names)) << "\n";
        }
    }
    const std::size_t changes = plan.Count(Kind::Change);
    const std::string already = ", " + std::to_string(plan.Count(Kind::AlreadyMade)) + " already applied";
    if (const std::size_t conflicts = plan.Count(Kind::Conflict); conflicts > 0) {
        err << Program << ": " << conflicts << (conflicts == 1 ? " conflict" : " conflicts")
            << ": nothing was written to " << imagePath << "\n";
        return BadInput;
    }
    if (dryRun) {
        out << Slots(changes) << " would change" << already << " (dry run: nothing written)\n";
        return Success;
    }
    // As with an import, the list is the report: without it the image is left alone.
    if (!out.flush()) {
        err << Program << ": the output cannot be written; nothing was written to " << imagePath << "\n";
        return BadInput;
    }
    if (!WriteSlots(imagePath, open->Image, plan.Writes(), err)) {
        return BadInput;
    }
    out << Slots(changes) << " changed" << already << "\n";
    if (!out.flush()) {
        err << Program << ": " << imagePath << ": " << Slots(changes)
            << " changed, but the report of it cannot be written\n";
        return BadInput;
    }
    return Success;
}

} // namespace TableTool
