#include "core/data/Formats.h"

#include "core/data/Errors.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <vector>

namespace gz {

namespace {

// Splits a picture into its sections at ";" outside quotes.
QStringList sections(const QString& pic) {
    QStringList out;
    QString cur;
    QChar quote;
    for (QChar c : pic) {
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            cur += c;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
            cur += c;
        } else if (c == u';') {
            out << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    out << cur;
    return out;
}

// The decimal digits of |v| rounded half away from zero to `decimals` places, after cutting the
// binary noise at 15 significant digits (2.675 rounds to 2.68, as a clerk expects).
void roundedDigits(double v, int decimals, QString* intPart, QString* fracPart) {
    v = std::fabs(v);
    intPart->clear();
    fracPart->clear();
    if (v == 0 || !std::isfinite(v)) {
        *intPart = QStringLiteral("0");
        *fracPart = QString(decimals, u'0');
        return;
    }
    const QString e = QString::number(v, 'e', 14); // d.dddddddddddddde±XX
    const int epos = e.indexOf(u'e');
    std::vector<int> digits;
    for (int i = 0; i < epos; ++i)
        if (e[i].isDigit()) digits.push_back(e[i].digitValue());
    const int exp10 = e.mid(epos + 1).toInt();
    // digits[k] has the weight 10^(exp10 - k); keep those with weight >= 10^-decimals.
    const int keep = exp10 + 1 + decimals; // number of digits kept
    std::vector<int> kept;
    int lead = 0; // digits before the first significant one that belong to the integer part
    if (keep <= 0) {
        const bool up = keep == 0 && !digits.empty() && digits[0] >= 5;
        // The result is 0 or one unit in the last place.
        QString frac(decimals, u'0');
        if (up) {
            if (decimals > 0)
                frac[decimals - 1] = u'1';
            else {
                *intPart = QStringLiteral("1");
                return;
            }
        }
        *intPart = QStringLiteral("0");
        *fracPart = frac;
        return;
    }
    for (int k = 0; k < keep; ++k)
        kept.push_back(k < static_cast<int>(digits.size()) ? digits[k] : 0);
    const bool roundUp = keep < static_cast<int>(digits.size()) && digits[keep] >= 5;
    if (roundUp) {
        int k = static_cast<int>(kept.size()) - 1;
        while (k >= 0 && kept[k] == 9)
            kept[k--] = 0;
        if (k >= 0)
            ++kept[k];
        else {
            kept.insert(kept.begin(), 1);
            lead = 1;
        }
    }
    const int intCount = exp10 + 1 + lead; // may be <= 0 for values below 1
    QString all;
    for (int d : kept)
        all += QChar(u'0' + d);
    if (intCount <= 0) {
        *intPart = QStringLiteral("0");
        *fracPart = QString(-intCount, u'0') + all;
    } else {
        *intPart = all.left(intCount);
        *fracPart = all.mid(intCount);
    }
    *fracPart = fracPart->left(decimals);
    while (fracPart->size() < decimals)
        *fracPart += u'0';
    // Strip leading zeros of the integer part (keep one).
    int nz = 0;
    while (nz < intPart->size() - 1 && intPart->at(nz) == u'0')
        ++nz;
    *intPart = intPart->mid(nz);
}

QString formatSection(double value, const QString& sec, bool withMinus) {
    // Locate the placeholders.
    int first = -1, last = -1, point = -1;
    bool thousands = false;
    QChar quote;
    for (int i = 0; i < sec.size(); ++i) {
        QChar c = sec[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
            continue;
        }
        if (c == u'0' || c == u'#') {
            if (first < 0) first = i;
            last = i;
        } else if (c == u'.') {
            if (point < 0) point = i;
            if (first < 0) first = i;
            last = std::max(last, i);
        } else if (c == u',') {
            if (point < 0) thousands = true;
            if (first < 0) first = i;
        }
    }
    auto literal = [](const QString& s) {
        QString out;
        QChar q;
        for (QChar c : s) {
            if (!q.isNull()) {
                if (c == q)
                    q = QChar();
                else
                    out += c;
            } else if (c == u'"' || c == u'\'') {
                q = c;
            } else {
                out += c;
            }
        }
        return out;
    };
    if (first < 0) return literal(sec); // no placeholder: the section is a literal text

    const QString body = sec.mid(first, last - first + 1);
    const int bp = point < 0 ? -1 : point - first;
    const QString intPic = bp < 0 ? body : body.left(bp);
    const QString fracPic = bp < 0 ? QString() : body.mid(bp + 1);
    int maxDec = 0, minDec = 0;
    for (int i = 0; i < fracPic.size(); ++i) {
        if (fracPic[i] == u'0') {
            ++maxDec;
            minDec = maxDec;
        } else if (fracPic[i] == u'#') {
            ++maxDec;
        }
    }
    int minInt = 0;
    {
        int firstZero = -1;
        for (int i = 0; i < intPic.size(); ++i)
            if (intPic[i] == u'0') {
                firstZero = i;
                break;
            }
        if (firstZero >= 0)
            for (int i = firstZero; i < intPic.size(); ++i)
                if (intPic[i] == u'0' || intPic[i] == u'#') ++minInt;
    }

    QString ip, fp;
    roundedDigits(value, maxDec, &ip, &fp);
    while (fp.size() > minDec && fp.endsWith(u'0'))
        fp.chop(1);
    if (ip == QLatin1String("0")) ip.clear();
    while (ip.size() < minInt)
        ip.prepend(u'0');
    if (thousands && ip.size() > 3) {
        QString g;
        const int n = ip.size();
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) g += u',';
            g += ip[i];
        }
        ip = g;
    }
    QString number = ip;
    if (!fp.isEmpty()) number += u'.' + fp;
    bool allZero = true;
    for (QChar c : number)
        if (c.isDigit() && c != u'0') allZero = false;
    if (withMinus && value < 0 && !allZero) number.prepend(u'-');
    return literal(sec.left(first)) + number + literal(sec.mid(last + 1));
}

} // namespace

