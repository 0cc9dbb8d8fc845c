// gzgl export: tables, the payroll list and summaries, as CSV and as XLSX with numbers as numbers.

#include "cli/CliRunner.h"
#include "common/TempHome.h"
#include "core/payroll/PayrollFixtures.h"

#include <QProcess>
#include <QXmlStreamReader>
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
    test::addPayrollRow(home.db(), QStringLiteral("0001"), QStringLiteral("2025-03-05"),
                        QStringLiteral("一车间"), m({{"basegz", 1000.5}, {"jge", 300}}));
    test::addLine(home.db(), QStringLiteral("jjgzdetail"), QStringLiteral("0001"),
                  QStringLiteral("2025-03-05"), QStringLiteral("01"), QStringLiteral("纽扣"), 10, 2.5);
    home.closeDb();
}

QStringList lines(const QString& out) {
    QStringList l = out.split(QStringLiteral("\r\n"));
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

QByteArray unzipEntry(const QString& file, const QString& entry) {
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, entry});
    if (!p.waitForFinished(60000)) return {};
    return p.readAllStandardOutput();
}

struct Cell {
    QString ref;
    QString type; // "" or "n" number, "s" shared string, …
    QString value;
};

// The cells of the first worksheet, shared strings resolved.
QMap<QString, Cell> readSheet(const QString& file) {
    QStringList shared;
    {
        QXmlStreamReader x(unzipEntry(file, QStringLiteral("xl/sharedStrings.xml")));
        QString current;
        bool inSi = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("si")) {
                inSi = true;
                current.clear();
            } else if (x.isStartElement() && x.name() == QLatin1String("t") && inSi) {
                current += x.readElementText();
            } else if (x.isEndElement() && x.name() == QLatin1String("si")) {
                inSi = false;
                shared << current;
            }
        }
    }
    QMap<QString, Cell> cells;
    QXmlStreamReader x(unzipEntry(file, QStringLiteral("xl/worksheets/sheet1.xml")));
    Cell c;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("c")) {
            c = Cell{x.attributes().value(QLatin1String("r")).toString(),
                     x.attributes().value(QLatin1String("t")).toString(), QString()};
        } else if (x.isStartElement() && x.name() == QLatin1String("v")) {
            c.value = x.readElementText();
            if (c.type == QLatin1String("s")) c.value = shared.value(c.value.toInt());
            cells.insert(c.ref, c);
        }
    }
    return cells;
}

} // namespace

class TestExportCli : public QObject {
    Q_OBJECT
private slots:
    void tableAsCsv();
    void tableToFile();
    void unknownTable_data();
    void unknownTable();
    void payrollAsCsvMatchesRefresh();
    void payrollAsXlsx();
    void summaryAsXlsx();
};

void TestExportCli::tableAsCsv() {
    test::TempHome home;
    fill(home);
    const auto r = runGzgl(home.path(), {"export", "gzb"});
    QCOMPARE(r.code, 0);
    const QStringList l = lines(r.out);
    QCOMPARE(l.size(), 2);
    QVERIFY(l[0].startsWith(QStringLiteral("nf,yf,branchid,branchname,gh,xm,billdate,etdate,basegz,jge,")));
    QVERIFY(
        l[1].startsWith(QStringLiteral("2025,3,,一车间,0001,职工0001,2025-03-05,2025-03-05,1000.5,300,")));
}

void TestExportCli::tableToFile() {
    test::TempHome home;
    fill(home);
    const QString out = home.path() + QStringLiteral("/opcrl.csv");
    const auto r = runGzgl(home.path(), {"export", "opcrl", "--out", out});
    QCOMPARE(r.code, 0);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList l = lines(QString::fromUtf8(f.readAll()));
    QCOMPARE(l.value(0), QStringLiteral("bh,xm,pw,rh,permit4,permit5,permit6"));
    QVERIFY(l.value(1).startsWith(QStringLiteral("813,系统管理员,")));
    QVERIFY(!QFile::exists(out + QStringLiteral(".part")));
}

