#include "Unit1.h"

#include "CourseForm.h"
#include "edit/DModUnit.h"
#include "Help.h"
#include "Input.h"
#include "ValueEdit.h"
#include "DBGrid.h"
#include "LibraryList.h"
#include "app/Fonts.h"
#include "MessageBox.h"
#include "StatusPanels.h"
#include "UndoKeys.h"
#include "domain/Figures.h"
#include "edit/History.h"

#include <QAction>
#include <QIcon>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

QComboBox* recipeCombo(const QString& name, int maxLength) {
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr); // the box's text is what the user typed, nothing completed
    combo->lineEdit()->setMaxLength(maxLength);
    combo->setFixedWidth(180);
    combo->setFont(arialFont(12, true));
    QPalette p = combo->palette();
    p.setColor(QPalette::Base, QColor(0x00, 0xFF, 0xFF));
    p.setColor(QPalette::Button, QColor(0x00, 0xFF, 0xFF));
    combo->setPalette(p);
    combo->lineEdit()->setPalette(p);
    // The highlighted entry of the list: white on navy, readable against the aqua.
    QPalette list = combo->view()->palette();
    list.setColor(QPalette::Base, QColor(0x00, 0xFF, 0xFF));
    list.setColor(QPalette::Text, Qt::black);
    list.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0x80));
    list.setColor(QPalette::HighlightedText, Qt::white);
    combo->view()->setPalette(list);
    return combo;
}

ValueEdit* headerEdit(const char* name, int width) {
    auto* edit = new ValueEdit;
    edit->setObjectName(name);
    edit->setFixedWidth(width);
    edit->setFont(arialFont(12, true));
    return edit;
}

QFrame* bevelLine() {
    auto* line = new QFrame;
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setFixedHeight(4);
    return line;
}

QLabel* boldLabel(const QString& text, int width) {
    auto* label = new QLabel(text);
    label->setFixedWidth(width);
    label->setFont(arialFont(11, true));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

QFrame* silverBox(QWidget* content, int width) {
    auto* box = new QFrame;
    box->setFixedWidth(width);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAutoFillBackground(true);
    QPalette p = box->palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    box->setPalette(p);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content, 0, Qt::AlignCenter);
    return box;
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), CBResinType(recipeCombo("CBResinType", 25)),
      CBResinCode(recipeCombo("CBResinCode", 15)), m_typeBox(CBResinType), m_codeBox(CBResinCode),
      m_buttonList(QStringLiteral("button"), 18), m_printer(std::make_unique<QPrinter>()) {
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("Orbent' Kalvora - Lite  Version"));
    // The installed icon theme's, as the desktop's menu shows it; our own where none is installed.
    setWindowIcon(QIcon::fromTheme(QStringLiteral("org.kalvora.Kalvora"),
                                   ImageList::fromSvg(QStringLiteral(":/icons/kalvora.svg"))));
    setFont(arialFont(11, false));

    buildMenu();
    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bevelLine());
    buildToolBar();
    column->addWidget(ToolBar1);
    column->addWidget(bevelLine());

    auto* main = new QFrame;
    main->setObjectName("PnlMain");
    main->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* inner = new QVBoxLayout(main);
    inner->setContentsMargins(4, 4, 4, 4);
    inner->setSpacing(0);
    inner->addWidget(buildHeaderRow1());
    inner->addWidget(buildHeaderRow2());
    inner->addWidget(buildCalcArea(), 1);
    inner->addWidget(buildResultsArea());
    column->addWidget(main, 1);
    setCentralWidget(central);
    buildStatusBar();
    m_input = new TFrmInput(this, m_typeBox, m_codeBox);
    m_help = new TFrmHelp(this);

    // The window's client area.
    resize(792, 551 + menuBar()->sizeHint().height());
    setMinimumSize(792, 551);

    connect(CBResinType->lineEdit(), &QLineEdit::textEdited, this, &TForm1::CBResinTypeChange);
    connect(CBResinType, &QComboBox::activated, this, &TForm1::CBResinTypeChange);
    connect(CBResinCode->lineEdit(), &QLineEdit::textEdited, this, &TForm1::CBResinCodeChange);
    connect(CBResinCode, &QComboBox::activated, this, &TForm1::CBResinCodeChange);
    qApp->installEventFilter(new UndoKeys(this));
    CBResinType->installEventFilter(this);
    CBResinCode->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(EdDBAV), static_cast<QWidget*>(EdDBSolids),
                       static_cast<QWidget*>(EdDBDescription), static_cast<QWidget*>(EdDBBatchSize)})
        w->installEventFilter(this);

    // The focus order, which Enter in the header edits walks as Tab does.
    const QList<QWidget*> order = {DBGrid1,      RadioButton7, RadioButton4,    RadioButton3,
                                   RadioButton5,  RadioButton2, RadioButton6,    LkUpRM,
                                   CBResinType,  CBResinCode,  EdDBAV,          EdDBSolids,
                                   EdDBDescription, EdDBBatchSize};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    CBResinType->setFocus();
}

