#include "DesignForm.h"

#include "GelColours.h"
#include "Placement.h"
#include "edit/RecipeLines.h"
#include "domain/Figures.h"
#include "domain/GelSafety.h"
#include "domain/LineColumns.h"
#include "domain/NumberFormat.h"
#include "domain/Totals.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr std::array<const char*, DesignTargetCount> kNames = {"OilLength", "ExcessOH", "KValue", "TotalCharge"};

// The pictures the main window shows the figures in: a condition opens as the chemist reads it
// there.
const char* pictureOf(DesignTarget target) {
    switch (target) {
    case DesignTarget::OilLength:
        return figureOfPanel(QStringLiteral("PnlOilLength"))->panelFormat;
    case DesignTarget::ExcessOH:
        return figureOfPanel(QStringLiteral("PnlExcessOH"))->panelFormat;
    case DesignTarget::KValue:
        return figureOfPanel(QStringLiteral("PnlKValue"))->panelFormat;
    case DesignTarget::TotalCharge:
        return figureOfFooter(LineColumn::Mass)->footerFormat;
    }
    return "0.000";
}

// The figures the recipe would have, with the main window's captions and pictures.
constexpr std::array<std::pair<const char*, const char*>, 6> kResults = {{{"PnlKValue", "Paton's Constant"},
                                                                          {"PnlOilLength", "Oil Length"},
                                                                          {"PnlExcessOH", "Excess OH"},
                                                                          {"PnlOHN", "OH Number"},
                                                                          {"PnlYield", "Yield"},
                                                                          {"PnlAVAtGel", "Acid Val at Gel"}}};

QTableWidgetItem* cell(const QString& text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(align);
    return item;
}

} // namespace

TFrmDesign::TFrmDesign(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmDesign"));
    setWindowTitle(QStringLiteral("Design from Targets"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    resize(760, 500);

    DesignLines = new QTableWidget(0, ColumnCount);
    DesignLines->setObjectName(QStringLiteral("DesignLines"));
    DesignLines->setHorizontalHeaderLabels({QStringLiteral("Item"), QStringLiteral("Code"), QStringLiteral("Material"),
                                            QStringLiteral("Type"), QStringLiteral("Fixed"),
                                            QStringLiteral("Mass now"), QStringLiteral("Mass designed")});
    DesignLines->verticalHeader()->hide();
    DesignLines->verticalHeader()->setDefaultSectionSize(DesignLines->fontMetrics().height() + 4);
    DesignLines->setWordWrap(false);
    DesignLines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DesignLines->setSelectionMode(QAbstractItemView::SingleSelection);
    DesignLines->setSelectionBehavior(QAbstractItemView::SelectRows);
    DesignLines->setTabKeyNavigation(false); // Tab goes on to the conditions; Space fixes a line
    // Columns are measured once, as the dialog opens: measuring them again with every designed
    // mass would cost more than the design itself.
    DesignLines->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DesignLines->horizontalHeader()->setStretchLastSection(false);
    connect(DesignLines, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling && item->column() == ColFixed)
            solve();
    });
    // Space fixes or frees the line the cursor is on, wherever in the row it stands.
    DesignLines->installEventFilter(this);

    LblDesignMessage = new QLabel;
    LblDesignMessage->setObjectName(QStringLiteral("LblDesignMessage"));
    LblDesignMessage->setWordWrap(true);
    LblDesignMessage->setMinimumHeight(2 * LblDesignMessage->fontMetrics().lineSpacing() + 4);
    LblDesignMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    BtnApply = new QPushButton(QStringLiteral("Apply"));
    BtnApply->setObjectName(QStringLiteral("BtnApply"));
    BtnApply->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("Cancel"));
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(BtnApply, &QPushButton::clicked, this, [this] {
        if (m_design.solved)
            accept();
    });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    // The side keeps its width whatever a message says: the table gets the rest.
    auto* side = new QVBoxLayout;
    side->setSizeConstraint(QLayout::SetMinimumSize);
    side->addWidget(buildConditions());
    side->addWidget(buildResults());
    side->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(DesignLines, 1);
    top->addLayout(side);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnApply);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(LblDesignMessage);
    layout->addLayout(buttons);
}

