// The editor window: its controls at their fixed places, and the handlers that open an image,
// show a slot from it and save the slot back.
#include "Form1.h"
#include "ValueList.h"

#include "EditorLists.h"
#include "EditorResources.h"
#include "EvolutionMethods.h"
#include "EvolutionTable.h"
#include "NativePath.h"
#include "PropertyBag.h"
#include "SlotToolTips.h"
#include "StyledButton.h"
#include "WarningBox.h"
#include "WindowFont.h"
#include "clsCommonDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPixmap>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QUrl>
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <stdexcept>

namespace {

// Whether a parameter of `kind` is edited in a list; a parameter of another kind is kept as read.
bool HasParameterList(ParameterKind kind) {
    return kind != ParameterKind::NoEvolution && kind != ParameterKind::NoParameter;
}

int TwipsToPixels(int twips, int dpi) {
    return qRound(twips * dpi / 1440.0);
}

// The local path of a single dropped .nds file, or empty text.
QString DroppedRomPath(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls()) {
        return {};
    }
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) {
        return {};
    }
    const QFileInfo file(urls.first().toLocalFile());
    if (!file.isFile() || file.suffix().compare(QLatin1String("nds"), Qt::CaseInsensitive) != 0) {
        return {};
    }
    return file.absoluteFilePath();
}

// The species list is chosen from, never edited: a row change skips asking the item delegate
// whether it starts an edit.
class SpeciesListWidget : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    bool edit(const QModelIndex& /*index*/, EditTrigger /*trigger*/, QEvent* /*event*/) override {
        return false;
    }
};

} // namespace

Form1::Form1(QWidget* parent) : Form1(nullptr, parent) {}

