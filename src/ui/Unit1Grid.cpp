// The ingredient grid, its button groups and the selection panel.
#include "edit/DModUnit.h"
#include "Unit1.h"
#include "ValueEdit.h"
#include "DBGrid.h"
#include "MaterialTypeButtons.h"
#include "LibraryList.h"
#include "app/Fonts.h"
#include "app/Settings.h"
#include "MessageBox.h"
#include "domain/EditableAmounts.h"
#include "domain/Figures.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QShortcut>
#include <QVBoxLayout>

void TForm1::buildGridArea() {
    GridArea = new QWidget;
    GridArea->setObjectName("GridArea");
    auto* column = new QVBoxLayout(GridArea);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    DBGrid1 = new DBGrid;
    DBGrid1->setObjectName("DBGrid");
    DBGrid1->setFont(arialFont(11, false));
    DBGrid1->horizontalHeader()->setFont(arialFont(12, true));
    DBGrid1->verticalHeader()->setDefaultSectionSize(18);
    DBGrid1->setFooterFont(arialFont(11, false));
    // Outside the cells the grid shows the desktop colour; the cells paint themselves white.
    QPalette p = DBGrid1->palette();
    p.setColor(QPalette::Base, QColor(0x3A, 0x6E, 0xA5));
    DBGrid1->setPalette(p);
    DBGrid1->keys().keyDown = [this](int key, Qt::KeyboardModifiers m) { return DBGridKeyDown(key, m); };
    DBGrid1->onColEnter = [this] { DBGridColEnter(); };
    // The grid's context menu (the Menu key too): lines to and from a spreadsheet, and the goal
    // seek of the focused line. The keys are the grid's alone: in a box or an open cell, Ctrl+C
    // and Ctrl+V copy and paste text as everywhere.
    const auto gridAction = [this](QAction*& a, const char* name, const QString& caption, QKeySequence keys,
                                   void (TForm1::*slot)()) {
        a = new QAction(caption, this);
        a->setObjectName(name);
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, slot);
        DBGrid1->addAction(a);
    };
    gridAction(CopyLines1, "CopyLines1", QStringLiteral("Copy Lines"), QKeySequence::Copy, &TForm1::CopyLines1Click);
    gridAction(CopyAllLines1, "CopyAllLines1", QStringLiteral("Copy All Lines"), {}, &TForm1::CopyAllLines1Click);
    gridAction(PasteLines1, "PasteLines1", QStringLiteral("Paste Lines"), QKeySequence::Paste,
               &TForm1::PasteLines1Click);
    auto* divider = new QAction(this);
    divider->setSeparator(true);
    DBGrid1->addAction(divider);
    gridAction(AdjustMassToTarget1, "AdjustMassToTarget1", QStringLiteral("Adjust Mass to Target..."), {},
               &TForm1::AdjustMassToTarget1Click);
    DBGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    // No path takes a recipe past its numbered-line limit.
    DBGrid1->keys().beforeNewLine = [this] {
        if (m_dmod)
            m_dmod->checkRoomForLine();
    };
    // Typed codes and item numbers mean what the library and the recipe make of them.
    DBGrid1->keys().writeText = [this](int column, const QString& text) {
        if (m_dmod)
            m_dmod->TypeInto(LineColumn(column), text);
    };
    DBGrid1->gridModel()->derivedText = [this](int row, int) {
        const Material* m = m_dmod ? m_dmod->lineMaterialAt(row) : nullptr;
        return m ? m->name : QString();
    };
    DBGrid1->lockedReason = [this](LineColumn c) { return m_dmod ? m_dmod->lockedReason(c) : QString(); };
    // Ctrl+Delete deletes as the Ingredient "Delete" button does: renumbered and re-totalled.
    DBGrid1->keys().deleteLine = [this] {
        if (m_dmod)
            m_dmod->DeleteLine();
    };
    DBGrid1->lookupItems = [this](LineColumn c) {
        QStringList names;
        if (m_dmod && c == LineColumn::Name) {
            // The library's names in code order, as the selection list holds them.
            const MaterialLibrary& lib = m_dmod->materials();
            names.reserve(lib.size());
            for (int i = 0; i < lib.size(); ++i)
                names << lib.nameAt(i);
        }
        return names;
    };
    column->addWidget(DBGrid1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    auto group = [](const QString& title, int width) {
        auto* g = new QGroupBox(title);
        g->setFixedSize(width, 48);
        g->setFont(arialFont(11, true));
        auto* l = new QHBoxLayout(g);
        l->setContentsMargins(6, 2, 6, 4);
        return g;
    };
    // Alt and a letter of their own press the buttons: the captions stay as they are, and the tool
    // tips and the help name the keys.
    auto button = [this](QGroupBox* g, const char* name, const QString& caption, int picture,
                         void (TForm1::*slot)(), QChar letter, const QString& tip) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        const QKeySequence key(Qt::ALT | Qt::Key(letter.unicode()));
        auto* shortcut = new QShortcut(key, this);
        shortcut->setObjectName(QStringLiteral("%1Key").arg(QString::fromLatin1(name)));
        connect(shortcut, &QShortcut::activated, b, &QPushButton::click);
        b->setToolTip(QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText)));
        b->setFixedSize(90, 25);
        b->setFont(arialFont(12, true));
        b->setCursor(Qt::PointingHandCursor);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIcon(m_buttonList.icon(picture));
        connect(b, &QPushButton::clicked, this, slot);
        g->layout()->addWidget(b);
        return b;
    };
    QGroupBox* blank = group(" Blank ", 200);
    blank->setObjectName("GrpBlank");
    BtnAddBlank = button(blank, "BtnAddBlank", "Add", 0, &TForm1::BtnAddBlankClick, u'B',
                         QStringLiteral("Add a blank line at the end"));
    BtnInsertBlank = button(blank, "BtnInsertBlank", "Insert", 0, &TForm1::BtnInsertBlankClick, u'K',
                            QStringLiteral("Insert a blank line before the focused line"));
    QGroupBox* ingredient = group(" Ingredient ", 386);
    ingredient->setObjectName("GrpIngredient");
    BtnAddIngredient = button(ingredient, "BtnAddIngredient", "Add", 17, &TForm1::BtnAddIngredientClick, u'G',
                              QStringLiteral("Add the material chosen in the list as the last line"));
    BtnInsertIngredient = button(ingredient, "BtnInsertIngredient", "Insert", 17, &TForm1::BtnInsertIngredientClick,
                                 u'I', QStringLiteral("Insert the material chosen in the list before the focused line"));
    BtnOverWriteIngredient = button(ingredient, "BtnOverWriteIngredient", "OverWrite", 5,
                                    &TForm1::btnOverwriteIngredientClick, u'W',
                                    QStringLiteral("Put the material chosen in the list on the focused line"));
    BtnDeleteIngredient = button(ingredient, "BtnDeleteIngredient", "Delete", 6, &TForm1::BtnDeleteIngredientClick,
                                 u'T', QStringLiteral("Delete the focused line"));
    buttons->addWidget(blank);
    buttons->addWidget(ingredient);
    buttons->addStretch(1);
    column->addLayout(buttons);
}

