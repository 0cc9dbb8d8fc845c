// gzgl yearend and initialise.

#include "cli/CliRunner.h"
#include "common/TempHome.h"
#include "core/payroll/PayrollFixtures.h"

#include <QtTest>

using namespace gz;
using gz::test::runAdmin;
using gz::test::runGzgl;

namespace {

void fill(test::TempHome& home) {
    test::addPayrollRow(home.db(), QStringLiteral("0001"), QStringLiteral("2009-12-05"),
                        QStringLiteral("一车间"));
    test::addLine(home.db(), QStringLiteral("jjgzdetail"), QStringLiteral("0001"),
                  QStringLiteral("2009-12-05"), QStringLiteral("01"), QStringLiteral("纽扣"), 1, 1);
    home.closeDb();
}

int rows(test::TempHome& home, const char* table) {
    home.reopenDb();
    const int n =
        home.db().scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))).toInt();
    home.closeDb();
    return n;
}

} // namespace

class TestYearEndCli : public QObject {
    Q_OBJECT
private slots:
    void administratorOnly_data();
    void administratorOnly();
    void yearEnd();
    void initialise();
};

void TestYearEndCli::administratorOnly_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("yearend") << "yearend";
    QTest::newRow("initialise") << "initialise";
}

void TestYearEndCli::administratorOnly() {
    QFETCH(QString, command);
    test::TempHome home;
    fill(home);
    const auto r = runGzgl(home.path(), {command, "--date", "2009-12-31"});
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err.trimmed(), QStringLiteral("该用户无权使用此功能！"));
    QCOMPARE(rows(home, "gzb"), 1);
    QVERIFY(!QDir(home.folder().lastYearDir()).exists());
}

void TestYearEndCli::yearEnd() {
    test::TempHome home;
    fill(home);
    const auto r = runAdmin(home.path(), {"yearend", "--date", "2009-12-31"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out.trimmed(), QStringLiteral("1001000001"));
    QCOMPARE(rows(home, "gzb"), 0);
    QCOMPARE(rows(home, "jjgzdetail"), 0);
    QVERIFY(QFile::exists(home.folder().path(QStringLiteral("LASTBAK/shdb.mdb"))));
    const auto draw = runGzgl(home.path(), {"number", "draw", "jjgzlist"});
    QCOMPARE(draw.out.trimmed(), QStringLiteral("1001000001"));
}

void TestYearEndCli::initialise() {
    test::TempHome home;
    fill(home);
    const auto r = runAdmin(home.path(), {"initialise", "--date", "2009-03-15"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out.trimmed(), QStringLiteral("0903000001"));
    QCOMPARE(rows(home, "gzb"), 0);
    QCOMPARE(rows(home, "opcrl"), 1);
    QVERIFY(!QDir(home.folder().lastYearDir()).exists());
    QCOMPARE(runAdmin(home.path(), {"initialise", "--date", "2009-02-30"}).code, 2);
}

QTEST_GUILESS_MAIN(TestYearEndCli)
#include "tst_yearend_cli.moc"
