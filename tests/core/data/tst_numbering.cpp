#include "common/TempHome.h"
#include "core/data/Database.h"
#include "core/data/Errors.h"
#include "core/data/Numbering.h"

#include <QtTest>

using namespace gz;
using gz::test::TempHome;

namespace {
void setCounter(Database& db, const QString& table, const QString& value) {
    db.exec(QStringLiteral("UPDATE nextno SET intno = :p1 WHERE tablename = :p2"), {value, table});
}
} // namespace

class TestNumbering : public QObject {
    Q_OBJECT
private slots:
    void draw_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("drawn");
        QTest::addColumn<QString>("after");
        QTest::newRow("leading blank of a give-back") << " 903000001"
                                                      << "0903000001"
                                                      << "903000002";
        QTest::newRow("ten digits") << "2501000001"
                                    << "2501000001"
                                    << "2501000002";
        QTest::newRow("small") << "7"
                               << "0000000007"
                               << "8";
        QTest::newRow("blanks both sides") << " 12 "
                                           << "0000000012"
                                           << "13";
    }
    void draw() {
        QFETCH(QString, stored);
        QFETCH(QString, drawn);
        QFETCH(QString, after);
        TempHome home;
        setCounter(home.db(), QStringLiteral("jfgzlist"), stored);
        QCOMPARE(drawDocumentNumber(home.db(), QStringLiteral("jfgzlist")), drawn);
        QCOMPARE(counterText(home.db(), QStringLiteral("jfgzlist")), after);
        // Other counters are untouched.
        QCOMPARE(counterText(home.db(), QStringLiteral("jjgzlist")), QStringLiteral("2503000001"));
    }

    void giveBackThenDrawAgain() {
        TempHome home;
        Database& db = home.db();
        setCounter(db, QStringLiteral("jjgzlist"), QStringLiteral("0903000001"));
        QCOMPARE(drawDocumentNumber(db, QStringLiteral("jjgzlist")), QStringLiteral("0903000001"));
        giveBackDocumentNumber(db, QStringLiteral("jjgzlist"));
        QCOMPARE(counterText(db, QStringLiteral("jjgzlist")), QStringLiteral(" 903000001"));
        QCOMPARE(drawDocumentNumber(db, QStringLiteral("jjgzlist")), QStringLiteral("0903000001"));
        QCOMPARE(counterText(db, QStringLiteral("jjgzlist")), QStringLiteral("903000002"));
    }

    void resetForAMonth() {
        TempHome home;
        Database& db = home.db();
        drawDocumentNumber(db, QStringLiteral("jsgzlist"));
        QCOMPARE(resetDocumentCounters(db, QDate(2009, 3, 17)), QStringLiteral("0903000001"));
        for (const char* t : {"jjgzlist", "jfgzlist", "jsgzlist"})
            QCOMPARE(drawDocumentNumber(db, QString::fromLatin1(t)), QStringLiteral("0903000001"));
        QCOMPARE(resetDocumentCounters(db, QDate(2025, 12, 31).addDays(1)), QStringLiteral("2601000001"));
    }

    void counterThatIsNoNumber() {
        TempHome home;
        setCounter(home.db(), QStringLiteral("jjgzlist"), QStringLiteral("12a"));
        try {
            drawDocumentNumber(home.db(), QStringLiteral("jjgzlist"));
            QFAIL("drew from a broken counter");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::Conversion);
        }
        QCOMPARE(counterText(home.db(), QStringLiteral("jjgzlist")), QStringLiteral("12a"));
        QVERIFY(!home.db().inTransaction());
    }

    void unknownTableRefused() {
        TempHome home;
        QVERIFY_THROWS_EXCEPTION(Error, drawDocumentNumber(home.db(), QStringLiteral("gzb")));
        QVERIFY_THROWS_EXCEPTION(Error, nextInternalNumber(home.db(), QStringLiteral("opcrl")));
    }

    void nextInternal_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("next");
        QTest::newRow("empty line table") << "jjgzdetail" << QStringList() << "0000000001";
        QTest::newRow("empty employee table") << "employee" << QStringList() << "000001";
        QTest::newRow("highest, not last inserted")
            << "jsgzdetail" << QStringList{"0000000009", "0000000120", "0000000010"} << "0000000121";
        QTest::newRow("empty and missing numbers ignored")
            << "branch" << QStringList{"", "0000000004"} << "0000000005";
        QTest::newRow("employee width 6") << "employee" << QStringList{"000099"} << "000100";
        QTest::newRow("wider than the column keeps the last digits")
            << "employee" << QStringList{"1234567"} << "234568";
        QTest::newRow("counter-sized line numbers")
            << "jfgzdetail" << QStringList{"2501000001"} << "2501000002";
    }
    void nextInternal() {
        QFETCH(QString, table);
        QFETCH(QStringList, present);
        QFETCH(QString, next);
        TempHome home;
        Database& db = home.db();
        if (table == QLatin1String("employee"))
            db.execScript(QStringLiteral(
                "DROP TABLE employee; CREATE TABLE employee (intno text, id text, name text);"));
        for (const QString& n : present)
            db.exec(QStringLiteral("INSERT INTO %1 (intno) VALUES (:p1)").arg(table), {n});
        QCOMPARE(nextInternalNumber(db, table), next);
    }

    void nextInternalAgreesWithReadingInOrder() {
        // The indexed maximum must equal the last row of the table read in intno order.
        TempHome home;
        Database& db = home.db();
        for (int i : {5, 300, 42, 7000, 1})
            db.exec(QStringLiteral("INSERT INTO units (intno) VALUES (:p1)"), {padNumber(i, 10)});
        Query q(db, QStringLiteral("SELECT intno FROM units ORDER BY intno"));
        QString last;
        while (q.next())
            last = q.text(0);
        QCOMPARE(nextInternalNumber(db, QStringLiteral("units")), padNumber(readInteger(last) + 1, 10));
    }

    void nonNumericHighestIsAConversionError() {
        TempHome home;
        home.db().exec(QStringLiteral("INSERT INTO prowork (intno) VALUES ('ABC')"));
        try {
            nextInternalNumber(home.db(), QStringLiteral("prowork"));
            QFAIL("no error");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::Conversion);
        }
    }

    void padding() {
        QCOMPARE(padNumber(903000001, 10), QStringLiteral("0903000001"));
        QCOMPARE(padNumber(1, 6), QStringLiteral("000001"));
        QCOMPARE(padNumber(12345678901LL, 10), QStringLiteral("2345678901"));
    }
};

QTEST_GUILESS_MAIN(TestNumbering)
#include "tst_numbering.moc"
