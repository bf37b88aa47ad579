// The table window: its controls, the reading of the table, the filter and the way to the editor.
#include "TableWindow.h"

#include "EvolutionDocument.h"
#include "EvolutionTableModel.h"
#include "FileIO.h"
#include "NativePath.h"
#include "SourceTable.h"
#include "TableFile.h"
#include "WarningBox.h"
#include "clsCommonDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The model's rows through the filter box, in the order of the column clicked.
class FilteredRows : public QSortFilterProxyModel {
public:
    FilteredRows(EvolutionTableModel* model, QObject* parent)
        : QSortFilterProxyModel(parent), model(model), filter(QString()) {
        setSourceModel(model);
    }

    void SetFilter(const QString& text) {
        filter = EvolutionTableModel::Filter(text);
        invalidateFilter();
    }
    bool Filtered() const { return !filter.IsEmpty(); }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& /*parent*/) const override {
        return filter.Matches(model->At(row));
    }
    bool lessThan(const QModelIndex& a, const QModelIndex& b) const override {
        return model->Less(a.row(), b.row(), a.column());
    }

private:
    EvolutionTableModel* model;
    EvolutionTableModel::Filter filter;
};

FilteredRows* Filtered(QSortFilterProxyModel* rows) {
    return static_cast<FilteredRows*>(rows);
}

// The chooser's file type of a project's evolution file.
QString SourceFilter(SourceProject project) {
    return project == SourceProject::PokeHeartGold
               ? QCoreApplication::translate("TableWindow", "pokeheartgold evo.json (*.json)")
               : QCoreApplication::translate("TableWindow", "hg-engine Evolutions.c (*.c)");
}

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

TableWindow::TableWindow(EvolutionDocument* document, QWidget* owner)
    : QWidget(owner, Qt::Window), document(document) {
    setObjectName(QStringLiteral("TableWindow"));
    setWindowTitle(tr("Evolution Table"));
    // The editor's window is the program's: closing this one never ends it.
    setAttribute(Qt::WA_QuitOnClose, false);
    CreateControls();
    CreateShortcuts();
    resize(760, 520);
    // Hidden, the window reads nothing: it shows the table as it is when it is shown again.
    connect(document, &EvolutionDocument::Closed, this, &TableWindow::Reload);
    for (auto changed : {&EvolutionDocument::Opened, &EvolutionDocument::TableReread}) {
        connect(document, changed, this, [this] {
            if (isVisible()) {
                Reload();
            }
        });
    }
    connect(document, &EvolutionDocument::SlotsWritten, this, [this] {
        if (isVisible()) {
            Reload();
        }
    });
}