void TForm1::buildSelectionPanel() {
    PnlSelection = new QFrame;
    PnlSelection->setObjectName("PnlSelection");
    PnlSelection->setFixedWidth(180);
    PnlSelection->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* column = new QVBoxLayout(PnlSelection);
    column->setContentsMargins(2, 2, 2, 2);
    auto* types = new MaterialTypeButtons(QStringLiteral(" Material Type "),
                                          {{"RadioButton7", "Amphoteric", MaterialType::Amphoteric, 0, 0},
                                           {"RadioButton3", "Fatty Acid", MaterialType::FattyAcid, 1, 0},
                                           {"RadioButton2", "Natural Oil", MaterialType::Oil, 2, 0},
                                           {"RadioButton4", "Acid", MaterialType::Acid, 0, 1},
                                           {"RadioButton5", "Base", MaterialType::Base, 1, 1},
                                           {"RadioButton6", "All", std::nullopt, 2, 1}},
                                          arialFont(11, true));
    types->setObjectName("GrpMaterialType");
    const auto radio = [&](std::optional<MaterialType> type, void (TForm1::*slot)()) {
        QRadioButton* r = types->button(type);
        connect(r, &QRadioButton::clicked, this, slot);
        return r;
    };
    RadioButton7 = radio(MaterialType::Amphoteric, &TForm1::RadioButton7Click);
    RadioButton3 = radio(MaterialType::FattyAcid, &TForm1::RadioButton3Click);
    RadioButton2 = radio(MaterialType::Oil, &TForm1::RadioButton2Click);
    RadioButton4 = radio(MaterialType::Acid, &TForm1::RadioButton4Click);
    RadioButton5 = radio(MaterialType::Base, &TForm1::RadioButton5Click);
    RadioButton6 = radio(std::nullopt, &TForm1::RadioButton6Click);
    RadioButton6->setChecked(true);
    column->addWidget(types);
    LkUpRM = new DBLookupList;
    LkUpRM->setObjectName("LkUpRM");
    LkUpRM->setFont(arialFont(11, false));
    LkUpRM->onSelect = [this] { LkUpRMClick(); };
    LkUpRM->onDoubleClick = [this] { LkUpRMDblClick(); };
    column->addWidget(LkUpRM, 1);
    // A pause of more than two seconds starts a new search by name.
    QApplication::setKeyboardInputInterval(2000);
}

