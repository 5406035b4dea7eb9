#include "LibForm.h"

#include "Placement.h"
#include "edit/DModUnit.h"
#include "paint/LibReport.h"
#include "app/Fonts.h"
#include "ImageList.h"
#include "LibraryList.h"
#include "MaterialTypeButtons.h"
#include "MessageBox.h"
#include "ReportPreview.h"
#include "ValueEdit.h"
#include "domain/MaterialType.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QFrame* bevel() {
    auto* line = new QFrame;
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setFixedHeight(2);
    return line;
}

} // namespace

TFormLib::TFormLib(TDMod& dm, const ImageList& buttonList, QPrinter* printer, QWidget* parent)
    : QDialog(parent), m_dm(dm), m_editor(dm.materialEditor()), m_printer(printer) {
    setObjectName("FormLib");
    setWindowTitle(QStringLiteral("Raw Material Library"));
    // A fixed single border with only a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(arialFont(11));

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(buildFormPanel(), 1);
    body->addWidget(buildSelection());

    auto* status = new QStatusBar;
    status->setObjectName("StatusBar1");
    status->setSizeGripEnabled(false);
    status->setFixedHeight(19);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bevel());
    column->addWidget(buildToolBar(buttonList));
    column->addWidget(bevel());
    column->addLayout(body, 1);
    column->addWidget(status);

    QWidget::setTabOrder(EdDBRMCode, EdDBRMCommonName);
    QWidget::setTabOrder(EdDBRMCommonName, EdDBRMMWt);
    QWidget::setTabOrder(EdDBRMMWt, EdDBRMChemClass);
    QWidget::setTabOrder(EdDBRMChemClass, EdDBRMType);
    QWidget::setTabOrder(EdDBRMType, EdDBRMPrice);
    QWidget::setTabOrder(EdDBRMPrice, EdDBRMFa);
    QWidget::setTabOrder(EdDBRMFa, EdDBRMFan);
    QWidget::setTabOrder(EdDBRMFan, EdDBRMFb);

    // The buttons never contradict the list: the filter in force is shown.
    RawMaterialType->setType(m_editor.type());
    // Storing takes what is typed, however the store was reached.
    m_editor.takeTyping = [this] {
        for (const auto& [part, e] : m_edits)
            e->takeForStore();
    };
    connect(&m_editor, &MaterialEditor::recordChanged, this, [this] {
        for (const auto& [part, e] : m_edits)
            e->reset();
        showType();
        followView();
    });
    connect(&m_editor, &MaterialEditor::partChanged, this, [this](MaterialPart changed) {
        if (changed == MaterialPart::Type)
            showType();
        else if (ValueEdit* e = edit(changed))
            e->reset();
    });
    showType();
    followView();
    setFixedSize(692, 238);
}

TFormLib::~TFormLib() { m_editor.takeTyping = nullptr; }

ValueEdit* TFormLib::edit(MaterialPart part) {
    for (const auto& [p, e] : m_edits)
        if (p == part)
            return e;
    return nullptr;
}

QWidget* TFormLib::buildToolBar(const ImageList& buttonList) {
    auto* bar = new QWidget;
    bar->setObjectName("ToolBar1");
    bar->setFixedHeight(43);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(0);
    QFont bold = font();
    bold.setBold(true);
    const auto button = [&](const char* name, const QString& caption, int picture, void (TFormLib::*slot)()) {
        auto* b = new QToolButton;
        b->setObjectName(name);
        b->setText(caption);
        b->setFont(bold);
        b->setIcon(buttonList.icon(picture));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFixedSize(52, 37);
        b->setCursor(Qt::PointingHandCursor);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, slot);
        row->addWidget(b);
        return b;
    };
    const auto divider = [&] {
        auto* d = new QWidget;
        d->setFixedWidth(75);
        row->addWidget(d);
    };
    ToolButton3 = button("ToolButton3", QStringLiteral("&Add"), 17, &TFormLib::ToolButton3Click);
    ToolButton1 = button("ToolButton1", QStringLiteral("&Edit"), 5, &TFormLib::ToolButton1Click);
    ToolButton5 = button("ToolButton5", QStringLiteral("&Delete"), 16, &TFormLib::ToolButton5Click);
    ToolButton7 = button("ToolButton7", QStringLiteral("&Cancel"), 15, &TFormLib::ToolButton7Click);
    BtnSave = button("BtnSave", QStringLiteral("&Save"), 2, &TFormLib::BtnSaveClick);
    divider();
    BtnPrint = button("BtnPrint", QStringLiteral("&Print"), 4, &TFormLib::BtnPrintClick);
    divider();
    BtnClose = button("BtnClose", QStringLiteral("Cl&ose"), 10, &TFormLib::BtnCloseClick);
    row->addStretch(1);
    return bar;
}

