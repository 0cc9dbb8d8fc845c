// gzgl payroll refresh|paid|unpaid|clear|edit.

#include "cli/CliRunner.h"
#include "common/TempHome.h"
#include "core/payroll/Payroll.h"
#include "core/payroll/PayrollFixtures.h"

#include <QtTest>

using namespace gz;
using gz::test::runAdmin;
using gz::test::runGzgl;

namespace {

QVariantMap m(std::initializer_list<std::pair<const char*, QVariant>> kv) {
    QVariantMap v;
    for (const auto& [k, val] : kv)
        v.insert(QString::fromLatin1(k), val);
    return v;
}

// Two current employees and one who left, in March 2025; one row in April.
void fill(test::TempHome& home) {
    Database& db = home.db();
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-05"), QStringLiteral("一车间"),
                        m({{"basegz", 1000}, {"jge", 300}, {"water", 20}}));
    test::addPayrollRow(db, QStringLiteral("0002"), QStringLiteral("2025-03-06"), QStringLiteral("二车间"),
                        m({{"basegz", 500}, {"remark", "a,b"}}));
    test::addPayrollRow(db, QStringLiteral("0003"), QStringLiteral("2025-03-07"), QStringLiteral("一车间"),
                        m({{"basegz", 700}, {"lcbj", 1}}));
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-04-05"), QStringLiteral("一车间"),
                        m({{"basegz", 9}}));
    home.closeDb();
}

const QStringList kMarch = {"--from", "2025-03-01", "--to", "2025-03-31"};

QStringList lines(const QString& out) {
    QStringList l = out.split(QStringLiteral("\r\n"));
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

QString gridHeader() {
    QStringList h;
    for (const auto& c : payroll::gridColumns())
        h << c.field;
    return h.join(u',');
}

} // namespace

class TestPayrollCli : public QObject {
    Q_OBJECT
private slots:
    void refreshPrintsRowsAndTotals();
    void refreshModesAndFilters_data();
    void refreshModesAndFilters();
    void badUsage_data();
    void badUsage();
    void marksNeedTheAdministrator();
    void markAndClear();
    void editSavesTheRow();
    void editRefusals_data();
    void editRefusals();
};

void TestPayrollCli::refreshPrintsRowsAndTotals() {
    test::TempHome home;
    fill(home);
    const auto r = runGzgl(home.path(), QStringList{"payroll", "refresh"} + kMarch);
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    const QStringList l = lines(r.out);
    QCOMPARE(l.size(), 6);
    QCOMPARE(l[0], gridHeader());
    QVERIFY(l[1].startsWith(QStringLiteral("0,2025,3,一车间,0001,职工0001,1000,300,")));
    QVERIFY(l[1].endsWith(QStringLiteral(",1300,0,0,0,0,20,0,0,1280,")));
    QVERIFY(l[2].endsWith(QStringLiteral(",500,0,0,0,0,0,0,0,500,\"a,b\"")));
    QCOMPARE(l[3], QString());
    QCOMPARE(l[4], QStringLiteral("totalqty,jge,spellje,pointje,overje,yfgz,sfgz,branchname"));
    QCOMPARE(l[5], QStringLiteral("2,300,0,0,0,1800,1780,"));
}

void TestPayrollCli::refreshModesAndFilters_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("totals");
    QTest::newRow("all") << QStringList{"--mode", "all"} << "3,300,0,0,0,2500,2480,";
    QTest::newRow("employee padded") << QStringList{"--gh", "2"} << "1,0,0,0,0,500,500,";
    QTest::newRow("emptied employee box") << QStringList{"--gh", ""} << "2,300,0,0,0,1800,1780,";
    QTest::newRow("workshop") << QStringList{"--workshop", "一车间", "--mode", "all"}
                              << "2,300,0,0,0,2000,1980,一车间";
    QTest::newRow("paid: none") << QStringList{"--mode", "paid"} << "0,,,,,,,";
}

void TestPayrollCli::refreshModesAndFilters() {
    QFETCH(QStringList, args);
    QFETCH(QString, totals);
    test::TempHome home;
    fill(home);
    const auto r = runGzgl(home.path(), QStringList{"payroll", "refresh"} + kMarch + args);
    QCOMPARE(r.code, 0);
    QCOMPARE(lines(r.out).last(), totals);
}

void TestPayrollCli::badUsage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no end date") << QStringList{"payroll", "refresh", "--from", "2025-03-01"};
    QTest::newRow("bad date") << QStringList{"payroll",    "refresh", "--from",
                                             "2025-03-01", "--to",    "2025-02-30"};
    QTest::newRow("bad mode") << (QStringList{"payroll", "refresh", "--mode", "left"} + kMarch);
    QTest::newRow("unknown verb") << QStringList{"payroll", "print"};
}

