#pragma once
// Document numbers drawn from the per-kind counters in nextno, and the internal numbers of other
// rows (one above the highest present).

#include <QDate>
#include <QString>

namespace gz {

class Database;

// Draws the next document number of a header table ("jjgzlist", "jfgzlist", "jsgzlist"): the
// counter's value, zero-padded to 10 characters; the counter advances by one. A counter that does
// not hold a number raises a conversion error.
QString drawDocumentNumber(Database& db, const QString& headerTable);
// Moves the counter back by one (the number of a scrapped new document).
void giveBackDocumentNumber(Database& db, const QString& headerTable);
// Sets every counter to the first number of the date's month (yyMM000001); returns that text.
QString resetDocumentCounters(Database& db, const QDate& date);
// The counter text of a header table as stored.
QString counterText(Database& db, const QString& headerTable);

// The next internal number of a table: one above the highest intno, zero-padded to the table's
// width (6 for employee, else 10). Served by the intno index, without reading the table.
QString nextInternalNumber(Database& db, const QString& table);

// Zero-pads n to `width` characters, keeping the last `width` digits.
QString padNumber(qint64 n, int width);
// Reads a stored number text as an integer; blanks around it are ignored. Raises the conversion
// error for anything else.
qint64 readInteger(const QString& text);

} // namespace gz