QString formatNumber(double value, const QString& picture) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (picture.isEmpty()) {
        double ip;
        if (std::modf(value, &ip) == 0.0 && std::fabs(value) < 1e15) return QString::number(qint64(value));
        return QString::number(value, 'g', 15);
    }
    const QStringList secs = sections(picture);
    if (value < 0 && secs.size() >= 2 && !secs[1].isEmpty()) return formatSection(value, secs[1], false);
    if (value == 0 && secs.size() >= 3 && !secs[2].isEmpty()) return formatSection(value, secs[2], false);
    return formatSection(value, secs[0], true);
}

std::optional<double> parseNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    static const QRegularExpression re(
        QStringLiteral("^[+-]?(\\d{1,3}(,\\d{3})+|\\d*)(\\.\\d*)?([eE][+-]?\\d+)?$"));
    if (re.match(t).hasMatch()) {
        QString plain = t;
        plain.remove(u',');
        bool ok = false;
        double v = plain.toDouble(&ok);
        bool hasDigit = false;
        for (QChar c : plain)
            if (c.isDigit()) hasDigit = true;
        if (ok && hasDigit && std::isfinite(v)) return v;
    }
    throw conversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

DateFormat::DateFormat(const QString& pattern, const QString& separator) {
    const QString p = pattern.trimmed();
    if (!p.isEmpty()) pattern_ = p;
    sep_ = separator == QLatin1String("-") ? u'-' : u'.';
    int years = 0;
    for (QChar c : pattern_)
        if (c == u'y' || c == u'Y') ++years;
    twoDigitYear_ = years > 0 && years <= 2;
}

QString DateFormat::format(const QDate& d) const {
    if (!d.isValid()) return QString();
    QString out;
    const int n = pattern_.size();
    for (int i = 0; i < n;) {
        const QChar c = pattern_[i].toLower();
        int run = 1;
        while (i + run < n && pattern_[i + run].toLower() == c)
            ++run;
        if (c == u'y') {
            out += run <= 2 ? QStringLiteral("%1").arg(d.year() % 100, 2, 10, QChar(u'0'))
                            : QString::number(d.year());
        } else if (c == u'm') {
            out += run >= 2 ? QStringLiteral("%1").arg(d.month(), 2, 10, QChar(u'0'))
                            : QString::number(d.month());
        } else if (c == u'd') {
            out +=
                run >= 2 ? QStringLiteral("%1").arg(d.day(), 2, 10, QChar(u'0')) : QString::number(d.day());
        } else if (c == u'-' || c == u'/' || c == u'.') {
            out += QString(run, sep_);
        } else {
            out += pattern_.mid(i, run);
        }
        i += run;
    }
    return out;
}

QString DateFormat::formatStored(const QString& iso) const {
    return format(dateFromStored(iso));
}

std::optional<QDate> DateFormat::parse(const QString& text, const QDate& today) const {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    auto bad = [&]() { return conversionError(QStringLiteral("'%1' is not a valid date").arg(text)); };
    // Order of the parts as the pattern gives them.
    QString order;
    for (QChar c : pattern_) {
        const QChar l = c.toLower();
        if ((l == u'y' || l == u'm' || l == u'd') && !order.contains(l)) order += l;
    }
    if (order.size() != 3) order = QStringLiteral("ymd");
    static const QRegularExpression sepRe(QStringLiteral("[-./\\s]+"));
    QStringList parts = t.split(sepRe, Qt::SkipEmptyParts);
    for (const QString& p : parts)
        for (QChar c : p)
            if (!c.isDigit()) throw bad();
    int y = today.year(), m = 0, d = 0;
    bool yearGiven = false;
    int yearDigits = 4;
    if (parts.size() == 1 && (parts[0].size() == 8 || parts[0].size() == 6)) {
        const QString s = parts[0];
        const int yl = s.size() - 4;
        y = s.left(yl).toInt();
        yearDigits = yl;
        m = s.mid(yl, 2).toInt();
        d = s.mid(yl + 2, 2).toInt();
        yearGiven = true;
    } else if (parts.size() == 3) {
        for (int i = 0; i < 3; ++i) {
            const int v = parts[i].toInt();
            if (order[i] == u'y') {
                y = v;
                yearDigits = parts[i].size();
                yearGiven = true;
            } else if (order[i] == u'm') {
                m = v;
            } else {
                d = v;
            }
        }
    } else if (parts.size() == 2) {
        const QString md = QString(order).remove(u'y');
        for (int i = 0; i < 2; ++i)
            (md[i] == u'm' ? m : d) = parts[i].toInt();
    } else {
        throw bad();
    }
    if (yearGiven && yearDigits <= 2) {
        // Two-digit years fall within 50 years of today.
        const int base = today.year() - 50;
        y += base / 100 * 100;
        if (y < base) y += 100;
    }
    QDate r(y, m, d);
    if (!r.isValid()) throw bad();
    return r;
}

DateFormat& appDateFormat() {
    static DateFormat f;
    return f;
}

QDate dateFromStored(const QString& iso) {
    if (iso.size() < 10) return QDate();
    return QDate::fromString(iso.left(10), Qt::ISODate);
}

QString dateToStored(const QDate& d) {
    return d.isValid() ? d.toString(Qt::ISODate) : QString();
}

} // namespace gz
