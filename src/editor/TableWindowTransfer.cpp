// The table window's ways of carrying the table: another image compared into an evolution patch, a
// patch put on the open image, and the checkout whose names the source files are written in.
#include "TableWindow.h"

#include "EvolutionDocument.h"
#include "EvolutionPatch.h"
#include "FileIO.h"
#include "NativePath.h"
#include "TableFile.h"
#include "WarningBox.h"
#include "clsCommonDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <system_error>

namespace {

// How many of a project's headers the folder holds.
int HeadersPresent(const std::filesystem::path& root, SourceProject project) {
    int present = 0;
    for (const std::filesystem::path& header : SourceNames::Headers(project)) {
        std::error_code error;
        present += std::filesystem::is_regular_file(root / header, error) ? 1 : 0;
    }
    return present;
}

QString ProjectText(SourceProject project) {
    return QString::fromLatin1(SourceProjectName(project));
}

// A file's problems as `FILE:LINE: reason` lines.
QStringList ProblemLines(const QString& shown, const std::vector<TableFile::Problem>& problems) {
    QStringList lines;
    for (const TableFile::Problem& problem : problems) {
        lines << QStringLiteral("%1:%2: %3").arg(shown).arg(problem.Line).arg(problem.Reason);
    }
    return lines;
}

} // namespace

std::optional<SourceProject> TableWindow::Source() const {
    return source ? std::optional<SourceProject>(source->Project) : std::nullopt;
}

