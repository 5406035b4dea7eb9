#include "CourseForm.h"

#include "CourseChart.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "domain/NumberFormat.h"
#include "ReportOutput.h"
#include "domain/CourseTable.h"
#include "domain/GelSafety.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

TFrmReactionCourse::TFrmReactionCourse(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmReactionCourse"));
    setWindowTitle(QStringLiteral("Reaction Course"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // Left open, it must not keep the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(940, 540);

    LblRecipe = new QLabel;
    LblRecipe->setObjectName(QStringLiteral("LblRecipe"));
    QFont bold = LblRecipe->font();
    bold.setBold(true);
    LblRecipe->setFont(bold);
    LblGelSafety = new QLabel;
    LblGelSafety->setObjectName(QStringLiteral("LblGelSafety"));
    LblGelSafety->setWordWrap(true);

    ChartCourse = new TCourseChart;
    ChartCourse->setObjectName(QStringLiteral("ChartCourse"));
    ChartCourse->setMinimumSize(420, 300);
    GridCourse = new QTableWidget(0, int(CourseHeadings().size()));
    GridCourse->setObjectName(QStringLiteral("GridCourse"));
    GridCourse->setHorizontalHeaderLabels(CourseHeadings());
    GridCourse->verticalHeader()->hide();
    GridCourse->setWordWrap(false);
    GridCourse->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridCourse->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridCourse->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Columns as wide as their widest figures once and for all: measuring the contents again
    // after every typed amount would cost far more than the figures themselves.
    QFont boldFont = GridCourse->font();
    boldFont.setBold(true);
    const QFontMetrics wide(boldFont);
    const char* widest[] = {"0.000", "99999.9", "999999", "99999.99", "Hydroxyl used up"};
    for (int c = 0; c < GridCourse->columnCount(); ++c)
        GridCourse->setColumnWidth(c, std::max(wide.horizontalAdvance(QString::fromLatin1(widest[c])),
                                               wide.horizontalAdvance(CourseHeadings()[c])) + 14);
    GridCourse->setMinimumWidth(GridCourse->horizontalHeader()->length() + 2 * GridCourse->frameWidth() +
                                GridCourse->verticalScrollBar()->sizeHint().width());
    GridCourse->verticalHeader()->setDefaultSectionSize(GridCourse->fontMetrics().height() + 4);
    // Ctrl+C in the table copies it whole, as the button does.
    auto* copy = new QAction(GridCourse);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &TFrmReactionCourse::BtnCopyClick);
    GridCourse->addAction(copy);

    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(ChartCourse);
    split->addWidget(GridCourse);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setChildrenCollapsible(false);

    BtnCopy = new QPushButton(QStringLiteral("&Copy Table"));
    BtnCopy->setObjectName(QStringLiteral("BtnCopy"));
    BtnSaveChart = new QPushButton(QStringLiteral("&Save Chart..."));
    BtnSaveChart->setObjectName(QStringLiteral("BtnSaveChart"));
    BtnClose = new QPushButton(QStringLiteral("Close"));
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    connect(BtnCopy, &QPushButton::clicked, this, &TFrmReactionCourse::BtnCopyClick);
    connect(BtnSaveChart, &QPushButton::clicked, this, &TFrmReactionCourse::BtnSaveChartClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::close);
    for (QPushButton* b : {BtnCopy, BtnSaveChart, BtnClose})
        b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnCopy);
    buttons->addWidget(BtnSaveChart);
    buttons->addStretch(1);
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblRecipe);
    layout->addWidget(LblGelSafety);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);

    m_later.setSingleShot(true);
    m_later.setInterval(RedrawPause);
    connect(&m_later, &QTimer::timeout, this, &TFrmReactionCourse::redraw);
}

void TFrmReactionCourse::follow(const QString& recipe, const TReactionTotals& totals) {
    m_recipe = recipe;
    m_totals = totals;
    m_stale = true;
    m_later.stop();
    if (isVisible())
        redraw();
}

void TFrmReactionCourse::followLater(const QString& recipe, const TReactionTotals& totals) {
    m_recipe = recipe;
    m_totals = totals;
    m_stale = true;
    if (isVisible())
        m_later.start();
}

void TFrmReactionCourse::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_stale)
        redraw();
}

void TFrmReactionCourse::redraw() {
    m_stale = false;
    const TReactionTotals& t = m_totals;
    LblRecipe->setText(QStringLiteral("%1, target acid value %2")
                           .arg(m_recipe, NumberFormat::format(t.TargetAV, QStringLiteral("0.0"))));
    const GelSafety safety = AssessGel(t);
    LblGelSafety->setText(safety.text.isEmpty() ? QStringLiteral("No acid in this recipe: there is no course to chart.")
                                                : safety.text);
    const char* colour = safety.level == GelSafety::Level::Danger        ? "#c00000"
                         : safety.level == GelSafety::Level::Warning     ? "#a06000"
                         : safety.level == GelSafety::Level::Unreachable ? "#7030a0"
                                                                         : "#000080";
    const QString style = QStringLiteral("color: %1").arg(QLatin1String(colour));
    if (LblGelSafety->styleSheet() != style) // a new style sheet costs a polish of the label
        LblGelSafety->setStyleSheet(style);
    ChartCourse->setCourse(t, m_recipe);

    const std::vector<CourseRow> rows = CourseRows(t);
    GridCourse->setUpdatesEnabled(false);
    GridCourse->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const QStringList texts = CourseRowTexts(rows[r]);
        for (int c = 0; c < texts.size(); ++c) {
            QTableWidgetItem* item = GridCourse->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(c + 1 < texts.size() ? Qt::AlignRight | Qt::AlignVCenter
                                                            : Qt::AlignLeft | Qt::AlignVCenter);
                GridCourse->setItem(r, c, item);
            }
            // Only what changed: every change is a signal through the view.
            if (item->text() != texts[c])
                item->setText(texts[c]);
            if (item->font().bold() != !rows[r].mark.isEmpty()) {
                QFont f = item->font();
                f.setBold(!rows[r].mark.isEmpty());
                item->setFont(f);
            }
        }
    }
    GridCourse->setUpdatesEnabled(true);
}

void TFrmReactionCourse::BtnCopyClick() {
    if (m_stale)
        redraw();
    QGuiApplication::clipboard()->setText(CourseRowsAsText(CourseRows(m_totals)));
}

void TFrmReactionCourse::BtnSaveChartClick() {
    if (m_stale)
        redraw();
    QString file = FileDialog::saveFileName(this, QStringLiteral("Save Chart"),
                                            ReportOutput::proposedFile(QStringLiteral("Reaction Course %1").arg(m_recipe),
                                                                       QStringLiteral("png")),
                                            QStringLiteral("PNG picture (*.png);;PDF document (*.pdf)"));
    if (file.isEmpty())
        return;
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix.isEmpty())
        file += QStringLiteral(".png");
    else if (suffix != QLatin1String("png") && suffix != QLatin1String("pdf")) {
        MessageBox::commandError(this, QStringLiteral("The chart is saved as a PNG picture or a PDF document: "
                                                      "end the file name in .png or .pdf."));
        return;
    }
    QString error;
    const bool saved = suffix == QLatin1String("pdf") ? ChartCourse->savePdf(file, &error)
                                                      : ChartCourse->savePng(file, &error);
    if (!saved)
        MessageBox::commandError(this, QStringLiteral("The chart could not be saved to %1: %2")
                                           .arg(QDir::toNativeSeparators(file), error));
}