void TForm1::attachGrid() {
    DBGrid1->setLines(&m_dmod->lines());
    const QFontMetrics fm(DBGrid1->font());
    // A title and a fixed width; no width: as wide as the column's characters (a code's ten, a
    // figure's eight).
    const struct { const char* title; int width; } looks[LineColumnCount] = {
        {"Item", 35},  {"Code", 0},  {"Raw Material Name", 64}, {"Charge", 64},  {"Moles", 64},
        {"Ea", 64},    {"Eb", 64},   {"Batch", 0},              {"Percent", 0}, {"Cost", 60}};
    std::vector<GridColumn> columns;
    for (int c = 0; c < LineColumnCount; ++c) {
        const LineColumn column = LineColumn(c);
        // The material's name is the library's, shown and chosen by the line's code.
        if (column == LineColumn::Name) {
            columns.push_back({QString::fromLatin1(lineColumnFormat(column).field), QString::fromLatin1(looks[c].title),
                               looks[c].width, Qt::AlignLeft, false, true});
            continue;
        }
        const RecipeLines::Rule& rule = RecipeLines::rule(column);
        const bool words = rule.kind == RecipeLines::Rule::Words;
        const int width = looks[c].width > 0 ? looks[c].width
                                             : fm.horizontalAdvance(QLatin1Char('0')) * (words ? qMin(rule.width, 10) : 8) + 8;
        columns.push_back({QString::fromLatin1(rule.name), QString::fromLatin1(looks[c].title), width,
                           column == LineColumn::Item ? Qt::AlignHCenter
                           : words                    ? Qt::AlignLeft
                                                      : Qt::AlignRight});
    }
    DBGrid1->setColumns(std::move(columns));
    for (LineColumn hidden : {LineColumn::Item, LineColumn::Code})
        DBGrid1->footer(hidden)->visible = false;
    FooterCell* totals = DBGrid1->footer(LineColumn::Name);
    totals->text = QStringLiteral("Totals");
    totals->alignment = Qt::AlignHCenter;
    totals->font = arialFont(13, true);
    totals->hasFont = true;
    for (const Figure& f : figures()) {
        if (!f.footer)
            continue;
        FooterCell* cell = DBGrid1->footer(*f.footer);
        cell->font = arialFont(12, true);
        cell->hasFont = true;
        cell->color = QColor(0xC0, 0xC0, 0xC0);
        cell->text = m_footers[size_t(*f.footer)];
    }
    totals->color = QColor(0xC0, 0xC0, 0xC0);
    // The names take what a wider window gives; the columns stand as the user left them last time.
    DBGrid1->setStretchColumn(LineColumn::Name);
    QSettings settings = userSettings();
    QMap<QString, int> widths;
    const QVariantMap stored = settings.value(QStringLiteral("IngredientGrid/Widths")).toMap();
    for (auto it = stored.begin(); it != stored.end(); ++it)
        widths.insert(it.key(), it.value().toInt());
    DBGrid1->restoreColumns(settings.value(QStringLiteral("IngredientGrid/Order")).toStringList(), widths);
    DBGrid1->onColumnsChanged = [this] {
        QVariantMap widths;
        const QMap<QString, int> now = DBGrid1->columnWidths();
        for (auto it = now.begin(); it != now.end(); ++it)
            widths.insert(it.key(), it.value());
        QSettings settings = userSettings();
        settings.setValue(QStringLiteral("IngredientGrid/Widths"), widths);
        settings.setValue(QStringLiteral("IngredientGrid/Order"), DBGrid1->columnOrder());
    };
    LkUpRM->setLibrary(&m_dmod->materials());
    UpdateEditableColumns();
}

void TForm1::detachGrid() {
    LkUpRM->setLibrary(nullptr);
    DBGrid1->setLines(nullptr);
}

