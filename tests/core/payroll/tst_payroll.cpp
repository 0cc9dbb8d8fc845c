// The payroll refresh, its modes and filters, the totals row, the remembered period, the paid
// marks, clearing, and the leaving rule that keeps gzb.lcbj in step.

#include "common/TempHome.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "core/data/Formats.h"
#include "core/master/Leaving.h"
#include "core/payroll/Payroll.h"
#include "core/payroll/PayrollFixtures.h"
#include "core/payroll/Period.h"

#include <QtTest>

using namespace gz;
using namespace gz::payroll;

namespace {

Filter march(Mode mode = Mode::Current) {
    Filter f;
    f.from = QDate(2025, 3, 1);
    f.to = QDate(2025, 3, 31);
    f.mode = mode;
    return f;
}

double real(Database& db, const QString& sql, const Params& p = {}) {
    return db.scalar(sql, p).toDouble();
}

QStringList listed(const Dataset& ds) {
    QStringList out;
    const int c = ds.columnIndex(QStringLiteral("gh"));
    for (int r = 0; r < ds.rowCount(); ++r)
        out << ds.text(r, c);
    return out;
}

QVariantMap m(std::initializer_list<std::pair<const char*, QVariant>> kv) {
    QVariantMap v;
    for (const auto& [k, val] : kv)
        v.insert(QString::fromLatin1(k), val);
    return v;
}

} // namespace

class TestPayroll : public QObject {
    Q_OBJECT
private slots:
    void netPayFromNewGross();
    void emptyFieldsCountAsZero();
    void modes_data();
    void modes();
    void filters_data();
    void filters();
    void totalsRowRewritten();
    void emptyPeriodTotals();
    void totalsCountRowsNotEmployees();
    void longWorkshopNameDoesNotBreakRefresh();
    void periodRememberedAndCreated();
    void invalidDateWritesNothing();
    void listOrder();
    void previousMonth_data();
    void previousMonth();
    void padEmployee_data();
    void padEmployee();
    void periodBoxText();
    void markPaidIncludesLeftRows();
    void unmarkPaid();
    void clearKeepsLeftRowsAndOtherPeriods();
    void guard_data();
    void guard();
    void leavingRule_data();
    void leavingRule();
    void setEmployeeLeaving();
};

void TestPayroll::netPayFromNewGross() {
    test::TempHome home;
    Database& db = home.db();
    // Stale gross and net pay from an earlier refresh: the new net must not start from them.
    test::addPayrollRow(
        db, QStringLiteral("0001"), QStringLiteral("2025-03-05"), QStringLiteral("一车间"),
        m({{"basegz", 1000},  {"jge", 200.5},    {"spellje", 10},    {"pointje", 20}, {"overje", 30},
           {"allbonus", 100}, {"allowance", 40}, {"boardwages", 50}, {"bedding", 1},  {"sanitation", 2},
           {"loan", 3},       {"amerce", 4},     {"water", 5},       {"electric", 6}, {"deposit", -20},
           {"deduce", 7},     {"appje", 8},      {"lateje", 30},     {"yfgz", 999},   {"sfgz", 1}}));
    refresh(db, march());
    const double gross = 1000 + 200.5 + 10 + 20 + 30 + 100 + 40;
    QCOMPARE(real(db, QStringLiteral("SELECT yfgz FROM gzb")), gross);
    // The refresh's net pay leaves the lateness deduction out.
    QCOMPARE(real(db, QStringLiteral("SELECT sfgz FROM gzb")),
             gross - 50 - 1 - 2 - 3 - 4 - 5 - 6 - 20 - 7 + 8);
}