void TestPayrollCli::badUsage() {
    QFETCH(QStringList, args);
    test::TempHome home;
    fill(home);
    QCOMPARE(runGzgl(home.path(), args).code, 2);
}

void TestPayrollCli::marksNeedTheAdministrator() {
    test::TempHome home;
    fill(home);
    auto r = runGzgl(home.path(), QStringList{"payroll", "paid"} + kMarch);
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err.trimmed(), QStringLiteral("该用户无权使用此功能！"));
    r = runGzgl(home.path(), QStringList{"payroll", "clear"} + kMarch, QStringLiteral("813"),
                QStringLiteral("x"));
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err.trimmed(), QStringLiteral("密码错误,非法用户！"));
    home.reopenDb();
    QCOMPARE(home.db().scalar(QStringLiteral("SELECT count(*) FROM gzb WHERE payoff = 1")).toInt(), 0);
    QCOMPARE(home.db().scalar(QStringLiteral("SELECT count(*) FROM gzb")).toInt(), 4);
}

void TestPayrollCli::markAndClear() {
    test::TempHome home;
    fill(home);
    auto r = runAdmin(home.path(), QStringList{"payroll", "paid"} + kMarch);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out.trimmed(), QStringLiteral("3")); // the row of the employee who left too
    r = runAdmin(home.path(), QStringList{"payroll", "unpaid", "--gh", "0002"} + kMarch);
    QCOMPARE(r.out.trimmed(), QStringLiteral("1"));
    r = runGzgl(home.path(), QStringList{"payroll", "refresh", "--mode", "paid"} + kMarch);
    QCOMPARE(lines(r.out).size(), 5);
    r = runAdmin(home.path(), QStringList{"payroll", "clear"} + kMarch);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out.trimmed(), QStringLiteral("2"));
    home.reopenDb();
    QCOMPARE(home.db()
                 .scalar(QStringLiteral(
                     "SELECT group_concat(x) FROM (SELECT gh || '/' || yf AS x FROM gzb ORDER BY gh)"))
                 .toString(),
             QStringLiteral("0001/4,0003/3"));
}

void TestPayrollCli::editSavesTheRow() {
    test::TempHome home;
    fill(home);
    const auto r =
        runGzgl(home.path(), {"payroll", "edit", "--gh", "1", "--year", "2025", "--month", "03", "--allbonus",
                              "100", "--lateje", "50", "--deposit", "-10", "--remark", "已核对"});
    QCOMPARE(r.code, 0);
    const QStringList l = lines(r.out);
    QCOMPARE(l.size(), 2);
    const QStringList header = l[0].split(u',');
    const QStringList row = l[1].split(u',');
    auto cell = [&](const char* f) { return row.value(header.indexOf(QString::fromLatin1(f))); };
    QCOMPARE(cell("yfgz"), QStringLiteral("1400"));
    QCOMPARE(cell("sfgz"), QStringLiteral("1320")); // 1400 - water 20 - lateness 50 - 10
    QCOMPARE(cell("remark"), QStringLiteral("已核对"));
    QCOMPARE(cell("lateje"), QStringLiteral("0"));
    QCOMPARE(cell("etdate"), QStringLiteral("2025-03-05"));
}

void TestPayrollCli::editRefusals_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::newRow("no such row") << QStringList{"--gh", "0009", "--year", "2025", "--month", "3"} << 1;
    QTest::newRow("shown-only box") << QStringList{"--gh",    "0001", "--year", "2025",
                                                   "--month", "3",    "--jge",  "1"}
                                    << 2;
    QTest::newRow("month 13") << QStringList{"--gh", "0001", "--year", "2025", "--month", "13"} << 2;
    QTest::newRow("not a number") << QStringList{"--gh",    "0001", "--year",  "2025",
                                                 "--month", "3",    "--water", "1.2.3"}
                                  << 3;
    QTest::newRow("remark too long") << QStringList{"--gh",    "0001", "--year",   "2025",
                                                    "--month", "3",    "--remark", QString(21, u'字')}
                                     << 3;
}

void TestPayrollCli::editRefusals() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    test::TempHome home;
    fill(home);
    QCOMPARE(runGzgl(home.path(), QStringList{"payroll", "edit"} + args).code, code);
    home.reopenDb();
    QCOMPARE(home.db().scalar(QStringLiteral("SELECT sum(water) + sum(yfgz) FROM gzb")).toDouble(), 20.0);
    QVERIFY(
        home.db().scalar(QStringLiteral("SELECT remark FROM gzb WHERE gh = '0001' AND yf = '3'")).isNull());
}

QTEST_GUILESS_MAIN(TestPayrollCli)
#include "tst_payroll_cli.moc"