QWidget* TFormLib::buildFormPanel() {
    auto* sunken = new QFrame;
    sunken->setObjectName("PnlForm");
    sunken->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* outer = new QHBoxLayout(sunken);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(0);

    auto* record = new QWidget;
    record->setObjectName("DBCtrlGrid1");
    record->setFixedSize(451, 162);
    record->setAutoFillBackground(true);
    QPalette teal = record->palette();
    teal.setColor(QPalette::Window, QColor(0, 128, 128));
    teal.setColor(QPalette::WindowText, Qt::white);
    record->setPalette(teal);

    // One record's fields at fixed places: three rows of a caption over its edit.
    const QFont captionFont = arialFont(12, true);
    const QFont editFont = arialFont(12);
    const int columnX[] = {8, 106, 340};
    const int rowY[] = {6, 54, 102};
    const auto place = [&](QWidget* control, const QString& caption, int width, int row, int x) {
        auto* label = new QLabel(caption, record);
        label->setFont(captionFont);
        label->move(x, rowY[row]);
        label->setBuddy(control);
        control->setParent(record);
        control->setFont(editFont);
        control->setFixedWidth(width);
        control->move(x, rowY[row] + 17);
    };
    const auto edit = [&](MaterialPart part, const QString& caption, int width, int row, int x) {
        auto* e = new ValueEdit;
        e->setObjectName(QStringLiteral("EdDB") + MaterialEditor::columnOf(part));
        const bool figure = MaterialEditor::widthOf(part) == 0;
        if (!figure)
            e->setMaxLength(MaterialEditor::widthOf(part)); // nothing is stored cut
        // The figures of the arithmetic stand centred; the price to the right, as money does.
        e->setAlignment(!figure ? Qt::AlignLeft : part == MaterialPart::Price ? Qt::AlignRight : Qt::AlignHCenter);
        e->bind(&m_dm.database(),
                {[this, part](bool editing) { return m_editor.text(part, editing); },
                 [this] { m_editor.edit(); },
                 [this, part](const QString& typed) { m_editor.checkText(part, typed); },
                 [this, part](const QString& typed) { m_editor.setText(part, typed); }, figure});
        place(e, caption, width, row, x);
        m_edits.emplace_back(part, e);
        return e;
    };
    EdDBRMCode = edit(MaterialPart::Code, QStringLiteral("Code"), 94, 0, columnX[0]);
    EdDBRMCommonName = edit(MaterialPart::Name, QStringLiteral("Common Name"), 229, 0, columnX[1]);
    EdDBRMMWt = edit(MaterialPart::MWt, QStringLiteral("Mol. Mass"), 60, 0, columnX[2]);
    EdDBRMChemClass = edit(MaterialPart::ChemClass, QStringLiteral("Chemical Class"), 220, 1, columnX[0]);
    EdDBRMType = new QComboBox;
    EdDBRMType->setObjectName("EdDBRMType");
    EdDBRMType->setEditable(false);
    for (MaterialType type : materialTypes())
        EdDBRMType->addItem(materialTypeWord(type));
    EdDBRMType->setMaxVisibleItems(5);
    connect(EdDBRMType, &QComboBox::activated, this, [this](int index) {
        const QString word = EdDBRMType->itemText(index);
        if (index < 0 || (!m_editor.saved() && m_editor.text(MaterialPart::Type, false) == word))
            return;
        if (!act([&] { m_editor.setText(MaterialPart::Type, word); }))
            showType();
    });
    place(EdDBRMType, QStringLiteral("Type"), 100, 1, 234);
    EdDBRMPrice = edit(MaterialPart::Price, QStringLiteral("Cost Price"), 60, 1, columnX[2]);
    EdDBRMFa = edit(MaterialPart::Fa, QStringLiteral("Acid Functionality"), 60, 2, columnX[0]);
    // Two long captions side by side: the middle one stands further right.
    EdDBRMFan = edit(MaterialPart::Fan, QStringLiteral("Anhydride Functionality"), 60, 2, 136);
    EdDBRMFb = edit(MaterialPart::Fb, QStringLiteral("Base Functionality"), 60, 2, columnX[2]);

    LibScroll = new QScrollBar(Qt::Vertical);
    LibScroll->setObjectName("LibScroll");
    LibScroll->setFocusPolicy(Qt::NoFocus);
    connect(LibScroll, &QScrollBar::valueChanged, this, [this](int row) {
        if (m_scrolling)
            return;
        act([&] { m_editor.goTo(row); });
        followView(); // a refused move puts the bar back
    });
    auto* stack = new QHBoxLayout;
    stack->setSpacing(0);
    stack->addWidget(record, 0, Qt::AlignTop);
    stack->addWidget(LibScroll);
    outer->addLayout(stack);
    outer->addStretch(1);
    return sunken;
}

