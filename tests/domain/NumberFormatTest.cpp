#include "domain/NumberFormat.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

struct Case {
    double value;
    const char* picture;
    const char* expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.value << " as " << c.picture; }

class Pictures : public ::testing::TestWithParam<Case> {};

TEST_P(Pictures, ShowTheRoundedDecimalValue) {
    const Case& c = GetParam();
    EXPECT_EQ(NumberFormat::format(c.value, c.picture).toStdString(), c.expected)
        << c.value << " with " << c.picture;
}

INSTANTIATE_TEST_SUITE_P(
    NumberFormat, Pictures,
    ::testing::Values(
        // Half away from zero on the decimal value the user sees, not on the binary one.
        Case{2.675, "0.00", "2.68"}, Case{950.5, "#", "951"}, Case{-11.382, "0.0", "-11.4"},
        Case{-0.05, "0.0", "-0.1"}, Case{1.005, "0.00", "1.01"}, Case{0.125, "0.00", "0.13"},
        // Digits always shown and digits shown when significant.
        Case{8, "0.0", "8.0"}, Case{2.5, "0.##", "2.5"}, Case{3, "0.##", "3"},
        Case{12.5, "0.##", "12.5"}, Case{12.5, "0.00", "12.50"}, Case{92.094, "####.0", "92.1"},
        Case{0.5, "####.0", ".5"}, Case{0, "#", ""}, Case{12, "#", "12"}, Case{0.4, "#", ""},
        Case{0.6, "#", "1"}, Case{1.5, "0.0#", "1.5"}, Case{1.456, "0.0#", "1.46"},
        Case{0, "0.000", "0.000"}, Case{0.0004, "0.000", "0.000"}, Case{0.0005, "0.000", "0.001"},
        Case{999.96, "0.0", "1000.0"}, Case{99999.9996, "0.000", "100000.000"},
        Case{-0.0001, "0.00", "0.00"}, Case{1234567.891, "0.00", "1234567.89"},
        Case{0.05, "0.000", "0.050"}, Case{5e-7, "0.0000", "0.0000"},
        // No thousands separator unless the picture asks for one.
        Case{1234.5, "#,##0.0", "1,234.5"}, Case{-3, "0.0;(0.0)", "(3.0)"},
        Case{0, "0.0;-0.0;'zero'", "zero"}));

TEST(NumberFormat, GeneralFormatShowsFifteenSignificantDigits) {
    EXPECT_EQ(NumberFormat::general(0).toStdString(), "0");
    EXPECT_EQ(NumberFormat::general(1.5).toStdString(), "1.5");
    EXPECT_EQ(NumberFormat::general(0.1 + 0.2).toStdString(), "0.3");
    EXPECT_EQ(NumberFormat::general(148.12).toStdString(), "148.12");
    EXPECT_EQ(NumberFormat::general(100000).toStdString(), "100000");
    EXPECT_EQ(NumberFormat::general(-5).toStdString(), "-5");
    EXPECT_EQ(NumberFormat::general(1.0 / 3).toStdString(), "0.333333333333333");
    EXPECT_EQ(NumberFormat::general(0.0001).toStdString(), "0.0001");
    EXPECT_EQ(NumberFormat::general(0.00001).toStdString(), "1E-5");
    EXPECT_EQ(NumberFormat::general(1e15).toStdString(), "1E15");
    EXPECT_EQ(NumberFormat::general(123456789012345).toStdString(), "123456789012345");
}

TEST(NumberFormat, ParsesTypedNumbersAndRefusesTheRest) {
    double v = 0;
    EXPECT_TRUE(NumberFormat::parse("12.5", &v));
    EXPECT_DOUBLE_EQ(v, 12.5);
    EXPECT_TRUE(NumberFormat::parse(" -3 ", &v));
    EXPECT_DOUBLE_EQ(v, -3);
    EXPECT_TRUE(NumberFormat::parse("1e3", &v));
    EXPECT_DOUBLE_EQ(v, 1000);
    for (const char* bad : {"", "abc", "12a", "1,000", "inf", "nan", "1.2.3"})
        EXPECT_FALSE(NumberFormat::parse(bad, &v)) << bad;
}

// Under a decimal comma the point is no separator at all: "1.234" is refused rather than read as
// a value a thousand times too small (or too large).
TEST(NumberFormat, ReadsOnlyTheLocalesDecimalSeparator) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    double v = 0;
    EXPECT_TRUE(NumberFormat::parse("1,5", &v));
    EXPECT_DOUBLE_EQ(v, 1.5);
    for (const char* bad : {"1.234", "1.5", "1.234,5"})
        EXPECT_FALSE(NumberFormat::parse(bad, &v)) << bad;
    EXPECT_EQ(NumberFormat::format(1234.5, "0.00").toStdString(), "1234,50");
    QLocale::setDefault(before);
}

} // namespace