TForm1::~TForm1() = default;

void TForm1::attach(TDMod* dmod) {
    if (m_dmod) {
        disconnect(&m_dmod->editor(), nullptr, this, nullptr);
        disconnect(m_dmod, nullptr, this, nullptr);
        disconnect(&m_dmod->versions(), nullptr, this, nullptr);
    }
    m_history.reset();
    m_dmod = dmod;
    m_input->setDataModule(dmod);
    showHistory();
    if (!dmod) {
        detachGrid();
        bindHeader(nullptr);
        return;
    }
    bindHeader(dmod);
    attachGrid();
    // What the data module shows of the focused line and asks of the user.
    connect(dmod, &TDMod::lineShown, this, &TForm1::UpdateEditableColumns);
    connect(dmod, &TDMod::statusText, this, &TForm1::setStatusPanel);
    connect(dmod, &TDMod::acidValueWanted, this, [this] { EdDBAV->setFocus(); });
    dmod->DSRecipeDataChange();
    dmod->editor().setAutoCalc(AutoCalc1->isChecked());
    connect(&dmod->editor(), &RecipeEditor::figuresChanged, this, &TForm1::ShowResults);
    // The data module showed its figures as it opened, before it was this window's: the recipe's
    // name goes with them now.
    ShowResults();
    // A history that cannot be written is said once, after the action or the start that found
    // it: never from inside a commit.
    connect(&dmod->versions(), &HistoryRecorder::problem, this,
            [this](const QString& message) { MessageBox::commandError(this, message); }, Qt::QueuedConnection);
    if (!dmod->versions().file().isOn())
        QTimer::singleShot(0, this, [this, message = dmod->versions().file().problem()] {
            MessageBox::commandError(this, message);
        });
    m_history = std::make_unique<History>(*dmod);
    QUndoStack& stack = m_history->stack();
    connect(&stack, &QUndoStack::indexChanged, this, &TForm1::showHistory);
    connect(m_history.get(), &History::renamed, this, &TForm1::showHistory);
    showHistory();
}

std::vector<std::pair<ValueEdit*, HeaderPart>> TForm1::headerEdits() const {
    return {{EdDBAV, HeaderPart::AV},
            {EdDBSolids, HeaderPart::Solids},
            {EdDBDescription, HeaderPart::Description},
            {EdDBBatchSize, HeaderPart::Size}};
}

void TForm1::bindHeader(TDMod* dmod) {
    for (auto [edit, part] : headerEdits()) {
        if (!dmod) {
            edit->bind(nullptr, {});
            continue;
        }
        const int width = dmod->headerWidth(part);
        edit->setMaxLength(width > 0 ? width : 32767);
        edit->setAlignment(dmod->headerAlignment(part));
        edit->bind(&dmod->database(),
                   {[dmod, part](bool editing) { return dmod->headerText(part, editing); },
                    [dmod] { dmod->beginHeaderEdit(); },
                    [dmod, part](const QString& typed) { dmod->checkHeaderText(part, typed); },
                    [dmod, part](const QString& typed) { dmod->setHeaderText(part, typed); }, width == 0});
    }
    if (!dmod)
        return;
    connect(dmod, &TDMod::headerStoring, this, [this] {
        for (auto [edit, part] : headerEdits())
            edit->takeForStore();
    });
    // What the user is typing stays while another part changes.
    connect(dmod, &TDMod::headerPartChanged, this, [this](std::optional<HeaderPart> changed) {
        for (auto [edit, part] : headerEdits())
            if ((!changed || part == *changed) && !edit->typing() && !edit->committing())
                edit->reset();
    });
    connect(dmod, &TDMod::headerShown, this, [this] {
        for (auto [edit, part] : headerEdits())
            if (!edit->committing())
                edit->reset();
    });
}

