// The payroll edit window's arithmetic and save.

#include "common/TempHome.h"
#include "core/data/Errors.h"
#include "core/payroll/Payroll.h"
#include "core/payroll/PayrollEdit.h"
#include "core/payroll/PayrollFixtures.h"

#include <QtTest>

using namespace gz;
using namespace gz::payroll;

namespace {

QVariantMap m(std::initializer_list<std::pair<const char*, QVariant>> kv) {
    QVariantMap v;
    for (const auto& [k, val] : kv)
        v.insert(QString::fromLatin1(k), val);
    return v;
}

qint64 addRow(Database& db, const QVariantMap& fields) {
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-05"), QStringLiteral("一车间"),
                        fields);
    return findPayrollRow(db, QStringLiteral("0001"), 2025, 3);
}

double field(Database& db, const char* name) {
    return db.scalar(QStringLiteral("SELECT %1 FROM gzb").arg(QLatin1String(name))).toDouble();
}

} // namespace

class TestPayrollEdit : public QObject {
    Q_OBJECT
private slots:
    void loadShowsTwoDecimals();
    void bonusAndLatenessExample();
    void recompute_data();
    void recompute();
    void emptiedBoxBecomesZero();
    void badNumberChangesNothing_data();
    void badNumberChangesNothing();
    void saveWritesTheBoxes();
    void saveKeepsUntouchedAccumulatedWages();
    void findRow();
};

void TestPayrollEdit::loadShowsTwoDecimals() {
    test::TempHome home;
    Database& db = home.db();
    const qint64 id = addRow(db, m({{"basegz", 1000}, {"jge", 123.456}, {"remark", "备注"}}));
    EditForm f;
    f.load(db, id);
    QCOMPARE(f.box(QStringLiteral("basegz")), QStringLiteral("1000.00"));
    QCOMPARE(f.box(QStringLiteral("jge")), QStringLiteral("123.46"));
    QCOMPARE(f.box(QStringLiteral("allbonus")), QStringLiteral("0.00"));
    QCOMPARE(f.box(QStringLiteral("remark")), QStringLiteral("备注"));
    QCOMPARE(f.employeeNumber(), QStringLiteral("0001"));
    QCOMPARE(f.branchName(), QStringLiteral("一车间"));
    QCOMPARE(f.date(QDate(2030, 1, 1)), QDate(2025, 3, 5));
    db.exec(QStringLiteral("UPDATE gzb SET etdate = NULL"));
    f.load(db, id);
    QCOMPARE(f.date(QDate(2030, 1, 1)), QDate(2030, 1, 1));
}

void TestPayrollEdit::bonusAndLatenessExample() {
    test::TempHome home;
    Database& db = home.db();
    const qint64 id = addRow(db, m({{"basegz", 1000}}));
    EditForm f;
    f.load(db, id);
    f.setBox(QStringLiteral("allbonus"), QStringLiteral("100"));
    f.recompute();
    QCOMPARE(f.box(QStringLiteral("yfgz")), QStringLiteral("1100.00"));
    f.setBox(QStringLiteral("lateje"), QStringLiteral("50"));
    f.recompute();
    QCOMPARE(f.box(QStringLiteral("sfgz")), QStringLiteral("1050.00"));
    f.save(db);
    QCOMPARE(field(db, "allbonus"), 100.0);
    QCOMPARE(field(db, "yfgz"), 1100.0);
    QCOMPARE(field(db, "sfgz"), 1050.0);
    // The typed lateness deduction is not stored, and the refresh does not subtract it anyway.
    QCOMPARE(field(db, "lateje"), 0.0);
    Filter flt;
    flt.from = QDate(2025, 3, 1);
    flt.to = QDate(2025, 3, 31);
    refresh(db, flt);
    QCOMPARE(field(db, "sfgz"), 1100.0);
}

void TestPayrollEdit::recompute_data() {
    QTest::addColumn<QVariantMap>("row");
    QTest::addColumn<QVariantMap>("typed");
    QTest::addColumn<QString>("gross");
    QTest::addColumn<QString>("net");
    QTest::newRow("every addend")
        << m({{"basegz", 1}, {"jge", 2}, {"spellje", 4}, {"pointje", 8}, {"overje", 16}})
        << m({{"allbonus", "32"}, {"allowance", "64"}}) << "127.00"
        << "127.00";
    QTest::newRow("every deduction") << m({{"basegz", 1000}, {"loan", 5}})
                                     << m({{"boardwages", "1"},
                                           {"bedding", "2"},
                                           {"sanitation", "3"},
                                           {"amerce", "6"},
                                           {"water", "7"},
                                           {"electric", "8"},
                                           {"lateje", "9"},
                                           {"deposit", "-10"},
                                           {"deduce", "11"},
                                           {"appje", "12"}})
                                     << "1000.00"
                                     << QStringLiteral("%1").arg(
                                            1000.0 - 1 - 2 - 3 - 5 - 6 - 7 - 8 - 9 - 10 - 11 + 12, 0, 'f', 2);
    // The net starts from the gross as shown, rounded to cents.
    QTest::newRow("rounded gross") << QVariantMap() << m({{"allbonus", "0.005"}, {"deduce", "0.004"}})
                                   << "0.01"
                                   << "0.01";
    QTest::newRow("negative deposit and other")
        << m({{"basegz", 100}}) << m({{"deposit", "-50.5"}, {"appje", "-0.5"}}) << "100.00"
        << "49.00";
}

