// What the main window shows of the recipe's figures: the result panels, the grid's footer
// texts and the status bar.
#include "GelColours.h"
#include "edit/DModUnit.h"
#include "Unit1.h"
#include "CourseForm.h"
#include "DBGrid.h"
#include "domain/NumberFormat.h"
#include "domain/GelSafety.h"
#include "domain/Figures.h"
#include "domain/ResinProperties.h"

#include <QLabel>

void TForm1::setPanel(const char* name, const QString& text) {
    if (QLabel* p = m_panels.value(QString::fromLatin1(name)))
        p->setText(text);
}

void TForm1::ShowResults() {
    const TReactionTotals t = m_dmod ? m_dmod->editor().totals() : TReactionTotals{};
    // Every figure from the one table: the panels in their order, then the footer row, which the
    // grid picks up by column wherever the user dragged them.
    for (const Figure& f : figures()) {
        if (f.panel) {
            setPanel(f.panel, f.panelText(t));
            if (QLatin1String(f.panel) == QLatin1String("PnlAVAtGel"))
                showGelSafety(t);
        }
        if (f.footer)
            m_footers[size_t(*f.footer)] = f.footerText(t);
    }
    m_footers[size_t(LineColumn::Name)] = QStringLiteral("Totals");
    if (DBGrid1 && DBGrid1->footer(LineColumn::Mass))
        for (const Figure& f : figures())
            if (f.footer)
                DBGrid1->setFooterText(*f.footer, m_footers[size_t(*f.footer)]);

    m_shownRecipe = recipeTitle();
    m_shownTotals = t;
    if (m_course)
        m_course->followLater(m_shownRecipe, m_shownTotals);
}

// Amber when the target lies past the earlier gel point, red past both, violet when the hydroxyl
// runs out before it; the words beside it say which, and the tooltip says by how much.
void TForm1::showGelSafety(const TReactionTotals& totals) {
    QLabel* panel = m_panels.value(QStringLiteral("PnlAVAtGel"));
    if (!panel)
        return;
    const GelSafety safety = AssessGel(totals);
    panel->setToolTip(safety.text);
    LblGelSafety->setToolTip(safety.text);
    LblGelSafety->setText(safety.brief);
    const int level = int(safety.level);
    if (level == m_gelLevel)
        return;
    m_gelLevel = level;
    QPalette p = panel->palette();
    const QColor ground = panel->parentWidget()->palette().color(QPalette::Window);
    paintGelVerdict(p, safety.level, ground);
    panel->setPalette(p);
    LblGelSafety->setPalette(p);
}


void TForm1::ShowRMinStatusBar() {
    if (!m_dmod)
        return;
    m_dmod->writeMaterialStatus(chosenMaterial().value_or(Material{}));
}