void TestPayroll::emptyFieldsCountAsZero() {
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-05"), QStringLiteral("一车间"),
                        m({{"basegz", 500},
                           {"allbonus", QVariant()},
                           {"jge", QVariant()},
                           {"water", QVariant()},
                           {"appje", QVariant()}}));
    const Totals t = refresh(db, march());
    Query q(db, QStringLiteral("SELECT yfgz, sfgz FROM gzb"));
    QVERIFY(q.next());
    QVERIFY(!q.isNull(0));
    QVERIFY(!q.isNull(1));
    QCOMPARE(q.real(0), 500.0);
    QCOMPARE(q.real(1), 500.0);
    QCOMPARE(t.yfgz, 500.0);
    // Only the net pay out of date: it is still recomputed.
    db.exec(QStringLiteral("UPDATE gzb SET sfgz = NULL"));
    refresh(db, march());
    QCOMPARE(real(db, QStringLiteral("SELECT sfgz FROM gzb")), 500.0);
    db.exec(QStringLiteral("UPDATE gzb SET sfgz = 3"));
    refresh(db, march());
    QCOMPARE(real(db, QStringLiteral("SELECT sfgz FROM gzb")), 500.0);
}

void TestPayroll::modes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("current") << int(Mode::Current) << QStringList{"0001", "0002"};
    QTest::newRow("all") << int(Mode::All) << QStringList{"0001", "0002", "0003", "0004"};
    QTest::newRow("paid") << int(Mode::Paid) << QStringList{"0002"};
    QTest::newRow("unpaid") << int(Mode::Unpaid) << QStringList{"0001"};
}

void TestPayroll::modes() {
    QFETCH(int, mode);
    QFETCH(QStringList, expected);
    test::TempHome home;
    Database& db = home.db();
    const QString w = QStringLiteral("一车间");
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-02"), w, m({{"basegz", 100}}));
    test::addPayrollRow(db, QStringLiteral("0002"), QStringLiteral("2025-03-02"), w,
                        m({{"basegz", 200}, {"payoff", 1}}));
    test::addPayrollRow(db, QStringLiteral("0003"), QStringLiteral("2025-03-02"), w,
                        m({{"basegz", 400}, {"lcbj", 1}}));
    test::addPayrollRow(db, QStringLiteral("0004"), QStringLiteral("2025-03-02"), w,
                        m({{"basegz", 800}, {"lcbj", 1}, {"payoff", 1}}));
    Dataset list;
    const Totals t = refresh(db, march(Mode(mode)), &list);
    QCOMPARE(listed(list), expected);
    QCOMPARE(t.count, double(expected.size()));
    double sum = 0;
    for (const QString& gh : expected)
        sum += real(db, QStringLiteral("SELECT basegz FROM gzb WHERE gh = :p1"), {gh});
    QCOMPARE(t.yfgz, sum);
    // Every row of the period is recomputed, whatever the mode lists.
    QCOMPARE(real(db, QStringLiteral("SELECT count(*) FROM gzb WHERE yfgz = basegz AND yfgz > 0")), 4.0);
}

void TestPayroll::filters_data() {
    QTest::addColumn<QString>("workshop");
    QTest::addColumn<QString>("gh");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("none") << QString() << QString() << QStringList{"0001", "0002", "0003"};
    QTest::newRow("0000 means all") << QString() << QStringLiteral("0000")
                                    << QStringList{"0001", "0002", "0003"};
    QTest::newRow("employee") << QString() << QStringLiteral("0002") << QStringList{"0002"};
    QTest::newRow("workshop") << QStringLiteral("二车间") << QString() << QStringList{"0003"};
    QTest::newRow("workshop trimmed")
        << QStringLiteral(" 一车间 ") << QString() << QStringList{"0001", "0002"};
    QTest::newRow("both") << QStringLiteral("一车间") << QStringLiteral("0003") << QStringList{};
    QTest::newRow("unknown workshop") << QStringLiteral("一车") << QString() << QStringList{};
}