void TForm1::showEditMenu() {
    showHistory();
    // While a box is being typed in, the menu's items are its own.
    if (const QLineEdit* line = typingBox()) {
        Undo1->setText(line->isUndoAvailable() ? QStringLiteral("&Undo typing") : QStringLiteral("&Undo"));
        Undo1->setEnabled(line->isUndoAvailable());
        Redo1->setText(line->isRedoAvailable() ? QStringLiteral("&Redo typing") : QStringLiteral("&Redo"));
        Redo1->setEnabled(line->isRedoAvailable());
    }
}

void TForm1::showHistory() {
    // The items name what they take back or do again.
    const auto caption = [](const char* verb, const QString& action) {
        return action.isEmpty() ? QStringLiteral("&%1").arg(QLatin1String(verb))
                                : QStringLiteral("&%1 %2").arg(QLatin1String(verb), action);
    };
    QUndoStack* stack = m_history ? &m_history->stack() : nullptr;
    const bool canUndo = stack && stack->canUndo(), canRedo = stack && stack->canRedo();
    Undo1->setText(caption("Undo", canUndo ? stack->undoText() : QString()));
    Undo1->setEnabled(canUndo);
    Redo1->setText(caption("Redo", canRedo ? stack->redoText() : QString()));
    Redo1->setEnabled(canRedo);
    // A header edit not yet stored is stored as Undo begins, and is then what it takes back.
    if (m_dmod && m_dmod->headers().modified()) {
        Undo1->setText(caption("Undo", m_dmod->headers().typing()));
        Undo1->setEnabled(true);
        Redo1->setText(caption("Redo", QString()));
        Redo1->setEnabled(false);
    }
}

void TForm1::buildToolBar() {
    ToolBar1 = new QToolBar;
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(43);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setContentsMargins(1, 1, 1, 1);
    ToolBar1->setStyleSheet(QStringLiteral("QToolBar { border: 0px; spacing: 0px; }"));
    auto button = [this](const char* name, const QString& caption, int picture, auto slot) {
        auto* b = new QToolButton;
        b->setObjectName(name);
        b->setText(caption);
        b->setIcon(m_buttonList.icon(picture));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setMinimumSize(62, 37);
        b->setMaximumHeight(37);
        b->setCursor(Qt::PointingHandCursor);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, slot);
        ToolBar1->addWidget(b);
        return b;
    };
    auto divider = [this] {
        auto* d = new QFrame;
        d->setFrameStyle(QFrame::VLine | QFrame::Sunken);
        d->setFixedWidth(25);
        ToolBar1->addWidget(d);
    };
    BtnNewRecipe = button("BtnNewRecipe", "&New", 0, &TForm1::BtnNewRecipeClick);
    BtnSave = button("BtnSave", "&Save", 2, &TForm1::BtnSaveClick);
    BtnSaveAs = button("BtnSaveAs", "Save &As", 3, &TForm1::BtnSaveAsClick);
    BtnRename = button("BtnRename", "&Rename", 5, &TForm1::BtnRenameClick);
    BtnDeleteRecipe = button("BtnDeleteRecipe", "&Delete", 6, &TForm1::BtnDeleteRecipeClick);
    BtnPrint = button("BtnPrint", "&Print", 4, &TForm1::BtnPrintClick);
    divider();
    BtnAutoCalc = button("BtnAutoCalc", "AutoCalc", 11, &TForm1::BtnAutoCalcClick);
    BtnAutoCalc->setCheckable(true);
    BtnAutoCalc->setChecked(true);
    BtnCalculate = button("BtnCalculate", "Calculate", 7, &TForm1::BtnCalculateClick);
    BtnCalculate->setCheckable(true);
    BtnCalculate->setChecked(true);
    BtnCalculate->setEnabled(false);
    divider();
    BtnCalculator = button("BtnCalculator", "&Calculator", 9, &TForm1::BtnCalculatorClick);
    divider();
    BtnLibrary = button("BtnLibrary", "&Library", 8, &TForm1::BtnLibraryClick);
    divider();
    BtnExit = button("BtnExit", "&Exit", 10, &TForm1::BtnExitClick);
}

