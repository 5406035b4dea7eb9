#include "domain/CalculatorEngine.h"

#include <QStringList>
#include <gtest/gtest.h>

using Button = CalculatorEngine::Button;

namespace {

// Presses the buttons named in `keys`, separated by blanks: digits and ".", "+", "-", "*",
// "/", "=", "%" as typed, and "Sqrt", "1/x", "+/-", "Back", "CE", "C", "MC", "MR", "MS", "M+",
// "M-" by caption. Returns how many presses were refused.
int run(CalculatorEngine& c, const QString& keys) {
    static const std::pair<const char*, Button> named[] = {
        {"Sqrt", Button::Sqrt}, {"1/x", Button::Reciprocal}, {"+/-", Button::Negate}, {"Back", Button::Back},
        {"CE", Button::ClearEntry}, {"C", Button::Clear}, {"MC", Button::MC}, {"MR", Button::MR},
        {"MS", Button::MS}, {"M+", Button::MPlus}, {"M-", Button::MMinus}};
    int refused = 0;
    for (const QString& key : keys.split(u' ', Qt::SkipEmptyParts)) {
        std::optional<Button> b;
        for (const auto& [name, button] : named)
            if (key == QLatin1String(name))
                b = button;
        if (!b && key.size() == 1)
            b = c.buttonFor(key[0]);
        EXPECT_TRUE(b.has_value()) << key.toStdString();
        if (b && !c.press(*b))
            ++refused;
    }
    return refused;
}

std::string shown(const QString& keys, QChar separator = u'.') {
    CalculatorEngine c(separator);
    run(c, keys);
    return c.display().toStdString();
}

} // namespace

TEST(CalculatorEngine, StartsAtZero) {
    EXPECT_EQ(CalculatorEngine().display(), "0 ");
    EXPECT_TRUE(CalculatorEngine().memoryIsZero());
}

TEST(CalculatorEngine, TheEdgeCasesOfTheKeys) {
    EXPECT_EQ(shown("5 * + 3 ="), "3 ") << "the times applied to 0";
    EXPECT_EQ(shown("2 + 3 = 4"), "4 ");
    EXPECT_EQ(shown("2 + 3 = 4 ="), "4 ") << "a digit after = starts anew";
    EXPECT_EQ(shown("5 +/- 3"), "-53 ");
    EXPECT_EQ(shown("5 +/- 3 Back"), "-5 ");
    EXPECT_EQ(shown("1 2 MS . 5"), "0.5 ");
    EXPECT_EQ(shown("5 Back ."), "0. ");
    EXPECT_EQ(shown("9 Sqrt"), "3 ");
    EXPECT_EQ(shown("9 Sqrt 5"), "5 ");
    EXPECT_EQ(shown("0 0 7"), "7 ");
    EXPECT_EQ(shown("0 . 0 7"), "0.07 ");
    EXPECT_EQ(shown("5 0 + 1 0 %"), "55 ");
    EXPECT_EQ(shown("5 0 * 1 0 %"), "5 ");
    EXPECT_EQ(shown("1 0 %"), "0.1 ");
    EXPECT_EQ(shown("4 1/x"), "0.25 ");
    EXPECT_EQ(shown("1 2 3 CE"), "0 ");
    EXPECT_EQ(shown("1 2 3 CE 4 + 1 ="), "5 ");
    EXPECT_EQ(shown("8 - 1 0 ="), "-2 ");
    EXPECT_EQ(shown("6 / 4 = ="), "1.5 ");
    EXPECT_EQ(shown("7 = +/-"), "-7 ") << "a result is negated as a value";
    EXPECT_EQ(shown("5 = +/- 3"), "-3 ") << "the negated result's sign goes on; no leading zero";
    EXPECT_EQ(shown("2 - 5 = . 5"), "-0.5 ") << "the separator keeps the sign of the value";
    EXPECT_EQ(shown("5 +/- = . 5"), "-0.5 ");
}

TEST(CalculatorEngine, TheDisplayRule) {
    EXPECT_EQ(shown("1 / 3 ="), "0.333333333333333 ");
    EXPECT_EQ(shown("1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"), "1000000000000000 ") << "as typed";
    EXPECT_EQ(shown("1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ="), "1E15 ");
    EXPECT_EQ(CalculatorEngine::format(1.5e20L, u'.'), "1.5E20");
    EXPECT_EQ(CalculatorEngine::format(2e-5L, u'.'), "2E-5");
    EXPECT_EQ(CalculatorEngine::format(1e-4L, u'.'), "0.0001");
    EXPECT_EQ(CalculatorEngine::format(-123456.789L, u','), "-123456,789");
    EXPECT_EQ(CalculatorEngine::format(999999999999999.9L, u'.'), "1E15") << "rounded to 15 digits";
    EXPECT_EQ(CalculatorEngine::format(2.0L / 3, u'.'), "0.666666666666667");
    // The user's separator is typed and shown.
    EXPECT_EQ(shown("1 , 5 * 2 =", u','), "3 ");
    EXPECT_EQ(shown("1 . 2 5", u','), "1,25 ");
}

TEST(CalculatorEngine, FailuresEnterTheErrorStateUntilClear) {
    CalculatorEngine c;
    EXPECT_EQ(run(c, "7 / 0 ="), 0);
    EXPECT_EQ(c.display(), "****** ");
    EXPECT_EQ(run(c, "5 ="), 2) << "refused with a beep";
    EXPECT_EQ(c.display(), "****** ");
    run(c, "C");
    EXPECT_EQ(c.display(), "0 ");
    EXPECT_FALSE(c.error());
    for (const char* keys : {"5 / +", "0 1/x", "2 +/- Sqrt", "0 / 0 ="})
        EXPECT_EQ(shown(keys), "****** ") << keys;
    // Beyond extended precision.
    CalculatorEngine big;
    run(big, "9 9 9 9 9 9 9 9 9 9 MS");
    for (int i = 0; i < 500; ++i)
        run(big, "MR * MR = MS");
    EXPECT_TRUE(big.error());
}

TEST(CalculatorEngine, TheMemoryOutlivesClearAndGreysWhenZero) {
    CalculatorEngine c;
    run(c, "5 M+ 3 M+ C");
    EXPECT_FALSE(c.memoryIsZero());
    run(c, "MR");
    EXPECT_EQ(c.display(), "8 ");
    run(c, "2 M- MR");
    EXPECT_EQ(c.display(), "6 ");
    run(c, "0 MS");
    EXPECT_TRUE(c.memoryIsZero()) << "storing 0 greys MC and MR again";
    run(c, "4 MS MC");
    EXPECT_TRUE(c.memoryIsZero());
}

TEST(CalculatorEngine, ALongPasteStaysQuick) {
    CalculatorEngine c;
    c.paste("0." + QString(100000, u'0') + "1*2=");
    EXPECT_EQ(c.display(), "0 ") << "digits beyond any precision change nothing";
    c.paste(QString(6000, u'9'));
    EXPECT_EQ(c.display(), "****** ") << "an integer beyond the range";
}

TEST(CalculatorEngine, PasteClearsAndTypesWhatItCan) {
    CalculatorEngine c;
    run(c, "7 / 0 =");
    c.paste(QStringLiteral("12.5 * 2 = (total)"));
    EXPECT_EQ(c.display(), "25 ") << "letters skipped; the error state ends";
    c.paste(QString());
    EXPECT_EQ(c.display(), "25 ") << "an empty clipboard changes nothing";
    CalculatorEngine comma(u',');
    comma.paste(QStringLiteral("1,5+1.5="));
    EXPECT_EQ(comma.display(), "3 ");
}
