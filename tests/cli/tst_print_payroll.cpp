// gzgl print of the payroll sheets, the pay slips and the three wage summaries: the rows and
// totals of a refresh with the given filters, the company and the period on the page.

#include "cli/CliRunner.h"
#include "common/TempHome.h"
#include "core/payroll/PayrollFixtures.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

using namespace gz;
using gz::test::CliResult;
using gz::test::runAdmin;
using gz::test::runGzgl;

namespace {

QVariantMap m(std::initializer_list<std::pair<const char*, QVariant>> kv) {
    QVariantMap v;
    for (const auto& [k, val] : kv)
        v.insert(QString::fromLatin1(k), val);
    return v;
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The PDF's text without blanks (the templates space some captions out).
QString pdfText(const QString& path) {
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
        .remove(u' ');
}

const QStringList kMarch = {"--from", "2025-03-01", "--to", "2025-03-31"};

// March 2025: three current employees (two marked paid), one who left, and an April row; posted
// summary lines of each kind, one reversed.
void fill(test::TempHome& home) {
    Database& db = home.db();
    const QString march = QStringLiteral("2025-03-10");
    test::addPayrollRow(db, QStringLiteral("0001"), march, QStringLiteral("一车间"),
                        m({{"basegz", 1000}, {"jge", 300}, {"water", 20}, {"payoff", 1}}));
    test::addPayrollRow(db, QStringLiteral("0002"), march, QStringLiteral("二车间"),
                        m({{"basegz", 500}, {"spellqty", 20}, {"spelldj", 20}, {"spellje", 400}}));
    test::addPayrollRow(db, QStringLiteral("0003"), march, QStringLiteral("一车间"),
                        m({{"basegz", 600},
                           {"pointqty", 100},
                           {"pointdj", 2},
                           {"pointje", 200},
                           {"overtime", 10},
                           {"overje", 50},
                           {"payoff", 1}}));
    test::addPayrollRow(db, QStringLiteral("0004"), march, QStringLiteral("一车间"),
                        m({{"basegz", 700}, {"lcbj", 1}, {"payoff", 1}}));
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-04-05"), QStringLiteral("一车间"),
                        m({{"basegz", 9}}));

    test::insertRow(db, QStringLiteral("branch"),
                    m({{"intno", "0000000001"}, {"id", "01"}, {"name", "一车间"}}));
    const QString jj = QStringLiteral("jjgzdetail");
    test::addLine(db, jj, QStringLiteral("0001"), QStringLiteral("2025-03-20"), QStringLiteral("01"),
                  QStringLiteral("纽扣"), 10, 25, true, false, m({{"dj", 2.5}, {"branchname", "一车间"}}));
    test::addLine(db, jj, QStringLiteral("0002"), QStringLiteral("2025-03-02"), QStringLiteral("02"),
                  QStringLiteral("拉链"), 4, 8, true, false, m({{"dj", 2}}));
    test::addLine(db, jj, QStringLiteral("0002"), QStringLiteral("2025-03-03"), QStringLiteral("01"),
                  QStringLiteral("冲销品"), 99, 99, true, true);
    test::addLine(db, QStringLiteral("jfgzdetail"), QStringLiteral("0003"), QStringLiteral("2025-03-12"),
                  QStringLiteral("01"), QStringLiteral("计分品"), 50, 100);
    test::addLine(db, QStringLiteral("jsgzdetail"), QStringLiteral("0001"), QStringLiteral("2025-03-04"),
                  QStringLiteral("01"), QStringLiteral("值班"), 2, 200, true, false,
                  m({{"overtime", 12.5}, {"overje", 60}}));
    home.closeDb();
}

// The cells of an XLSX sheet as CSV lines.
QList<QStringList> sheetRows(const QString& path) {
    QList<QStringList> rows;
    for (const QString& line : run(QStringLiteral("xlsx2csv"), {path}).split(u'\n'))
        rows << line.split(u',');
    return rows;
}

} // namespace

class TstPrintPayroll : public QObject {
    Q_OBJECT
    test::TempHome home_;

    QString out(const QString& name) const { return QDir(home_.path()).filePath(name); }

private slots:
    void initTestCase() {
        fill(home_);
        const CliResult init = runGzgl(home_.path(), {QStringLiteral("init")});
        QVERIFY2(init.code == 0, qPrintable(init.err));
        const CliResult company =
            runAdmin(home_.path(), {QStringLiteral("sql"), QStringLiteral("UPDATE company SET name = :n"),
                                    QStringLiteral("--param"), QStringLiteral("n=星光玩具厂")});
        QVERIFY2(company.code == 0, qPrintable(company.err));
    }

