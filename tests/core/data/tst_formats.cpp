#include "core/data/Errors.h"
#include "core/data/Formats.h"

#include <QtTest>

using namespace gz;

class TestFormats : public QObject {
    Q_OBJECT
private slots:
    void number_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("shown");
        QTest::newRow("two decimals") << 1234.5 << "0.00"
                                      << "1234.50";
        QTest::newRow("half rounds up") << 2.675 << "0.00"
                                        << "2.68";
        QTest::newRow("half rounds away from zero") << -2.675 << "0.00"
                                                    << "-2.68";
        QTest::newRow("thousands, three decimals") << 1234567.8915 << "0,.000"
                                                   << "1,234,567.892";
        QTest::newRow("thousands under 1000") << 999.0 << "0,.00"
                                              << "999.00";
        QTest::newRow("carry into thousands") << 999999.996 << "0,.00"
                                              << "1,000,000.00";
        QTest::newRow("optional digits") << 1.5 << "#.##"
                                         << "1.5";
        QTest::newRow("optional digits below one") << 0.5 << "#.##"
                                                   << ".5";
        QTest::newRow("optional digits of zero") << 0.0 << "#.##"
                                                 << "";
        QTest::newRow("integer picture") << 12.5 << "0"
                                         << "13";
        QTest::newRow("integer picture negative") << -12.5 << "0"
                                                  << "-13";
        QTest::newRow("negative zero not shown") << -0.001 << "0.00"
                                                 << "0.00";
        QTest::newRow("zero") << 0.0 << "0.00"
                              << "0.00";
        QTest::newRow("small value") << 0.005 << "0.00"
                                     << "0.01";
        QTest::newRow("rounding below one carries") << 0.096 << "0.00"
                                                    << "0.10";
        QTest::newRow("six decimals") << 1.0 / 3 << "0.000000"
                                      << "0.333333";
        QTest::newRow("sections negative") << -5.0 << "0.00;(0.00)"
                                           << "(5.00)";
        QTest::newRow("sections zero") << 0.0 << "0.00;-0.00;无"
                                       << "无";
        QTest::newRow("literal text") << 3.0 << "0\"元\""
                                      << "3元";
        QTest::newRow("empty picture") << 2.5 << ""
                                       << "2.5";
        QTest::newRow("empty picture integral") << 2501000001.0 << ""
                                                << "2501000001";
    }
    void number() {
        QFETCH(double, value);
        QFETCH(QString, picture);
        QFETCH(QString, shown);
        QCOMPARE(formatNumber(value, picture), shown);
    }

    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("empty");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12.5" << false << 12.5;
        QTest::newRow("blanks") << "  7 " << false << 7.0;
        QTest::newRow("negative") << "-0.25" << false << -0.25;
        QTest::newRow("leading point") << ".5" << false << 0.5;
        QTest::newRow("thousands") << "1,234.5" << false << 1234.5;
        QTest::newRow("exponent") << "1e3" << false << 1000.0;
        QTest::newRow("empty") << "" << true << 0.0;
        QTest::newRow("blank") << "   " << true << 0.0;
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(bool, empty);
        QFETCH(double, value);
        const auto v = parseNumber(text);
        QCOMPARE(!v.has_value(), empty);
        if (v) QCOMPARE(*v, value);
    }

    void parseRefuses_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("letters") << "abc";
        QTest::newRow("two points") << "1.2.3";
        QTest::newRow("misplaced comma") << "12,34";
        QTest::newRow("sign only") << "-";
        QTest::newRow("point only") << ".";
        QTest::newRow("trailing letters") << "12kg";
    }
    void parseRefuses() {
        QFETCH(QString, text);
        try {
            parseNumber(text);
            QFAIL("accepted");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::Conversion);
            QVERIFY(e.message().contains(text));
        }
    }

    void showDate_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("shown");
        QTest::newRow("default") << "yyyy-mm-dd"
                                 << "-"
                                 << "2009-03-05";
        QTest::newRow("dot separator") << "yyyy-mm-dd"
                                       << "."
                                       << "2009.03.05";
        QTest::newRow("two-digit year") << "yy-mm-dd"
                                        << "-"
                                        << "09-03-05";
        QTest::newRow("capital two-digit year") << "YY-mm-dd"
                                                << "-"
                                                << "09-03-05";
        QTest::newRow("empty pattern") << ""
                                       << "-"
                                       << "2009-03-05";
        QTest::newRow("other separator value") << "yyyy-mm-dd"
                                               << "/"
                                               << "2009.03.05";
    }
    void showDate() {
        QFETCH(QString, pattern);
        QFETCH(QString, separator);
        QFETCH(QString, shown);
        QCOMPARE(DateFormat(pattern, separator).format(QDate(2009, 3, 5)), shown);
    }

    void readDate_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        const QDate today(2026, 12, 11);
        Q_UNUSED(today);
        QTest::newRow("full") << "yyyy-mm-dd"
                              << "2009-03-05" << QDate(2009, 3, 5);
        QTest::newRow("no leading zeros") << "yyyy-mm-dd"
                                          << "2009-3-5" << QDate(2009, 3, 5);
        QTest::newRow("dots typed") << "yyyy-mm-dd"
                                    << "2009.03.05" << QDate(2009, 3, 5);
        QTest::newRow("two-digit year recent") << "yy-mm-dd"
                                               << "25-01-31" << QDate(2025, 1, 31);
        QTest::newRow("two-digit year old") << "yy-mm-dd"
                                            << "80-06-01" << QDate(1980, 6, 1);
        QTest::newRow("month and day only") << "yyyy-mm-dd"
                                            << "3-5" << QDate(2026, 3, 5);
        QTest::newRow("eight digits") << "yyyy-mm-dd"
                                      << "20090305" << QDate(2009, 3, 5);
        QTest::newRow("leap day") << "yyyy-mm-dd"
                                  << "2008-02-29" << QDate(2008, 2, 29);
    }
    void readDate() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(QDate, date);
        const auto d = DateFormat(pattern, QStringLiteral("-")).parse(text, QDate(2026, 12, 11));
        QVERIFY(d.has_value());
        QCOMPARE(*d, date);
    }

    void readDateRefuses_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("no such day") << "2009-02-29";
        QTest::newRow("month 13") << "2009-13-01";
        QTest::newRow("letters") << "yesterday";
        QTest::newRow("four parts") << "2009-01-02-03";
    }
    void readDateRefuses() {
        QFETCH(QString, text);
        try {
            DateFormat().parse(text);
            QFAIL("accepted");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::Conversion);
        }
    }

    void emptyDateIsNoDate() { QVERIFY(!DateFormat().parse(QStringLiteral("  ")).has_value()); }

    void storedDates() {
        QCOMPARE(dateToStored(QDate(2025, 1, 2)), QStringLiteral("2025-01-02"));
        QCOMPARE(dateFromStored(QStringLiteral("2025-01-02 13:45:00")), QDate(2025, 1, 2));
        QVERIFY(!dateFromStored(QStringLiteral("garbage")).isValid());
        QCOMPARE(DateFormat(QStringLiteral("yy-mm-dd"), QStringLiteral("."))
                     .formatStored(QStringLiteral("2025-01-02")),
                 QStringLiteral("25.01.02"));
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
