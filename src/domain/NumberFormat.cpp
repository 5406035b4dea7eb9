#include "domain/NumberFormat.h"

#include <QLocale>
#include <QStringList>
#include <cmath>
#include <cstdio>

namespace NumberFormat {

namespace {

// The value as the user reads it: 15 significant decimal digits and the position of the point.
struct Decimal {
    QString digits; // 15 digits, d1 is the first significant one
    int pointPos = 0; // value = 0.d1d2... * 10^pointPos
    bool negative = false;
    bool zero = true;
};

Decimal toDecimal(double value) {
    Decimal d;
    d.negative = std::signbit(value);
    if (value == 0 || !std::isfinite(value))
        return d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    // "d.dddddddddddddde+XX"
    const QString s = QString::fromLatin1(buf);
    const qsizetype e = s.indexOf(u'e');
    d.digits = s.left(1) + s.mid(2, e - 2);
    d.pointPos = s.mid(e + 1).toInt() + 1;
    d.zero = false;
    return d;
}

struct Picture {
    QString prefix, suffix;
    int intMin = 0;
    int fracMin = 0;
    int fracMax = 0;
    bool thousands = false;
};

Picture parsePicture(const QString& pic) {
    Picture p;
    qsizetype first = -1, last = -1;
    bool inQuote = false;
    QChar quote;
    for (qsizetype i = 0; i < pic.size(); ++i) {
        const QChar c = pic[i];
        if (inQuote) {
            if (c == quote)
                inQuote = false;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            inQuote = true;
            quote = c;
            continue;
        }
        if (c == u'0' || c == u'#' || c == u'.' || c == u',') {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    auto literal = [](const QString& text) {
        QString out;
        bool q = false;
        QChar quote;
        for (QChar c : text) {
            if (q) {
                if (c == quote)
                    q = false;
                else
                    out += c;
            } else if (c == u'"' || c == u'\'') {
                q = true;
                quote = c;
            } else {
                out += c;
            }
        }
        return out;
    };
    if (first < 0) {
        p.prefix = literal(pic);
        return p;
    }
    p.prefix = literal(pic.left(first));
    p.suffix = literal(pic.mid(last + 1));
    const QString body = pic.mid(first, last - first + 1);
    const qsizetype point = body.indexOf(u'.');
    const QString intPart = point < 0 ? body : body.left(point);
    const QString fracPart = point < 0 ? QString() : body.mid(point + 1);
    p.thousands = intPart.contains(u',');
    // Digits shown always are those from the first 0 to the point.
    const qsizetype firstZero = intPart.indexOf(u'0');
    if (firstZero >= 0)
        p.intMin = int(intPart.mid(firstZero).count(u'0') + intPart.mid(firstZero).count(u'#'));
    for (QChar c : fracPart) {
        if (c == u'0') {
            ++p.fracMax;
            p.fracMin = p.fracMax;
        } else if (c == u'#') {
            ++p.fracMax;
        }
    }
    return p;
}

// Rounds the decimal to `decimals` places, half away from zero; returns integer and fraction
// digit strings.
void roundDecimal(const Decimal& d, int decimals, QString* intDigits, QString* fracDigits) {
    intDigits->clear();
    fracDigits->clear();
    if (d.zero) {
        *fracDigits = QString(decimals, u'0');
        return;
    }
    // Digit array covering positions from 10^(pointPos-1) down to 10^-decimals.
    const int keep = d.pointPos + decimals; // number of significant digits kept
    QString all;
    if (keep <= 0) {
        // Everything is rounded away, unless the first dropped digit rounds up.
        const bool up = keep == 0 && d.digits[0] >= u'5';
        all = QString(qMax(0, d.pointPos) + decimals, u'0');
        if (up && !all.isEmpty())
            all[all.size() - 1] = u'1';
        else if (up)
            all = QStringLiteral("1");
    } else {
        QString sig = d.digits.left(keep);
        if (sig.size() < keep)
            sig += QString(keep - sig.size(), u'0');
        const bool up = keep < d.digits.size() && d.digits[keep] >= u'5';
        if (up) {
            qsizetype i = sig.size() - 1;
            for (; i >= 0; --i) {
                if (sig[i] == u'9') {
                    sig[i] = u'0';
                } else {
                    sig[i] = QChar(sig[i].unicode() + 1);
                    break;
                }
            }
            if (i < 0) {
                sig.prepend(u'1');
            }
        }
        // Leading zeros for values below 1.
        if (d.pointPos < 0)
            sig.prepend(QString(-d.pointPos, u'0'));
        all = sig;
    }
    const qsizetype intLen = all.size() - decimals;
    *intDigits = intLen > 0 ? all.left(intLen) : QString();
    *fracDigits = all.right(decimals);
    if (fracDigits->size() < decimals)
        fracDigits->prepend(QString(decimals - fracDigits->size(), u'0'));
}

QString groupThousands(const QString& digits) {
    const QString sep = QLocale().groupSeparator();
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += sep;
        out += digits[i];
    }
    return out;
}

QString formatWith(const Decimal& d, const Picture& p, bool showSign) {
    QString intDigits, fracDigits;
    roundDecimal(d, p.fracMax, &intDigits, &fracDigits);
    while (!intDigits.isEmpty() && intDigits[0] == u'0')
        intDigits.remove(0, 1);
    bool nonZero = !intDigits.isEmpty();
    for (QChar c : fracDigits)
        nonZero = nonZero || c != u'0';
    while (fracDigits.size() > p.fracMin && fracDigits.endsWith(u'0'))
        fracDigits.chop(1);
    if (intDigits.size() < p.intMin)
        intDigits.prepend(QString(p.intMin - intDigits.size(), u'0'));
    if (p.thousands)
        intDigits = groupThousands(intDigits);
    QString body = intDigits;
    if (!fracDigits.isEmpty())
        body += decimalPoint() + fracDigits;
    QString out = p.prefix + body + p.suffix;
    if (showSign && d.negative && nonZero)
        out.prepend(u'-');
    return out;
}

} // namespace

QChar decimalPoint() {
    const QString s = QLocale().decimalPoint();
    return s.isEmpty() ? QChar(u'.') : s[0];
}

QString format(double value, const QString& picture) {
    if (!std::isfinite(value))
        return QString();
    const QStringList sections = picture.split(u';');
    const Decimal d = toDecimal(value);
    if (sections.size() >= 3 && !sections[2].isEmpty()) {
        // The zero section applies to values that round to zero under the positive picture.
        const Picture pos = parsePicture(sections[0]);
        QString i, f;
        roundDecimal(d, pos.fracMax, &i, &f);
        const QString all = i + f;
        if (all.count(u'0') == all.size())
            return formatWith(d, parsePicture(sections[2]), false);
    }
    if (d.negative && sections.size() >= 2 && !sections[1].isEmpty())
        return formatWith(d, parsePicture(sections[1]), false);
    return formatWith(d, parsePicture(sections[0]), true);
}

QString figure(const std::optional<double>& value, const char* picture) {
    return value ? format(*value, QString::fromLatin1(picture)) : QString();
}

QString general(double value) {
    if (!std::isfinite(value))
        return QString();
    const Decimal d = toDecimal(value);
    if (d.zero)
        return QStringLiteral("0");
    QString digits = d.digits;
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    const QString sign = d.negative ? QStringLiteral("-") : QString();
    if (d.pointPos > 15 || d.pointPos < -3) {
        QString out = sign + digits.left(1);
        if (digits.size() > 1)
            out += decimalPoint() + digits.mid(1);
        return out + u'E' + QString::number(d.pointPos - 1);
    }
    if (d.pointPos <= 0)
        return sign + u'0' + decimalPoint() + QString(-d.pointPos, u'0') + digits;
    if (digits.size() <= d.pointPos)
        return sign + digits + QString(d.pointPos - digits.size(), u'0');
    return sign + digits.left(d.pointPos) + decimalPoint() + digits.mid(d.pointPos);
}

bool parse(const QString& text, double* value) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    // The locale's decimal separator only: under a decimal comma "1.234" is not read as 1.234
    // when the user meant one thousand two hundred and thirty-four, nor as that either.
    bool ok = false;
    QLocale loc;
    loc.setNumberOptions(QLocale::RejectGroupSeparator);
    const double v = loc.toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

} // namespace NumberFormat
