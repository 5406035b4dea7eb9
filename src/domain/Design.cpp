#include "Design.h"

#include "Chemistry.h"
#include "EditableAmounts.h"
#include "LineConversions.h"
#include "NumberFormat.h"
#include "ResinProperties.h"
#include "Totals.h"

#include <Eigen/Dense>
#include <cmath>

namespace {

// Beyond this ratio of the largest to the smallest singular value, the solved masses carry
// fewer than four trustworthy digits: the system is as good as singular.
constexpr double kMaxCondition = 1e12;

constexpr std::array<const char*, DesignTargetCount> kCaptions = {"Oil Length (%)", "Excess OH (%)",
                                                                   "Paton's Constant", "Total Charge"};

// A condition's name inside a sentence.
QString named(DesignTarget target) {
    QString caption = designTargetCaption(target);
    return caption.endsWith(QLatin1String(" (%)")) ? caption.chopped(4) : caption;
}

QString lineName(const Recipe& recipe, int pos, const MaterialLookup& library) {
    const Line& line = recipe.lines[size_t(pos)];
    const Material* m = library.find(line.code);
    return QStringLiteral("Line %1, %2 (%3)").arg(line.item.value_or(pos + 1)).arg(line.code, m ? m->name : QString());
}

// What the condition asks of the totals, as g(totals) = 0, where g is linear in the totals but
// for Total Charge's constant: the part that scales with the masses, and the constant.
double scaling(DesignTarget target, double value, const TReactionTotals& t, double retained) {
    switch (target) {
    case DesignTarget::OilLength: // OilLength x Yield = 100 x OilMass, Yield = (Mass - Water) / retained
        return 100 * retained * t.OilMass - value * (t.TotalMass - t.WaterMass);
    case DesignTarget::ExcessOH:
        return t.TotalEb - (1 + value / 100) * t.TotalEa;
    case DesignTarget::KValue:
        return t.TotalMoles - value * t.TotalEa;
    case DesignTarget::TotalCharge:
        return t.TotalMass;
    }
    return 0;
}
double constant(DesignTarget target, double value) { return target == DesignTarget::TotalCharge ? -value : 0; }

QString countMessage(int free, int checked, bool anyFixed) {
    const QString lines = free == 1 ? QStringLiteral("1 free line needs 1 condition")
                                    : QStringLiteral("%1 free lines need %1 conditions").arg(free);
    const QString are = checked == 0   ? QStringLiteral("none is checked")
                        : checked == 1 ? QStringLiteral("1 is checked")
                                       : QStringLiteral("%1 are checked").arg(checked);
    // Only advice that helps: fixing the one free line leaves nothing to design, and a line can
    // be freed only where one is fixed.
    const QString what = checked > free ? QStringLiteral("Uncheck a condition%1.")
                                              .arg(anyFixed ? QStringLiteral(" or free a line") : QString())
                                        : QStringLiteral("Check %1 condition%2.")
                                              .arg(checked == 0 ? QStringLiteral("a") : QStringLiteral("another"),
                                                   free > 1 ? QStringLiteral(" or fix a line") : QString());
    return QStringLiteral("%1; %2. %3").arg(lines, are, what);
}

// Why conditions `rows` of `a` leave the masses open, in words: a pair that asks one thing of
// the free lines is named.
QString singularMessage(const Eigen::MatrixXd& a, const std::vector<DesignTarget>& rows) {
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t j = i + 1; j < rows.size(); ++j) {
            const Eigen::VectorXd u = a.row(Eigen::Index(i)), v = a.row(Eigen::Index(j));
            const double cosine = std::abs(u.dot(v)) / (u.norm() * v.norm());
            if (cosine > 1 - 1e-9)
                return QStringLiteral("%1 and %2 cannot both be set with these lines: with these materials, one "
                                      "follows from the other. Uncheck one of them and fix a line.")
                    .arg(named(rows[i]), named(rows[j]));
        }
    return QStringLiteral("These conditions do not fix the masses of these lines: with these materials, they "
                          "depend on one another. Check other conditions or fix other lines.");
}

} // namespace

QString designTargetCaption(DesignTarget target) { return QString::fromLatin1(kCaptions[size_t(target)]); }