void TForm1::UpdateEditableColumns() {
    if (!m_dmod || !DBGrid1)
        return;
    // A line without a known material is of no type and no groups: it takes no amounts.
    const Material* m = m_dmod->lineMaterial();
    const EditableAmounts e = m ? editableAmounts(m->type, m->fa, m->fan, m->fb)
                                : editableAmounts(materialTypeOf(QString()), 0, 0, 0);
    DBGrid1->setReadOnly(LineColumn::Mass, !e.mass);
    DBGrid1->setReadOnly(LineColumn::Moles, !e.moles);
    DBGrid1->setReadOnly(LineColumn::Ea, !e.ea);
    DBGrid1->setReadOnly(LineColumn::Eb, !e.eb);
}

void TForm1::DBGridColEnter() {
    MessageBox::guarded(this, [this] { UpdateEditableColumns(); });
}

bool TForm1::DBGridKeyDown(int key, Qt::KeyboardModifiers) {
    if (!m_dmod || (key != Qt::Key_Return && key != Qt::Key_Enter))
        return false;
    // The grid has written the open cell: the line is committed as the next one becomes current.
    m_dmod->lines().next();
    return true;
}

void TForm1::filterLibrary(std::optional<MaterialType> type) { LkUpRM->setType(type); }

void TForm1::RadioButton2Click() { filterLibrary(MaterialType::Oil); }
void TForm1::RadioButton3Click() { filterLibrary(MaterialType::FattyAcid); }
void TForm1::RadioButton4Click() { filterLibrary(MaterialType::Acid); }
void TForm1::RadioButton5Click() { filterLibrary(MaterialType::Base); }
void TForm1::RadioButton7Click() { filterLibrary(MaterialType::Amphoteric); }
void TForm1::RadioButton6Click() { filterLibrary(std::nullopt); }

std::optional<Material> TForm1::chosenMaterial() const { return LkUpRM->currentMaterial(); }

void TForm1::LkUpRMClick() {
    MessageBox::guarded(this, [this] { ShowRMinStatusBar(); });
}

void TForm1::LkUpRMDblClick() { BtnAddIngredientClick(); }

void TForm1::runLineCommand(const std::function<void()>& operation, std::optional<LineColumn> thenAt) {
    if (!act(operation) || !thenAt)
        return;
    // The user goes on in the line the command made: its charge, or a blank line's code.
    DBGrid1->setFocus();
    DBGrid1->goToColumn(*thenAt);
}

void TForm1::BtnAddBlankClick() { runLineCommand([this] { m_dmod->AddBlankLine(); }, LineColumn::Code); }
void TForm1::BtnInsertBlankClick() { runLineCommand([this] { m_dmod->InsertBlankLine(); }, LineColumn::Code); }
void TForm1::BtnAddIngredientClick() {
    runLineCommand([this] { m_dmod->AddIngredient(chosenMaterial()); }, LineColumn::Mass);
}
void TForm1::BtnInsertIngredientClick() {
    runLineCommand([this] { m_dmod->InsertIngredient(chosenMaterial()); }, LineColumn::Mass);
}
void TForm1::btnOverwriteIngredientClick() {
    runLineCommand([this] { m_dmod->OverwriteIngredient(chosenMaterial()); }, LineColumn::Mass);
}
void TForm1::BtnDeleteIngredientClick() { runLineCommand([this] { m_dmod->DeleteLine(); }); }

int TForm1::showBox(Icon icon, const QString& title, const QString& text, int buttons,
                    int defaultButton) {
    const std::pair<int, QMessageBox::StandardButton> map[] = {{Ok, QMessageBox::Ok},
                                                               {Yes, QMessageBox::Yes},
                                                               {No, QMessageBox::No},
                                                               {Abort, QMessageBox::Abort},
                                                               {Retry, QMessageBox::Retry}};
    QMessageBox::StandardButtons qtButtons;
    QMessageBox::StandardButton qtDefault = QMessageBox::NoButton;
    for (auto [mine, qt] : map) {
        if (buttons & mine)
            qtButtons |= qt;
        if (defaultButton == mine)
            qtDefault = qt;
    }
    // Over the window the user is in: the name dialog raises its boxes from itself.
    QWidget* over = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
    const auto answer = MessageBox::show(over, icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Question,
                                         title, text, qtButtons, qtDefault);
    for (auto [mine, qt] : map)
        if (answer == qt)
            return mine;
    return 0;
}

bool TForm1::confirm(const QString& question) {
    // Every question asked here destroys something on Yes: a bare Enter keeps it.
    return MessageBox::show(this, QMessageBox::Question, QStringLiteral("Confirm"), question,
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}