void TestPayroll::filters() {
    QFETCH(QString, workshop);
    QFETCH(QString, gh);
    QFETCH(QStringList, expected);
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-01"), QStringLiteral("一车间"),
                        m({{"basegz", 1}}));
    test::addPayrollRow(db, QStringLiteral("0002"), QStringLiteral("2025-03-31"), QStringLiteral("一车间"),
                        m({{"basegz", 2}}));
    test::addPayrollRow(db, QStringLiteral("0003"), QStringLiteral("2025-03-15"), QStringLiteral("二车间"),
                        m({{"basegz", 4}}));
    // Outside the period on both sides: neither listed nor recomputed.
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-02-28"), QStringLiteral("一车间"),
                        m({{"basegz", 8}}));
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-04-01"), QStringLiteral("一车间"),
                        m({{"basegz", 16}}));
    Filter f = march();
    f.workshop = workshop;
    f.gh = gh;
    Dataset list;
    const Totals t = refresh(db, f, &list);
    QCOMPARE(listed(list), expected);
    QCOMPARE(t.count, double(expected.size()));
    QCOMPARE(
        real(db, QStringLiteral("SELECT count(*) FROM gzb WHERE etdate NOT LIKE '2025-03%' AND yfgz <> 0")),
        0.0);
    // Rows the filters leave out are not recomputed either.
    QCOMPARE(real(db, QStringLiteral("SELECT count(*) FROM gzb WHERE yfgz <> 0")), double(expected.size()));
    QCOMPARE(t.branchname, workshop.trimmed());
}

void TestPayroll::totalsRowRewritten() {
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-02"), QStringLiteral("一车间"),
                        m({{"jge", 10}, {"spellje", 1}, {"pointje", 2}, {"overje", 3}, {"water", 4}}));
    test::addPayrollRow(db, QStringLiteral("0002"), QStringLiteral("2025-03-03"), QStringLiteral("一车间"),
                        m({{"jge", 20}, {"spellje", 10}, {"pointje", 20}, {"overje", 30}}));
    refresh(db, march());
    Filter f = march();
    f.workshop = QStringLiteral("一车间");
    const Totals t = refresh(db, f);
    QCOMPARE(real(db, QStringLiteral("SELECT count(*) FROM gzbtotal")), 1.0);
    const Totals stored = readTotals(db);
    QCOMPARE(stored.count, 2.0);
    QCOMPARE(stored.jge, 30.0);
    QCOMPARE(stored.spellje, 11.0);
    QCOMPARE(stored.pointje, 22.0);
    QCOMPARE(stored.overje, 33.0);
    QCOMPARE(stored.yfgz, 10.0 + 1 + 2 + 3 + 20 + 10 + 20 + 30);
    QCOMPARE(stored.sfgz, stored.yfgz - 4);
    QCOMPARE(stored.branchname, QStringLiteral("一车间"));
    QCOMPARE(t.sfgz, stored.sfgz);
    // The same refresh again puts right a totals row that was changed in between.
    for (const char* tamper : {"UPDATE gzbtotal SET jge = 1", "INSERT INTO gzbtotal (totalqty) VALUES (2)"}) {
        db.exec(QString::fromLatin1(tamper));
        refresh(db, f);
        QCOMPARE(real(db, QStringLiteral("SELECT count(*) FROM gzbtotal")), 1.0);
        QCOMPARE(readTotals(db).jge, 30.0);
    }
}

void TestPayroll::emptyPeriodTotals() {
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-01-02"), QStringLiteral("一车间"),
                        m({{"jge", 10}}));
    Dataset list;
    const Totals t = refresh(db, march(), &list);
    QCOMPARE(list.rowCount(), 0);
    QCOMPARE(t.count, 0.0);
    QVERIFY(!t.hasSums);
    QVERIFY(db.scalar(QStringLiteral("SELECT jge FROM gzbtotal")).isNull());
    QCOMPARE(totalText(t.count, 0), QStringLiteral("0"));
    QCOMPARE(totalText(t.jge, 2), QStringLiteral("0.00"));
    QCOMPARE(totalText(1234.565, 2), QStringLiteral("1234.57"));
}

