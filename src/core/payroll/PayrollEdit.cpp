#include "core/payroll/PayrollEdit.h"

#include "core/data/Database.h"
#include "core/data/Errors.h"
#include "core/data/Formats.h"

namespace gz::payroll {

namespace {

const QString kTwoDecimals = QStringLiteral("0.00");

// The thirteen typed amounts that become "0" when left empty.
const QStringList& zeroWhenEmpty() {
    static const QStringList f = {
        QStringLiteral("allbonus"), QStringLiteral("allowance"),  QStringLiteral("boardwages"),
        QStringLiteral("bedding"),  QStringLiteral("sanitation"), QStringLiteral("loan"),
        QStringLiteral("amerce"),   QStringLiteral("water"),      QStringLiteral("electric"),
        QStringLiteral("lateje"),   QStringLiteral("deposit"),    QStringLiteral("deduce"),
        QStringLiteral("appje")};
    return f;
}

// The shown-only amounts that are written back.
const QStringList& shownWrittenBack() {
    static const QStringList f = {QStringLiteral("jge"), QStringLiteral("basegz"), QStringLiteral("loan")};
    return f;
}

// The fields 确定 writes, besides the remark.
const QStringList& savedFields() {
    static const QStringList f = {
        QStringLiteral("jge"),       QStringLiteral("basegz"),     QStringLiteral("allbonus"),
        QStringLiteral("allowance"), QStringLiteral("yfgz"),       QStringLiteral("boardwages"),
        QStringLiteral("bedding"),   QStringLiteral("sanitation"), QStringLiteral("loan"),
        QStringLiteral("amerce"),    QStringLiteral("water"),      QStringLiteral("electric"),
        QStringLiteral("deposit"),   QStringLiteral("deduce"),     QStringLiteral("appje"),
        QStringLiteral("sfgz")};
    return f;
}

double boxNumber(const QHash<QString, QString>& boxes, const QString& field) {
    const auto v = parseNumber(boxes.value(field));
    return v ? *v : 0.0;
}

double round2(double v) {
    return parseNumber(formatNumber(v, kTwoDecimals)).value_or(0.0);
}

} // namespace

const QStringList& EditForm::amountFields() {
    static const QStringList f = {
        QStringLiteral("basegz"),    QStringLiteral("jge"),        QStringLiteral("spellje"),
        QStringLiteral("pointje"),   QStringLiteral("overje"),     QStringLiteral("allbonus"),
        QStringLiteral("allowance"), QStringLiteral("yfgz"),       QStringLiteral("boardwages"),
        QStringLiteral("bedding"),   QStringLiteral("sanitation"), QStringLiteral("loan"),
        QStringLiteral("amerce"),    QStringLiteral("water"),      QStringLiteral("electric"),
        QStringLiteral("lateje"),    QStringLiteral("deposit"),    QStringLiteral("deduce"),
        QStringLiteral("appje"),     QStringLiteral("sfgz")};
    return f;
}

const QStringList& EditForm::typedFields() {
    static const QStringList f = {
        QStringLiteral("allbonus"), QStringLiteral("allowance"),  QStringLiteral("boardwages"),
        QStringLiteral("bedding"),  QStringLiteral("sanitation"), QStringLiteral("amerce"),
        QStringLiteral("water"),    QStringLiteral("electric"),   QStringLiteral("lateje"),
        QStringLiteral("deposit"),  QStringLiteral("deduce"),     QStringLiteral("appje"),
        QStringLiteral("remark")};
    return f;
}

void EditForm::load(Database& db, qint64 rowId) {
    QStringList cols = amountFields();
    cols << QStringLiteral("remark") << QStringLiteral("branchname") << QStringLiteral("gh")
         << QStringLiteral("xm") << QStringLiteral("etdate");
    // The column names come from the fixed lists above.
    Query q(db, QStringLiteral("SELECT %1 FROM gzb WHERE rowid = :p1").arg(cols.join(u',')), {rowId});
    if (!q.next()) throw databaseError(QStringLiteral("工资记录已不存在"));
    boxes_.clear();
    stored_.clear();
    int i = 0;
    for (const QString& f : amountFields()) {
        const double v = q.isNull(i) ? 0.0 : q.real(i);
        stored_.insert(f, v);
        boxes_.insert(f, formatNumber(v, kTwoDecimals));
        ++i;
    }
    boxes_.insert(QStringLiteral("remark"), q.text(i++));
    branchName_ = q.text(i++);
    gh_ = q.text(i++);
    xm_ = q.text(i++);
    etdate_ = q.text(i++);
    loaded_ = boxes_;
    rowId_ = rowId;
}

QDate EditForm::date(const QDate& today) const {
    const QDate d = dateFromStored(etdate_);
    return d.isValid() ? d : today;
}

void EditForm::setBox(const QString& field, const QString& text) {
    boxes_.insert(field, text);
}

void EditForm::recompute() {
    QHash<QString, QString> b = boxes_;
    for (const QString& f : zeroWhenEmpty())
        if (b.value(f).trimmed().isEmpty()) b.insert(f, QStringLiteral("0"));
    // Read every box first, so a bad one changes nothing.
    for (const QString& f : amountFields())
        if (f != QLatin1String("yfgz") && f != QLatin1String("sfgz")) parseNumber(b.value(f));
    auto n = [&](const char* f) { return boxNumber(b, QString::fromLatin1(f)); };
    const double gross =
        n("basegz") + n("jge") + n("spellje") + n("pointje") + n("overje") + n("allbonus") + n("allowance");
    b.insert(QStringLiteral("yfgz"), formatNumber(gross, kTwoDecimals));
    // The net pay starts from the gross as shown, and subtracts the lateness deduction.
    const double net = round2(gross) - n("boardwages") - n("bedding") - n("sanitation") - n("loan") -
                       n("amerce") - n("water") - n("electric") - n("lateje") + n("deposit") - n("deduce") +
                       n("appje");
    b.insert(QStringLiteral("sfgz"), formatNumber(net, kTwoDecimals));
    boxes_ = b;
}

void EditForm::save(Database& db) {
    if (rowId_ < 0) throw databaseError(QStringLiteral("没有要保存的工资记录"));
    recompute();
    QStringList sets;
    Params p{rowId_};
    QHash<QString, double> written;
    for (const QString& f : savedFields()) {
        double v = boxNumber(boxes_, f);
        if (shownWrittenBack().contains(f) && boxes_.value(f) == loaded_.value(f)) v = stored_.value(f);
        written.insert(f, v);
        p.push_back(v);
        sets << QStringLiteral("%1 = :p%2").arg(f).arg(p.size());
    }
    p.push_back(boxes_.value(QStringLiteral("remark")));
    sets << QStringLiteral("remark = :p%1").arg(p.size());
    // Field names come from the fixed list above; every value is bound.
    db.exec(QStringLiteral("UPDATE gzb SET %1 WHERE rowid = :p1").arg(sets.join(QStringLiteral(", "))), p);
    for (auto it = written.cbegin(); it != written.cend(); ++it)
        stored_.insert(it.key(), it.value());
    loaded_ = boxes_;
}

qint64 findPayrollRow(Database& db, const QString& gh, int year, int month) {
    const QVariant id =
        db.scalar(QStringLiteral("SELECT rowid FROM gzb WHERE gh = :p1 AND nf = :p2 AND yf = :p3 LIMIT 1"),
                  {gh, QString::number(year), QString::number(month)});
    return id.isValid() && !id.isNull() ? id.toLongLong() : -1;
}

} // namespace gz::payroll