QWidget* TFrmDesign::buildConditions() {
    auto* box = new QGroupBox(QStringLiteral("Conditions"));
    box->setFixedWidth(300);
    box->setObjectName(QStringLiteral("GrpConditions"));
    auto* grid = new QGridLayout(box);
    for (int t = 0; t < DesignTargetCount; ++t) {
        auto* check = new QCheckBox(designTargetCaption(DesignTarget(t)));
        check->setObjectName(QStringLiteral("CB") + QLatin1String(kNames[size_t(t)]));
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("Ed") + QLatin1String(kNames[size_t(t)]));
        edit->setAlignment(Qt::AlignRight);
        edit->setMaximumWidth(100);
        connect(check, &QCheckBox::toggled, this, &TFrmDesign::solve);
        connect(edit, &QLineEdit::textChanged, this, [this, check] {
            if (check->isChecked())
                solve();
        });
        grid->addWidget(check, t, 0);
        grid->addWidget(edit, t, 1);
        conditionChecks[size_t(t)] = check;
        conditionEdits[size_t(t)] = edit;
    }
    EdDesignAV = new QLineEdit;
    EdDesignAV->setObjectName(QStringLiteral("EdDesignAV"));
    EdDesignAV->setReadOnly(true);
    EdDesignAV->setFocusPolicy(Qt::NoFocus);
    EdDesignAV->setAlignment(Qt::AlignRight);
    EdDesignAV->setMaximumWidth(100);
    // Read here, typed in the main window's header: it looks as text does, not as a box to type in.
    QPalette readOnly = EdDesignAV->palette();
    readOnly.setColor(QPalette::Base, readOnly.color(QPalette::Window));
    EdDesignAV->setPalette(readOnly);
    auto* av = new QLabel(QStringLiteral("Acid Value"));
    av->setToolTip(QStringLiteral("The acid value the recipe is cooked to, from its header: every figure is "
                                  "worked out at it."));
    grid->addWidget(av, DesignTargetCount, 0);
    grid->addWidget(EdDesignAV, DesignTargetCount, 1);
    return box;
}

QWidget* TFrmDesign::buildResults() {
    auto* box = new QGroupBox(QStringLiteral("The recipe would have"));
    box->setFixedWidth(300);
    box->setObjectName(QStringLiteral("GrpDesignResults"));
    auto* grid = new QGridLayout(box);
    int row = 0;
    for (const auto& [panel, caption] : kResults) {
        auto* value = new QLabel;
        const QString name = QString::fromLatin1(panel).mid(3);
        value->setObjectName(QStringLiteral("LblDesign") + name);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(80);
        grid->addWidget(new QLabel(QString::fromLatin1(caption)), row, 0);
        grid->addWidget(value, row, 1);
        m_results.emplace_back(panel, value);
        ++row;
    }
    LblDesignGelSafety = new QLabel;
    LblDesignGelSafety->setObjectName(QStringLiteral("LblDesignGelSafety"));
    LblDesignGelSafety->setWordWrap(true);
    LblDesignGelSafety->setAutoFillBackground(true);
    LblDesignGelSafety->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LblDesignGelSafety->setFixedWidth(170);
    LblDesignGelSafety->setMinimumHeight(2 * LblDesignGelSafety->fontMetrics().lineSpacing());
    grid->addWidget(new QLabel(QStringLiteral("Gel Safety")), row, 0, Qt::AlignTop);
    grid->addWidget(LblDesignGelSafety, row, 1, Qt::AlignTop);
    return box;
}

void TFrmDesign::start(const Recipe& recipe, const MaterialLookup& library, std::optional<int> onlyFree) {
    m_recipe = recipe;
    m_library = &library;
    m_filling = true;
    const TReactionTotals now = totalsOf(recipe, library);
    const char* massPicture = lineColumnFormat(LineColumn::Mass).picture;
    DesignLines->setRowCount(int(recipe.lines.size()));
    for (int row = 0; row < int(recipe.lines.size()); ++row) {
        const Line& line = recipe.lines[size_t(row)];
        const Material* m = library.find(line.code);
        const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
        DesignLines->setItem(row, ColItem, cell(line.item ? QString::number(*line.item) : QString(), right));
        DesignLines->setItem(row, ColCode, cell(line.code));
        DesignLines->setItem(row, ColMaterial, cell(m ? m->name : QString()));
        DesignLines->setItem(row, ColType, cell(m ? materialTypeWord(m->type) : QString()));
        QTableWidgetItem* fixed = cell(QString());
        if (designable(line, library)) {
            // A line whose mass cannot be typed is neither fixed nor free: it counts as it stands.
            fixed->setFlags(fixed->flags() | Qt::ItemIsUserCheckable);
            fixed->setCheckState(onlyFree && *onlyFree != row ? Qt::Checked : Qt::Unchecked);
        }
        DesignLines->setItem(row, ColFixed, fixed);
        DesignLines->setItem(row, ColMassNow, cell(NumberFormat::figure(line.mass, massPicture), right));
        DesignLines->setItem(row, ColMassDesigned, cell(QString(), right));
    }
    for (int t = 0; t < DesignTargetCount; ++t) {
        const DesignTarget target = DesignTarget(t);
        m_present[size_t(t)] = designTargetValue(target, now);
        conditionEdits[size_t(t)]->setText(
            NumberFormat::format(m_present[size_t(t)], QLatin1String(pictureOf(target))));
        conditionChecks[size_t(t)]->setChecked(!onlyFree && target == DesignTarget::TotalCharge);
    }
    EdDesignAV->setText(NumberFormat::figure(recipe.header.av, kAcidValuePicture));
    QHeaderView* header = DesignLines->horizontalHeader();
    DesignLines->resizeColumnsToContents();
    header->resizeSection(ColMassDesigned,
                          std::max(header->sectionSize(ColMassDesigned),
                                   DesignLines->fontMetrics().horizontalAdvance(QStringLiteral("000000.000")) + 12));
    header->setSectionResizeMode(ColMaterial, QHeaderView::Stretch);
    if (onlyFree && *onlyFree >= 0 && *onlyFree < DesignLines->rowCount())
        DesignLines->setCurrentCell(*onlyFree, ColFixed);
    else if (DesignLines->rowCount() > 0)
        DesignLines->setCurrentCell(0, ColFixed);
    m_filling = false;
    solve();
}

