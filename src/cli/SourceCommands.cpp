// Source files out of and into an image, every file of the checkout read with the tool's checked
// input (a regular file or a pipe, opened without blocking, of limited size).
#include "SourceCommands.h"

#include "FileIO.h"
#include "SourceTable.h"
#include "TableTool.h"
#include "ToolSteps.h"

namespace TableTool {
namespace {

SourceText ReadChecked(const std::filesystem::path& path) {
    FileIO::Input input = FileIO::ReadInput(path, InputLimit);
    return {QByteArray(input.Bytes.data(), static_cast<qsizetype>(input.Bytes.size())), input.Problem};
}

std::optional<SourceNames> LoadNames(const std::string& sourceDir, SourceProject project, std::ostream& err) {
    rom::Result<SourceNames> names = SourceNames::Load(FileIO::PathOf(sourceDir), project, ReadChecked);
    if (!names) {
        err << Program << ": " << names.Reason() << "\n";
        return std::nullopt;
    }
    return std::move(*names);
}

} // namespace

int ExportSource(const std::string& imagePath, SourceProject project, const std::string& sourceDir,
                 const std::optional<std::string>& output, std::ostream& out, std::ostream& err) {
    const bool toFile = output && !FileIO::IsStandardOutput(FileIO::PathOf(*output));
    if (toFile && IsSameFile(FileIO::PathOf(imagePath), FileIO::PathOf(*output))) {
        err << Program << ": " << *output << ": the output file is the image itself; nothing was written\n";
        return BadInput;
    }
    const std::optional<SourceNames> names = LoadNames(sourceDir, project, err);
    if (!names) {
        return BadInput;
    }
    const std::optional<OpenTable> open = ReadImageTable(imagePath, err);
    if (!open) {
        return BadInput;
    }
    const QByteArray text = SourceTable::Write(open->Table, open->Image.Location().Layout(), project, *names);
    return Deliver(text, output, out, err);
}

int ImportSource(const std::string& imagePath, const std::string& filePath, SourceProject project,
                 const std::string& sourceDir, bool dryRun, std::ostream& out, std::ostream& err) {
    const SourceText file = ReadChecked(FileIO::PathOf(filePath));
    if (!file.Problem.empty()) {
        err << Program << ": " << filePath << ": " << file.Problem << "\n";
        return BadInput;
    }
    const std::optional<SourceNames> names = LoadNames(sourceDir, project, err);
    if (!names) {
        return BadInput;
    }
    // The file is checked against the image it is read for: its records and slots.
    const std::optional<OpenTable> open = ReadImageTable(imagePath, err, !dryRun);
    if (!open) {
        return BadInput;
    }
    const TableFile::Contents contents =
        SourceTable::Read(file.Bytes, open->Image.Location().Layout(), project, *names);
    if (!contents.Problems.empty()) {
        ReportProblems(filePath, contents.Problems, err);
        return BadInput;
    }
    return ImportRows(imagePath, open->Image, open->Table, open->Names, contents.Rows, dryRun, out, err);
}

} // namespace TableTool