void TestPayroll::totalsCountRowsNotEmployees() {
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-02-10"), QStringLiteral("一车间"));
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-10"), QStringLiteral("一车间"));
    Filter f = march();
    f.from = QDate(2025, 2, 1);
    QCOMPARE(refresh(db, f).count, 2.0);
}

void TestPayroll::longWorkshopNameDoesNotBreakRefresh() {
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-10"), QStringLiteral("一车间"),
                        m({{"basegz", 5}}));
    Filter f = march();
    f.workshop = QString(30, u'车'); // department names may be longer than the totals column
    const Totals t = refresh(db, f);
    QCOMPARE(t.count, 0.0);
    QCOMPARE(t.branchname, QString(20, u'车'));
}

void TestPayroll::periodRememberedAndCreated() {
    test::TempHome home;
    Database& db = home.db();
    db.exec(QStringLiteral("DELETE FROM dateconfig"));
    QVERIFY(!rememberedPeriod(db));
    refresh(db, march());
    auto p = rememberedPeriod(db);
    QVERIFY(p);
    QCOMPARE(p->from, QDate(2025, 3, 1));
    QCOMPARE(p->to, QDate(2025, 3, 31));
    Filter f = march();
    f.from = QDate(2025, 1, 1);
    f.to = QDate(2025, 1, 31);
    refresh(db, f);
    QCOMPARE(real(db, QStringLiteral("SELECT count(*) FROM dateconfig")), 1.0);
    QCOMPARE(rememberedPeriod(db)->from, QDate(2025, 1, 1));
    QCOMPARE(db.scalar(QStringLiteral("SELECT jsdate FROM dateconfig")).toString(),
             QStringLiteral("2025-01-31"));
}

void TestPayroll::invalidDateWritesNothing() {
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-10"), QStringLiteral("一车间"),
                        m({{"basegz", 5}}));
    refresh(db, march());
    db.exec(QStringLiteral("UPDATE gzb SET basegz = 7"));
    Filter f = march();
    f.to = QDate();
    try {
        refresh(db, f);
        QFAIL("an invalid date must stop the refresh");
    } catch (const Error& e) {
        QCOMPARE(e.kind(), ErrorKind::Conversion);
    }
    QCOMPARE(real(db, QStringLiteral("SELECT yfgz FROM gzb")), 5.0);
    QCOMPARE(rememberedPeriod(db)->to, QDate(2025, 3, 31));
}

void TestPayroll::listOrder() {
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0003"), QStringLiteral("2025-03-10"), QStringLiteral("B"));
    test::addPayrollRow(db, QStringLiteral("0002"), QStringLiteral("2025-03-10"), QStringLiteral("A"));
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-10"), QStringLiteral("B"));
    Dataset list;
    refresh(db, march(), &list);
    QCOMPARE(listed(list), (QStringList{"0002", "0001", "0003"}));
    QVERIFY(list.editable());
}

void TestPayroll::previousMonth_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::newRow("mid March") << QDate(2009, 3, 15) << QDate(2009, 2, 1) << QDate(2009, 2, 28);
    QTest::newRow("January") << QDate(2010, 1, 20) << QDate(2009, 12, 1) << QDate(2009, 12, 31);
    QTest::newRow("31 March") << QDate(2010, 3, 31) << QDate(2010, 3, 1) << QDate(2010, 3, 31);
    QTest::newRow("leap February") << QDate(2024, 3, 10) << QDate(2024, 2, 1) << QDate(2024, 2, 29);
}

void TestPayroll::previousMonth() {
    QFETCH(QDate, today);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    const Period p = payroll::previousMonth(today);
    QCOMPARE(p.from, from);
    QCOMPARE(p.to, to);
}

void TestPayroll::padEmployee_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("padded");
    QTest::addColumn<bool>("filters");
    QTest::newRow("7") << "7"
                       << "0007" << true;
    QTest::newRow("empty") << ""
                           << "0000" << false;
    QTest::newRow("blanks") << " 12 "
                            << "0012" << true;
    QTest::newRow("too long") << "12345"
                              << "2345" << true;
}

