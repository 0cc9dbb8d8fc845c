// The wage summaries of the three kinds: which lines are listed and totalled, the filters, the
// totals row.

#include "common/TempHome.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "core/payroll/PayrollFixtures.h"
#include "core/payroll/Period.h"
#include "core/payroll/Summary.h"

#include <QtTest>

using namespace gz;
using namespace gz::payroll;

namespace {

SummaryFilter march() {
    SummaryFilter f;
    f.from = QDate(2025, 3, 1);
    f.to = QDate(2025, 3, 31);
    return f;
}

QVariantMap m(std::initializer_list<std::pair<const char*, QVariant>> kv) {
    QVariantMap v;
    for (const auto& [k, val] : kv)
        v.insert(QString::fromLatin1(k), val);
    return v;
}

QStringList column(const Dataset& ds, const char* name) {
    QStringList out;
    const int c = ds.columnIndex(QString::fromLatin1(name));
    for (int r = 0; r < ds.rowCount(); ++r)
        out << ds.text(r, c);
    return out;
}

// Piece-rate lines of March, and lines that must never show.
void pieceFixture(Database& db) {
    const QString t = QStringLiteral("jjgzdetail");
    test::addLine(db, t, QStringLiteral("0001"), QStringLiteral("2025-03-31"), QStringLiteral("01"),
                  QStringLiteral("纽扣"), 10, 5);
    test::addLine(db, t, QStringLiteral("0002"), QStringLiteral("2025-03-01"), QStringLiteral("02"),
                  QStringLiteral("纽扣"), 20, 8);
    test::addLine(db, t, QStringLiteral("0001"), QStringLiteral("2025-03-15"), QStringLiteral("01"),
                  QStringLiteral("拉链"), 30, 12);
    // Reversed, not posted, outside the period on both sides.
    test::addLine(db, t, QStringLiteral("0001"), QStringLiteral("2025-03-10"), QStringLiteral("01"),
                  QStringLiteral("纽扣"), 1000, 1000, true, true);
    test::addLine(db, t, QStringLiteral("0001"), QStringLiteral("2025-03-10"), QStringLiteral("01"),
                  QStringLiteral("纽扣"), 2000, 2000, false, false);
    test::addLine(db, t, QStringLiteral("0001"), QStringLiteral("2025-02-28"), QStringLiteral("01"),
                  QStringLiteral("纽扣"), 4000, 4000);
    test::addLine(db, t, QStringLiteral("0001"), QStringLiteral("2025-04-01"), QStringLiteral("01"),
                  QStringLiteral("纽扣"), 8000, 8000);
    // A line of another kind in the period.
    test::addLine(db, QStringLiteral("jfgzdetail"), QStringLiteral("0001"), QStringLiteral("2025-03-05"),
                  QStringLiteral("01"), QStringLiteral("纽扣"), 16000, 16000);
}

} // namespace

class TestSummary : public QObject {
    Q_OBJECT
private slots:
    void postedNotReversedInPeriod();
    void filters_data();
    void filters();
    void timeSummaryOvertime();
    void noMatchingLine();
    void totalsRowRewrittenAndPeriodRemembered();
    void invalidDateWritesNothing();
    void gridColumns();
    void workshopLookup();
};

