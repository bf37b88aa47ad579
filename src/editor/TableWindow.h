// The table window beside the editor: every evolution of the open image at a glance, read from the
// file whenever it may have changed, filtered by name or number, sorted by any column, and one
// Enter or double click away from editing a slot; its table exported and imported as the
// command-line tool does it.
#pragma once

#include <QWidget>

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

    // Writes the whole table, read from the file now, to `path`: JSON for a .json name, CSV
    // otherwise, in the columns and spelling of evolution-table export. False (and a warning) when
    // it cannot.
    bool ExportTo(const QString& path);
    // Imports `path` as evolution-table import does: every row checked (the problems listed, and
    // nothing written), then every slot it would change shown for the user to confirm, then
    // written as one step of the editor's history.
    void ImportFrom(const QString& path);

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
};