double designTargetValue(DesignTarget target, const TReactionTotals& totals) {
    switch (target) {
    case DesignTarget::OilLength:
        return OilLength(totals);
    case DesignTarget::ExcessOH:
        return ExcessOH(totals);
    case DesignTarget::KValue:
        return KValue(totals);
    case DesignTarget::TotalCharge:
        return totals.TotalMass;
    }
    return 0;
}

bool designable(const Line& line, const MaterialLookup& library) {
    const Material* m = library.find(line.code);
    return m && editableAmounts(m->type, m->fa, m->fan, m->fb).mass;
}

Line lineOfMass(const Line& line, const Material* material, double mass) {
    using namespace LineConversions;
    const Material none;
    const Material& m = material ? *material : none;
    const LineAmounts a = AmountsFrom(Amount::Mass, mass, m.type, m.mwt, m.fa, m.fan, m.fb);
    const auto stored = [](double v) { return v > 0 ? std::optional<double>(v) : std::nullopt; };
    Line made = line;
    made.mass = mass;
    made.moles = stored(a.moles);
    made.ea = stored(a.ea);
    made.eb = stored(a.eb);
    return made;
}

Design designRecipe(const Recipe& recipe, const MaterialLookup& library, const DesignRequest& request) {
    Design d;
    d.recipe = recipe;
    // Lines whose mass cannot be designed are neither free nor fixed: they count as they stand.
    Recipe fixedPart{recipe.header, {}};
    bool anyMaterial = false, anyFixed = false;
    for (int pos = 0; pos < int(recipe.lines.size()); ++pos) {
        const Line& line = recipe.lines[size_t(pos)];
        const bool material = designable(line, library);
        const bool fixed = size_t(pos) < request.fixed.size() && request.fixed[size_t(pos)];
        anyMaterial |= material;
        anyFixed |= material && fixed;
        if (material && !fixed)
            d.freeLines.push_back(pos);
        else
            fixedPart.lines.push_back(line);
    }
    std::vector<DesignTarget> checked;
    for (int t = 0; t < DesignTargetCount; ++t)
        if (request.targets[size_t(t)])
            checked.push_back(DesignTarget(t));
    const auto refuse = [&](const QString& message) {
        d.message = message;
        d.masses.clear();
        d.totals = totalsOf(recipe, library);
        return d;
    };
    if (!anyMaterial)
        return refuse(QStringLiteral("The recipe has no line with a material: put the materials into the recipe "
                                     "first."));
    if (d.freeLines.empty())
        return refuse(QStringLiteral("No line is free: clear Fixed on the lines whose masses are to be designed."));
    for (int pos : d.freeLines)
        if (!(library.find(recipe.lines[size_t(pos)].code)->mwt > 0))
            return refuse(QStringLiteral("%1, has no molecular mass in the library: its mass cannot be designed. "
                                         "Mark the line Fixed, or give the material its molecular mass.")
                              .arg(lineName(recipe, pos, library)));
    const int n = int(d.freeLines.size());
    if (int(checked.size()) != n)
        return refuse(countMessage(n, int(checked.size()), anyFixed));

    // Every total is a sum over the lines, and each free line's share is its mass times its share
    // at unit mass.
    const TReactionTotals fixedTotals = totalsOf(fixedPart, library);
    std::vector<TReactionTotals> unit;
    unit.reserve(size_t(n));
    for (int pos : d.freeLines) {
        const Line& line = recipe.lines[size_t(pos)];
        unit.push_back(totalsOf({recipe.header, {lineOfMass(line, library.find(line.code), 1)}}, library));
    }
    const auto carries = [&](double TReactionTotals::*total) {
        if (fixedTotals.*total != 0)
            return true;
        for (const TReactionTotals& u : unit)
            if (u.*total != 0)
                return true;
        return false;
    };
    const auto target = [&](DesignTarget t) { return *request.targets[size_t(t)]; };
    const auto isChecked = [&](DesignTarget t) { return request.targets[size_t(t)].has_value(); };
    // Targets no recipe has, said of the target rather than blamed on a line.
    if (isChecked(DesignTarget::OilLength) && !(target(DesignTarget::OilLength) >= 0 && target(DesignTarget::OilLength) < 100))
        return refuse(QStringLiteral("Oil Length (%) must be at least 0 and less than 100."));
    if (isChecked(DesignTarget::ExcessOH) && !(target(DesignTarget::ExcessOH) > -100))
        return refuse(QStringLiteral("Excess OH (%) must be more than -100."));
    for (DesignTarget t : {DesignTarget::KValue, DesignTarget::TotalCharge})
        if (isChecked(t) && !(target(t) > 0))
            return refuse(QStringLiteral("%1 must be more than 0.").arg(designTargetCaption(t)));
    const double retained = 1 - Chemistry::Water * fixedTotals.TargetAV / Chemistry::KOH;
    if (isChecked(DesignTarget::OilLength) && !(retained > 1e-12))
        return refuse(QStringLiteral("At an acid value of %1 no resin is left to weigh: Oil Length cannot be set.")
                          .arg(NumberFormat::general(fixedTotals.TargetAV)));
    if (isChecked(DesignTarget::OilLength) && !carries(&TReactionTotals::OilMass))
        return refuse(isChecked(DesignTarget::TotalCharge)
                          ? QStringLiteral("Oil Length and Total Charge cannot both be set with these lines: no line "
                                           "carries oil.")
                          : QStringLiteral("Oil Length cannot be set with these lines: no line carries oil."));
    for (DesignTarget t : {DesignTarget::ExcessOH, DesignTarget::KValue})
        if (isChecked(t) && !carries(&TReactionTotals::TotalEa))
            return refuse(QStringLiteral("%1 cannot be set with these lines: no line carries acid groups.")
                              .arg(named(t)));
    if (!isChecked(DesignTarget::TotalCharge) && !(fixedTotals.TotalMass != 0))
        return refuse(QStringLiteral("Nothing sets the size of the batch: check Total Charge, or fix a line that "
                                     "has its mass."));

    Eigen::MatrixXd a(n, n);
    Eigen::VectorXd b(n);
    for (int i = 0; i < n; ++i) {
        const DesignTarget t = checked[size_t(i)];
        for (int j = 0; j < n; ++j)
            a(i, j) = scaling(t, target(t), unit[size_t(j)], retained);
        b(i) = -(scaling(t, target(t), fixedTotals, retained) + constant(t, target(t)));
        // Each condition in its own units: scaled to its largest coefficient, the condition
        // number says how far the masses can be trusted, not how the units compare.
        const double largest = a.row(i).cwiseAbs().maxCoeff();
        if (!(largest > 0))
            return refuse(QStringLiteral("%1 cannot be set with these lines: no free line changes it.")
                              .arg(named(t)));
        a.row(i) /= largest;
        b(i) /= largest;
    }
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(a);
    const Eigen::VectorXd& sv = svd.singularValues();
    if (!(sv(n - 1) > 0) || sv(0) / sv(n - 1) > kMaxCondition)
        return refuse(singularMessage(a, checked));
    const Eigen::VectorXd x = a.fullPivLu().solve(b);

    const double scale = x.cwiseAbs().maxCoeff();
    for (int j = 0; j < n; ++j) {
        if (!std::isfinite(x(j)))
            return refuse(singularMessage(a, checked));
        if (request.maxMass && x(j) > *request.maxMass)
            return refuse(QStringLiteral("%1, would need a mass of %2, more than a line holds (%3): these targets "
                                         "cannot be reached with these materials.")
                              .arg(lineName(recipe, d.freeLines[size_t(j)], library),
                                   NumberFormat::format(x(j), QStringLiteral("0.0")),
                                   NumberFormat::general(*request.maxMass)));
        // A mass within rounding of nothing is nothing.
        if (x(j) <= 1e-9 * scale) {
            const QString shown = NumberFormat::format(x(j), QStringLiteral("0.0"));
            const QString need = shown.startsWith(QLatin1Char('-')) ? QStringLiteral("a negative mass (%1)").arg(shown)
                                                                    : QStringLiteral("no mass at all");
            return refuse(QStringLiteral("%1, would need %2: these targets cannot be reached with these materials.")
                              .arg(lineName(recipe, d.freeLines[size_t(j)], library), need));
        }
    }
    for (int j = 0; j < n; ++j) {
        const int pos = d.freeLines[size_t(j)];
        Line& line = d.recipe.lines[size_t(pos)];
        line = lineOfMass(line, library.find(line.code), x(j));
        d.masses.push_back(x(j));
    }
    d.totals = totalsOf(d.recipe, library);
    d.solved = true;
    return d;
}