void TForm1::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    auto item = [this](QMenu* menu, const char* name, const QString& caption, int picture,
                       auto slot) {
        auto* a = new QAction(caption, this);
        a->setObjectName(name);
        if (picture >= 0)
            a->setIcon(m_buttonList.icon(picture));
        if (slot)
            connect(a, &QAction::triggered, this, slot);
        menu->addAction(a);
        return a;
    };
    QMenu* file = bar->addMenu("&File");
    file->setObjectName("MnuLibrary");
    New = item(file, "New", "&New", 0, &TForm1::BtnNewRecipeClick);
    Open1 = item(file, "Open1", "&Import..", 7, &TForm1::Open1Click);
    Save = item(file, "Save", "&Save", 2, &TForm1::BtnSaveClick);
    SaveAs = item(file, "SaveAs", "Save &As...", 3, &TForm1::BtnSaveAsClick);
    Export1 = item(file, "Export1", "&Export...", -1, &TForm1::Export1Click);
    file->addSeparator()->setObjectName("N2");
    Print = item(file, "Print", "&Print...", 4, &TForm1::BtnPrintClick);
    PrintSetup = item(file, "PrintSetup", "P&rint Setup...", -1, &TForm1::PrintSetupClick);
    file->addSeparator()->setObjectName("N1");
    Exit = item(file, "Exit", "E&xit", 10, &TForm1::BtnExitClick);

    QMenu* edit = bar->addMenu("&Edit");
    edit->setObjectName("Edit1");
    // The items say what they would do now, typing in a box included.
    connect(edit, &QMenu::aboutToShow, this, &TForm1::showEditMenu);
    connect(edit, &QMenu::aboutToHide, this, &TForm1::showHistory);
    Undo1 = item(edit, "Undo1", "&Undo", -1, &TForm1::Undo1Click);
    Redo1 = item(edit, "Redo1", "&Redo", -1, &TForm1::Redo1Click);
    Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    Undo1->setEnabled(false);
    Redo1->setEnabled(false);

    QMenu* view = bar->addMenu("View");
    view->setObjectName("View1");
    Library1 = item(view, "Library1", "Library", 8, &TForm1::BtnLibraryClick);
    ReactionCourse1 = item(view, "ReactionCourse1", "Reaction Course", -1, &TForm1::ReactionCourse1Click);
    DesignFromTargets1 =
        item(view, "DesignFromTargets1", "Design from Targets...", -1, &TForm1::DesignFromTargets1Click);
    DesignFromTargets1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    view->addSeparator();
    RecipeHistory1 = item(view, "RecipeHistory1", "Recipe History...", -1, &TForm1::RecipeHistory1Click);
    RecipeHistory1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    CompareRecipes1 = item(view, "CompareRecipes1", "Compare Recipes...", -1, &TForm1::CompareRecipes1Click);
    DeletedRecipes1 = item(view, "DeletedRecipes1", "Deleted Recipes...", -1, &TForm1::DeletedRecipes1Click);

    QMenu* options = bar->addMenu("Options");
    options->setObjectName("Options1");
    AutoCalc1 = item(options, "AutoCalc1", "AutoCalc", -1, &TForm1::AutoCalc1Click);
    AutoCalc1->setCheckable(true);
    AutoCalc1->setChecked(true);
    SelectionList1 = item(options, "SelectionList1", "Selection List", -1, &TForm1::SelectionList1Click);
    SelectionList1->setCheckable(true);
    SelectionList1->setChecked(true);
    StayOnTop = item(options, "StayOnTop", "Stay On Top", -1, &TForm1::StayOnTopClick);
    StayOnTop->setCheckable(true);

    QMenu* help = bar->addMenu("Help");
    help->setObjectName("Help1");
    About1 = item(help, "About1", "About", -1, &TForm1::About1Click);
    Help2 = item(help, "Help2", "Help", -1, &TForm1::Help2Click);

    // The keys every desktop program answers to.
    New->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    Help2->setShortcut(QKeySequence(Qt::Key_F1));
}