void TableWindow::CreateControls() {
    model = new EvolutionTableModel(this);
    rows = new FilteredRows(model, this);

    filterEdit = new QLineEdit(this);
    filterEdit->setObjectName(QStringLiteral("filterEdit"));
    filterEdit->setPlaceholderText(tr("Species, method, item, move or number"));
    filterEdit->setClearButtonEnabled(true);
    filterEdit->installEventFilter(this);
    auto* filterLabel = new QLabel(tr("&Filter:"), this);
    filterLabel->setBuddy(filterEdit);

    emptySlots = new QCheckBox(tr("Show &empty slots"), this);
    emptySlots->setObjectName(QStringLiteral("emptySlots"));
    matchCount = new QLabel(this);
    matchCount->setObjectName(QStringLiteral("matchCount"));

    view = new QTableView(this);
    view->setObjectName(QStringLiteral("tableView"));
    view->setModel(rows);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTabKeyNavigation(false);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setSortingEnabled(true);
    view->sortByColumn(EvolutionTableModel::Number, Qt::AscendingOrder);
    view->installEventFilter(this);

    problem = new QLabel(this);
    problem->setObjectName(QStringLiteral("problem"));
    problem->setWordWrap(true);
    problem->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(filterEdit, 1);
    top->addWidget(emptySlots);
    top->addWidget(matchCount);
    // The buttons are made in the order they stand, which Tab follows.
    sourceButton = new QPushButton(tr("&Source folder..."), this);
    sourceButton->setObjectName(QStringLiteral("sourceButton"));
    sourceButton->setToolTip(
        tr("A pokeheartgold or hg-engine checkout, to export and import its evolution file"));
    compareButton = new QPushButton(tr("&Compare with..."), this);
    compareButton->setObjectName(QStringLiteral("compareButton"));
    compareButton->setToolTip(
        tr("Lists the slots in which another image differs from this one, to save as a patch"));
    applyButton = new QPushButton(tr("Apply &patch..."), this);
    applyButton->setObjectName(QStringLiteral("applyButton"));
    applyButton->setToolTip(tr("Puts an evolution patch on this image"));
    exportButton = new QPushButton(tr("E&xport..."), this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    importButton = new QPushButton(tr("&Import..."), this);
    importButton->setObjectName(QStringLiteral("importButton"));
    sourceLabel = new QLabel(this);
    sourceLabel->setObjectName(QStringLiteral("sourceLabel"));
    sourceLabel->hide();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(problem, 1);
    bottom->addStretch(1); // the buttons keep their size while no problem shows
    bottom->addWidget(sourceLabel);
    bottom->addWidget(sourceButton);
    bottom->addWidget(compareButton);
    bottom->addWidget(applyButton);
    bottom->addWidget(exportButton);
    bottom->addWidget(importButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view, 1);
    layout->addLayout(bottom);

    connect(filterEdit, &QLineEdit::textChanged, this, &TableWindow::FilterChanged);
    connect(emptySlots, &QCheckBox::toggled, this, &TableWindow::Reload);
    connect(exportButton, &QPushButton::clicked, this, &TableWindow::ChooseExport);
    connect(importButton, &QPushButton::clicked, this, &TableWindow::ChooseImport);
    connect(compareButton, &QPushButton::clicked, this, &TableWindow::ChooseCompare);
    connect(applyButton, &QPushButton::clicked, this, &TableWindow::ChoosePatch);
    connect(sourceButton, &QPushButton::clicked, this, &TableWindow::ChooseSourceFolder);
    connect(view, &QAbstractItemView::doubleClicked, this, &TableWindow::ShowInEditor);
    connect(filterEdit, &QLineEdit::returnPressed, this, [this] {
        if (!view->currentIndex().isValid() && rows->rowCount() > 0) {
            view->setCurrentIndex(rows->index(0, 0));
        }
        ShowInEditor(view->currentIndex());
    });
}

void TableWindow::CreateShortcuts() {
    const auto add = [this](QList<QKeySequence> keys, QKeySequence::StandardKey standard, auto handler) {
        for (const QKeySequence& key : QKeySequence::keyBindings(standard)) {
            if (!keys.contains(key)) {
                keys << key;
            }
        }
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    add({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}, QKeySequence::Close,
        [this] { close(); });
    add({QKeySequence(Qt::Key_F5)}, QKeySequence::Refresh, [this] { document->Reread(); });
    // The editor's history, from here too: an import is taken back where it was made.
    add({}, QKeySequence::Undo, [this] { document->Undo(); });
    add({}, QKeySequence::Redo, [this] { document->Redo(); });
    add({}, QKeySequence::Find, [this] {
        filterEdit->setFocus(Qt::ShortcutFocusReason);
        filterEdit->selectAll();
    });
}

void TableWindow::Reload() {
    if (!document->IsOpen()) {
        model->Clear();
        close();
        return;
    }
    setWindowTitle(tr("Evolution Table - %1").arg(document->FileName()));
    const EvolutionSummary::Table* table = document->Table();
    if (!table) {
        const rom::SlotPosition& missing = document->Unreadable();
        model->Clear();
        problem->setText(tr("The evolution table cannot be read: the file ends before slot %1 of %2.")
                             .arg(missing.Slot + 1)
                             .arg(EvolutionSummary::SpeciesText(missing.Species, document->Names())));
        problem->show();
        UpdateCount();
        return;
    }
    problem->hide();

    // The row the user is on stays current, and the view where it was, when the rows change.
    const QModelIndex current = rows->mapToSource(view->currentIndex());
    const int species = current.isValid() ? model->At(current.row()).Species : -1;
    const int slot = current.isValid() ? model->At(current.row()).Slot : -1;
    const int scrolled = view->verticalScrollBar()->value();
    const bool first = model->rowCount() == 0;
    if (model->SetTable(*table, emptySlots->isChecked(), document->Names())) {
        if (first) {
            view->resizeColumnsToContents();
        }
        const int row = model->RowOf(species, slot);
        if (row >= 0) {
            view->selectionModel()->setCurrentIndex(rows->mapFromSource(model->index(row, 0)),
                                                    QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
        }
        view->verticalScrollBar()->setValue(scrolled);
    }
    UpdateCount();
}

void TableWindow::FilterChanged() {
    Filtered(rows)->SetFilter(filterEdit->text());
    UpdateCount();
}

void TableWindow::UpdateCount() {
    const int shown = rows->rowCount();
    const int all = model->rowCount();
    matchCount->setText(Filtered(rows)->Filtered() ? tr("%1 of %n slot(s)", nullptr, all).arg(shown)
                                                   : tr("%n slot(s)", nullptr, all));
}

void TableWindow::ShowInEditor(const QModelIndex& index) {
    const QModelIndex source = rows->mapToSource(index);
    if (!source.isValid()) {
        return;
    }
    const EvolutionTableModel::Row& row = model->At(source.row());
    document->PickSlot(row.Species, row.Slot);
}

void TableWindow::changeEvent(QEvent* event) {
    // Back in this window, another program may have changed the file meanwhile; the document
    // reads it again only then.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        document->RereadIfChanged();
    }
    QWidget::changeEvent(event);
}

bool TableWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == view && IsEnter(key)) {
        ShowInEditor(view->currentIndex());
        return true;
    }
    // From the filter box, the keys that move through rows move into the table.
    const bool moves = key->key() == Qt::Key_Down || key->key() == Qt::Key_Up ||
                       key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp;
    if (watched == filterEdit && moves && rows->rowCount() > 0) {
        view->setFocus(Qt::OtherFocusReason);
        if (!view->currentIndex().isValid()) {
            view->setCurrentIndex(rows->index(0, 0));
            return true;
        }
        QCoreApplication::sendEvent(view, event);
        return true;
    }
    return false;
}