Form1::Form1(EvolutionDocument* shown, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      document(shown ? shown : new EvolutionDocument(this)) {
    EditorResources::Init();
    setObjectName(QStringLiteral("Form1"));
    // A tool window, and still the program's main window: closing it ends the program, and it
    // stays visible while another application is active.
    setAttribute(Qt::WA_QuitOnClose);
    setAttribute(Qt::WA_MacAlwaysShowToolWindow);
    setFixedSize(TwipsRect(0, 0, 5295, 4455).size());
    // The layout was made for this small font; where it is missing, a font of the same widths
    // stands in at the same size.
    setFont(WindowFont::LayoutFont());
    setAcceptDrops(true);
    CreateControls();
    UpdateTitle();
    Form_Load();

    connect(document, &EvolutionDocument::Opened, this, &Form1::ImageOpened);
    connect(document, &EvolutionDocument::Closed, this, &Form1::ImageClosed);
    connect(document, &EvolutionDocument::SlotsWritten, this, &Form1::SlotsWritten);
    connect(document, &EvolutionDocument::SlotPicked, this, &Form1::ShowPickedSlot);
    connect(document, &EvolutionDocument::Problem, this,
            [this](const QString& text) { WarningBox::Show(this, WindowTitle(), text); });
    document->SetEditGuard([this] { return SettleShownSlot(); });
}

QRect Form1::TwipsRect(int left, int top, int width, int height) const {
    // Right and bottom edges are converted too, so that edges that meet in twips meet in pixels.
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    const int x = TwipsToPixels(left, dpiX);
    const int y = TwipsToPixels(top, dpiY);
    return QRect(x, y, TwipsToPixels(left + width, dpiX) - x, TwipsToPixels(top + height, dpiY) - y);
}

ValueList* Form1::CreateList(const char* name, QWidget* parent, const QRect& geometry,
                             const QStringList& rows) {
    auto* list = new ValueList(parent);
    list->setObjectName(QLatin1String(name));
    // The size is fixed; the size policy is left alone, as setting it builds the list's pop-up
    // (nine widgets) long before it is opened, and each of them then follows every change of the
    // list's enabled state.
    list->setGeometry(geometry);
    // A plain string model: the lists hold text only, and building 1,400 rows of full items is the
    // larger part of the window's start-up.
    list->setModel(new QStringListModel(rows, list));
    list->setCurrentIndex(-1);
    return list;
}

void Form1::CreateControls() {
    lstPokemon = new SpeciesListWidget(this);
    lstPokemon->setObjectName(QStringLiteral("lstPokemon"));
    lstPokemon->setGeometry(TwipsRect(120, 180, 1695, 3375));
    // Every row is one line of the same font: laying out one row lays out all, instead of every
    // row again whenever the current row changes.
    lstPokemon->setUniformItemSizes(true);
    lstPokemon->addItems(EditorLists::SpeciesList());
    lstPokemon->setEnabled(false);

    Frame1 = new QGroupBox(QStringLiteral("Evolution Data"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(TwipsRect(1920, 480, 3255, 3135));
    Frame1->setEnabled(false);

    // Labels first, so that the lists they overlap stay on top and take the clicks.
    const auto label = [this](const char* name, const char* caption, int top) {
        auto* l = new QLabel(QLatin1String(caption), Frame1);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(TwipsRect(240, top, 1215, 255));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    Label1 = label("Label1", "Evo. Type:", 420);
    Label3 = label("Label3", "Item Used:", 1380);
    Label4 = label("Label4", "@ Level:", 1020);
    Label5 = label("Label5", "Pokemon:", 1740);
    Label6 = label("Label6", "Attack:", 2100);
    Label7 = label("Label7", "Evo. To:", 2700);

    // The level list stays empty until the window loads.
    cmbType = CreateList("cmbType", Frame1, TwipsRect(1080, 360, 1815, 315), EditorLists::MethodList());
    cmbItem = CreateList("cmbItem", Frame1, TwipsRect(1080, 1320, 1815, 315), EditorLists::ItemList());
    cmbLevel = CreateList("cmbLevel", Frame1, TwipsRect(1080, 960, 1815, 315), {});
    cmbPokemon = CreateList("cmbPokemon", Frame1, TwipsRect(1080, 1680, 1815, 315),
                            EditorLists::ParameterSpeciesList());
    cmbAttack = CreateList("cmbAttack", Frame1, TwipsRect(1080, 2040, 1815, 315), EditorLists::MoveList());
    cmbEvoTo = CreateList("cmbEvoTo", Frame1, TwipsRect(1080, 2640, 1815, 315), EditorLists::SpeciesList());
    CreateLayoutLists();
    for (QComboBox* list : {cmbItem, cmbLevel, cmbPokemon, cmbAttack, cmbMoveType}) {
        list->setEnabled(false);
    }

    CreateSlotButtons();
    CreateCommandButtons();

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(TwipsRect(2520, 3960, 240, 240));
    // Read as XPM straight away: no image plugin is loaded to ask whether it knows the format.
    QImageReader icon(QStringLiteral(":/editor/icons/Form1.xpm"), "xpm");
    icon.setAutoDetectImageFormat(false);
    Image1->setPixmap(QPixmap::fromImage(icon.read()));
    Image1->hide();

    SetTabOrder();

    ConnectSlotControls();
    CreateShortcuts();
    CreateTableShortcut();

    auto* toolTips = new SlotToolTips([this] { return Image(); }, [this] { return lstPokemon->currentRow(); },
                                      this, [this] { return &names; });
    toolTips->Watch(optNum, lstPokemon);
}

void Form1::CreateLayoutLists() {
    // hg-engine's type parameter takes the level list's place when its method is chosen; the
    // form list stands beside the target on tables whose targets carry one.
    cmbMoveType = CreateList("cmbMoveType", Frame1, TwipsRect(1080, 960, 1815, 315), EditorLists::TypeList());
    cmbMoveType->hide();
    LabelForm = new QLabel(QStringLiteral("Form:"), Frame1);
    LabelForm->setObjectName(QStringLiteral("LabelForm"));
    LabelForm->setGeometry(TwipsRect(2985, 2700, 480, 255));
    LabelForm->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelForm->hide();
    QStringList forms;
    for (int form = 0; form <= rom::MaxTargetForm; ++form) {
        forms << QString::number(form);
    }
    cmbForm = CreateList("cmbForm", Frame1, TwipsRect(3465, 2640, 630, 315), forms);
    cmbForm->hide();
}

void Form1::CreateSlotButtons() {
    slotButtons = new QButtonGroup(this);
    slotButtons->setExclusive(true);
    for (int i = 0; i < static_cast<int>(optNum.size()); ++i) {
        optNum[i] = new QRadioButton(QString::number(i + 1), this);
        optNum[i]->setObjectName(QStringLiteral("optNum%1").arg(i));
        optNum[i]->setGeometry(TwipsRect(1920 + 480 * i, 120, 495, 255));
        optNum[i]->setEnabled(false);
        // Slots 8 and 9 only on tables that have them.
        optNum[i]->setVisible(i < rom::SlotCount);
        slotButtons->addButton(optNum[i], i);
    }
    optNum[0]->setChecked(true);
}

void Form1::ConnectSlotControls() {
    // A move to another species or slot first asks about an unsaved slot; Cancel moves back.
    connect(lstPokemon, &QListWidget::currentRowChanged, this, [this] {
        if (!ConfirmLeavingSlot()) {
            ReturnToShownSlot();
            return;
        }
        lstPokemon_Click();
    });
    connect(slotButtons, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (!checked) {
            return;
        }
        if (!ConfirmLeavingSlot()) {
            ReturnToShownSlot();
            return;
        }
        optNum_Click(index);
    });
    connect(cmbType, &QComboBox::currentIndexChanged, this, [this] { cmbType_Click(); });
    // After the method change has set the other lists, so that one check covers it.
    for (QComboBox* list :
         {cmbType, cmbLevel, cmbItem, cmbPokemon, cmbAttack, cmbEvoTo, cmbMoveType, cmbForm}) {
        connect(list, &QComboBox::currentIndexChanged, this, [this] { SlotEdited(); });
    }
}

void Form1::CreateCommandButtons() {
    cmdOpen = CreateCommandButton(QStringLiteral("cmdOpen"), TwipsRect(120, 3720, 2415, 615));
    connect(cmdOpen, &StyledButton::Click, this, &Form1::cmdOpen_Click);
    cmdSave = CreateCommandButton(QStringLiteral("cmdSave"), TwipsRect(2760, 3720, 2415, 615));
    connect(cmdSave, &StyledButton::Click, this, &Form1::cmdSave_Click);
}

StyledButton* Form1::CreateCommandButton(const QString& name, const QRect& geometry) {
    auto* button = new StyledButton(this);
    button->setObjectName(name);
    // The size comes first so that the loaded caption and picture are laid out on the real face.
    button->setGeometry(geometry);
    QFile design(QStringLiteral(":/design/%1.json").arg(name));
    QString error;
    std::optional<platform::PropertyBag> bag;
    if (design.open(QIODevice::ReadOnly)) {
        bag = platform::PropertyBag::FromText(design.readAll(), &error);
    } else {
        error = design.errorString();
    }
    if (bag) {
        try {
            button->ReadProperties(*bag);
            return button;
        } catch (const std::exception& e) {
            // A value of the wrong type or out of range in an edited design file.
            error = QString::fromStdString(e.what());
        }
    }
    // Only a damaged design file gets here; the window stays usable with a default button.
    qWarning("Form1: the stored properties of %s cannot be read: %s", qPrintable(name), qPrintable(error));
    button->InitProperties();
    return button;
}

void Form1::SetTabOrder() {
    // The item list comes before the level list, as it always has.
    QList<QWidget*> order{lstPokemon, cmbType,   cmbItem,  cmbLevel, cmbMoveType,
                          cmbPokemon, cmbAttack, cmbEvoTo, cmbForm,  cmdOpen};
    for (QRadioButton* option : optNum) {
        order << option;
    }
    order << cmdSave;
    for (qsizetype i = 0; i + 1 < order.size(); ++i) {
        setTabOrder(order[i], order[i + 1]);
    }
}

void Form1::UpdateTitle() {
    const rom::EvolutionImage* image = document->Image();
    if (!image) {
        setWindowTitle(WindowTitle());
        return;
    }
    // "demo.nds - Pokemon Diamond (ADAE) - Evolution Editor"; a bare table image says where its
    // table is taken to lie instead.
    const rom::TableLocation& location = image->Location();
    const QString name = document->FileName() + QStringLiteral("[*]");
    const QString game = QString::fromStdString(location.Description());
    setWindowTitle(location.HasHeader()
                       ? name + QStringLiteral(" - ") + game + QStringLiteral(" - ") + WindowTitle()
                       : name + QStringLiteral(" (") + game + QStringLiteral(") - ") + WindowTitle());
}

void Form1::Form_Load() {
    cmbLevel->clear();
    cmbLevel->addItems(EditorLists::LevelList());
    cmbLevel->setCurrentIndex(-1);
    CurrentSlot = 0;
    setWindowIcon(EditorResources::ApplicationIcon());
}

void Form1::cmdOpen_Click() {
    if (!ConfirmLeavingSlot()) {
        return;
    }
    clsCommonDialog dialog;
    OpenImage(dialog.ShowOpen(this, QStringLiteral("Open Pokemon NDS ROM..."), QString(),
                              QStringLiteral("NDS ROMs (*.nds)|*.nds"),
                              clsCommonDialog::OFN_HIDEREADONLY | clsCommonDialog::OFN_PATHMUSTEXIST |
                                  clsCommonDialog::OFN_FILEMUSTEXIST));
}

void Form1::OpenRomImage(const QString& path) {
    if (ConfirmLeavingSlot()) {
        OpenImage(path);
    }
}

void Form1::OpenRomImage(const std::filesystem::path& file) {
    if (ConfirmLeavingSlot()) {
        OpenImage(file);
    }
}

void Form1::OpenImage(const QString& path) {
    if (path.isEmpty()) {
        // A cancelled Open: the last slot stays on screen, inactive.
        document->Close();
        return;
    }
    OpenImage(NativePath::FromText(path));
}

void Form1::OpenImage(const std::filesystem::path& file) {
    const rom::Status opened = document->Open(file);
    if (!opened.Ok()) {
        WarningBox::Show(this, WindowTitle(),
                         tr("The file %1 was not opened: %2.")
                             .arg(QDir::toNativeSeparators(NativePath::ToText(file)),
                                  QString::fromStdString(opened.Reason)));
    }
}

void Form1::ImageOpened() {
    ApplyLayout(document->Image()->Location().Layout());
    ShowNames(document->Names());
    UpdateTitle();
    SetEditorEnabled(true);
    ++quietNavigation;
    // Species 1 is shown from the new file also when it was already selected, which changes no
    // row and so sends no notification.
    if (lstPokemon->currentRow() == 1) {
        lstPokemon_Click();
    } else {
        lstPokemon->setCurrentRow(1);
    }
    --quietNavigation;
}

void Form1::ImageClosed() {
    SetModifiedMark(false);
    UpdateTitle();
    SetEditorEnabled(false);
}

void Form1::ShowNames(const GameNames& shown) {
    // Only a list whose names change is refilled: the built-in lists stay as they were built.
    const auto refill = [](ValueList* list, const QStringList& rows) {
        auto* model = static_cast<QStringListModel*>(list->model());
        if (model->stringList() != rows) {
            const QSignalBlocker quiet(list);
            model->setStringList(rows);
            list->setCurrentIndex(-1);
        }
    };
    refill(cmbType, shown.Methods());
    refill(cmbEvoTo, shown.Species());
    refill(cmbPokemon, shown.ParameterSpecies());
    refill(cmbAttack, shown.Moves());
    refill(cmbItem, shown.Items());
    if (shown.Species() != names.Species()) {
        const QSignalBlocker quiet(lstPokemon);
        lstPokemon->clear();
        lstPokemon->addItems(shown.Species());
    }
    names = shown;
}

void Form1::SetEditorEnabled(bool enabled) {
    cmdSave->SetEnabled(enabled);
    lstPokemon->setEnabled(enabled);
    Frame1->setEnabled(enabled);
    for (QRadioButton* option : optNum) {
        option->setEnabled(enabled);
    }
}

void Form1::lstPokemon_Click() {
    if (lstPokemon->currentRow() >= 0) {
        optNum_Click(CurrentSlot);
    }
}

std::int32_t Form1::ReadField(rom::SlotField field) const {
    const rom::EvolutionImage* image = document->Image();
    return image ? image->ReadField(lstPokemon->currentRow(), CurrentSlot, field) : 0;
}

void Form1::optNum_Click(int index) {
    if (index < 0 || index >= layout.Slots) {
        return;
    }
    CurrentSlot = static_cast<std::int16_t>(index);
    if (lstPokemon->currentRow() < 0) {
        return;
    }

    // The lists are set from the file here, which is no edit. The method goes to "None" and then
    // to the slot's own; only the enabled states of the last change are applied, once, at the end.
    ++quietEdits;
    showingSlot = true;

    // From "None", setting the slot's method below always changes the method list, so the method
    // change runs with this slot's parameter even when the method equals the one shown before.
    cmbType->setCurrentIndex(0);

    const std::int32_t target = ReadField(rom::SlotField::Target);
    if (layout.TargetsCarryForm) {
        cmbEvoTo->ShowValue(rom::TargetSpecies(static_cast<std::uint16_t>(target)));
        cmbForm->ShowValue(rom::TargetForm(static_cast<std::uint16_t>(target)));
    } else {
        cmbEvoTo->ShowValue(target);
    }
    PendingParam = ReadField(rom::SlotField::Parameter);
    const std::int32_t parameter = PendingParam;
    const std::int32_t method = ReadField(rom::SlotField::Method);
    cmbType->ShowValue(method);
    fileBytesShown =
        rom::EncodeSlot({static_cast<std::uint16_t>(method), static_cast<std::uint16_t>(parameter),
                         static_cast<std::uint16_t>(target)});

    // A parameter stored with a method that shows none stays in the slot when it is saved.
    hiddenParameter.reset();
    const ParameterKind kind = EvolutionMethods::KindOfMethod(cmbType->currentIndex(), layout);
    if (!HasParameterList(kind) && parameter != 0) {
        hiddenParameter = static_cast<std::uint16_t>(parameter);
    }

    showingSlot = false;
    if (deferredEnabled) {
        ApplyEnabledStates(*deferredEnabled);
        deferredEnabled.reset();
    }
    --quietEdits;
    shownSpecies = lstPokemon->currentRow();
    shownSlot = CurrentSlot;
    // The editors now hold what was just read: nothing to save.
    shownBytes = rom::EncodeSlot(SlotOnScreen());
    SetModifiedMark(false);
    UpdateSlotMarks();
}

void Form1::ApplyEnabledStates(const EvolutionMethods::MethodChange& change) {
    // Only a list whose own state changes is touched: a change of enabled state restyles the list.
    const auto enable = [](QWidget* list, bool enabled) {
        if (list->testAttribute(Qt::WA_ForceDisabled) == enabled) {
            list->setEnabled(enabled);
        }
    };
    enable(cmbLevel, change.Level.Enabled);
    enable(cmbItem, change.Item.Enabled);
    enable(cmbPokemon, change.Pokemon.Enabled);
    enable(cmbAttack, change.Attack.Enabled);
    enable(cmbMoveType, change.Type.Enabled);
    enable(cmbEvoTo, change.EvoToEnabled);
    enable(cmbForm, change.EvoToEnabled);
    ShowParameterRow(change.Kind);
}

void Form1::ShowParameterRow(ParameterKind kind) {
    // Only a change is passed on: every label and visibility change lays the frame out again.
    const bool type = kind == ParameterKind::Type;
    if (cmbMoveType->isVisibleTo(this) != type) {
        cmbMoveType->setVisible(type);
        cmbLevel->setVisible(!type);
    }
    QString caption = QStringLiteral("@ Level:");
    if (type) {
        caption = tr("Type:");
    } else if (kind == ParameterKind::Count) {
        caption = tr("Count:");
    } else if (kind == ParameterKind::Hp) {
        caption = tr("HP lost:");
    }
    if (Label4->text() != caption) {
        Label4->setText(caption);
    }
}

void Form1::ApplyLayout(const rom::TableLayout& shown) {
    if (shown == layout) {
        return;
    }
    layout = shown;
    // Each slot past the seventh widens the window and the frame by one button.
    const int extra = 480 * (std::clamp(layout.Slots, rom::SlotCount, rom::MaxSlotCount) - rom::SlotCount);
    setFixedSize(TwipsRect(0, 0, 5295 + extra, 4455).size());
    Frame1->setGeometry(TwipsRect(1920, 480, 3255 + extra, 3135));
    for (int i = rom::SlotCount; i < rom::MaxSlotCount; ++i) {
        optNum[static_cast<std::size_t>(i)]->setVisible(i < layout.Slots);
    }
    LabelForm->setVisible(layout.TargetsCarryForm);
    cmbForm->setVisible(layout.TargetsCarryForm);
    if (CurrentSlot >= layout.Slots) {
        const QSignalBlocker quiet(slotButtons);
        optNum[0]->setChecked(true);
        CurrentSlot = 0;
    }
}

std::int32_t Form1::TargetOnScreen() const {
    const std::int32_t species = cmbEvoTo->ShownValue();
    if (!layout.TargetsCarryForm || species < 0) {
        return species;
    }
    const std::int32_t form = std::max(cmbForm->ShownValue(), 0);
    return rom::FormTarget(static_cast<std::uint16_t>(species), static_cast<std::uint16_t>(form));
}

void Form1::cmbType_Click() {
    // Changing the method drops a parameter that no list showed.
    hiddenParameter.reset();
    // The lists set here are part of this one change, checked once when it is done.
    ++quietEdits;

    const std::int32_t pending = PendingParam;
    std::int32_t consumed = PendingParam;
    const auto change = EvolutionMethods::TakeMethodChange(cmbType->currentIndex(), consumed, layout);
    const auto select = [pending](ValueList* list, const EvolutionMethods::ListState& state) {
        if (state.Row >= 0) {
            list->setCurrentIndex(state.Row);
        } else {
            list->ShowValue(pending);
        }
    };

    if (showingSlot) {
        deferredEnabled = change;
    } else {
        ApplyEnabledStates(change);
    }

    // The method's own list first, then the others back to row 0.
    using Kind = ParameterKind;
    struct Order {
        Kind Method;
        std::array<Kind, 4> Lists;
    };
    static constexpr Order Orders[] = {
        {Kind::NoEvolution, {Kind::Species, Kind::Item, Kind::Level, Kind::Move}},
        {Kind::Level, {Kind::Level, Kind::Item, Kind::Species, Kind::Move}},
        {Kind::Item, {Kind::Item, Kind::Level, Kind::Species, Kind::Move}},
        {Kind::Move, {Kind::Move, Kind::Item, Kind::Species, Kind::Level}},
        {Kind::Species, {Kind::Species, Kind::Item, Kind::Level, Kind::Move}},
        {Kind::NoParameter, {Kind::Item, Kind::Level, Kind::Move, Kind::Species}},
        {Kind::Count, {Kind::Level, Kind::Item, Kind::Species, Kind::Move}},
        {Kind::Hp, {Kind::Level, Kind::Item, Kind::Species, Kind::Move}},
        {Kind::Type, {Kind::Type, Kind::Item, Kind::Level, Kind::Species}},
    };
    for (const Order& order : Orders) {
        if (order.Method != change.Kind) {
            continue;
        }
        for (const Kind list : order.Lists) {
            switch (list) {
            case Kind::Level:
                select(cmbLevel, change.Level);
                break;
            case Kind::Item:
                select(cmbItem, change.Item);
                break;
            case Kind::Species:
                select(cmbPokemon, change.Pokemon);
                break;
            case Kind::Move:
                select(cmbAttack, change.Attack);
                break;
            case Kind::Type:
                select(cmbMoveType, change.Type);
                break;
            case Kind::NoEvolution:
            case Kind::NoParameter:
            case Kind::Count:
            case Kind::Hp:
                break;
            }
        }
    }
    // The type list, which no other method uses, back at its first row too.
    if (change.Kind != Kind::Type) {
        select(cmbMoveType, change.Type);
    }
    PendingParam = consumed;
    --quietEdits;
}

void Form1::cmdSave_Click() {
    if (!document->IsOpen()) {
        return;
    }
    SaveSlot(lstPokemon->currentRow(), CurrentSlot);
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedRomPath(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void Form1::dropEvent(QDropEvent* event) {
    const QString path = DroppedRomPath(event->mimeData());
    if (path.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    OpenRomImage(path);
}
