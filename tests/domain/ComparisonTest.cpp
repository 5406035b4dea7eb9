// Two recipes compared as values: lines matched by code (a material on two lines matched in
// order), lines only one side has, and differences that agree with the two figures as shown.
#include "domain/Comparison.h"
#include "domain/Figures.h"
#include "domain/LineConversions.h"
#include "domain/NumberFormat.h"
#include "domain/Totals.h"
#include "support/Materials.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

const MaterialList& library() {
    static const MaterialList list({material("ANH", MaterialType::Acid, 148.12, 0, 1, 0, 1.1),
                                    material("TRIOL", MaterialType::Base, 92.09, 0, 0, 3, 1.0),
                                    material("SOY", MaterialType::Oil, 874, 0, 0, 0, 1.2),
                                    material("PE", MaterialType::Base, 136.15, 0, 0, 4, 1.75)});
    return list;
}

Recipe recipe(std::vector<std::pair<QString, double>> masses) {
    Recipe r;
    r.header = {"Alkyd", "C", "Compared", 10.0, 60.0, 1000.0, {}};
    int item = 0;
    for (const auto& [code, mass] : masses) {
        Line l;
        l.item = ++item;
        l.code = code;
        l.mass = mass;
        LineConversions::reworkFromMass(l, *library().find(code));
        r.lines.push_back(l);
    }
    return r;
}

const Comparison::FigureRow& figure(const Comparison& c, const char* name) {
    for (const Comparison::FigureRow& f : c.figures)
        if (f.name == QLatin1String(name))
            return f;
    throw std::out_of_range(name);
}

class Compare : public ::testing::TestWithParam<QLocale::Language> {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(GetParam(), GetParam() == QLocale::German ? QLocale::Germany : QLocale::AnyTerritory)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    static QString loc(QString s) { return s.replace(u'.', QLocale().decimalPoint()); }
};

TEST_P(Compare, LinesAreMatchedByCodeInOrderAndEachSideKeepsWhatTheOtherLacks) {
    // Soya on two lines in the first; in the second one soya line, no PE, glycerol added.
    const Recipe first = recipe({{"SOY", 400}, {"PE", 130}, {"SOY", 250}, {"ANH", 220}});
    const Recipe second = recipe({{"ANH", 220.5}, {"SOY", 390.25}, {"TRIOL", 95}});
    const Comparison c = compareRecipes(first, second, library());
    ASSERT_EQ(c.lines.size(), 5u);
    using C = Comparison::Change;
    EXPECT_EQ(c.lines[0].code, "SOY");
    EXPECT_EQ(c.lines[0].second, loc("390.250"));
    EXPECT_EQ(c.lines[0].difference, loc("-9.750"));
    EXPECT_EQ(c.lines[0].change, C::Changed);
    EXPECT_EQ(c.lines[1].code, "PE");
    EXPECT_EQ(c.lines[1].change, C::OnlyFirst);
    EXPECT_TRUE(c.lines[1].second.isEmpty());
    EXPECT_EQ(c.lines[2].code, "SOY") << "the second soya line has none to match";
    EXPECT_EQ(c.lines[2].change, C::OnlyFirst);
    EXPECT_EQ(c.lines[3].code, "ANH");
    EXPECT_EQ(c.lines[3].difference, loc("+0.500"));
    EXPECT_EQ(c.lines[4].code, "TRIOL");
    EXPECT_EQ(c.lines[4].change, C::OnlySecond);
    EXPECT_EQ(c.lines[4].second, loc("95.000"));
}