QWidget* TFormLib::buildSelection() {
    auto* side = new QWidget;
    side->setFixedWidth(220);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(2, 0, 0, 0);
    column->setSpacing(2);
    RawMaterialType = new MaterialTypeButtons(QStringLiteral(" Raw Material Type "),
                                              {{"RBOil", "Natural Oil", MaterialType::Oil, 0, 0},
                                               {"RBFattyAcid", "Fatty Acid", MaterialType::FattyAcid, 0, 1},
                                               {"RBAcid", "Acid", MaterialType::Acid, 1, 0},
                                               {"RBBase", "Base", MaterialType::Base, 1, 1},
                                               {"RBAll", "All", std::nullopt, 2, 0},
                                               {"RBAmphoteric", "Amphoteric", MaterialType::Amphoteric, 2, 1}},
                                              arialFont(11, true));
    RawMaterialType->setObjectName("RawMaterialType");
    RawMaterialType->setAlignment(Qt::AlignHCenter);
    RBOil = RawMaterialType->button(MaterialType::Oil);
    RBFattyAcid = RawMaterialType->button(MaterialType::FattyAcid);
    RBAcid = RawMaterialType->button(MaterialType::Acid);
    RBBase = RawMaterialType->button(MaterialType::Base);
    RBAll = RawMaterialType->button(std::nullopt);
    RBAmphoteric = RawMaterialType->button(MaterialType::Amphoteric);
    connect(RawMaterialType, &MaterialTypeButtons::typeChosen, this, &TFormLib::chooseType);
    column->addWidget(RawMaterialType);

    LibList = new MaterialRecordList;
    LibList->setObjectName("LibList");
    LibList->setToolTip(QStringLiteral("Select raw material to view."));
    LibList->setEditor(&m_editor, &m_dm.database());
    LibList->horizontalHeader()->resizeSection(0, 52);
    LibList->horizontalHeader()->resizeSection(1, 110);
    LibList->horizontalHeader()->resizeSection(2, 110);
    LibList->setMinimumHeight(40);
    LibList->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    column->addWidget(LibList, 1);
    return side;
}

bool TFormLib::act(const std::function<void()>& action) {
    return MessageBox::reported(this, m_dm.database().perform(action));
}

void TFormLib::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOverParent(this);
}