TableWindow::Format TableWindow::FormatOf(const QString& path) const {
    const QFileInfo file(path);
    const auto is = [](const QString& text, const char* name) {
        return text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (source && source->Project == SourceProject::HgEngine && is(file.suffix(), "c")) {
        return Format::Source;
    }
    if (source && source->Project == SourceProject::PokeHeartGold && is(file.fileName(), "evo.json")) {
        return Format::Source;
    }
    return is(file.suffix(), "json") ? Format::Json : Format::Csv;
}

void TableWindow::ChooseSourceFolder() {
    const QString start = source ? source->Root : QFileInfo(document->Path()).absolutePath();
    const QString root =
        QFileDialog::getExistingDirectory(this, tr("Choose a pokeheartgold or hg-engine checkout"), start);
    if (!root.isEmpty()) {
        SetSourceFolder(root);
    }
}

bool TableWindow::SetSourceFolder(const QString& root) {
    const QString shown = QDir::toNativeSeparators(root);
    const std::filesystem::path folder = NativePath::FromText(root);
    std::error_code error;
    if (root.isEmpty() || !std::filesystem::is_directory(folder, error)) {
        WarningBox::Show(this, windowTitle(), tr("%1 is not a folder.").arg(shown));
        return false;
    }
    // Which project the folder is a checkout of: the one whose headers it holds and can be read.
    std::vector<SourceProject> readable;
    QString reason;
    int nearest = -1;
    for (const SourceProject project : {SourceProject::PokeHeartGold, SourceProject::HgEngine}) {
        const rom::Result<SourceNames> names = SourceNames::Load(folder, project);
        if (names) {
            readable.push_back(project);
            continue;
        }
        // The project whose headers the folder holds most of says what is missing.
        if (const int present = HeadersPresent(folder, project); present > nearest) {
            nearest = present;
            reason = QString::fromStdString(names.Reason());
        }
    }
    if (readable.empty()) {
        WarningBox::Show(
            this, windowTitle(),
            tr("%1 is not the root of a pokeheartgold or hg-engine checkout: %2.").arg(shown, reason));
        return false;
    }
    SourceProject project = readable.front();
    if (readable.size() > 1) {
        QMessageBox question(QMessageBox::Question, windowTitle(),
                             tr("%1 holds the headers of both pokeheartgold and hg-engine. Which project's "
                                "evolution file do you export and import?")
                                 .arg(shown),
                             QMessageBox::NoButton, this);
        question.setObjectName(QStringLiteral("sourceProjectQuestion"));
        QPushButton* heartGold = question.addButton(tr("&pokeheartgold"), QMessageBox::AcceptRole);
        QPushButton* engine = question.addButton(tr("&hg-engine"), QMessageBox::AcceptRole);
        question.addButton(QMessageBox::Cancel);
        question.exec();
        if (question.clickedButton() == heartGold) {
            project = SourceProject::PokeHeartGold;
        } else if (question.clickedButton() == engine) {
            project = SourceProject::HgEngine;
        } else {
            return false;
        }
    }
    source = SourceFolder{QDir(root).absolutePath(), project};
    sourceLabel->setText(tr("Source: %1").arg(ProjectText(project)));
    sourceLabel->setToolTip(QDir::toNativeSeparators(source->Root));
    sourceLabel->show();
    return true;
}

std::optional<SourceNames> TableWindow::LoadSourceNames(const QString& action) {
    if (!source) {
        WarningBox::Show(this, windowTitle(),
                         tr("No source folder is chosen (Source folder...); %1.").arg(action));
        return std::nullopt;
    }
    rom::Result<SourceNames> names = SourceNames::Load(NativePath::FromText(source->Root), source->Project);
    if (!names) {
        WarningBox::Show(this, windowTitle(),
                         tr("The %1 checkout %2 cannot be read: %3; %4.")
                             .arg(ProjectText(source->Project), QDir::toNativeSeparators(source->Root),
                                  QString::fromStdString(names.Reason()), action));
        return std::nullopt;
    }
    return std::move(*names);
}

void TableWindow::ChooseCompare() {
    const FileChooserResult chosen =
        AskForFile(tr("Compare with another image"), {tr("NDS ROMs (*.nds)"), tr("All files (*)")});
    if (!chosen.Path.isEmpty()) {
        CompareWith(chosen.Path);
    }
}

void TableWindow::ChoosePatch() {
    const FileChooserResult chosen =
        AskForFile(tr("Apply an evolution patch"), {tr("Evolution patches (*.json)"), tr("All files (*)")});
    if (!chosen.Path.isEmpty()) {
        ApplyPatch(chosen.Path);
    }
}

void TableWindow::CompareWith(const QString& path) {
    if (!document->IsOpen()) {
        return;
    }
    const QString shown = QDir::toNativeSeparators(path);
    // Only read: the other image is never written.
    const rom::Result<rom::EvolutionImage> other =
        rom::EvolutionImage::OpenHeld(NativePath::FromText(path), false);
    if (!other) {
        WarningBox::Show(this, windowTitle(),
                         tr("%1 cannot be compared: %2.").arg(shown, QString::fromStdString(other.Reason())));
        return;
    }
    rom::SlotPosition missing;
    const std::optional<EvolutionSummary::Table> theirs = other->ReadTable(&missing);
    if (!theirs) {
        WarningBox::Show(this, windowTitle(),
                         tr("%1 cannot be compared: the file ends before slot %2 of species %3.")
                             .arg(shown)
                             .arg(missing.Slot + 1)
                             .arg(missing.Species));
        return;
    }
    // What the open image holds now, not what was last shown.
    document->RereadIfChanged();
    const EvolutionSummary::Table* ours = document->Table();
    if (!ours) {
        WarningBox::Show(this, windowTitle(),
                         tr("The evolution table cannot be read; nothing was compared."));
        return;
    }
    const rom::TableLocation& location = document->Image()->Location();
    const rom::Result<EvolutionPatch::Patch> patch = EvolutionPatch::Diff(
        *ours, location.Layout(), *theirs, other->Location().Layout(), location.GameCode());
    const QString otherName = QFileInfo(path).fileName();
    if (!patch) {
        WarningBox::Show(this, windowTitle(),
                         tr("%1 and %2 cannot be compared: %3.")
                             .arg(document->FileName(), otherName, QString::fromStdString(patch.Reason())));
        return;
    }
    const QString title = tr("Compare");
    if (patch->Changes.empty()) {
        Review(title,
               tr("%1 holds the same evolution table as %2: no slot differs.")
                   .arg(otherName, document->FileName()),
               {});
        return;
    }
    QStringList lines;
    for (const EvolutionPatch::Change& change : patch->Changes) {
        lines << EvolutionSummary::DescribeChange(change.Species, change.Slot, change.Old, change.New,
                                                  document->Names());
    }
    const QString heading = tr("%n slot(s) differ from %1 to %2.", nullptr, int(lines.size()))
                                .arg(document->FileName(), otherName) +
                            tr(" Save them as a patch, to apply to other images? Neither image is written.");
    if (Review(title, heading, lines, tr("&Save patch..."))) {
        const QString suggested =
            QStringLiteral("%1-to-%2.json")
                .arg(QFileInfo(document->Path()).completeBaseName(), QFileInfo(path).completeBaseName());
        SavePatch(EvolutionPatch::Write(*patch), suggested, other->Identity());
    }
}

void TableWindow::SavePatch(const QByteArray& patch, const QString& suggested,
                            const std::optional<rom::FileIdentity>& other) {
    FileChooserRequest request;
    request.DialogMode = FileChooserRequest::Mode::Save;
    request.Owner = this;
    request.Title = tr("Save the evolution patch");
    request.InitialDir = QFileInfo(document->Path()).absolutePath();
    request.FileName = suggested;
    request.NameFilters = {tr("Evolution patches (*.json)")};
    request.PathMustExist = true;
    request.OverwritePrompt = true;
    request.DefaultSuffix = QStringLiteral("json");
    const FileChooserResult chosen = clsCommonDialog::Ask(request);
    if (chosen.Path.isEmpty() || !document->IsOpen()) {
        return;
    }
    const QString shown = QDir::toNativeSeparators(chosen.Path);
    const std::filesystem::path file = NativePath::FromText(chosen.Path);
    // Either image, under any name or link, would be replaced by a few lines of text.
    const std::optional<rom::FileIdentity> target = FileIO::IdentityOf(file);
    if (target && (target == document->Image()->Identity() || target == other)) {
        WarningBox::Show(this, windowTitle(),
                         tr("%1 is one of the two images; nothing was written.").arg(shown));
        return;
    }
    const std::string problem = FileIO::WriteOutput(
        file, std::string_view(patch.constData(), static_cast<std::size_t>(patch.size())));
    if (!problem.empty()) {
        WarningBox::Show(this, windowTitle(),
                         tr("%1 was not written: %2.").arg(shown, QString::fromStdString(problem)));
    }
}

void TableWindow::ApplyPatch(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const QString title = tr("Apply patch");
    const std::optional<FileIO::Input> input = ReadForChange(path, title, tr("Nothing was applied."));
    if (!input) {
        return;
    }
    const EvolutionPatch::Contents contents = EvolutionPatch::Read(
        QByteArray::fromRawData(input->Bytes.data(), static_cast<qsizetype>(input->Bytes.size())));
    if (!contents.Problems.empty()) {
        Review(
            title,
            tr("Nothing was applied: the patch has %n problem(s).", nullptr, int(contents.Problems.size())),
            ProblemLines(shown, contents.Problems));
        return;
    }
    // Planned against what the file holds now.
    document->RereadIfChanged();
    const EvolutionSummary::Table* table = document->Table();
    if (!table) {
        WarningBox::Show(this, windowTitle(), tr("The evolution table cannot be read; nothing was applied."));
        return;
    }
    const EvolutionPatch::Plan plan =
        EvolutionPatch::PlanApply(*contents.Read, *table, document->Image()->Location().Layout());
    if (!plan.Problems.empty()) {
        Review(title, tr("Nothing was applied: the patch does not fit %1.").arg(document->FileName()),
               ProblemLines(shown, plan.Problems));
        return;
    }

    using Kind = EvolutionPatch::Step::Kind;
    const GameNames& names = document->Names();
    QStringList lines;
    for (const EvolutionPatch::Step& step : plan.Steps) {
        const EvolutionPatch::Change& change = step.Change;
        if (step.What == Kind::Change) {
            lines << EvolutionSummary::DescribeChange(change.Species, change.Slot, change.Old, change.New,
                                                      names);
        } else if (step.What == Kind::Conflict) {
            lines << tr("Conflict: %1").arg(EvolutionPatch::DescribeConflict(step, names));
        }
    }
    const int changes = int(plan.Count(Kind::Change));
    const int made = int(plan.Count(Kind::AlreadyMade));
    const QString counts =
        tr("%n slot(s) would change", nullptr, changes) + tr(", %1 already applied.").arg(made);
    if (const int conflicts = int(plan.Count(Kind::Conflict)); conflicts > 0) {
        // One slot that holds something else means the patch was made for another table: none of
        // it is written.
        Review(title,
               tr("Nothing can be applied: %n slot(s) of the image hold neither what the patch expected "
                  "nor what it makes.",
                  nullptr, conflicts) +
                   tr(" Without them: ") + counts,
               lines);
        return;
    }
    if (changes == 0) {
        Review(title,
               made == 0
                   ? tr("Nothing to do: the patch changes no slot.")
                   : tr("Nothing to do: the image already holds every change of the patch (%n slot(s)).",
                        nullptr, made),
               {});
        return;
    }
    if (Review(title, counts + tr(" Apply? Undo in the editor (Ctrl+Z) takes the whole patch back."), lines,
               tr("&Apply"))) {
        WriteAsOneStep(tr("Apply %1").arg(QFileInfo(path).fileName()), plan.Writes());
    }
}