void TestSummary::postedNotReversedInPeriod() {
    test::TempHome home;
    Database& db = home.db();
    pieceFixture(db);
    Dataset list;
    const SummaryTotals t = refreshSummary(db, SummaryKind::Piece, march(), &list);
    QCOMPARE(column(list, "etdate"), (QStringList{"2025-03-01", "2025-03-15", "2025-03-31"}));
    QVERIFY(t.hasSums);
    QCOMPARE(t.hjsl, 60.0);
    QCOMPARE(t.amount, 25.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT amount FROM totallist")).toDouble(), 25.0);
    QVERIFY(db.scalar(QStringLiteral("SELECT hjovertime FROM totallist")).isNull());
    // The points summary sees only its own lines.
    const SummaryTotals p = refreshSummary(db, SummaryKind::Points, march(), &list);
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(p.amount, 16000.0);
}

void TestSummary::filters_data() {
    QTest::addColumn<QString>("branch");
    QTest::addColumn<QString>("gh");
    QTest::addColumn<QString>("product");
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<double>("amount");
    QTest::newRow("workshop number") << "01"
                                     << ""
                                     << "" << QStringList{"2025-03-15", "2025-03-31"} << 17.0;
    QTest::newRow("workshop trimmed") << " 02 "
                                      << ""
                                      << "" << QStringList{"2025-03-01"} << 8.0;
    QTest::newRow("employee") << ""
                              << "0002"
                              << "" << QStringList{"2025-03-01"} << 8.0;
    QTest::newRow("0000 means all") << ""
                                    << "0000"
                                    << "" << QStringList{"2025-03-01", "2025-03-15", "2025-03-31"} << 25.0;
    QTest::newRow("product exact") << ""
                                   << ""
                                   << "纽扣" << QStringList{"2025-03-01", "2025-03-31"} << 13.0;
    QTest::newRow("partial product lists nothing") << ""
                                                   << ""
                                                   << "纽" << QStringList{} << 0.0;
    QTest::newRow("all three") << "01"
                               << "0001"
                               << "拉链" << QStringList{"2025-03-15"} << 12.0;
}

void TestSummary::filters() {
    QFETCH(QString, branch);
    QFETCH(QString, gh);
    QFETCH(QString, product);
    QFETCH(QStringList, dates);
    QFETCH(double, amount);
    test::TempHome home;
    Database& db = home.db();
    pieceFixture(db);
    SummaryFilter f = march();
    f.branchId = branch;
    f.gh = gh;
    f.product = product;
    Dataset list;
    const SummaryTotals t = refreshSummary(db, SummaryKind::Piece, f, &list);
    QCOMPARE(column(list, "etdate"), dates);
    QCOMPARE(t.amount, amount);
    QCOMPARE(t.hasSums, !dates.isEmpty());
}

void TestSummary::timeSummaryOvertime() {
    test::TempHome home;
    Database& db = home.db();
    const QString t = QStringLiteral("jsgzdetail");
    test::addLine(db, t, QStringLiteral("0001"), QStringLiteral("2025-03-02"), QStringLiteral("01"),
                  QString(), 2, 100, true, false, m({{"overtime", 4.5}, {"overje", 45}}));
    test::addLine(db, t, QStringLiteral("0001"), QStringLiteral("2025-03-03"), QStringLiteral("01"),
                  QString(), 1, 50, true, false, m({{"overtime", 8}, {"overje", 80}}));
    test::addLine(db, t, QStringLiteral("0001"), QStringLiteral("2025-03-04"), QStringLiteral("01"),
                  QString(), 9, 900, true, true, m({{"overtime", 100}, {"overje", 1000}}));
    SummaryFilter f = march();
    f.workshopName = QStringLiteral("一车间");
    Dataset list;
    const SummaryTotals s = refreshSummary(db, SummaryKind::Time, f, &list);
    QCOMPARE(list.rowCount(), 2);
    QCOMPARE(s.hjsl, 3.0);
    QCOMPARE(s.amount, 150.0);
    QCOMPARE(s.hjovertime, 12.5);
    QCOMPARE(s.hjoverje, 125.0);
    QCOMPARE(s.branchname, QStringLiteral("一车间"));
    QCOMPARE(readSummaryTotals(db).hjovertime, 12.5);
}

void TestSummary::noMatchingLine() {
    test::TempHome home;
    Database& db = home.db();
    Dataset list;
    const SummaryTotals t = refreshSummary(db, SummaryKind::Piece, march(), &list);
    QCOMPARE(list.rowCount(), 0);
    QVERIFY(!t.hasSums);
    QCOMPARE(t.amount, 0.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM totallist")).toInt(), 1);
}

void TestSummary::totalsRowRewrittenAndPeriodRemembered() {
    test::TempHome home;
    Database& db = home.db();
    pieceFixture(db);
    db.exec(QStringLiteral("DELETE FROM dateconfig"));
    refreshSummary(db, SummaryKind::Piece, march());
    SummaryFilter f = march();
    f.from = QDate(2025, 3, 15);
    refreshSummary(db, SummaryKind::Piece, f);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM totallist")).toInt(), 1);
    QCOMPARE(readSummaryTotals(db).amount, 17.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM dateconfig")).toInt(), 1);
    QCOMPARE(rememberedPeriod(db)->from, QDate(2025, 3, 15));
    // The payroll totals row is not touched by a summary.
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM gzbtotal")).toInt(), 0);
    // A refresh of the same period puts right a totals row that was changed in between.
    Dataset list;
    for (const char* tamper :
         {"UPDATE totallist SET amount = 1", "INSERT INTO totallist (amount) VALUES (17)",
          "UPDATE totallist SET gh = '0001'"}) {
        db.exec(QString::fromLatin1(tamper));
        refreshSummary(db, SummaryKind::Piece, f, &list);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM totallist")).toInt(), 1);
        QCOMPARE(readSummaryTotals(db).amount, 17.0);
        QVERIFY(db.scalar(QStringLiteral("SELECT gh FROM totallist")).isNull());
    }
}

void TestSummary::invalidDateWritesNothing() {
    test::TempHome home;
    Database& db = home.db();
    pieceFixture(db);
    refreshSummary(db, SummaryKind::Piece, march());
    SummaryFilter f = march();
    f.from = QDate();
    QVERIFY_THROWS_EXCEPTION(Error, refreshSummary(db, SummaryKind::Piece, f));
    QCOMPARE(readSummaryTotals(db).amount, 25.0);
    QCOMPARE(rememberedPeriod(db)->from, QDate(2025, 3, 1));
}

void TestSummary::gridColumns() {
    const auto piece = summaryGridColumns(SummaryKind::Piece);
    QCOMPARE(piece.size(), std::size_t(11));
    QCOMPARE(piece[8].title, QStringLiteral("加工量"));
    const auto time = summaryGridColumns(SummaryKind::Time);
    QCOMPARE(time.size(), std::size_t(13));
    QCOMPARE(time[10].field, QStringLiteral("overtime"));
    QCOMPARE(time[7].title, QStringLiteral("班工价"));
    QCOMPARE(summaryGridColumns(SummaryKind::Points)[8].title, QStringLiteral("分数"));
}

void TestSummary::workshopLookup() {
    test::TempHome home;
    Database& db = home.db();
    test::insertRow(db, QStringLiteral("branch"),
                    m({{"intno", "0000000001"}, {"id", "01"}, {"name", "一车间"}}));
    QCOMPARE(workshopName(db, QStringLiteral("01")).value_or(QString()), QStringLiteral("一车间"));
    QVERIFY(!workshopName(db, QStringLiteral("1")));
    QVERIFY(!workshopName(db, QString()));
}

QTEST_GUILESS_MAIN(TestSummary)
#include "tst_summary.moc"
