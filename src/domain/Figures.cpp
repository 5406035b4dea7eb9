#include "Figures.h"

#include "NumberFormat.h"
#include "ResinProperties.h"

#include <QHash>

namespace {

double totalMass(const TReactionTotals& t) { return t.TotalMass; }
double totalMoles(const TReactionTotals& t) { return t.TotalMoles; }
double totalEa(const TReactionTotals& t) { return t.TotalEa; }
double totalEb(const TReactionTotals& t) { return t.TotalEb; }
double totalCost(const TReactionTotals& t) { return t.TotalCost; }
double batchCharge(const TReactionTotals& t) { return t.BatchChargeTotal; }
double batchPercent(const TReactionTotals& t) { return t.BatchPercentTotal; }
double batchSize(const TReactionTotals& t) { return t.BatchSize; }
double solids(const TReactionTotals& t) { return t.SolidsPercent; }

// name, value; panel, pattern, suffix, caption; footer column, pattern; report label, pattern,
// caption.
const std::vector<Figure> kFigures = {
    {"KValue", KValue, "PnlKValue", "0.000", "", "Paton's Constant", std::nullopt, nullptr, "LblKValue", "0.000", "Alkyd Constant:"},
    {"AVAtGel", AVAtGel, "PnlAVAtGel", "0.0", "", "Acid Val at Gel", std::nullopt, nullptr, "LblAVAtGel", "0.0", "AV @ Gel:"},
    {"PGel", PGel, "PnlPGel", "0.0", " %", "PGel", std::nullopt, nullptr, "LblPGel", "0.000", "P Gel:"},
    {"FAv", FAv, "PnlFAV", "0.00", "", "FAv", std::nullopt, nullptr, "LblFav", "0.000", "F Av:"},
    {"OilLength", OilLength, "PnlOilLength", "0.0", " %", "Oil Length", std::nullopt, nullptr, "LblOilLength", "0.0", "Oil Length:"},
    {"PercFA", PercFA, "PnlPercFA", "0.0", " %", "Percent FA", std::nullopt, nullptr, nullptr, nullptr, nullptr},
    {"ExcessOH", ExcessOH, "PnlExcessOH", "0.0", " %", "Excess", std::nullopt, nullptr, "LblExcessOH", "0.0", "Excess OH:"},
    {"OHN", OHN, "PnlOHN", "0", "", "Number", std::nullopt, nullptr, "LblOHN", "0", "OH Number:"},
    {"OHEqvMass", OHEqvMass, "PnlOHEqvMass", "0", "", "Equivalent Mass", std::nullopt, nullptr, "LblOHEqvMass", "0", "Oh Eqv. Mass:"},
    {"PercOH", PercOH, "PnlPercOH", "0.0", " %", "Percent", std::nullopt, nullptr, "LblPercOH", "0.0", "Percent OH:"},
    {"MolMass", MolMass, "PnlMolMass", "#", "", "Molecular Mass", std::nullopt, nullptr, "LblMolMass", "#", "Mol. Mass:"},
    {"TotalMass", totalMass, "PnlTotalMass", "0.00", "", nullptr, LineColumn::Mass, "0.000", "LblTMass", "0.000", nullptr},
    {"WaterOff", WaterOff, "PnlWaterOff", "0.00", "", nullptr, std::nullopt, nullptr, "LblMassWaterOff", "0.000", nullptr},
    {"Yield", Yield, "PnlYield", "0.0#", "", nullptr, std::nullopt, nullptr, "LblMassYield", "0.000", nullptr},
    {"BatchChargeTotal", batchCharge, "PnlBatchTotal", "0.0", "", nullptr, LineColumn::Charge, "0.00", "LblTAmt", "0.00", nullptr},
    {"BatchWaterOff", BatchWaterOff, "PnlBatchWaterOff", "0.0", "", nullptr, std::nullopt, nullptr, "LblChargeWaterOff", "0.00", nullptr},
    {"BatchSize", batchSize, "PnlBatchYield", "0.0", "", nullptr, std::nullopt, nullptr, "LblChargeYield", "0.00", nullptr},
    {"BatchPercentTotal", batchPercent, "PnlPercentTotal", "0.00", "", nullptr, LineColumn::Percent, "0.000", "LblTPerc", "0.000", nullptr},
    {"PercentWaterOff", PercentWaterOff, "PnlPercentWaterOff", "0.00", "", nullptr, std::nullopt, nullptr, "LblPercentWaterOff", "0.000", nullptr},
    {"SolidsPercent", solids, "PnlPercYield", "0.00", "", nullptr, std::nullopt, nullptr, "LblPercentYield", "0.000", nullptr},
    {"TotalMoles", totalMoles, nullptr, nullptr, nullptr, nullptr, LineColumn::Moles, "0.0000", "LblTMoles", "0.0000", nullptr},
    {"TotalEa", totalEa, nullptr, nullptr, nullptr, nullptr, LineColumn::Ea, "0.0000", "LblTEa", "0.0000", nullptr},
    {"TotalEb", totalEb, nullptr, nullptr, nullptr, nullptr, LineColumn::Eb, "0.0000", "LblTEb", "0.0000", nullptr},
    {"TotalCost", totalCost, nullptr, nullptr, nullptr, nullptr, LineColumn::Cost, "0.00", "LblTCost", "0.00", nullptr},
    {"CostPerMass", CostPerMass, nullptr, nullptr, nullptr, nullptr, std::nullopt, nullptr, "LblCost", "0.00", "Cost per Kg:"},
};

QString write(const Figure& f, const TReactionTotals& t, const char* pattern, const char* suffix = "") {
    return pattern ? NumberFormat::format(f.value(t), QString::fromLatin1(pattern)) + QString::fromLatin1(suffix)
                   : QString();
}

const Figure* find(bool (*match)(const Figure&, const QString&), const QString& key) {
    for (const Figure& f : kFigures)
        if (match(f, key))
            return &f;
    return nullptr;
}

bool is(const char* name, const QString& key) { return name && key == QLatin1String(name); }

} // namespace

