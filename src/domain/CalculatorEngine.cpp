#include "CalculatorEngine.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

using Button = CalculatorEngine::Button;

// An integer part this long is already beyond the range and refused; fraction digits this far
// out no longer change the value.
static constexpr int MaxEntry = 5000;

CalculatorEngine::CalculatorEngine(QChar decimalSeparator) : m_separator(decimalSeparator) { clearAll(); }

QString CalculatorEngine::format(long double value, QChar separator) {
    if (value == 0)
        return QStringLiteral("0");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14Le", std::fabs(value));
    // "d.dddddddddddddde±x": fifteen significant digits, already rounded.
    const QString text = QString::fromLatin1(buffer);
    const int e = int(text.indexOf(u'e'));
    QString digits = text.left(e).remove(u'.');
    const int exponent = text.mid(e + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    QString shown;
    if (exponent >= -4 && exponent < 15) {
        if (exponent >= 0) {
            QString whole = digits.left(exponent + 1);
            whole = whole.leftJustified(exponent + 1, u'0');
            const QString fraction = digits.mid(exponent + 1);
            shown = fraction.isEmpty() ? whole : whole + separator + fraction;
        } else {
            shown = QStringLiteral("0") + separator + QString(-exponent - 1, u'0') + digits;
        }
    } else {
        shown = digits.left(1);
        if (digits.size() > 1)
            shown += separator + digits.mid(1);
        shown += u'E' + QString::number(exponent);
    }
    return value < 0 ? u'-' + shown : shown;
}

void CalculatorEngine::showValue(long double value) {
    m_display = format(value, m_separator) + u' ';
    m_typing = false;
}

void CalculatorEngine::showEntry() {
    QString entry = m_entry;
    entry.replace(u'.', m_separator);
    m_display = (m_negative ? QStringLiteral("-") : QString()) + entry + u' ';
    m_typing = true;
}

void CalculatorEngine::fail() {
    m_error = true;
    m_display = QStringLiteral("****** ");
}

long double CalculatorEngine::entryValue() {
    const QByteArray text = m_entry.toLatin1();
    const long double v = text.isEmpty() ? 0.0L : std::strtold(text.constData(), nullptr);
    return m_negative ? -v : v;
}

void CalculatorEngine::clearAll() {
    m_accumulator = m_current = 0;
    m_pending = Op::None;
    m_entry = QStringLiteral("0");
    m_negative = false;
    m_newEntry = true;
    m_error = false;
    showValue(0);
}

void CalculatorEngine::compute() {
    if (m_error)
        return;
    long double r = m_current;
    switch (m_pending) {
    case Op::None: break;
    case Op::Plus: r = m_accumulator + m_current; break;
    case Op::Minus: r = m_accumulator - m_current; break;
    case Op::Times: r = m_accumulator * m_current; break;
    case Op::Divide: r = m_current == 0 ? NAN : m_accumulator / m_current; break;
    }
    if (!std::isfinite(r)) {
        fail();
        return;
    }
    m_accumulator = r;
    showValue(r);
    m_entry = QStringLiteral("0");
    m_current = 0;
}

void CalculatorEngine::typeDigit(int digit) {
    if (m_last == Button::Equals)
        clearAll();
    if (m_newEntry || m_entry.isEmpty()) {
        m_entry.clear();
        m_negative = false;
    }
    // Far beyond what extended precision holds: further digits change nothing but would make
    // every keystroke (and a long paste) slower.
    if (m_entry.size() >= MaxEntry)
        return;
    if (m_entry == QLatin1String("0"))
        m_entry.clear(); // leading zeros are dropped
    m_entry += QChar(u'0' + digit);
    const long double v = entryValue();
    if (!std::isfinite(v)) {
        fail();
        return;
    }
    m_current = v;
    if (v == 0 && !m_entry.contains(u'.')) {
        m_entry = QStringLiteral("0");
        showValue(0);
        m_newEntry = true;
    } else {
        showEntry();
        m_newEntry = false;
    }
}

void CalculatorEngine::typeSeparator() {
    if (m_entry.contains(u'.'))
        return;
    if (m_newEntry || m_entry.isEmpty()) {
        m_entry = QStringLiteral("0");
        m_negative = false;
    }
    m_entry += u'.';
    m_current = entryValue();
    showEntry();
    m_newEntry = false;
}

bool CalculatorEngine::press(Button b) {
    if (b == Button::Clear) {
        clearAll();
        m_last = b;
        return true;
    }
    if (m_error)
        return false;
    const auto binary = [this](Op op) {
        compute();
        m_pending = op;
        m_newEntry = true;
    };
    const auto unary = [this](long double v) {
        if (!std::isfinite(v)) {
            fail();
            return;
        }
        m_current = v;
        m_negative = v < 0;
        showValue(v);
        m_entry.clear();
    };
    switch (b) {
    case Button::Decimal: typeSeparator(); break;
    case Button::Plus: binary(Op::Plus); break;
    case Button::Minus: binary(Op::Minus); break;
    case Button::Times: binary(Op::Times); break;
    case Button::Divide: binary(Op::Divide); break;
    case Button::Equals:
        compute();
        m_current = m_accumulator;
        m_negative = m_current < 0;
        m_pending = Op::None;
        m_newEntry = false;
        break;
    case Button::Percent:
        m_current = (m_pending == Op::Plus || m_pending == Op::Minus) ? m_current / 100 * m_accumulator
                                                                      : m_current / 100;
        compute();
        m_current = m_accumulator;
        m_negative = m_current < 0;
        m_pending = Op::None;
        m_newEntry = true;
        break;
    case Button::Negate:
        m_current = -m_current;
        m_negative = !m_negative;
        // The number being typed goes on with its new sign; a result is shown negated.
        if (m_typing)
            showEntry();
        else
            showValue(m_current);
        break;
    case Button::Reciprocal: unary(m_current == 0 ? NAN : 1 / m_current); break;
    case Button::Sqrt: unary(m_current < 0 ? NAN : std::sqrt(m_current)); break;
    case Button::Back:
        if (m_entry.size() <= 1) {
            m_current = 0;
            showValue(0);
            m_newEntry = true;
        } else {
            m_entry.chop(1);
            m_current = entryValue();
            showEntry();
        }
        break;
    case Button::ClearEntry:
        m_entry.clear();
        m_current = 0;
        m_negative = false;
        showValue(0);
        break;
    case Button::MC: m_memory = 0; break;
    case Button::MR:
        m_current = m_memory;
        m_negative = m_memory < 0;
        showValue(m_memory);
        m_newEntry = true;
        break;
    case Button::MS:
        m_memory = m_current;
        m_newEntry = true;
        break;
    case Button::MPlus:
    case Button::MMinus: {
        const long double sum = b == Button::MPlus ? m_memory + m_current : m_memory - m_current;
        m_newEntry = true;
        if (!std::isfinite(sum)) {
            m_memory = 0;
            fail();
        } else {
            m_memory = sum;
        }
        break;
    }
    default: typeDigit(int(b) - int(Button::D0)); break;
    }
    m_last = b;
    return true;
}

std::optional<Button> CalculatorEngine::buttonFor(QChar c) const {
    if (c.isDigit() && c.unicode() < 128)
        return Button(int(Button::D0) + (c.unicode() - u'0'));
    if (c == u'.' || c == m_separator)
        return Button::Decimal;
    switch (c.unicode()) {
    case u'+': return Button::Plus;
    case u'-': return Button::Minus;
    case u'*': return Button::Times;
    case u'/': return Button::Divide;
    case u'=': return Button::Equals;
    case u'%': return Button::Percent;
    case u'@': return Button::Sqrt;
    case u'r': return Button::Reciprocal;
    default: return std::nullopt;
    }
}

void CalculatorEngine::paste(const QString& text) {
    if (text.isEmpty())
        return;
    clearAll();
    m_last.reset();
    for (QChar c : text) {
        // Paste feeds what a number and its arithmetic are made of; "@" and "r" are keys only.
        if (c == u'@' || c == u'r')
            continue;
        if (const auto b = buttonFor(c))
            press(*b);
    }
}
