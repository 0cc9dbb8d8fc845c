#include "common/TempHome.h"
#include "core/data/Database.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "core/data/Formats.h"

#include <QtTest>

using namespace gz;
using gz::test::TempHome;

namespace {

void addLines(Database& db, int n) {
    Transaction tx(db);
    for (int i = 1; i <= n; ++i)
        db.exec(QStringLiteral(
                    "INSERT INTO jjgzdetail (nf, yf, gh, xm, etdate, dj, sl, jge, intno, mainintno, pass) "
                    "VALUES ('2025', '3', :p1, :p2, '2025-03-05', 0.5, :p3, :p4, :p5, '2503000001', 1)"),
                {QStringLiteral("%1").arg(i % 7, 4, 10, QChar(u'0')), QStringLiteral("王小%1").arg(i % 3),
                 double(i), i * 0.5, QStringLiteral("%1").arg(i, 10, 10, QChar(u'0'))});
    tx.commit();
}

} // namespace

class TestDataset : public QObject {
    Q_OBJECT
private slots:
    void readsTypedColumns() {
        TempHome home;
        addLines(home.db(), 5);
        Dataset ds;
        ds.openTable(home.db(), QStringLiteral("jjgzdetail"), QStringLiteral("ORDER BY intno"));
        QCOMPARE(ds.rowCount(), 5);
        QCOMPARE(ds.columnName(0), QStringLiteral("nf")); // the hidden rowid is not a column
        const int sl = ds.columnIndex(QStringLiteral("SL"));
        QCOMPARE(ds.columnType(sl), Dataset::Type::Real);
        QCOMPARE(ds.columnType(ds.columnIndex(QStringLiteral("pass"))), Dataset::Type::Bool);
        QCOMPARE(ds.columnType(ds.columnIndex(QStringLiteral("etdate"))), Dataset::Type::Date);
        QCOMPARE(ds.real(4, sl), 5.0);
        QCOMPARE(ds.value(1, ds.columnIndex(QStringLiteral("xm"))).toString(), QStringLiteral("王小2"));
        QCOMPARE(ds.textView(1, ds.columnIndex(QStringLiteral("xm"))), QStringView(u"王小2"));
        QCOMPARE(ds.value(0, ds.columnIndex(QStringLiteral("etdate"))).toDate(), QDate(2025, 3, 5));
        QCOMPARE(ds.value(0, ds.columnIndex(QStringLiteral("pass"))).toBool(), true);
        QVERIFY(ds.isNull(0, ds.columnIndex(QStringLiteral("remark"))));
        QCOMPARE(ds.real(0, ds.columnIndex(QStringLiteral("overje"))), 0.0);
    }

