#pragma once
// Display formats: numeric pictures ("0.00", "0,.000", "#.##", "0") and the short date formats
// ("yyyy-mm-dd", "yy-mm-dd", "YY-mm-dd" with separator "-" or "."), both for showing values and
// for reading what the user typed.

#include <QDate>
#include <QString>
#include <optional>

namespace gz {

// Formats a number by a picture: "0" a digit always shown, "#" a digit shown when significant,
// "." the decimal point, "," anywhere before the point turns thousands separators on; up to three
// sections "positive;negative;zero"; text in quotes and other characters are copied. Rounding is
// half away from zero on the decimal value. An empty picture gives the shortest exact form.
QString formatNumber(double value, const QString& picture);

// Reads typed number text: blanks around it are ignored, an optional sign, digits, one decimal
// point, an optional exponent; thousands separators are accepted when they are placed correctly.
// Empty text gives nullopt; anything else that is not a number raises the conversion error.
std::optional<double> parseNumber(const QString& text);

class DateFormat {
public:
    DateFormat() = default;
    // pattern as stored in config.dateformat; separator as stored in config.dateseparator
    // ("-" selects "-", anything else ".").
    DateFormat(const QString& pattern, const QString& separator);

    const QString& pattern() const { return pattern_; }
    QChar separator() const { return sep_; }
    bool twoDigitYear() const { return twoDigitYear_; }

    QString format(const QDate& d) const;
    // A stored value (ISO text "yyyy-MM-dd" with an optional time) shown in this format.
    QString formatStored(const QString& iso) const;
    // Reads typed date text in this format's order (year, month, day). Accepts "-", ".", "/" as
    // separators, a two-digit year (placed within 50 years of today), month and day alone (this
    // year), and eight digits yyyyMMdd. Empty text gives nullopt; a bad date raises the
    // conversion error.
    std::optional<QDate> parse(const QString& text, const QDate& today = QDate::currentDate()) const;

private:
    QString pattern_ = QStringLiteral("yyyy-mm-dd");
    QChar sep_ = u'-';
    bool twoDigitYear_ = false;
};

// The application's short date format, set at start from the options and changed when the
// options are saved.
DateFormat& appDateFormat();

// Stored dates: ISO text. Returns an invalid date for empty or malformed text.
QDate dateFromStored(const QString& iso);
QString dateToStored(const QDate& d);

} // namespace gz