void TFormLib::followView() {
    m_scrolling = true;
    LibScroll->setRange(0, qMax(0, m_editor.count() - 1));
    LibScroll->setPageStep(1);
    LibScroll->setValue(qMax(0, m_editor.current()));
    m_scrolling = false;
}

void TFormLib::showType() {
    // A word that is not among the items shows as no choice, as an empty type does.
    const QString word = m_editor.text(MaterialPart::Type, false);
    EdDBRMType->setCurrentIndex(word.isEmpty() ? -1 : EdDBRMType->findText(word, Qt::MatchFixedString));
}

bool TFormLib::commitEdits() {
    for (const auto& [part, e] : m_edits)
        if (!e->commit())
            return false;
    return true;
}

void TFormLib::chooseType(std::optional<MaterialType> type) {
    act([&] { m_editor.setType(type); });
    // A refused settle leaves the list as it was: so do the buttons.
    RawMaterialType->setType(m_editor.type());
}

void TFormLib::ToolButton3Click() {
    if (commitEdits() && act([this] { m_editor.append(); }))
        EdDBRMCode->setFocus();
}

void TFormLib::ToolButton1Click() {
    if (act([this] { m_editor.edit(); }))
        EdDBRMCode->setFocus();
}

void TFormLib::ToolButton5Click() {
    if (m_editor.state() != MaterialEditor::State::Insert && m_editor.count() > 0) {
        // The material as stored: an edit of its code may be pending.
        const QString code = m_editor.storedCode();
        TDMod::MaterialUse use;
        if (!MessageBox::guarded(this, [&] { use = m_dm.UseOfMaterial(code); }))
            return;
        if (use.lines > 0 &&
            MessageBox::show(this, QMessageBox::Question, QStringLiteral("Confirm"),
                             QStringLiteral("%1 is used by %2 %3 of %4 %5. Delete it all the same?")
                                 .arg(code)
                                 .arg(use.lines)
                                 .arg(use.lines == 1 ? "line" : "lines")
                                 .arg(use.recipes)
                                 .arg(use.recipes == 1 ? "recipe" : "recipes"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
    }
    act([this] { m_editor.remove(); });
}

void TFormLib::ToolButton7Click() {
    act([this] { m_editor.cancel(); });
    for (const auto& [part, e] : m_edits)
        e->reset();
}

void TFormLib::BtnSaveClick() {
    if (commitEdits())
        act([this] { m_editor.post(); });
}

void TFormLib::BtnPrintClick() {
    std::unique_ptr<TFrmLibReport> report;
    std::vector<Report::Page> pages;
    if (!MessageBox::guarded(this, [&] {
            report = std::make_unique<TFrmLibReport>(m_dm.materials());
            pages = report->prepare();
        }))
        return;
    ReportPreview preview(report->Report1, std::move(pages), m_printer, QStringLiteral("Raw Material Library"), this);
    stayAboveOpener(&preview);
    preview.exec();
}

void TFormLib::BtnCloseClick() { close(); }

void TFormLib::reject() { close(); }

void TFormLib::closeEvent(QCloseEvent* event) {
    // A refused text has said why and stays for correction.
    if (!commitEdits()) {
        event->ignore();
        return;
    }
    if (!m_editor.saved() && !m_editor.differsFromStored()) {
        // Begun and undone, or never typed into: nothing to ask about.
        act([this] { m_editor.cancel(); });
    } else if (!m_editor.saved()) {
        const auto answer =
            MessageBox::show(this, QMessageBox::Question, QStringLiteral("Confirm"),
                             QStringLiteral("Data has been changed but not saved. Do you wish to save changes?"),
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        // Cancel (Escape) keeps the window open with the change pending; so does a refused post.
        if ((answer != QMessageBox::Yes && answer != QMessageBox::No) ||
            !act([&] { answer == QMessageBox::Yes ? m_editor.post() : m_editor.cancel(); })) {
            event->ignore();
            return;
        }
    }
    act([this] { m_dm.LibraryClosed(); });
    event->accept();
}
