#include "CompareForm.h"

#include "GelColours.h"
#include "MessageBox.h"
#include "Placement.h"
#include "ReadOnlyTable.h"
#include "ReportOutput.h"
#include "paint/CompareReport.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QStandardItem* cell(const QString& text, bool number) {
    auto* i = new QStandardItem(text);
    i->setTextAlignment(number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
    return i;
}

void paintRow(const QList<QStandardItem*>& row, Comparison::Change change, int differenceColumn) {
    QColor ground;
    switch (change) {
    case Comparison::Change::Same:
        return;
    case Comparison::Change::Changed:
        row[differenceColumn]->setBackground(TFrmCompare::changedColour());
        row[differenceColumn]->setFont([] { QFont f; f.setBold(true); return f; }());
        return;
    case Comparison::Change::OnlyFirst:
        ground = TFrmCompare::removedColour();
        break;
    case Comparison::Change::OnlySecond:
        ground = TFrmCompare::addedColour();
        break;
    }
    for (QStandardItem* i : row)
        i->setBackground(ground);
}

} // namespace

QColor TFrmCompare::changedColour() { return QColor(0xFF, 0xE6, 0x99); }
QColor TFrmCompare::addedColour() { return QColor(0xC6, 0xEF, 0xCE); }
QColor TFrmCompare::removedColour() { return QColor(0xF8, 0xC8, 0xC8); }

TFrmCompare::TFrmCompare(const MaterialLookup& library, QPrinter* printer, QWidget* parent)
    : QDialog(parent), m_library(library), m_printer(printer) {
    setObjectName("FrmCompare");
    setWindowTitle("Compare Recipes");
    resize(820, 760);
    m_lines = new QStandardItemModel(0, 5, this);
    m_lines->setHorizontalHeaderLabels({"Code", "Name", "First Mass", "Second Mass", "Difference"});
    m_figures = new QStandardItemModel(0, 4, this);
    m_figures->setHorizontalHeaderLabels({"Figure", "First", "Second", "Difference"});

    auto* layout = new QVBoxLayout(this);
    auto* names = new QHBoxLayout;
    LblFirst = new QLabel(this);
    LblFirst->setObjectName("LblFirst");
    LblSecond = new QLabel(this);
    LblSecond->setObjectName("LblSecond");
    CBCompareWith = new QComboBox(this);
    CBCompareWith->setObjectName("CBCompareWith");
    CBCompareWith->setEditable(true);
    CBCompareWith->setInsertPolicy(QComboBox::NoInsert);
    CBCompareWith->setMinimumContentsLength(28);
    CBCompareWith->hide();
    auto* firstCaption = new QLabel("First:", this);
    auto* secondCaption = new QLabel("Second:", this);
    names->addWidget(firstCaption);
    names->addWidget(LblFirst, 1);
    names->addWidget(secondCaption);
    names->addWidget(LblSecond, 1);
    names->addWidget(CBCompareWith, 1);
    layout->addLayout(names);

    CompareLines = readOnlyTable(this, "CompareLines", m_lines);
    CompareLines->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(CompareLines, 2);
    CompareFigures = readOnlyTable(this, "CompareFigures", m_figures);
    CompareFigures->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(CompareFigures, 3);

    auto* gel = new QHBoxLayout;
    for (QLabel** l : {&LblFirstGel, &LblSecondGel}) {
        *l = new QLabel(this);
        (*l)->setAutoFillBackground(true);
        (*l)->setWordWrap(true);
        (*l)->setMargin(4);
        (*l)->setFrameShape(QFrame::Panel);
        (*l)->setFrameShadow(QFrame::Sunken);
        gel->addWidget(*l, 1);
    }
    LblFirstGel->setObjectName("LblFirstGel");
    LblSecondGel->setObjectName("LblSecondGel");
    layout->addLayout(gel);

    auto* buttons = new QHBoxLayout;
    BtnPrint = new QPushButton("&Print...", this);
    BtnPrint->setObjectName("BtnPrint");
    BtnPdf = new QPushButton("Save as P&DF...", this);
    BtnPdf->setObjectName("BtnPdf");
    BtnClose = new QPushButton("Close", this);
    BtnClose->setObjectName("BtnClose");
    for (QPushButton* b : {BtnPrint, BtnPdf, BtnClose})
        b->setAutoDefault(false);
    BtnPrint->setEnabled(m_printer != nullptr);
    buttons->addStretch(1);
    buttons->addWidget(BtnPrint);
    buttons->addWidget(BtnPdf);
    buttons->addWidget(BtnClose);
    layout->addLayout(buttons);

    connect(BtnPrint, &QPushButton::clicked, this, &TFrmCompare::print);
    connect(BtnPdf, &QPushButton::clicked, this, &TFrmCompare::saveAsPdf);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(CBCompareWith, &QComboBox::activated, this, &TFrmCompare::chooseOther);
}

