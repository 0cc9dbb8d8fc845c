#pragma once
// The operator who works with the program, the login check and the rights checks.

#include <QString>

namespace gz {

class Database;

namespace msg {
inline const QString wrongLogin() {
    return QStringLiteral("密码错误,非法用户！");
}
inline const QString noRight() {
    return QStringLiteral("该用户无权使用此功能！");
}
} // namespace msg

inline const QString administratorNumber() {
    return QStringLiteral("813");
}

// True when the number and password (blanks around it removed, then encoded) match an operator.
bool checkLogin(Database& db, const QString& number, const QString& password);
inline bool isAdministrator(const QString& operatorNumber) {
    return operatorNumber == administratorNumber();
}

// The rights of an operator in a function area ("in_blist" document lists, "in_bdetail" posted
// views). A missing row or an empty flag withholds nothing; the administrator has every right.
struct AreaRights {
    bool open = true;    // r
    bool create = true;  // z
    bool reverse = true; // w
};
AreaRights areaRights(Database& db, const QString& operatorNumber, const QString& area);

} // namespace gz