void TestExportCli::unknownTable_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("not ours") << QStringList{"export", "sqlite_master"};
    QTest::newRow("injection") << QStringList{"export", "gzb; DELETE FROM gzb"};
    QTest::newRow("bad format") << QStringList{"export", "gzb", "--format", "pdf"};
    QTest::newRow("xlsx without file") << QStringList{"export", "gzb", "--format", "xlsx"};
}

void TestExportCli::unknownTable() {
    QFETCH(QStringList, args);
    test::TempHome home;
    fill(home);
    QCOMPARE(runGzgl(home.path(), args).code, 2);
    home.reopenDb();
    QCOMPARE(home.db().scalar(QStringLiteral("SELECT count(*) FROM gzb")).toInt(), 1);
}

void TestExportCli::payrollAsCsvMatchesRefresh() {
    test::TempHome home;
    fill(home);
    const QStringList filters{"--from", "2025-03-01", "--to", "2025-03-31", "--gh", "1"};
    const auto e = runGzgl(home.path(), QStringList{"export", "payroll"} + filters);
    const auto p = runGzgl(home.path(), QStringList{"payroll", "refresh"} + filters);
    QCOMPARE(e.code, 0);
    QCOMPARE(e.out, p.out);
    QCOMPARE(lines(e.out).last(), QStringLiteral("1,300,0,0,0,1300.5,1300.5,"));
}

void TestExportCli::payrollAsXlsx() {
    test::TempHome home;
    fill(home);
    const QString out = home.path() + QStringLiteral("/工资表.xlsx");
    const auto r = runGzgl(home.path(), {"export", "payroll", "--from", "2025-03-01", "--to", "2025-03-31",
                                         "--format", "xlsx", "--out", out});
    QCOMPARE(r.code, 0);
    QVERIFY(QFile::exists(out));
    const auto cells = readSheet(out);
    QVERIFY2(!cells.isEmpty(), "the worksheet could not be read (unzip)");
    QCOMPARE(cells.value(QStringLiteral("A1")).value, QStringLiteral("payoff"));
    QCOMPARE(cells.value(QStringLiteral("F2")).value, QStringLiteral("职工0001"));
    QCOMPARE(cells.value(QStringLiteral("F2")).type, QStringLiteral("s"));
    // basegz (G) and yfgz (S) as numbers, not text.
    QCOMPARE(cells.value(QStringLiteral("G2")).value, QStringLiteral("1000.5"));
    QVERIFY(cells.value(QStringLiteral("G2")).type.isEmpty() ||
            cells.value(QStringLiteral("G2")).type == "n");
    QCOMPARE(cells.value(QStringLiteral("S2")).value, QStringLiteral("1300.5"));
    QVERIFY(cells.value(QStringLiteral("S2")).type.isEmpty());
    // An empty row, then the totals.
    QVERIFY(!cells.contains(QStringLiteral("A3")));
    QCOMPARE(cells.value(QStringLiteral("A4")).value, QStringLiteral("totalqty"));
    QCOMPARE(cells.value(QStringLiteral("A5")).value, QStringLiteral("1"));
    QVERIFY(cells.value(QStringLiteral("A5")).type.isEmpty());
    QCOMPARE(cells.value(QStringLiteral("F5")).value, QStringLiteral("1300.5"));
}

void TestExportCli::summaryAsXlsx() {
    test::TempHome home;
    fill(home);
    const QString out = home.path() + QStringLiteral("/jj.xlsx");
    const auto r = runGzgl(home.path(), {"export", "summary", "jj", "--from", "2025-03-01", "--to",
                                         "2025-03-31", "--format", "xlsx", "--out", out});
    QCOMPARE(r.code, 0);
    const auto cells = readSheet(out);
    QCOMPARE(cells.value(QStringLiteral("G2")).value, QStringLiteral("纽扣"));
    QCOMPARE(cells.value(QStringLiteral("I2")).value, QStringLiteral("10"));
    QVERIFY(cells.value(QStringLiteral("I2")).type.isEmpty());
    QCOMPARE(cells.value(QStringLiteral("A4")).value, QStringLiteral("hjsl"));
    QCOMPARE(cells.value(QStringLiteral("B5")).value, QStringLiteral("2.5"));
    QVERIFY(!QFile::exists(out + QStringLiteral(".part")));
}

QTEST_GUILESS_MAIN(TestExportCli)
#include "tst_export_cli.moc"
