#pragma once
// Year-end processing and initialisation: both empty the year's wage data (documents, lines,
// payroll rows) and restart the document numbers; year-end processing first keeps a copy of the
// data folder in LASTBAK. Master data, operators and options stay.

#include <QDate>
#include <QString>
#include <optional>

namespace gz {

class Database;
class ProgramFolder;

namespace yearend {

inline QString passwordCaption() {
    return QStringLiteral("提示信息");
}
inline QString passwordPrompt() {
    return QStringLiteral("为防止误操作,请输入操作员密码:          ");
}
inline QString wrongPassword() {
    return QStringLiteral("输入操作员密码错误,请重新操作！");
}
inline QString confirmInitialise() {
    return QStringLiteral("确实要初始化吗?");
}
inline QString confirmYearEnd() {
    return QStringLiteral("确实要年终数据处理?");
}
inline QString initialised() {
    return QStringLiteral("初始化完成，请到数据维护中进行数据整理。");
}
inline QString yearEndDone() {
    return QStringLiteral("已做完年终数据处理!");
}

// The guard of both commands: only the administrator, who re-types the login password (blanks
// around the entry removed; a cancelled prompt is an empty entry). Returns the refusal text.
std::optional<QString> checkGuard(const QString& operatorNumber, const QString& loginPassword,
                                  const QString& typedPassword);

// Initialisation: deletes the wage data in one transaction and resets the counters for today's
// month; returns the new counter text. On a failure nothing is deleted and the counters stay.
QString initialise(Database& db, const QDate& today);

// Year-end processing: copies the data folder (works) into LASTBAK, then deletes the wage data in
// one transaction and resets the counters for tomorrow's month; returns the new counter text. A
// failed copy raises the file error before anything is deleted.
QString yearEnd(Database& db, const ProgramFolder& folder, const QDate& today);

} // namespace yearend
} // namespace gz