void TestPayrollEdit::recompute() {
    QFETCH(QVariantMap, row);
    QFETCH(QVariantMap, typed);
    QFETCH(QString, gross);
    QFETCH(QString, net);
    test::TempHome home;
    Database& db = home.db();
    EditForm f;
    f.load(db, addRow(db, row));
    for (auto it = typed.cbegin(); it != typed.cend(); ++it)
        f.setBox(it.key(), it.value().toString());
    f.recompute();
    QCOMPARE(f.box(QStringLiteral("yfgz")), gross);
    QCOMPARE(f.box(QStringLiteral("sfgz")), net);
}

void TestPayrollEdit::emptiedBoxBecomesZero() {
    test::TempHome home;
    Database& db = home.db();
    EditForm f;
    f.load(db, addRow(db, m({{"basegz", 10}, {"water", 3}})));
    f.setBox(QStringLiteral("water"), QString());
    f.setBox(QStringLiteral("allowance"), QStringLiteral("  "));
    f.recompute();
    QCOMPARE(f.box(QStringLiteral("water")), QStringLiteral("0"));
    QCOMPARE(f.box(QStringLiteral("allowance")), QStringLiteral("0"));
    QCOMPARE(f.box(QStringLiteral("sfgz")), QStringLiteral("10.00"));
}

void TestPayrollEdit::badNumberChangesNothing_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::newRow("two points") << "allbonus"
                                << "1.2.3";
    QTest::newRow("lone minus") << "deposit"
                                << "-";
    QTest::newRow("letters") << "water"
                             << "abc";
}

void TestPayrollEdit::badNumberChangesNothing() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    test::TempHome home;
    Database& db = home.db();
    EditForm f;
    f.load(db, addRow(db, m({{"basegz", 10}, {"electric", 2}})));
    f.setBox(QStringLiteral("electric"), QString());
    f.setBox(box, text);
    try {
        f.save(db);
        QFAIL("text that is not a number must stop the save");
    } catch (const Error& e) {
        QCOMPARE(e.kind(), ErrorKind::Conversion);
    }
    QCOMPARE(f.box(QStringLiteral("electric")), QString()); // no box was touched
    QCOMPARE(f.box(box), text);
    QCOMPARE(field(db, "electric"), 2.0);
    QCOMPARE(field(db, "yfgz"), 0.0);
}

void TestPayrollEdit::saveWritesTheBoxes() {
    test::TempHome home;
    Database& db = home.db();
    const qint64 id = addRow(db, m({{"basegz", 500}, {"spellje", 100}, {"lateje", 20}, {"overje", 7}}));
    EditForm f;
    f.load(db, id);
    const QStringList typed = {"allbonus", "allowance", "boardwages", "bedding", "sanitation", "amerce",
                               "water",    "electric",  "deposit",    "deduce",  "appje"};
    int n = 1;
    for (const QString& t : typed)
        f.setBox(t, QString::number(n++));
    f.setBox(QStringLiteral("lateje"), QStringLiteral("99"));
    f.setBox(QStringLiteral("spellje"), QStringLiteral("1"));
    f.setBox(QStringLiteral("remark"), QStringLiteral("已核对"));
    f.save(db);
    n = 1;
    for (const QString& t : typed)
        QCOMPARE(field(db, t.toLatin1().constData()), double(n++));
    QCOMPARE(db.scalar(QStringLiteral("SELECT remark FROM gzb")).toString(), QStringLiteral("已核对"));
    // Not written back: the time wage, overtime pay and lateness deduction keep their stored values.
    QCOMPARE(field(db, "spellje"), 100.0);
    QCOMPARE(field(db, "lateje"), 20.0);
    QCOMPARE(field(db, "overje"), 7.0);
    // The saved gross used the boxes as shown (spellje typed as 1).
    QCOMPARE(field(db, "yfgz"), 500.0 + 1 + 7 + 1 + 2);
}

void TestPayrollEdit::saveKeepsUntouchedAccumulatedWages() {
    test::TempHome home;
    Database& db = home.db();
    const qint64 id = addRow(db, m({{"basegz", 1000.005}, {"jge", 123.456}, {"loan", 0.125}}));
    EditForm f;
    f.load(db, id);
    f.setBox(QStringLiteral("allbonus"), QStringLiteral("1"));
    f.save(db);
    QCOMPARE(field(db, "jge"), 123.456);
    QCOMPARE(field(db, "basegz"), 1000.005);
    QCOMPARE(field(db, "loan"), 0.125);
    // A box whose text was changed is saved as typed.
    f.setBox(QStringLiteral("jge"), QStringLiteral("200"));
    f.save(db);
    QCOMPARE(field(db, "jge"), 200.0);
    QCOMPARE(field(db, "basegz"), 1000.005);
}

void TestPayrollEdit::findRow() {
    test::TempHome home;
    Database& db = home.db();
    addRow(db, {});
    QVERIFY(findPayrollRow(db, QStringLiteral("0001"), 2025, 3) > 0);
    QCOMPARE(findPayrollRow(db, QStringLiteral("0001"), 2025, 4), qint64(-1));
    QCOMPARE(findPayrollRow(db, QStringLiteral("0002"), 2025, 3), qint64(-1));
}

QTEST_GUILESS_MAIN(TestPayrollEdit)
#include "tst_payrolledit.moc"
