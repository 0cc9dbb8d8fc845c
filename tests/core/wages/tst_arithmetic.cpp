// The line editor's arithmetic: amount with deductions, overtime pay, lateness deduction.

#include "core/data/Errors.h"
#include "core/wages/DocumentKind.h"
#include "core/wages/LineArithmetic.h"
#include "core/wages/LineEditor.h"

#include <QtTest>

using namespace gz;

class TestArithmetic : public QObject {
    Q_OBJECT
private slots:
    void amount_data() {
        QTest::addColumn<double>("price");
        QTest::addColumn<double>("qty");
        QTest::addColumn<double>("p");
        QTest::addColumn<double>("q");
        QTest::addColumn<double>("s");
        QTest::addColumn<double>("r");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << 2.5 << 40.0 << 0.0 << 0.0 << 0.0 << 0.0 << 100.0;
        QTest::newRow("production 12") << 2.0 << 100.0 << 12.0 << 0.0 << 0.0 << 0.0 << 180.0;
        QTest::newRow("production exactly 10") << 2.0 << 100.0 << 10.0 << 0.0 << 0.0 << 0.0 << 190.0;
        QTest::newRow("production exactly 5") << 2.0 << 100.0 << 5.0 << 0.0 << 0.0 << 0.0 << 200.0;
        QTest::newRow("production 25") << 2.0 << 100.0 << 25.0 << 0.0 << 0.0 << 0.0 << 160.0;
        QTest::newRow("quality 8") << 2.0 << 100.0 << 0.0 << 8.0 << 0.0 << 0.0 << 180.0;
        QTest::newRow("quality exactly 10") << 2.0 << 100.0 << 0.0 << 10.0 << 0.0 << 0.0 << 180.0;
        QTest::newRow("quality 15 takes nothing") << 2.0 << 100.0 << 0.0 << 15.0 << 0.0 << 0.0 << 200.0;
        QTest::newRow("rework 0.5") << 2.0 << 100.0 << 0.0 << 0.0 << 0.0 << 0.5 << 200.0;
        QTest::newRow("rework 1") << 2.0 << 100.0 << 0.0 << 0.0 << 0.0 << 1.0 << 160.0;
        QTest::newRow("rework 2") << 2.0 << 100.0 << 0.0 << 0.0 << 0.0 << 2.0 << 120.0;
        QTest::newRow("rework 3") << 2.0 << 100.0 << 0.0 << 0.0 << 0.0 << 3.0 << 0.0;
        QTest::newRow("rework 7") << 2.0 << 100.0 << 0.0 << 0.0 << 0.0 << 7.0 << 0.0;
        QTest::newRow("material 5") << 2.0 << 100.0 << 0.0 << 0.0 << 5.0 << 0.0 << 200.0;
        QTest::newRow("material 10") << 2.0 << 100.0 << 0.0 << 0.0 << 10.0 << 0.0 << 180.0;
        QTest::newRow("material 20") << 2.0 << 100.0 << 0.0 << 0.0 << 20.0 << 0.0 << 160.0;
        QTest::newRow("material 25") << 2.0 << 100.0 << 0.0 << 0.0 << 25.0 << 0.0 << 150.0;
        QTest::newRow("rework 3 and production 12 go below zero")
            << 2.0 << 100.0 << 12.0 << 0.0 << 0.0 << 3.0 << -20.0;
    }
    void amount() {
        QFETCH(double, price);
        QFETCH(double, qty);
        QFETCH(double, p);
        QFETCH(double, q);
        QFETCH(double, s);
        QFETCH(double, r);
        QFETCH(double, expected);
        LineFigures f{price, qty, p, q, s, r};
        QCOMPARE(lineAmount(f), expected);
        const AmountBreakdown b = lineAmountBreakdown(f);
        QCOMPARE(b.base - b.production - b.quality - b.rework - b.material, b.amount);
    }

    void overtime_data() {
        QTest::addColumn<double>("price");
        QTest::addColumn<double>("hours");
        QTest::addColumn<double>("multiplier");
        QTest::addColumn<double>("perShift");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("expected");
        QTest::newRow("30 x 6h x 2.0 / 4h") << 30.0 << 6.0 << 2.0 << 4.0 << true << 90.0;
        QTest::newRow("no overtime") << 30.0 << 0.0 << 2.0 << 4.0 << true << 0.0;
        QTest::newRow("8h shifts") << 40.0 << 2.0 << 1.5 << 8.0 << true << 15.0;
        QTest::newRow("zero hours per shift") << 30.0 << 6.0 << 2.0 << 0.0 << false << 0.0;
        QTest::newRow("negative hours per shift") << 30.0 << 6.0 << 2.0 << -4.0 << false << 0.0;
    }
    void overtime() {
        QFETCH(double, price);
        QFETCH(double, hours);
        QFETCH(double, multiplier);
        QFETCH(double, perShift);
        QFETCH(bool, ok);
        QFETCH(double, expected);
        Result<double> r = overtimePay(price, hours, multiplier, perShift);
        QCOMPARE(r.ok(), ok);
        if (ok)
            QCOMPARE(r.value(), expected);
        else
            QCOMPARE(r.refusal(), zeroShiftHoursMessage());
    }

    void lateness() {
        QCOMPARE(latenessDeduction(0.5, 3), 1.5);
        QCOMPARE(latenessDeduction(kDefaultLateRate, 0), 0.0);
        QCOMPARE(latenessDeduction(2, 10), 20.0);
    }

    // On time lines superscale carries the loan amount, which is no rate.
    void editorAmountPerKind() {
        LineEditorBoxes b;
        b.dj = QStringLiteral("30");
        b.sl = QStringLiteral("26");
        b.superscale = QStringLiteral("200");
        QCOMPARE(editorAmount(documentKind(KindId::Time), b), 780.0);
        b.superscale = QStringLiteral("25");
        QCOMPARE(editorAmount(documentKind(KindId::Piece), b), 585.0);
        b.superscale.clear();
        b.dj = QStringLiteral("1.2345");
        b.sl = QStringLiteral("1");
        QCOMPARE(editorAmount(documentKind(KindId::Piece), b), 1.235); // three decimals as the box shows
    }

    void editorAmountRejectsText() {
        LineEditorBoxes b;
        b.dj = QStringLiteral("2..5");
        b.sl = QStringLiteral("1");
        QVERIFY_THROWS_EXCEPTION(gz::Error, editorAmount(documentKind(KindId::Piece), b));
    }
};

QTEST_GUILESS_MAIN(TestArithmetic)
#include "tst_arithmetic.moc"
