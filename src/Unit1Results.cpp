// What the main window shows of the recipe's figures: the result panels, the grid's footer
// texts and the status bar.
#include "DModUnit.h"
#include "Unit1.h"
#include "CourseForm.h"
#include "components/DBGrid.h"
#include "components/NumberFormat.h"
#include "formulas/GelSafety.h"
#include "formulas/ResinProperties.h"

#include <QLabel>

void TForm1::setPanel(const char* name, const QString& text) {
    if (QLabel* p = m_panels.value(QString::fromLatin1(name)))
        p->setText(text);
}

void TForm1::ShowResults() {
    using NumberFormat::format;
    const TReactionTotals& t = ReactionTotals;
    const QString pct = QStringLiteral(" %");
    setPanel("PnlKValue", format(KValue(), "0.000"));
    setPanel("PnlAVAtGel", format(AVAtGel(), "0.0"));
    showGelSafety();
    setPanel("PnlPGel", format(PGel(), "0.0") + pct);
    setPanel("PnlFAV", format(FAv(), "0.00"));
    setPanel("PnlOilLength", format(OilLength(), "0.0") + pct);
    setPanel("PnlPercFA", format(PercFA(), "0.0") + pct);
    setPanel("PnlExcessOH", format(ExcessOH(), "0.0") + pct);
    setPanel("PnlOHN", format(OHN(), "0"));
    setPanel("PnlOHEqvMass", format(OHEqvMass(), "0"));
    setPanel("PnlPercOH", format(PercOH(), "0.0") + pct);
    setPanel("PnlMolMass", format(MolMass(), "#"));
    setPanel("PnlTotalMass", format(t.TotalMass, "0.00"));
    setPanel("PnlWaterOff", format(WaterOff(), "0.00"));
    setPanel("PnlYield", format(Yield(), "0.0#"));
    setPanel("PnlBatchTotal", format(t.BatchChargeTotal, "0.0"));
    setPanel("PnlBatchWaterOff", format(BatchWaterOff(), "0.0"));
    setPanel("PnlBatchYield", format(t.BatchSize, "0.0"));
    setPanel("PnlPercentTotal", format(t.BatchPercentTotal, "0.00"));
    setPanel("PnlPercentWaterOff", format(PercentWaterOff(), "0.00"));
    setPanel("PnlPercYield", format(t.SolidsPercent, "0.00"));

    // The grid picks its footers up by field, wherever its columns stand.
    m_footers.insert(QStringLiteral("RMName"), QStringLiteral("Totals"));
    m_footers.insert(QStringLiteral("Mass"), format(t.TotalMass, "0.000"));
    m_footers.insert(QStringLiteral("Moles"), format(t.TotalMoles, "0.0000"));
    m_footers.insert(QStringLiteral("Ea"), format(t.TotalEa, "0.0000"));
    m_footers.insert(QStringLiteral("Eb"), format(t.TotalEb, "0.0000"));
    m_footers.insert(QStringLiteral("Charge"), format(t.BatchChargeTotal, "0.00"));
    m_footers.insert(QStringLiteral("Percent"), format(t.BatchPercentTotal, "0.000"));
    m_footers.insert(QStringLiteral("Cost"), format(t.TotalCost, "0.00"));
    if (DBGrid1 && DBGrid1->footer("Mass"))
        for (const char* f : {"Mass", "Moles", "Ea", "Eb", "Charge", "Percent", "Cost"})
            DBGrid1->setFooterText(f, m_footers.value(f));

    m_shownRecipe = recipeTitle();
    m_shownTotals = t;
    if (m_course)
        m_course->followLater(m_shownRecipe, m_shownTotals);
}

// Amber when the target lies past the earlier gel point, red past both, violet when the hydroxyl
// runs out before it; the words beside it say which, and the tooltip says by how much.
void TForm1::showGelSafety() {
    QLabel* panel = m_panels.value(QStringLiteral("PnlAVAtGel"));
    if (!panel)
        return;
    const GelSafety safety = AssessGel(ReactionTotals);
    panel->setToolTip(safety.text);
    LblGelSafety->setToolTip(safety.text);
    LblGelSafety->setText(safety.brief);
    const int level = int(safety.level);
    if (level == m_gelLevel)
        return;
    m_gelLevel = level;
    QPalette p = panel->palette();
    const QColor ground = panel->parentWidget()->palette().color(QPalette::Window);
    switch (safety.level) {
    case GelSafety::Level::Safe:
        p.setColor(QPalette::Window, ground);
        p.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
        break;
    case GelSafety::Level::Warning:
        p.setColor(QPalette::Window, QColor(0xFF, 0xC0, 0x00));
        p.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
        break;
    case GelSafety::Level::Danger:
        p.setColor(QPalette::Window, QColor(0xD0, 0x00, 0x00));
        p.setColor(QPalette::WindowText, Qt::white);
        break;
    case GelSafety::Level::Unreachable:
        p.setColor(QPalette::Window, QColor(0x70, 0x30, 0xA0));
        p.setColor(QPalette::WindowText, Qt::white);
        break;
    }
    panel->setPalette(p);
    LblGelSafety->setPalette(p);
}


void TForm1::ShowRMinStatusBar() {
    if (!m_dmod)
        return;
    Table& lib = m_dmod->TblLibLookUp;
    m_dmod->writeMaterialStatus(lib.fieldByName("RMCommonName"), lib.fieldByName("RMChemClass"),
                                lib.fieldByName("RMMWt"), lib.fieldByName("RMFa"),
                                lib.fieldByName("RMFan"), lib.fieldByName("RMFb"),
                                lib.fieldByName("RMPrice"));
}