void TableWindow::ChooseExport() {
    FileChooserRequest request;
    request.DialogMode = FileChooserRequest::Mode::Save;
    request.Owner = this;
    request.Title = tr("Export the evolution table");
    request.InitialDir = QFileInfo(document->Path()).absolutePath();
    request.FileName = QFileInfo(document->Path()).completeBaseName() + QStringLiteral(".csv");
    request.NameFilters = {tr("CSV files (*.csv)"), tr("JSON files (*.json)")};
    if (source) {
        request.NameFilters << SourceFilter(source->Project);
    }
    request.PathMustExist = true;
    request.OverwritePrompt = true;
    request.DefaultSuffix = QStringLiteral("csv");
    const FileChooserResult chosen = clsCommonDialog::Ask(request);
    if (!chosen.Path.isEmpty()) {
        ExportTo(chosen.Path, source && chosen.FilterIndex == 3 ? Format::Source : Format::ByName);
    }
}

void TableWindow::ChooseImport() {
    QStringList filters{tr("Evolution tables (*.csv *.json)")};
    if (source) {
        filters << SourceFilter(source->Project);
    }
    filters << tr("All files (*)");
    const FileChooserResult chosen = AskForFile(tr("Import an evolution table"), filters);
    if (!chosen.Path.isEmpty()) {
        ImportFrom(chosen.Path, source && chosen.FilterIndex == 2 ? Format::Source : Format::ByName);
    }
}