void TFrmCompare::compare(const Recipe& first, const QString& firstTitle, const Recipe& second,
                          const QString& secondTitle) {
    m_first = first;
    m_firstTitle = firstTitle;
    m_secondTitle = secondTitle;
    LblFirst->setText(firstTitle);
    LblSecond->setText(secondTitle);
    showComparison(compareRecipes(first, second, m_library));
}

void TFrmCompare::compareWithAny(const Recipe& current, const QString& currentTitle,
                                 const std::vector<RecipeName>& names, Loader load) {
    m_names = names;
    m_load = std::move(load);
    LblSecond->hide();
    CBCompareWith->show();
    QStringList items;
    items.reserve(qsizetype(names.size()));
    for (const RecipeName& n : names)
        items << n.type + u' ' + n.code;
    CBCompareWith->clear();
    CBCompareWith->addItems(items);
    // The current recipe beside itself until another is chosen: every difference empty.
    int self = -1;
    for (size_t i = 0; i < names.size() && self < 0; ++i)
        if (names[i].type == current.header.type && names[i].code == current.header.code)
            self = int(i);
    CBCompareWith->setCurrentIndex(self);
    compare(current, currentTitle, current, currentTitle);
    CBCompareWith->setFocus();
}

void TFrmCompare::chooseOther(int index) {
    if (index < 0 || size_t(index) >= m_names.size() || !m_load)
        return;
    const RecipeName& n = m_names[size_t(index)];
    const std::optional<Recipe> other = m_load(n);
    if (!other) {
        MessageBox::commandError(this, QStringLiteral("Recipe %1 %2 is not stored any more.").arg(n.type, n.code));
        return;
    }
    compare(m_first, m_firstTitle, *other, n.type + u' ' + n.code);
}

void TFrmCompare::showComparison(const Comparison& c) {
    m_comparison = c;
    m_lines->setRowCount(0);
    for (const Comparison::LineRow& l : c.lines) {
        const QString diff = l.change == Comparison::Change::OnlyFirst    ? QStringLiteral("removed")
                             : l.change == Comparison::Change::OnlySecond ? QStringLiteral("added")
                                                                           : l.difference;
        const QList<QStandardItem*> row{cell(l.code, false), cell(l.name, false), cell(l.first, true),
                                        cell(l.second, true), cell(diff, true)};
        paintRow(row, l.change, 4);
        m_lines->appendRow(row);
    }
    m_figures->setRowCount(0);
    const auto addFigure = [this](const Comparison::FigureRow& f, bool text) {
        const QList<QStandardItem*> row{cell(f.caption, false), cell(f.first, !text), cell(f.second, !text),
                                        cell(f.difference, true)};
        if (text) { // a description, read whole where the column cuts it short
            row[1]->setToolTip(f.first);
            row[2]->setToolTip(f.second);
        }
        paintRow(row, f.change, 3);
        m_figures->appendRow(row);
    };
    for (const Comparison::FigureRow& f : c.header)
        addFigure(f, f.name == QLatin1String("Description"));
    for (const Comparison::FigureRow& f : c.figures)
        addFigure(f, false);
    CompareLines->resizeColumnToContents(0);
    for (QTableView* t : {CompareLines, CompareFigures})
        for (int col = 1; col < t->model()->columnCount(); ++col)
            if (t->horizontalHeader()->sectionResizeMode(col) != QHeaderView::Stretch)
                t->setColumnWidth(col, 110);
    const std::pair<QLabel*, const GelSafety*> gels[] = {{LblFirstGel, &c.firstGel}, {LblSecondGel, &c.secondGel}};
    for (const auto& [label, gel] : gels) {
        label->setText(gel->brief.isEmpty() ? QStringLiteral("No gel point is predicted.") : gel->brief);
        label->setToolTip(gel->text);
        QPalette p = label->palette();
        paintGelVerdict(p, gel->level, palette().color(QPalette::Window));
        label->setPalette(p);
    }
}

QString TFrmCompare::fileTitle() const {
    // Two recipes name the file; versions, titled with their dates, would make a name too long.
    if (m_firstTitle.contains(u',') || m_secondTitle.contains(u','))
        return QStringLiteral("Comparison");
    return QStringLiteral("%1 vs %2").arg(m_firstTitle, m_secondTitle);
}

void TFrmCompare::print() {
    TFrmCompareReport report(m_comparison, m_firstTitle, m_secondTitle);
    const std::vector<Report::Page> pages = report.prepare();
    if (m_printer)
        ReportOutput::print(this, *m_printer, report.Report1, pages, fileTitle());
}

void TFrmCompare::saveAsPdf() {
    TFrmCompareReport report(m_comparison, m_firstTitle, m_secondTitle);
    ReportOutput::saveAsPdf(this, report.Report1, report.prepare(), fileTitle());
}