    void cursorAndFields() {
        TempHome home;
        addLines(home.db(), 3);
        Dataset ds;
        ds.open(home.db(), QStringLiteral("SELECT intno, sl FROM jjgzdetail WHERE sl >= :p1 ORDER BY intno"),
                {2.0});
        QCOMPARE(ds.rowCount(), 2);
        QVERIFY(ds.first());
        QCOMPARE(ds.textField(QStringLiteral("intno")), QStringLiteral("0000000002"));
        QVERIFY(ds.next());
        QCOMPARE(ds.realField(QStringLiteral("sl")), 3.0);
        QVERIFY(!ds.next());
        QVERIFY(ds.eof());
        QCOMPARE(ds.locate(QStringLiteral("intno"), QStringLiteral("0000000003")), 1);
        QCOMPARE(ds.locate(QStringLiteral("intno"), QStringLiteral("nope")), -1);
        QCOMPARE(ds.sum(ds.columnIndex(QStringLiteral("sl"))).toDouble(), 5.0);
        try {
            ds.setCurrent(0);
            ds.field(QStringLiteral("nosuchfield"));
            QFAIL("unknown field accepted");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::Database);
            QVERIFY(e.message().contains(QStringLiteral("nosuchfield")));
        }
        QVERIFY_THROWS_EXCEPTION(Error, ds.setField(QStringLiteral("sl"), 1.0)); // read-only
    }

    void editPostsAtOnce() {
        TempHome home;
        addLines(home.db(), 3);
        Dataset ds;
        ds.openTable(home.db(), QStringLiteral("jjgzdetail"), QStringLiteral("ORDER BY intno"));
        ds.setCurrent(1);
        ds.setField(QStringLiteral("sl"), QStringLiteral(" 12.5 "));
        ds.setField(QStringLiteral("remark"), QStringLiteral("返工"));
        QVERIFY(ds.modified(1));
        ds.setCurrent(2); // moving on writes the row, as a data-aware form does
        QVERIFY(!ds.modified(1));
        QCOMPARE(home.db()
                     .scalar(QStringLiteral("SELECT sl FROM jjgzdetail WHERE intno = '0000000002'"))
                     .toDouble(),
                 12.5);
        QCOMPARE(home.db()
                     .scalar(QStringLiteral("SELECT remark FROM jjgzdetail WHERE intno = '0000000002'"))
                     .toString(),
                 QStringLiteral("返工"));
        ds.setField(QStringLiteral("etdate"), QStringLiteral("2025-04-30"));
        ds.post();
        QCOMPARE(home.db()
                     .scalar(QStringLiteral("SELECT etdate FROM jjgzdetail WHERE intno = '0000000003'"))
                     .toString(),
                 QStringLiteral("2025-04-30"));
    }

    void typedTextThatIsNoNumber() {
        TempHome home;
        addLines(home.db(), 1);
        Dataset ds;
        ds.openTable(home.db(), QStringLiteral("jjgzdetail"));
        const int sl = ds.columnIndex(QStringLiteral("sl"));
        try {
            ds.setValue(0, sl, QStringLiteral("十二"));
            QFAIL("accepted");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::Conversion);
        }
        QCOMPARE(ds.real(0, sl), 1.0);
        QVERIFY(!ds.modified(0));
        ds.setValue(0, sl, QString()); // empty text empties the field
        ds.post();
        QVERIFY(ds.sum(sl).isNull()); // no value at all: no sum, as in SQL
        QVERIFY(home.db().scalar(QStringLiteral("SELECT sl FROM jjgzdetail")).isNull());
    }

    void tooLongTextNotStored() {
        TempHome home;
        addLines(home.db(), 1);
        Dataset ds;
        ds.openTable(home.db(), QStringLiteral("jjgzdetail"));
        ds.setField(QStringLiteral("remark"), QString(21, u'x')); // remark is text(20)
        QVERIFY_THROWS_EXCEPTION(Error, ds.post());
        QVERIFY(home.db().scalar(QStringLiteral("SELECT remark FROM jjgzdetail")).isNull());
        ds.cancel(0);
        QVERIFY(ds.isNull(0, ds.columnIndex(QStringLiteral("remark"))));
    }

    void appendTakesTableDefaults() {
        TempHome home;
        Dataset ds;
        ds.openTable(home.db(), QStringLiteral("gzb"), QStringLiteral("WHERE gh = :p1"),
                     {QStringLiteral("0001")});
        QCOMPARE(ds.rowCount(), 0);
        QVERIFY(ds.columnIndex(QStringLiteral("sfgz")) >= 0); // columns known without rows
        const int row = ds.append();
        ds.setField(QStringLiteral("gh"), QStringLiteral("0001"));
        ds.setField(QStringLiteral("nf"), QStringLiteral("2025"));
        ds.setField(QStringLiteral("jge"), 88.5);
        ds.post();
        QVERIFY(ds.rowId(row) > 0);
        QCOMPARE(ds.real(row, ds.columnIndex(QStringLiteral("yfgz"))), 0.0);
        QVERIFY(!ds.isNull(row, ds.columnIndex(QStringLiteral("payoff"))));
        ds.refresh();
        QCOMPARE(ds.rowCount(), 1);
        QCOMPARE(ds.realField(QStringLiteral("jge")), 88.5);
    }

    void cancelAppendAndRemove() {
        TempHome home;
        addLines(home.db(), 3);
        Dataset ds;
        ds.openTable(home.db(), QStringLiteral("jjgzdetail"), QStringLiteral("ORDER BY intno"));
        ds.append();
        QCOMPARE(ds.rowCount(), 4);
        ds.cancel(3);
        QCOMPARE(ds.rowCount(), 3);
        ds.remove(0);
        QCOMPARE(ds.rowCount(), 2);
        QCOMPARE(ds.text(0, ds.columnIndex(QStringLiteral("intno"))), QStringLiteral("0000000002"));
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT count(*) FROM jjgzdetail")).toInt(), 2);
        ds.setValue(0, ds.columnIndex(QStringLiteral("sl")), 9.0);
        ds.cancel(0);
        QCOMPARE(ds.real(0, ds.columnIndex(QStringLiteral("sl"))), 2.0);
    }

    void displayFormats() {
        TempHome home;
        addLines(home.db(), 2);
        Dataset ds;
        ds.openTable(home.db(), QStringLiteral("jjgzdetail"), QStringLiteral("ORDER BY intno"));
        ds.setDisplayFormat(QStringLiteral("jge"), QStringLiteral("0,.00"));
        ds.setDisplayFormat(QStringLiteral("sl"), QStringLiteral("0"));
        QCOMPARE(ds.displayText(1, ds.columnIndex(QStringLiteral("jge"))), QStringLiteral("1.00"));
        QCOMPARE(ds.displayText(1, ds.columnIndex(QStringLiteral("sl"))), QStringLiteral("2"));
        const DateFormat saved = appDateFormat();
        appDateFormat() = DateFormat(QStringLiteral("yy-mm-dd"), QStringLiteral("."));
        QCOMPARE(ds.displayText(0, ds.columnIndex(QStringLiteral("etdate"))), QStringLiteral("25.03.05"));
        appDateFormat() = saved;
        ds.refresh(); // formats survive a refresh
        QCOMPARE(ds.displayFormat(ds.columnIndex(QStringLiteral("jge"))), QStringLiteral("0,.00"));
    }

    void manyRowsShareRepeatedTexts() {
        TempHome home;
        addLines(home.db(), 3000);
        Dataset ds;
        ds.openTable(home.db(), QStringLiteral("jjgzdetail"), QStringLiteral("ORDER BY intno"));
        QCOMPARE(ds.rowCount(), 3000);
        QCOMPARE(ds.text(2999, ds.columnIndex(QStringLiteral("intno"))), QStringLiteral("0000003000"));
        QCOMPARE(ds.text(2998, ds.columnIndex(QStringLiteral("xm"))), QStringLiteral("王小2"));
        // Equal neighbours share storage: 3000 rows of "2025" cost far less than 3000 copies.
        QVERIFY(ds.memoryUsage() < 3000 * 33 * 40);
        // Long memo texts go to blocks of their own and read back whole.
        home.db().exec(QStringLiteral("UPDATE branch SET remark = :p1"));
        home.db().exec(QStringLiteral("INSERT INTO branch (intno, remark) VALUES ('0000000001', :p1)"),
                       {QString(100000, u'备')});
        Dataset b;
        b.openTable(home.db(), QStringLiteral("branch"));
        QCOMPARE(b.text(0, b.columnIndex(QStringLiteral("remark"))).size(), 100000);
    }
};

QTEST_GUILESS_MAIN(TestDataset)
#include "tst_dataset.moc"
