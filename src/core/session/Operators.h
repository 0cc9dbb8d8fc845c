#pragma once
// The operators (opcrl): adding, deleting and changing the own password, with every rule of the
// operators window, so that any front end applies the same ones. Refusals come back as the text
// to show; an empty text means done.

#include <QString>
#include <QStringList>

namespace gz {

class Database;

namespace msg {
inline QString noRightToAdd() {
    return QStringLiteral("该用户无权增加操作员！");
}
inline QString noRightToDelete() {
    return QStringLiteral("该用户无权删除操作员！");
}
inline QString cannotDeleteAdministrator() {
    return QStringLiteral("不能删除超级用户！");
}
inline QString cannotChangeOthers() {
    return QStringLiteral("不能修改他人密码！");
}
inline QString invalidPassword() {
    return QStringLiteral("密码输入不合法!");
}
inline QString operatorNumberEmpty() {
    return QStringLiteral("操作员编号不能为空！");
}
inline QString operatorNumberTaken() {
    return QStringLiteral("该操作员编号已存在！");
}
inline QString confirmDelete() {
    return QStringLiteral("确实要删除当前记录吗?");
}
} // namespace msg

// The operator numbers in table order, for the login's drop-down list.
QStringList operatorNumbers(Database& db);

// A password as the operators window accepts it: blanks around it removed, not empty, equal to
// its confirmation, at most six digits.
QString checkNewPassword(const QString& password, const QString& confirmation);

// Whether the current operator may add / delete this operator (before anything is asked).
QString checkAddOperator(const QString& currentOperator);
QString checkDeleteOperator(const QString& currentOperator, const QString& number);
QString checkChangePassword(const QString& currentOperator, const QString& number);

struct NewOperator {
    QString number; // bh
    QString name;   // xm
    QString password;
    QString confirmation;
    QString rights; // rh, stored but never evaluated
};
// Adds an operator with the encoded password. Refuses an empty or already used number (the login
// and the deletion find operators by number, so two rows with one number would mix them up).
QString addOperator(Database& db, const QString& currentOperator, const NewOperator& op);

// Deletes an operator and that operator's configo rows together. The caller asks
// msg::confirmDelete() first; nothing is removed when the question is answered Cancel.
QString deleteOperator(Database& db, const QString& currentOperator, const QString& number);

// Changes the own password (and name). The password box starts with the stored, encoded
// password; when it was not edited and still holds it, only the name is written. (Whether it was
// edited matters: a new password may by chance read like the old encoded one.)
QString changeOwnPassword(Database& db, const QString& currentOperator, const QString& number,
                          const QString& name, const QString& password, const QString& confirmation,
                          bool passwordEdited = true);

} // namespace gz