void TestPayroll::padEmployee() {
    QFETCH(QString, typed);
    QFETCH(QString, padded);
    QFETCH(bool, filters);
    QCOMPARE(padEmployeeNumber(typed), padded);
    QCOMPARE(filtersEmployee(padEmployeeNumber(typed)), filters);
}

void TestPayroll::periodBoxText() {
    const QDate d(2009, 2, 28);
    QCOMPARE(payroll::periodBoxText(d, DateFormat(QStringLiteral("yyyy-mm-dd"), QStringLiteral("-"))),
             QStringLiteral("2009-02-28"));
    QCOMPARE(payroll::periodBoxText(d, DateFormat(QStringLiteral("yy-mm-dd"), QStringLiteral("."))),
             QStringLiteral("09.02.28"));
    QCOMPARE(payroll::periodBoxText(QDate(), DateFormat()), QString());
}

void TestPayroll::markPaidIncludesLeftRows() {
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-10"), QStringLiteral("一车间"));
    test::addPayrollRow(db, QStringLiteral("0002"), QStringLiteral("2025-03-10"), QStringLiteral("一车间"),
                        m({{"lcbj", 1}}));
    test::addPayrollRow(db, QStringLiteral("0003"), QStringLiteral("2025-04-10"), QStringLiteral("一车间"));
    Dataset list;
    QCOMPARE(markPaid(db, march(), true, &list), 2);
    QCOMPARE(real(db, QStringLiteral("SELECT payoff FROM gzb WHERE gh = '0002'")), 1.0);
    QCOMPARE(real(db, QStringLiteral("SELECT payoff FROM gzb WHERE gh = '0003'")), 0.0);
    QCOMPARE(listed(list), QStringList{"0001"});
    // Marked rows stay listed among the paid ones; the unpaid view lists none of them.
    Dataset unpaid;
    refresh(db, march(Mode::Unpaid), &unpaid);
    QCOMPARE(unpaid.rowCount(), 0);
    Dataset paid;
    refresh(db, march(Mode::Paid), &paid);
    QCOMPARE(listed(paid), QStringList{"0001"});
}

void TestPayroll::unmarkPaid() {
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-10"), QStringLiteral("一车间"),
                        m({{"payoff", 1}}));
    test::addPayrollRow(db, QStringLiteral("0002"), QStringLiteral("2025-03-10"), QStringLiteral("二车间"),
                        m({{"payoff", 1}}));
    Filter f = march();
    f.workshop = QStringLiteral("二车间");
    QCOMPARE(markPaid(db, f, false), 1);
    QCOMPARE(real(db, QStringLiteral("SELECT payoff FROM gzb WHERE gh = '0001'")), 1.0);
    QCOMPARE(real(db, QStringLiteral("SELECT payoff FROM gzb WHERE gh = '0002'")), 0.0);
}

void TestPayroll::clearKeepsLeftRowsAndOtherPeriods() {
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-10"), QStringLiteral("一车间"));
    test::addPayrollRow(db, QStringLiteral("0002"), QStringLiteral("2025-03-10"), QStringLiteral("一车间"),
                        m({{"lcbj", 1}}));
    test::addPayrollRow(db, QStringLiteral("0003"), QStringLiteral("2025-03-10"), QStringLiteral("二车间"));
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-04-10"), QStringLiteral("一车间"));
    Filter f = march(Mode::All);
    f.workshop = QStringLiteral("一车间");
    Dataset list;
    QCOMPARE(clearPeriod(db, f, &list), 1);
    QCOMPARE(list.rowCount(), 0); // reopened in the current mode: the left row is not shown
    Query q(db, QStringLiteral("SELECT gh, etdate FROM gzb ORDER BY gh, etdate"));
    QStringList left;
    while (q.next())
        left << q.text(0) + u'/' + q.text(1);
    QCOMPARE(left, (QStringList{"0001/2025-04-10", "0002/2025-03-10", "0003/2025-03-10"}));
}