QWidget* TForm1::buildHeaderRow1() {
    auto* row = new QWidget;
    row->setObjectName("PnlHeader1");
    row->setFixedHeight(45);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);
    EdDBAV = headerEdit("EdDBAV", 40);
    EdDBSolids = headerEdit("EdDBSolids", 50);
    layout->addWidget(boldLabel("Resin Type", 55));
    layout->addWidget(silverBox(CBResinType, 200));
    layout->addWidget(boldLabel("Batch Code", 55));
    layout->addWidget(silverBox(CBResinCode, 200));
    layout->addWidget(boldLabel("Acid Value", 55));
    layout->addWidget(silverBox(EdDBAV, 60));
    layout->addWidget(boldLabel("Pecent Solids", 55));
    layout->addWidget(silverBox(EdDBSolids, 70));
    layout->addStretch(1);
    return row;
}

QWidget* TForm1::buildHeaderRow2() {
    auto* row = new QWidget;
    row->setObjectName("PnlHeader2");
    row->setFixedHeight(45);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);
    EdDBDescription = headerEdit("EdDBDescription", 360);
    EdDBBatchSize = headerEdit("EdDBBatchSize", 60);
    layout->addWidget(boldLabel("Description", 80));
    layout->addWidget(silverBox(EdDBDescription, 380));
    layout->addWidget(boldLabel("Batch Size", 55));
    layout->addWidget(silverBox(EdDBBatchSize, 80));
    layout->addStretch(1);
    BtnMenu = new QPushButton("Menu");
    BtnMenu->setObjectName("BtnMenu");
    BtnMenu->setFixedSize(60, 22);
    BtnMenu->setFont(arialFont(12, true));
    BtnMenu->setFocusPolicy(Qt::NoFocus);
    BtnMenu->setLayoutDirection(Qt::RightToLeft); // the arrow right of the caption
    BtnMenu->setIcon(ImageList::fromSvg(QStringLiteral(":/UpArrow")));
    BtnMenu->setIconSize(QSize(9, 7));
    connect(BtnMenu, &QPushButton::clicked, this, &TForm1::BtnMenuClick);
    layout->addWidget(BtnMenu, 0, Qt::AlignVCenter);
    return row;
}

QWidget* TForm1::buildCalcArea() {
    PnlCalc = new QFrame;
    PnlCalc->setObjectName("PnlCalc");
    PnlCalc->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* layout = new QHBoxLayout(PnlCalc);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    buildGridArea();
    layout->addWidget(GridArea, 1);
    buildSelectionPanel();
    layout->addWidget(PnlSelection);
    return PnlCalc;
}

QLabel* TForm1::valuePanel(QWidget* parent, const char* name, int x, int y) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setGeometry(x, y, 70, 25);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setContentsMargins(2, 0, 2, 0);
    panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont f(QStringLiteral("Bookman Old Style"));
    f.setPixelSize(11);
    f.setBold(true);
    panel->setFont(f);
    QPalette p = panel->palette();
    p.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    panel->setPalette(p);
    // Opaque, so that a new figure repaints the panel alone and not the group box behind it.
    panel->setAutoFillBackground(true);
    m_panels.insert(QString::fromLatin1(name), panel);
    return panel;
}

QLabel* TForm1::caption(QWidget* parent, const QString& text, int x, int y, int width) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, width, 28);
    label->setFont(arialFont(11, true));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

