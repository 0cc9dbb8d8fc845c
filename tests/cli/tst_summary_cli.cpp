// gzgl summary KIND.

#include "cli/CliRunner.h"
#include "common/TempHome.h"
#include "core/payroll/PayrollFixtures.h"

#include <QtTest>

using namespace gz;
using gz::test::runGzgl;

namespace {

QVariantMap m(std::initializer_list<std::pair<const char*, QVariant>> kv) {
    QVariantMap v;
    for (const auto& [k, val] : kv)
        v.insert(QString::fromLatin1(k), val);
    return v;
}

void fill(test::TempHome& home) {
    Database& db = home.db();
    test::insertRow(db, QStringLiteral("branch"),
                    m({{"intno", "0000000001"}, {"id", "01"}, {"name", "一车间"}}));
    const QString jj = QStringLiteral("jjgzdetail");
    test::addLine(db, jj, QStringLiteral("0001"), QStringLiteral("2025-03-20"), QStringLiteral("01"),
                  QStringLiteral("纽扣"), 10, 2.5);
    test::addLine(db, jj, QStringLiteral("0002"), QStringLiteral("2025-03-02"), QStringLiteral("02"),
                  QStringLiteral("拉链"), 4, 1);
    test::addLine(db, jj, QStringLiteral("0002"), QStringLiteral("2025-03-03"), QStringLiteral("01"),
                  QStringLiteral("拉链"), 99, 99, true, true);
    test::addLine(db, QStringLiteral("jsgzdetail"), QStringLiteral("0001"), QStringLiteral("2025-03-04"),
                  QStringLiteral("01"), QString(), 2, 200, true, false,
                  m({{"overtime", 12.5}, {"overje", 60}}));
    home.closeDb();
}

QStringList lines(const QString& out) {
    QStringList l = out.split(QStringLiteral("\r\n"));
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

const QStringList kMarch = {"--from", "2025-03-01", "--to", "2025-03-31"};

} // namespace

class TestSummaryCli : public QObject {
    Q_OBJECT
private slots:
    void pieceRate();
    void timeTotals();
    void filters_data();
    void filters();
    void refusals_data();
    void refusals();
};

void TestSummaryCli::pieceRate() {
    test::TempHome home;
    fill(home);
    const auto r = runGzgl(home.path(), QStringList{"summary", "jj"} + kMarch);
    QCOMPARE(r.code, 0);
    const QStringList l = lines(r.out);
    QCOMPARE(l.size(), 6);
    QCOMPARE(l[0], QStringLiteral("nf,yf,branchid,branchname,gh,xm,prowork,dj,sl,jge,remark"));
    QVERIFY(l[1].contains(QStringLiteral(",0002,职工0002,拉链,,4,1,"))); // ordered by work date
    QVERIFY(l[2].contains(QStringLiteral(",0001,职工0001,纽扣,,10,2.5,")));
    QCOMPARE(l[3], QString());
    QCOMPARE(l[4], QStringLiteral("hjsl,amount,branchname"));
    QCOMPARE(l[5], QStringLiteral("14,3.5,"));
}

void TestSummaryCli::timeTotals() {
    test::TempHome home;
    fill(home);
    const auto r = runGzgl(home.path(), QStringList{"summary", "js", "--branch", "01"} + kMarch);
    QCOMPARE(r.code, 0);
    const QStringList l = lines(r.out);
    QCOMPARE(l[0],
             QStringLiteral("nf,yf,branchid,branchname,gh,xm,prowork,dj,sl,jge,overtime,overje,remark"));
    QCOMPARE(l.last(), QStringLiteral("2,200,12.5,60,一车间"));
}

void TestSummaryCli::filters_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("totals");
    QTest::newRow("workshop") << QStringList{"--branch", "01"} << "10,2.5,一车间";
    QTest::newRow("emptied workshop box") << QStringList{"--branch", " "} << "14,3.5,";
    QTest::newRow("employee padded") << QStringList{"--gh", "2"} << "4,1,";
    QTest::newRow("employee 0000") << QStringList{"--gh", "0000"} << "14,3.5,";
    QTest::newRow("product") << QStringList{"--product", "拉链"} << "4,1,";
    QTest::newRow("partial product") << QStringList{"--product", "拉"} << ",,";
}

void TestSummaryCli::filters() {
    QFETCH(QStringList, args);
    QFETCH(QString, totals);
    test::TempHome home;
    fill(home);
    const auto r = runGzgl(home.path(), QStringList{"summary", "jj"} + kMarch + args);
    QCOMPARE(r.code, 0);
    QCOMPARE(lines(r.out).last(), totals);
}

void TestSummaryCli::refusals_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown workshop")
        << (QStringList{"summary", "jj", "--branch", "99"} + kMarch) << 1 << "查无此车间号！";
    QTest::newRow("unknown kind") << (QStringList{"summary", "xx"} + kMarch) << 2 << "";
    QTest::newRow("no dates") << QStringList{"summary", "jf"} << 2 << "";
}

void TestSummaryCli::refusals() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    test::TempHome home;
    fill(home);
    const auto r = runGzgl(home.path(), args);
    QCOMPARE(r.code, code);
    if (!message.isEmpty()) QCOMPARE(r.err.trimmed(), message);
    QVERIFY(r.out.isEmpty());
}

QTEST_GUILESS_MAIN(TestSummaryCli)
#include "tst_summary_cli.moc"