FileChooserResult TableWindow::AskForFile(const QString& title, const QStringList& filters) {
    FileChooserRequest request;
    request.Owner = this;
    request.Title = title;
    request.InitialDir = QFileInfo(document->Path()).absolutePath();
    request.NameFilters = filters;
    request.FileMustExist = true;
    request.PathMustExist = true;
    return clsCommonDialog::Ask(request);
}

std::optional<FileIO::Input> TableWindow::ReadForChange(const QString& path, const QString& title,
                                                        const QString& nothing) {
    // The slot on screen is settled first: the file may change under it.
    if (!document->IsOpen() || document->SettleEdits() == EvolutionDocument::Settled::Cancelled) {
        return std::nullopt;
    }
    // As the tool reads: never waiting on a FIFO without a writer, never more than a table file's
    // limit from a device or a pipe.
    FileIO::Input input = FileIO::ReadInput(NativePath::FromText(path), TableFile::SizeLimit);
    if (!input.Problem.empty()) {
        Review(title, nothing,
               {tr("%1: %2").arg(QDir::toNativeSeparators(path), QString::fromStdString(input.Problem))});
        return std::nullopt;
    }
    return input;
}

bool TableWindow::ExportTo(const QString& path, Format format) {
    if (!document->IsOpen()) {
        return false;
    }
    if (format == Format::ByName) {
        format = FormatOf(path);
    }
    const QString shown = QDir::toNativeSeparators(path);
    const std::filesystem::path file = NativePath::FromText(path);
    // The image itself, under any name or link, would be replaced by its table in text.
    const std::optional<rom::FileIdentity> target = FileIO::IdentityOf(file);
    if (target && target == document->Image()->Identity()) {
        WarningBox::Show(this, windowTitle(), tr("%1 is the image itself; nothing was written.").arg(shown));
        return false;
    }
    // What the file holds now, not what was last shown.
    document->RereadIfChanged();
    const EvolutionSummary::Table* table = document->Table();
    if (!table) {
        WarningBox::Show(this, windowTitle(), tr("The evolution table cannot be read; nothing was written."));
        return false;
    }
    QByteArray text;
    if (format == Format::Source) {
        // The checkout's headers as they are now: the user may have added a name since.
        const std::optional<SourceNames> names = LoadSourceNames(tr("nothing was written"));
        if (!names) {
            return false;
        }
        text = SourceTable::Write(*table, document->Image()->Location().Layout(), source->Project, *names);
    } else {
        text = TableFile::Write(*table,
                                format == Format::Json ? TableFile::Format::Json : TableFile::Format::Csv,
                                document->Names());
    }
    // As the tool writes: a file replaced whole, a pipe or a device written into, a file marked
    // read-only left alone.
    const std::string problem =
        FileIO::WriteOutput(file, std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (!problem.empty()) {
        WarningBox::Show(this, windowTitle(),
                         tr("%1 was not written: %2.").arg(shown, QString::fromStdString(problem)));
        return false;
    }
    return true;
}

void TableWindow::ImportFrom(const QString& path, Format format) {
    const QString shown = QDir::toNativeSeparators(path);
    const QString title = tr("Import");
    const std::optional<FileIO::Input> input = ReadForChange(path, title, tr("Nothing was imported."));
    if (!input) {
        return;
    }
    const QByteArray bytes =
        QByteArray::fromRawData(input->Bytes.data(), static_cast<qsizetype>(input->Bytes.size()));
    const rom::TableLayout& layout = document->Image()->Location().Layout();
    if (format == Format::ByName) {
        format = FormatOf(path);
    }
    TableFile::Contents contents;
    if (format == Format::Source) {
        const std::optional<SourceNames> names = LoadSourceNames(tr("nothing was imported"));
        if (!names) {
            return;
        }
        contents = SourceTable::Read(bytes, layout, source->Project, *names);
    } else {
        contents = TableFile::Read(bytes, layout);
    }
    if (!contents.Problems.empty()) {
        QStringList lines;
        for (const TableFile::Problem& problem : contents.Problems) {
            lines << QStringLiteral("%1:%2: %3").arg(shown).arg(problem.Line).arg(problem.Reason);
        }
        Review(title, tr("Nothing was imported: the file has %n problem(s).", nullptr, int(lines.size())),
               lines);
        return;
    }
    // Compared with what the file holds now.
    document->RereadIfChanged();
    const EvolutionSummary::Table* table = document->Table();
    if (!table) {
        WarningBox::Show(this, windowTitle(),
                         tr("The evolution table cannot be read; nothing was imported."));
        return;
    }
    const std::vector<TableFile::Change> changes = TableFile::Changes(contents.Rows, *table);
    if (changes.empty()) {
        Review(title, tr("The image already holds every slot of %1: nothing to import.").arg(shown), {});
        return;
    }
    const GameNames& names = document->Names();
    QStringList lines;
    std::vector<rom::SlotChange> writes;
    for (const TableFile::Change& change : changes) {
        lines << EvolutionSummary::DescribeChange(change.Row.Species, change.Row.Slot,
                                                  rom::DecodeSlot(change.Before), change.Row.Value, names);
        writes.push_back(
            {{change.Row.Species, change.Row.Slot}, change.Before, rom::EncodeSlot(change.Row.Value)});
    }
    QString heading = tr("%n slot(s) would change.", nullptr, int(changes.size()));
    if (format == Format::Source) {
        // As the project builds it: what the file leaves out is no evolution at all.
        heading += tr(" The file defines the whole table: a species it does not list has no evolution.");
    }
    heading += tr(" Import? Undo in the editor (Ctrl+Z) takes the whole import back.");
    if (Review(title, heading, lines, tr("&Import"))) {
        WriteAsOneStep(tr("Import %1").arg(QFileInfo(path).fileName()), writes);
    }
}

bool TableWindow::Review(const QString& title, const QString& heading, const QStringList& lines,
                         const QString& accept) {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("importReview"));
    dialog.setWindowTitle(title);
    auto* label = new QLabel(heading, &dialog);
    label->setWordWrap(true);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("importLines"));
    list->addItems(lines);
    auto* buttons = new QDialogButtonBox(&dialog);
    if (!accept.isEmpty()) {
        buttons->addButton(accept, QDialogButtonBox::AcceptRole);
        buttons->addButton(QDialogButtonBox::Cancel);
    } else {
        buttons->addButton(QDialogButtonBox::Close);
    }
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    dialog.resize(620, 400);
    return dialog.exec() == QDialog::Accepted && !accept.isEmpty();
}

void TableWindow::WriteAsOneStep(const QString& text, const std::vector<rom::SlotChange>& writes) {
    const rom::SlotChangeReport report = document->WriteSlots(text, writes);
    if (report.Complete()) {
        return;
    }
    // As the command-line tool does: the slots written before the failing one were put back, each
    // only while it still held what was written; what stays is one step to undo.
    const rom::SlotPosition& at = writes[report.Failed.front().Index].At;
    QString message = tr("Slot %1 of %2 was not written: %3.")
                          .arg(at.Slot + 1)
                          .arg(EvolutionSummary::SpeciesText(at.Species, document->Names()),
                               QString::fromStdString(report.Failed.front().Reason));
    message += report.NotPutBack.empty() ? tr("\nThe image is unchanged.")
                                         : tr("\n%n slot(s) written before it could not be put back.",
                                              nullptr, int(report.NotPutBack.size()));
    WarningBox::Show(this, windowTitle(),
                     message + tr("\n\nFile: %1").arg(QDir::toNativeSeparators(document->Path())));
}