QWidget* TForm1::buildResultsArea() {
    auto* area = new QFrame;
    area->setObjectName("PnlResults");
    area->setFixedHeight(150);
    area->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* layout = new QHBoxLayout(area);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    auto group = [](const QString& title) {
        auto* g = new QGroupBox(title);
        g->setAlignment(Qt::AlignHCenter);
        g->setFont(arialFont(12, true));
        return g;
    };
    const int rows[] = {22, 52, 82, 112};

    QGroupBox* calc = group("Calculations");
    calc->setObjectName("GrpCalculations");
    calc->setFixedWidth(290);
    // Each panel with its caption beside it, as the table of figures words it.
    const auto figure = [&](QWidget* group, const char* panel, int captionX, int captionWidth, int panelX, int y) {
        caption(group, QString::fromLatin1(figureOfPanel(QString::fromLatin1(panel))->panelCaption), captionX, y - 2,
                captionWidth);
        valuePanel(group, panel, panelX, y);
    };
    figure(calc, "PnlKValue", 4, 60, 66, rows[0]);
    figure(calc, "PnlAVAtGel", 142, 55, 199, rows[0]);
    figure(calc, "PnlPGel", 4, 60, 66, rows[1]);
    figure(calc, "PnlFAV", 142, 55, 199, rows[1]);
    figure(calc, "PnlMolMass", 4, 60, 66, rows[2]);
    // The gel warning in words, in the row's free place: readable without hovering.
    LblGelSafety = new QLabel(calc);
    LblGelSafety->setObjectName("LblGelSafety");
    LblGelSafety->setGeometry(142, rows[2] - 3, 143, 31);
    LblGelSafety->setFont(arialFont(10, true));
    LblGelSafety->setWordWrap(true);
    LblGelSafety->setAlignment(Qt::AlignCenter);
    LblGelSafety->setAutoFillBackground(true);
    figure(calc, "PnlOilLength", 4, 60, 66, rows[3]);
    figure(calc, "PnlPercFA", 142, 55, 199, rows[3]);
    layout->addWidget(calc);

    QGroupBox* oh = group("Hydroxyl");
    oh->setObjectName("GrpHydroxyl");
    oh->setFixedWidth(155);
    figure(oh, "PnlExcessOH", 8, 60, 72, rows[0]);
    figure(oh, "PnlPercOH", 8, 60, 72, rows[1]);
    figure(oh, "PnlOHN", 8, 60, 72, rows[2]);
    figure(oh, "PnlOHEqvMass", 8, 60, 72, rows[3]);
    layout->addWidget(oh);

    QGroupBox* qty = group("Quantities");
    qty->setObjectName("GrpQuantities");
    const char* heads[] = {"Charge", "Batch", "Percent"};
    for (int c = 0; c < 3; ++c)
        caption(qty, heads[c], 78 + 80 * c, 20, 70)->setFixedHeight(16);
    const char* rowNames[] = {"Total", "Water Off", "Yield"};
    const char* panels[3][3] = {{"PnlTotalMass", "PnlBatchTotal", "PnlPercentTotal"},
                                {"PnlWaterOff", "PnlBatchWaterOff", "PnlPercentWaterOff"},
                                {"PnlYield", "PnlBatchYield", "PnlPercYield"}};
    for (int r = 0; r < 3; ++r) {
        caption(qty, rowNames[r], 4, 38 + 32 * r, 70);
        for (int c = 0; c < 3; ++c)
            valuePanel(qty, panels[r][c], 78 + 80 * c, 40 + 32 * r);
    }
    layout->addWidget(qty, 1);
    return area;
}

void TForm1::buildStatusBar() {
    StatusBar1 = new StatusPanels({{170, Qt::AlignLeft},
                                   {170, Qt::AlignLeft},
                                   {120, Qt::AlignLeft},
                                   {60, Qt::AlignHCenter},
                                   {60, Qt::AlignHCenter},
                                   {60, Qt::AlignHCenter},
                                   {75, Qt::AlignLeft},
                                   {50, Qt::AlignHCenter}});
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setFixedHeight(20);
    StatusBar1->setToolTip(QStringLiteral("Current Focused Raw Material Characteristics"));
    StatusBar1->setText(7, QStringLiteral("CalcAuto"));
    setStatusBar(StatusBar1);
}

QString TForm1::statusPanel(int index) const { return StatusBar1->text(index - 1); }

void TForm1::setStatusPanel(int index, const QString& text) { StatusBar1->setText(index - 1, text); }

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_centred) {
        m_centred = true;
        if (QScreen* s = screen())
            move(s->availableGeometry().center() - rect().center());
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == CBResinType || watched == CBResinCode) && event->type() == QEvent::FocusIn) {
        // However the box is reached, but by a click, its text is selected from its end back to
        // its start: typing replaces it, and a long type shows its first letters.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason) {
            QLineEdit* line = static_cast<QComboBox*>(watched)->lineEdit();
            QTimer::singleShot(0, line, [line] { line->setSelection(line->text().size(), -line->text().size()); });
        }
    }
    if (watched == CBResinType && event->type() == QEvent::FocusIn) {
        // Entering the box is the user's move into it (and the first focus at start), not the
        // window becoming active again after a dialog or a box, nor its own list closing.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const bool reactivated = reason == Qt::ActiveWindowFocusReason && m_entered;
        if (!reactivated && reason != Qt::PopupFocusReason) {
            m_entered = true;
            CBResinTypeEnter();
        }
    }
    if (event->type() == QEvent::KeyPress && watched != CBResinType && watched != CBResinCode) {
        // EdDBAVKeyPress: Enter moves on as Tab does and types nothing.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
