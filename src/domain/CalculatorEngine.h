#pragma once

#include <QChar>
#include <QString>
#include <optional>

// The arithmetic of the pocket calculator, apart from any drawing: registers in extended
// precision, the entry being typed, the pending operator, the memory and the error state. A
// press either does what its button does or is refused (the caller beeps).
class CalculatorEngine {
public:
    enum class Button {
        D0, D1, D2, D3, D4, D5, D6, D7, D8, D9,
        Decimal, Plus, Minus, Times, Divide, Equals, Percent, Sqrt, Reciprocal, Negate,
        Back, ClearEntry, Clear, MC, MR, MS, MPlus, MMinus
    };

    // `decimalSeparator` is the user's, as the display shows it and the keyboard types it.
    explicit CalculatorEngine(QChar decimalSeparator = u'.');

    // Performs a button; false when it was refused because of the error state.
    bool press(Button button);
    // Clears and feeds the digits, operators and separators of `text` as if typed.
    void paste(const QString& text);
    // The button a typed character stands for, if any.
    std::optional<Button> buttonFor(QChar c) const;

    // What the display shows, with its trailing blank.
    const QString& display() const { return m_display; }
    bool error() const { return m_error; }
    bool memoryIsZero() const { return m_memory == 0; }
    QChar decimalSeparator() const { return m_separator; }

    // A value as the display shows it: 15 significant digits at most, fixed notation from 1E-4
    // up to 1E15, exponent notation beyond ("1.5E20", "2E-5"); no trailing blank.
    static QString format(long double value, QChar separator);

private:
    enum class Op { None, Plus, Minus, Times, Divide };

    void clearAll();
    void compute();
    void fail();
    void showValue(long double value);
    void showEntry();
    // The entry read as a number with the entry's sign; fails beyond the range.
    long double entryValue();
    void typeDigit(int digit);
    void typeSeparator();

    QChar m_separator;
    long double m_accumulator = 0;
    long double m_current = 0;
    long double m_memory = 0;
    Op m_pending = Op::None;
    QString m_entry = QStringLiteral("0"); // digits and '.', whatever the user's separator
    bool m_negative = false;
    bool m_newEntry = true;
    bool m_typing = false; // the display shows the entry being typed, not a result
    bool m_error = false;
    std::optional<Button> m_last;
    QString m_display;
};
