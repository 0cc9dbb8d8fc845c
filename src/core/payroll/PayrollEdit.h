#pragma once
// The payroll edit window's data side: the boxes of one payroll row as texts, the recomputation
// that runs when a box is left, and the save of 确定.

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

namespace gz {
class Database;
}

namespace gz::payroll {

class EditForm {
public:
    // Every amount box, by payroll field, in the window's order.
    static const QStringList& amountFields();
    // The boxes the clerk types into (the others are shown, not typed).
    static const QStringList& typedFields();

    // Loads the payroll row with this rowid; raises a database error when it is gone.
    void load(Database& db, qint64 rowId);
    qint64 rowId() const { return rowId_; }

    // What the read-only boxes show.
    QString branchName() const { return branchName_; }
    QString employeeNumber() const { return gh_; }
    QString name() const { return xm_; }
    // The row's work date, or `today` when the row has none.
    QDate date(const QDate& today = QDate::currentDate()) const;

    // Box texts by payroll field (amount fields and "remark").
    QString box(const QString& field) const { return boxes_.value(field); }
    void setBox(const QString& field, const QString& text);

    // Leaving a box: empty typed boxes become "0", gross and net pay are written into their
    // boxes with two decimals. Text that is not a number raises the conversion error and leaves
    // every box as it was.
    void recompute();

    // 确定: recompute, then write the boxes into the row in one statement. The shown-only boxes
    // (固定工资, 计件工资, 借款) keep the stored value unless their text was changed, so opening and
    // saving a row never rounds accumulated wages to the two decimals shown.
    void save(Database& db);

private:
    qint64 rowId_ = -1;
    QString branchName_, gh_, xm_, etdate_;
    QHash<QString, QString> boxes_;
    QHash<QString, QString> loaded_; // box texts as loaded
    QHash<QString, double> stored_;  // stored values as loaded
};

// The rowid of an employee's payroll row of a month; -1 when there is none.
qint64 findPayrollRow(Database& db, const QString& gh, int year, int month);

} // namespace gz::payroll