    void toPdf_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        const QStringList names{"职工0001", "职工0002", "职工0003"};
        // Current mode: the one who left and the April row stay off the sheet.
        QTest::newRow("gzb") << (QStringList{"gzb.rmf"} + kMarch)
                             << (names + QStringList{"总工资表", "一车间小计", "3050.00", "3030.00"})
                             << QStringList{"职工0004", "3750.00"};
        QTest::newRow("gzbs") << (QStringList{"gzbs"} + kMarch)
                              << (names + QStringList{"计时工资表", "400.00", "3030.00"})
                              << QStringList{"职工0004"};
        QTest::newRow("gzbf") << (QStringList{"gzbf"} + kMarch)
                              << (names + QStringList{"计分工资表", "200.00", "3030.00"})
                              << QStringList{"职工0004"};
        QTest::newRow("gzbt") << (QStringList{"gzbt"} + kMarch)
                              << (names + QStringList{"1280.00", "900.00", "850.00"})
                              << QStringList{"职工0004"};
        QTest::newRow("gzb one workshop")
            << (QStringList{"gzb", "--workshop", "二车间"} + kMarch)
            << QStringList{"职工0002", "二车间", "900.00"} << QStringList{"职工0001", "职工0003", "3030.00"};
        QTest::newRow("jjtotal") << (QStringList{"jjtotal"} + kMarch)
                                 << QStringList{"职工0001", "职工0002", "纽扣", "拉链", "33.00"}
                                 << QStringList{"冲销品", "计分品"};
        QTest::newRow("jjtotal one workshop")
            << (QStringList{"jjtotal", "--branch", "01"} + kMarch) << QStringList{"纽扣", "25.00", "一车间"}
            << QStringList{"拉链", "33.00"};
        QTest::newRow("jftotal") << (QStringList{"jftotal"} + kMarch)
                                 << QStringList{"职工0003", "计分品", "100.00"} << QStringList{"纽扣"};
        QTest::newRow("jstotal") << (QStringList{"jstotal"} + kMarch)
                                 << QStringList{"职工0001", "值班", "200.00", "12.5", "60.00"}
                                 << QStringList{"纽扣"};
    }
    void toPdf() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        const QString pdf = out(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
        const CliResult r =
            runGzgl(home_.path(), QStringList{QStringLiteral("print")} + args + QStringList{"--out", pdf});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QString text = pdfText(pdf);
        // Every template shows the company and the period the refresh remembered.
        for (const QString& s : present + QStringList{"星光玩具厂", "2025-03-01", "2025-03-31"})
            QVERIFY2(text.contains(s), qPrintable(s + QStringLiteral(" not in:\n") + text));
        for (const QString& s : absent)
            QVERIFY2(!text.contains(s), qPrintable(s + QStringLiteral(" in:\n") + text));
    }

    // The sheet printed right after choosing the paid rows holds only those and their totals.
    void paidModePrintsPaidRowsAndTheirTotals() {
        const QString pdf = out(QStringLiteral("paid.pdf"));
        const CliResult r = runGzgl(home_.path(), QStringList{"print", "gzb", "--mode", "paid"} + kMarch +
                                                      QStringList{"--out", pdf});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QString text = pdfText(pdf);
        for (const QString& s : QStringList{"职工0001", "职工0003", "2150.00", "2130.00"})
            QVERIFY2(text.contains(s), qPrintable(s + QStringLiteral(" not in\n") + text));
        for (const QString& s : QStringList{"职工0002", "职工0004", "3030.00", "3050.00"})
            QVERIFY2(!text.contains(s), qPrintable(s + QStringLiteral(" in\n") + text));
        // The totals row printed is the one the refresh left.
        const CliResult totals = runAdmin(home_.path(), {"sql", "SELECT totalqty, sfgz FROM gzbtotal"});
        QCOMPARE(totals.out.split(QStringLiteral("\r\n")).value(1), QStringLiteral("2,2130"));
    }

    // In the spreadsheet the rows of a column add up to the totals row printed under them.
    void xlsxRowsAddUpToTheTotals_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("total");
        QTest::newRow("gzb net") << (QStringList{"gzb"} + kMarch) << "实发工资" << 3 << 3030.0;
        QTest::newRow("gzb gross") << (QStringList{"gzb"} + kMarch) << "应发工资" << 3 << 3050.0;
        QTest::newRow("gzbs net") << (QStringList{"gzbs"} + kMarch) << "实发工资" << 3 << 3030.0;
        QTest::newRow("gzbf paid") << (QStringList{"gzbf", "--mode", "paid"} + kMarch) << "实发工资" << 2
                                   << 2130.0;
        QTest::newRow("jjtotal") << (QStringList{"jjtotal"} + kMarch) << "加工额" << 2 << 33.0;
        QTest::newRow("jftotal") << (QStringList{"jftotal"} + kMarch) << "加工金额" << 1 << 100.0;
        QTest::newRow("jstotal") << (QStringList{"jstotal"} + kMarch) << "加班工资" << 1 << 60.0;
    }
    void xlsxRowsAddUpToTheTotals() {
        QFETCH(QStringList, args);
        QFETCH(QString, column);
        QFETCH(int, rows);
        QFETCH(double, total);
        const QString path = out(QStringLiteral("%1.xlsx").arg(QTest::currentDataTag()).replace(u' ', u'_'));
        const CliResult r =
            runGzgl(home_.path(), QStringList{QStringLiteral("print")} + args + QStringList{"--out", path});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QList<QStringList> sheet = sheetRows(path);
        int col = -1, ghCol = -1, dataRows = 0;
        double sum = 0, printedTotal = -1;
        for (const QStringList& cells : sheet) {
            if (col < 0) {
                col = cells.indexOf(column);
                ghCol = cells.indexOf(QStringLiteral("工号"));
                continue;
            }
            if (cells.size() <= col) continue;
            if (cells.join(QString()).contains(QStringLiteral("合计")) ||
                cells.join(QString()).contains(QStringLiteral("合    计"))) {
                printedTotal = cells[col].toDouble();
            } else if (ghCol >= 0 && cells.value(ghCol).size() == 4 &&
                       cells.value(ghCol).startsWith(QStringLiteral("000"))) {
                sum += cells[col].toDouble();
                ++dataRows;
            }
        }
        QVERIFY2(col >= 0 && ghCol >= 0, qPrintable(sheet.value(0).join(u',')));
        QCOMPARE(dataRows, rows);
        QCOMPARE(sum, total);
        QCOMPARE(printedTotal, total);
    }

    void badFilters_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("payroll without period") << QStringList{"gzb", "--from", "2025-03-01"} << 2 << "--to";
        QTest::newRow("payroll bad date")
            << QStringList{"gzbs", "--from", "2025-02-30", "--to", "2025-03-31"} << 2 << "2025-02-30";
        QTest::newRow("payroll bad mode")
            << (QStringList{"gzbt", "--mode", "sometimes"} + kMarch) << 2 << "--mode";
        QTest::newRow("summary without period")
            << QStringList{"jstotal", "--to", "2025-03-31"} << 2 << "--from";
        QTest::newRow("summary bad date")
            << QStringList{"jftotal", "--from", "yesterday", "--to", "2025-03-31"} << 2 << "yesterday";
        QTest::newRow("unknown workshop number")
            << (QStringList{"jjtotal", "--branch", "77"} + kMarch) << 1 << "查无此车间号！";
    }
    void badFilters() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, mentions);
        const QString pdf = out(QStringLiteral("bad.pdf"));
        QFile::remove(pdf);
        const CliResult before = runAdmin(home_.path(), {"sql", "SELECT count(*) FROM gzbtotal"});
        const CliResult r =
            runGzgl(home_.path(), QStringList{QStringLiteral("print")} + args + QStringList{"--out", pdf});
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(mentions), qPrintable(r.err));
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(runAdmin(home_.path(), {"sql", "SELECT count(*) FROM gzbtotal"}).out, before.out);
    }

    // An unknown template's message lists the new templates with their filters.
    void unknownTemplateListsThePayrollPrints() {
        const CliResult r = runGzgl(home_.path(), {"print", "nosuch", "--out", out(QStringLiteral("x.pdf"))});
        QCOMPARE(r.code, 2);
        for (const QString& s :
             QStringList{"gzb.rmf --from DATE --to DATE", "gzbt.rmf", "jstotal.rmf --from DATE"})
            QVERIFY2(r.err.contains(s), qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("[--mode current|all|paid|unpaid]")));
        QVERIFY(r.err.contains(QStringLiteral("[--product NAME]")));
    }
};

QTEST_GUILESS_MAIN(TstPrintPayroll)
#include "tst_print_payroll.moc"
