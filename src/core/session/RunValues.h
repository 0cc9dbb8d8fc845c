#pragma once
// The values the windows share while the program runs (none of them is stored), and the few
// options the start-up reads and the main window writes back.

#include <QDate>
#include <QString>

namespace gz {

class Database;

struct RunValues {
    QString databasePath;
    QString operatorNumber;   // empty until the first login
    QString operatorPassword; // as typed at login
    QString imeName;          // input method for Chinese text fields
    QString entryMode;        // copy of config.bcszbj
    QString documentNumber;
    QString newDocument = QStringLiteral("F"); // "T"/"F"
    int pickerMode = 0;
    QString firstActivation = QStringLiteral("F");
    // Display formats of the options, applied by every grid that shows these columns.
    QString amountFormat = QStringLiteral("0.00");
    QString qtyFormat = QStringLiteral("0");
    QString weightFormat = QStringLiteral("0.00");
    QString priceFormat = QStringLiteral("0.00");
};

// The values of this run.
RunValues& runValues();

// The options of the config row the start-up applies (step 11) and the flags of its windows.
struct StartupOptions {
    bool splash = true;         // flashbj
    bool quickStartOff = false; // startbj
    QString dateSeparator = QStringLiteral("-");
    QString dateFormat = QStringLiteral("yyyy-mm-dd");
    QString amountFormat, qtyFormat, weightFormat, priceFormat;
    QString imeName;
    QString entryMode;
    QString pictureFile; // picfilename
};
StartupOptions readStartupOptions(Database& db);

// Applies the options to the run: date format, display formats, input method, entry mode.
void applyStartupOptions(const StartupOptions& options, RunValues& run);

// The year-end reminder shown before the login on 26 to 31 December.
bool isYearEndReminderDay(const QDate& today);
QString yearEndReminderText();

void setSplashShown(Database& db, bool show);                 // flashbj
void setQuickStartHidden(Database& db, bool hidden);          // startbj
void setBackgroundPicture(Database& db, const QString& file); // picfilename (blanks trimmed)

} // namespace gz