std::optional<QString> TFrmDesign::readTargets(DesignRequest& request) const {
    for (int t = 0; t < DesignTargetCount; ++t) {
        if (!conditionChecks[size_t(t)]->isChecked())
            continue;
        const QString caption = designTargetCaption(DesignTarget(t));
        const QString typed = conditionEdits[size_t(t)]->text().trimmed();
        double v = 0;
        if (!conditionEdits[size_t(t)]->isModified()) {
            request.targets[size_t(t)] = m_present[size_t(t)];
            continue;
        }
        if (typed.isEmpty())
            return QStringLiteral("Type the target for %1, or uncheck it.").arg(caption);
        if (!NumberFormat::parse(typed, &v))
            return QStringLiteral("'%1' is not a number: type the target for %2, or uncheck it.").arg(typed, caption);
        request.targets[size_t(t)] = v;
    }
    return std::nullopt;
}

void TFrmDesign::solve() {
    if (m_filling || !m_library)
        return;
    DesignRequest request;
    request.maxMass = RecipeLines::rule(LineColumn::Mass).max;
    request.fixed.resize(m_recipe.lines.size());
    for (int row = 0; row < DesignLines->rowCount(); ++row)
        request.fixed[size_t(row)] = DesignLines->item(row, ColFixed)->checkState() == Qt::Checked;
    if (const std::optional<QString> refused = readTargets(request)) {
        m_design = Design{};
        m_design.message = *refused;
    } else {
        m_design = designRecipe(m_recipe, *m_library, request);
    }
    showResults();
}

void TFrmDesign::showResults() {
    m_filling = true;
    const char* massPicture = lineColumnFormat(LineColumn::Mass).picture;
    for (int row = 0; row < DesignLines->rowCount(); ++row)
        DesignLines->item(row, ColMassDesigned)->setText(QString());
    // Solved, the column reads the whole recipe as designed: the fixed lines with their masses.
    if (m_design.solved)
        for (int row = 0; row < DesignLines->rowCount(); ++row)
            DesignLines->item(row, ColMassDesigned)
                ->setText(NumberFormat::figure(m_design.recipe.lines[size_t(row)].mass, massPicture));
    m_filling = false;
    for (const auto& [panel, label] : m_results)
        label->setText(m_design.solved ? figureOfPanel(QLatin1String(panel))->panelText(m_design.totals) : QString());
    const GelSafety gel = m_design.solved ? AssessGel(m_design.totals) : GelSafety{};
    LblDesignGelSafety->setText(gel.brief);
    LblDesignGelSafety->setToolTip(gel.text);
    QPalette colours = LblDesignGelSafety->palette();
    paintGelVerdict(colours, gel.level, palette().color(QPalette::Window));
    LblDesignGelSafety->setPalette(colours);
    const int n = int(m_design.masses.size());
    QString message = m_design.message;
    if (m_design.solved) {
        message = n == 1 ? QStringLiteral("1 mass designed: Apply writes it into its line.")
                         : QStringLiteral("%1 masses designed: Apply writes them into their lines.").arg(n);
        // What the main window would warn of after Apply is said before it.
        if (gel.level != GelSafety::Level::Safe)
            message += QStringLiteral(" Mind the gel safety: %1").arg(gel.text);
    }
    LblDesignMessage->setText(message);
    BtnApply->setEnabled(m_design.solved);
}

bool TFrmDesign::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DesignLines && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        QTableWidgetItem* fixed = DesignLines->item(DesignLines->currentRow(), ColFixed);
        if (fixed && (fixed->flags() & Qt::ItemIsUserCheckable))
            fixed->setCheckState(fixed->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmDesign::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOverParent(this);
}
