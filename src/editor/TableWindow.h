// The table window beside the editor: every evolution of the open image at a glance, read from the
// file whenever it may have changed, filtered by name or number, sorted by any column, and one
// Enter or double click away from editing a slot; its table exported and imported as the
// command-line tool does it, also in the source files of a checkout; compared with another image
// into a patch, and a patch applied.
#pragma once

#include "FileIO.h"
#include "SlotChanges.h"
#include "SourceNames.h"
#include "clsCommonDialog.h"

#include <QWidget>
#include <optional>
#include <vector>

class EvolutionDocument;
class EvolutionTableModel;
class QCheckBox;
class QLabel;
class QPushButton;
class QLineEdit;
class QModelIndex;
class QSortFilterProxyModel;
class QTableView;

class TableWindow : public QWidget {
    Q_OBJECT

public:
    // A window of its own (belonging to `owner`, the editor window) that shows the table of the
    // document's image.
    explicit TableWindow(EvolutionDocument* document, QWidget* owner = nullptr);

    // Shows the document's table as last read, keeping the row the user is on; closes the window
    // once no image is open.
    void Reload();

    // What a file written or read is. By the name: where a source folder is chosen, a .c file
    // (hg-engine) or one named evo.json (pokeheartgold) is the project's source file; else JSON
    // for a .json name, CSV otherwise.
    enum class Format { ByName, Csv, Json, Source };

    // Writes the whole table, read from the file now, to `path`: CSV or JSON in the columns and
    // spelling of evolution-table export, or the source folder's project's file in its checkout's
    // names. False (and a warning) when it cannot.
    bool ExportTo(const QString& path, Format format = Format::ByName);
    // Imports `path` as evolution-table import does: every row checked (the problems listed, and
    // nothing written), then every slot it would change shown for the user to confirm, then
    // written as one step of the editor's history. A source file defines the whole table.
    void ImportFrom(const QString& path, Format format = Format::ByName);

    // Lists the slots that differ from the open image to the image at `path`, and offers to save
    // them as an evolution patch. Nothing is written to either image.
    void CompareWith(const QString& path);
    // Puts the evolution patch at `path` on the open image: its problems, or every change and
    // conflict, listed before anything is written; with no conflict, the changes written as one
    // step of the editor's history once the user confirms.
    void ApplyPatch(const QString& path);

    // Takes the folder at `root` as the checkout whose headers name the source files' constants;
    // its project is told by the headers it holds (the user is asked when it holds both
    // projects'). Kept for the window's life. False (and a warning) when it is not a checkout,
    // and the folder chosen before stays.
    bool SetSourceFolder(const QString& root);
    // The project of the chosen source folder; none before one is chosen.
    std::optional<SourceProject> Source() const;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateShortcuts();
    void FilterChanged();
    void UpdateCount();
    // Shows the slot of the view's row in the editor, as if the user had picked it there.
    void ShowInEditor(const QModelIndex& index);
    void ChooseExport();
    void ChooseImport();
    void ChooseCompare();
    void ChoosePatch();
    void ChooseSourceFolder();
    // The format `path` is by its name.
    Format FormatOf(const QString& path) const;
    // The chosen checkout's names, read now; none (and a warning naming `action`) when no folder
    // is chosen or it cannot be read any more.
    std::optional<SourceNames> LoadSourceNames(const QString& action);
    // The list shown before a file changes the table, or instead: `accept` names the button that
    // goes on (none: the list can only be closed). True when the user chose it.
    bool Review(const QString& title, const QString& heading, const QStringList& lines,
                const QString& accept = QString());
    // Writes `writes` as one step of the history named `text`; says what happened when a slot
    // could not be written.
    void WriteAsOneStep(const QString& text, const std::vector<rom::SlotChange>& writes);
    // The Open dialog for a file to read, in the image's folder; an empty path when cancelled.
    FileChooserResult AskForFile(const QString& title, const QStringList& filters);
    // The edits on screen settled and `path` read by the tool's input rules, for a change named
    // `title`; none when the user cancelled or the file cannot be read (listed, with `nothing`).
    std::optional<FileIO::Input> ReadForChange(const QString& path, const QString& title,
                                               const QString& nothing);
    void SavePatch(const QByteArray& patch, const QString& suggested,
                   const std::optional<rom::FileIdentity>& other);

    struct SourceFolder {
        QString Root;
        SourceProject Project = SourceProject::PokeHeartGold;
    };

    EvolutionDocument* document = nullptr;
    EvolutionTableModel* model = nullptr;
    QSortFilterProxyModel* rows = nullptr;
    QLineEdit* filterEdit = nullptr;
    QCheckBox* emptySlots = nullptr;
    QLabel* matchCount = nullptr;
    QLabel* problem = nullptr;
    QTableView* view = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* importButton = nullptr;
    QPushButton* compareButton = nullptr;
    QPushButton* applyButton = nullptr;
    QPushButton* sourceButton = nullptr;
    QLabel* sourceLabel = nullptr;
    std::optional<SourceFolder> source;
};
