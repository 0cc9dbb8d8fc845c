#pragma once
// The payroll period shared by the payroll and summary windows: remembered in the first dateconfig
// row, the previous-month shortcut, and the padding of the employee-number filter.

#include <QDate>
#include <QString>
#include <optional>

namespace gz {
class Database;
class DateFormat;
} // namespace gz

namespace gz::payroll {

struct Period {
    QDate from;
    QDate to;
};

// Stores the period in the first dateconfig row, creating the row when the table is empty.
void rememberPeriod(Database& db, const QDate& from, const QDate& to);
// The remembered period; nullopt when no row exists. A missing or unreadable date stays invalid.
std::optional<Period> rememberedPeriod(Database& db);

// The calendar month that holds the day 30 days before today.
Period previousMonth(const QDate& today);

// The text a period date box starts with: the date in the short date format, used whole when it
// is 10 characters long (four-digit year), otherwise cut to its first 8 characters.
QString periodBoxText(const QDate& date, const DateFormat& format);

// An employee number as the filter boxes pad it: the last four characters of "0000" followed by
// the trimmed text ("7" -> "0007", "" -> "0000", "12345" -> "2345").
QString padEmployeeNumber(const QString& text);
// True when the employee filter narrows the rows: neither empty nor "0000".
bool filtersEmployee(const QString& gh);

} // namespace gz::payroll