void TestPayroll::guard_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("not administrator") << "001"
                                       << "813"
                                       << "该用户无权使用此功能！";
    QTest::newRow("wrong password") << "813"
                                    << "81"
                                    << "输入操作号错误,请重新操作！";
    QTest::newRow("cancelled") << "813"
                               << ""
                               << "输入操作号错误,请重新操作！";
    QTest::newRow("blanks around") << "813"
                                   << " 813 "
                                   << "";
}

void TestPayroll::guard() {
    QFETCH(QString, op);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    const auto r = checkGuard(op, QStringLiteral("813"), typed, payroll::msg::wrongMarkPassword());
    QCOMPARE(r.value_or(QString()), refusal);
}

void TestPayroll::leavingRule_data() {
    QTest::addColumn<bool>("left");
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("leftAfter");
    QTest::addColumn<QString>("dateAfter");
    QTest::addColumn<int>("payrollFlag"); // gzb.lcbj afterwards; it starts as 1 on one row and 0 on the other
    QTest::newRow("left with a date") << true << "2025-03-20" << true << "2025-03-20" << 2;
    QTest::newRow("not left drops the date") << false << "2025-03-20" << false << "" << 0;
    QTest::newRow("left without a date") << true << "" << true << "" << 1;
}

void TestPayroll::leavingRule() {
    QFETCH(bool, left);
    QFETCH(QString, date);
    QFETCH(bool, leftAfter);
    QFETCH(QString, dateAfter);
    QFETCH(int, payrollFlag);
    test::TempHome home;
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0007"), QStringLiteral("2025-02-10"), QStringLiteral("一车间"),
                        m({{"lcbj", 1}}));
    test::addPayrollRow(db, QStringLiteral("0007"), QStringLiteral("2025-03-10"), QStringLiteral("一车间"));
    test::addPayrollRow(db, QStringLiteral("0008"), QStringLiteral("2025-03-10"), QStringLiteral("一车间"));
    bool l = left;
    QString d = date;
    applyLeavingRule(db, QStringLiteral("0007"), l, d);
    QCOMPARE(l, leftAfter);
    QCOMPARE(d, dateAfter);
    QCOMPARE(real(db, QStringLiteral("SELECT sum(lcbj) FROM gzb WHERE gh = '0007'")), double(payrollFlag));
    QCOMPARE(real(db, QStringLiteral("SELECT lcbj FROM gzb WHERE gh = '0008'")), 0.0);
}

void TestPayroll::setEmployeeLeaving() {
    test::TempHome home;
    Database& db = home.db();
    test::insertRow(db, QStringLiteral("employee"),
                    m({{"intno", "000001"}, {"id", "0007"}, {"name", "张三"}, {"szbm", "一车间"}}));
    test::addPayrollRow(db, QStringLiteral("0007"), QStringLiteral("2025-03-10"), QStringLiteral("一车间"));
    QVERIFY(gz::setEmployeeLeaving(db, QStringLiteral("000001"), true, QDate(2025, 3, 20)));
    QCOMPARE(real(db, QStringLiteral("SELECT lcbj FROM gzb")), 1.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT lcrq FROM employee")).toString(), QStringLiteral("2025-03-20"));
    Dataset list;
    refresh(db, march(), &list);
    QCOMPARE(list.rowCount(), 0);
    QVERIFY(gz::setEmployeeLeaving(db, QStringLiteral("000001"), false));
    QCOMPARE(real(db, QStringLiteral("SELECT lcbj FROM gzb")), 0.0);
    QVERIFY(db.scalar(QStringLiteral("SELECT lcrq FROM employee")).isNull());
    QVERIFY(!gz::setEmployeeLeaving(db, QStringLiteral("000099"), true, QDate(2025, 3, 20)));
}

QTEST_GUILESS_MAIN(TestPayroll)
#include "tst_payroll.moc"