TEST_P(Compare, EveryFigureIsShownAsTheWindowWritesItWithTheDifferenceOfWhatIsShown) {
    const Recipe first = recipe({{"SOY", 650}, {"PE", 130}, {"ANH", 220}});
    const Recipe second = recipe({{"SOY", 650}, {"PE", 131}, {"ANH", 220}});
    const Comparison c = compareRecipes(first, second, library());
    const TReactionTotals a = figuresOf(first, library()), b = figuresOf(second, library());
    size_t withPicture = 0;
    for (const Figure& f : figures())
        withPicture += (f.panelFormat || f.reportFormat || f.footerFormat) ? 1 : 0;
    EXPECT_EQ(c.figures.size(), withPicture);
    const Figure& k = *figureOfPanel("PnlKValue");
    EXPECT_EQ(figure(c, "KValue").first, k.panelText(a));
    EXPECT_EQ(figure(c, "KValue").second, k.panelText(b));
    EXPECT_EQ(figure(c, "KValue").caption, "Paton's Constant");
    for (const Comparison::FigureRow& f : c.figures) {
        const QString suffix = f.first.endsWith(" %") ? QStringLiteral(" %") : QString();
        double x = 0, y = 0, d = 0;
        ASSERT_TRUE(NumberFormat::parse(f.first.chopped(suffix.size()), &x)) << f.name.toStdString();
        ASSERT_TRUE(NumberFormat::parse(f.second.chopped(suffix.size()), &y)) << f.name.toStdString();
        if (f.first == f.second) {
            EXPECT_TRUE(f.difference.isEmpty()) << f.name.toStdString();
            EXPECT_EQ(f.change, Comparison::Change::Same);
            continue;
        }
        // The difference is that of the two shown figures, to their last digit, with its sign.
        ASSERT_TRUE(NumberFormat::parse(QString(f.difference).remove(u'+').chopped(suffix.size()), &d))
            << f.name.toStdString() << " " << f.difference.toStdString();
        EXPECT_NEAR(d, y - x, 1e-9) << f.name.toStdString();
        EXPECT_EQ(f.difference.startsWith(u'+'), y > x) << f.name.toStdString();
        EXPECT_TRUE(f.difference.endsWith(suffix));
    }
    EXPECT_EQ(figure(c, "TotalMass").difference, loc("+1.00"));
    // The headers are the same: nothing differs there.
    ASSERT_EQ(c.header.size(), 4u);
    for (const Comparison::FigureRow& h : c.header)
        EXPECT_EQ(h.change, Comparison::Change::Same) << h.name.toStdString();
    EXPECT_EQ(c.firstGel.level, AssessGel(a).level);
    EXPECT_EQ(c.secondGel.brief, AssessGel(b).brief);
}

TEST_P(Compare, FiguresThatRoundApartDifferByWhatIsShownNotByWhatIsHeld) {
    // Total masses 1000.004 and 1000.006 show as 1000.00 and 1000.01: one hundredth apart.
    const Recipe first = recipe({{"SOY", 650}, {"PE", 130.004}, {"ANH", 220}});
    const Recipe second = recipe({{"SOY", 650}, {"PE", 130.006}, {"ANH", 220}});
    const Comparison c = compareRecipes(first, second, library());
    EXPECT_EQ(figure(c, "TotalMass").first, loc("1000.00"));
    EXPECT_EQ(figure(c, "TotalMass").second, loc("1000.01"));
    EXPECT_EQ(figure(c, "TotalMass").difference, loc("+0.01"));
    EXPECT_EQ(c.lines[1].difference, loc("+0.002"));
    // Headers that differ say so: the target acid value by what is shown, a description changed.
    Recipe cooked = second;
    cooked.header.av = 12.04;
    cooked.header.description = "Cooked further";
    const Comparison h = compareRecipes(first, cooked, library());
    EXPECT_EQ(h.header[0].difference, "changed");
    EXPECT_EQ(h.header[1].caption, "Target Acid Value");
    EXPECT_EQ(h.header[1].second, loc("12.0"));
    EXPECT_EQ(h.header[1].difference, loc("+2.0"));
    EXPECT_EQ(h.header[3].change, Comparison::Change::Same);
    // A recipe beside itself: nothing differs.
    const Comparison same = compareRecipes(first, first, library());
    for (const Comparison::LineRow& l : same.lines)
        EXPECT_EQ(l.change, Comparison::Change::Same);
    for (const Comparison::FigureRow& f : same.figures)
        EXPECT_TRUE(f.difference.isEmpty()) << f.name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Locales, Compare, ::testing::Values(QLocale::C, QLocale::German),
                         [](const auto& info) { return info.param == QLocale::C ? std::string("C") : std::string("de_DE"); });

} // namespace