QString Figure::caption() const {
    if (panelCaption)
        return QString::fromLatin1(panelCaption);
    if (reportCaption)
        return QString::fromLatin1(reportCaption).remove(u':');
    return QString::fromLatin1(name);
}

QString Figure::panelText(const TReactionTotals& t) const { return write(*this, t, panelFormat, panelSuffix); }
QString Figure::footerText(const TReactionTotals& t) const { return write(*this, t, footerFormat); }
QString Figure::reportText(const TReactionTotals& t) const { return write(*this, t, reportFormat); }

const std::vector<Figure>& figures() { return kFigures; }

const Figure* figureOfPanel(const QString& panel) {
    return find([](const Figure& f, const QString& k) { return is(f.panel, k); }, panel);
}
const Figure* figureOfFooter(LineColumn column) {
    for (const Figure& f : kFigures)
        if (f.footer == column)
            return &f;
    return nullptr;
}
const Figure* figureNamed(const QString& name) {
    return find([](const Figure& f, const QString& k) { return is(f.name, k); }, name);
}
const Figure* figureOfReportLabel(const QString& label) {
    return find([](const Figure& f, const QString& k) { return is(f.reportLabel, k); }, label);
}

QString standaloneCaption(const QString& figure) {
    static const QHash<QString, QString> captions = {
        {QStringLiteral("KValue"), QStringLiteral("Paton's Constant")},
        {QStringLiteral("AVAtGel"), QStringLiteral("Acid Value at Gel")},
        {QStringLiteral("PGel"), QStringLiteral("PGel")},
        {QStringLiteral("FAv"), QStringLiteral("FAv")},
        {QStringLiteral("OilLength"), QStringLiteral("Oil Length")},
        {QStringLiteral("PercFA"), QStringLiteral("Percent FA")},
        {QStringLiteral("ExcessOH"), QStringLiteral("Excess OH")},
        {QStringLiteral("OHN"), QStringLiteral("OH Number")},
        {QStringLiteral("OHEqvMass"), QStringLiteral("OH Equivalent Mass")},
        {QStringLiteral("PercOH"), QStringLiteral("Percent OH")},
        {QStringLiteral("MolMass"), QStringLiteral("Molecular Mass")},
        {QStringLiteral("TotalMass"), QStringLiteral("Total Mass")},
        {QStringLiteral("WaterOff"), QStringLiteral("Water Off")},
        {QStringLiteral("Yield"), QStringLiteral("Yield")},
        {QStringLiteral("BatchChargeTotal"), QStringLiteral("Batch Charge")},
        {QStringLiteral("BatchWaterOff"), QStringLiteral("Batch Water Off")},
        {QStringLiteral("BatchSize"), QStringLiteral("Batch Yield")},
        {QStringLiteral("BatchPercentTotal"), QStringLiteral("Percent Charged")},
        {QStringLiteral("PercentWaterOff"), QStringLiteral("Percent Water Off")},
        {QStringLiteral("SolidsPercent"), QStringLiteral("Percent Yield")},
        {QStringLiteral("TotalMoles"), QStringLiteral("Total Moles")},
        {QStringLiteral("TotalEa"), QStringLiteral("Acid Equivalents")},
        {QStringLiteral("TotalEb"), QStringLiteral("Hydroxyl Equivalents")},
        {QStringLiteral("TotalCost"), QStringLiteral("Total Cost")},
        {QStringLiteral("CostPerMass"), QStringLiteral("Cost per Mass")},
    };
    return captions.value(figure, figure);
}
