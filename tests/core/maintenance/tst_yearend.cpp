// Year-end processing and initialisation: what is deleted and kept, the counters, the LASTBAK
// copy, all-or-nothing on failure; and the folder-tree copy itself.

#include "common/TempHome.h"
#include "core/data/Errors.h"
#include "core/data/Numbering.h"
#include "core/maintenance/FolderCopy.h"
#include "core/maintenance/YearEnd.h"
#include "core/payroll/PayrollFixtures.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace gz;

namespace {

QVariantMap m(std::initializer_list<std::pair<const char*, QVariant>> kv) {
    QVariantMap v;
    for (const auto& [k, val] : kv)
        v.insert(QString::fromLatin1(k), val);
    return v;
}

const QStringList kWageTables = {"jjgzlist",   "jjgzdetail", "jfgzlist",    "jfgzdetail", "jsgzlist",
                                 "jsgzdetail", "jfjgelist",  "jfjgedetail", "gzb"};
const QStringList kKeptTables = {"employee", "branch", "prowork",  "units",
                                 "opcrl",    "config", "gzbtotal", "totallist"};

int rows(Database& db, const QString& table) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt();
}

// One row in every wage table and in the tables that must stay.
void fillYear(Database& db) {
    for (const QString& t : {QStringLiteral("jjgzlist"), QStringLiteral("jfgzlist"),
                             QStringLiteral("jsgzlist"), QStringLiteral("jfjgelist")})
        test::insertRow(db, t, m({{"intno", "2503000001"}, {"billdate", "2025-03-01"}}));
    for (const QString& t : {QStringLiteral("jjgzdetail"), QStringLiteral("jfgzdetail"),
                             QStringLiteral("jsgzdetail"), QStringLiteral("jfjgedetail")})
        test::insertRow(db, t, m({{"intno", "0000000001"}, {"mainintno", "2503000001"}, {"jge", 5}}));
    test::addPayrollRow(db, QStringLiteral("0001"), QStringLiteral("2025-03-05"), QStringLiteral("一车间"));
    test::insertRow(db, QStringLiteral("employee"),
                    m({{"intno", "000001"}, {"id", "0001"}, {"name", "张三"}}));
    test::insertRow(db, QStringLiteral("branch"),
                    m({{"intno", "0000000001"}, {"id", "01"}, {"name", "一车间"}}));
    test::insertRow(db, QStringLiteral("prowork"),
                    m({{"intno", "0000000001"}, {"id", "01"}, {"name", "纽扣"}}));
    test::insertRow(db, QStringLiteral("units"), m({{"intno", "0000000001"}, {"name", "个"}}));
    test::insertRow(db, QStringLiteral("gzbtotal"), m({{"totalqty", 1}}));
    test::insertRow(db, QStringLiteral("totallist"), m({{"amount", 1}}));
    drawDocumentNumber(db, QStringLiteral("jjgzlist"));
}

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestYearEnd : public QObject {
    Q_OBJECT
private slots:
    void initialise_data();
    void initialise();
    void yearEndCounters_data();
    void yearEndCounters();
    void yearEndKeepsCopyOfTheDataFolder();
    void secondYearEndOverwritesLastbak();
    void failedCopyDeletesNothing();
    void refusedInsideATransaction();
    void failedDeleteDeletesNothing();
    void guard_data();
    void guard();
    void folderCopyMergesAndReplaces();
    void folderCopyReportsFailures();
};

void TestYearEnd::initialise_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("counter");
    QTest::newRow("15 March 2009") << QDate(2009, 3, 15) << "0903000001";
    QTest::newRow("31 December 2009") << QDate(2009, 12, 31) << "0912000001";
}

void TestYearEnd::initialise() {
    QFETCH(QDate, today);
    QFETCH(QString, counter);
    test::TempHome home;
    Database& db = home.db();
    fillYear(db);
    QMap<QString, int> kept;
    for (const QString& t : kKeptTables)
        kept.insert(t, rows(db, t));
    QCOMPARE(yearend::initialise(db, today), counter);
    for (const QString& t : kWageTables)
        QCOMPARE(rows(db, t), 0);
    for (const QString& t : kKeptTables)
        QCOMPARE(rows(db, t), kept.value(t));
    for (const char* t : {"jjgzlist", "jfgzlist", "jsgzlist"})
        QCOMPARE(counterText(db, QString::fromLatin1(t)), counter);
    QCOMPARE(drawDocumentNumber(db, QStringLiteral("jfgzlist")), counter);
    QVERIFY(!QDir(home.folder().lastYearDir()).exists()); // initialisation keeps no copy
}

void TestYearEnd::yearEndCounters_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("counter");
    QTest::newRow("31 December") << QDate(2009, 12, 31) << "1001000001";
    QTest::newRow("1 January") << QDate(2010, 1, 1) << "1001000001";
    QTest::newRow("end of February") << QDate(2010, 2, 28) << "1003000001";
}

void TestYearEnd::yearEndCounters() {
    QFETCH(QDate, today);
    QFETCH(QString, counter);
    test::TempHome home;
    Database& db = home.db();
    fillYear(db);
    QCOMPARE(yearend::yearEnd(db, home.folder(), today), counter);
    for (const QString& t : kWageTables)
        QCOMPARE(rows(db, t), 0);
    QCOMPARE(rows(db, QStringLiteral("employee")), 1);
    QCOMPARE(drawDocumentNumber(db, QStringLiteral("jjgzlist")), counter);
}

void TestYearEnd::yearEndKeepsCopyOfTheDataFolder() {
    test::TempHome home;
    Database& db = home.db();
    fillYear(db);
    writeFile(home.folder().path(QStringLiteral("works/sub/note.txt")), "kept");
    writeFile(home.folder().path(QStringLiteral("LASTBAK/older.txt")), "old");
    yearend::yearEnd(db, home.folder(), QDate(2009, 12, 31));
    const QString copy = home.folder().path(QStringLiteral("LASTBAK/shdb.mdb"));
    QVERIFY(QFile::exists(copy));
    QCOMPARE(readFile(home.folder().path(QStringLiteral("LASTBAK/sub/note.txt"))), QByteArray("kept"));
    QCOMPARE(readFile(home.folder().path(QStringLiteral("LASTBAK/older.txt"))), QByteArray("old"));
    // The copy holds the year as it was before the deletions.
    auto old = Database::open(copy);
    QCOMPARE(rows(*old, QStringLiteral("gzb")), 1);
    QCOMPARE(rows(*old, QStringLiteral("jjgzdetail")), 1);
    QCOMPARE(rows(db, QStringLiteral("gzb")), 0);
}

void TestYearEnd::secondYearEndOverwritesLastbak() {
    test::TempHome home;
    Database& db = home.db();
    fillYear(db);
    yearend::yearEnd(db, home.folder(), QDate(2009, 12, 31));
    yearend::yearEnd(db, home.folder(), QDate(2009, 12, 31));
    auto copy = Database::open(home.folder().path(QStringLiteral("LASTBAK/shdb.mdb")));
    QCOMPARE(rows(*copy, QStringLiteral("gzb")), 0);
    QVERIFY(QDir(home.folder().lastYearDir()).entryList({QStringLiteral("*.gzcopy-part")}).isEmpty());
}

void TestYearEnd::failedCopyDeletesNothing() {
    test::TempHome home;
    Database& db = home.db();
    fillYear(db);
    const QString before = counterText(db, QStringLiteral("jjgzlist"));
    // A program folder without a works folder: the copy cannot be made.
    QTemporaryDir elsewhere;
    const ProgramFolder empty(elsewhere.path());
    try {
        yearend::yearEnd(db, empty, QDate(2009, 12, 31));
        QFAIL("a failed copy must stop the year-end processing");
    } catch (const Error& e) {
        QCOMPARE(e.kind(), ErrorKind::FileOpen);
        QVERIFY(e.message().contains(QStringLiteral("works")));
    }
    for (const QString& t : kWageTables)
        QCOMPARE(rows(db, t), 1);
    QCOMPARE(counterText(db, QStringLiteral("jjgzlist")), before);
}

void TestYearEnd::refusedInsideATransaction() {
    test::TempHome home;
    Database& db = home.db();
    fillYear(db);
    {
        Transaction tx(db);
        db.exec(QStringLiteral("DELETE FROM gzb"));
        QVERIFY_THROWS_EXCEPTION(Error, yearend::yearEnd(db, home.folder(), QDate(2009, 12, 31)));
    }
    QVERIFY(!QDir(home.folder().lastYearDir()).exists());
    QCOMPARE(rows(db, QStringLiteral("gzb")), 1);
    QCOMPARE(rows(db, QStringLiteral("jjgzlist")), 1);
}

void TestYearEnd::failedDeleteDeletesNothing() {
    test::TempHome home;
    Database& db = home.db();
    fillYear(db);
    const QString before = counterText(db, QStringLiteral("jjgzlist"));
    // The last delete fails: the earlier ones must be undone and the counters kept.
    db.exec(QStringLiteral(
        "CREATE TRIGGER nodelete BEFORE DELETE ON gzb BEGIN SELECT RAISE(ABORT, 'locked'); END"));
    QVERIFY_THROWS_EXCEPTION(Error, yearend::initialise(db, QDate(2009, 3, 15)));
    for (const QString& t : kWageTables)
        QCOMPARE(rows(db, t), 1);
    QCOMPARE(counterText(db, QStringLiteral("jjgzlist")), before);
    QVERIFY(!db.inTransaction());
}

void TestYearEnd::guard_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("not administrator") << "001"
                                       << "813"
                                       << "该用户无权使用此功能！";
    QTest::newRow("wrong password") << "813"
                                    << "x"
                                    << "输入操作员密码错误,请重新操作！";
    QTest::newRow("cancelled prompt") << "813"
                                      << ""
                                      << "输入操作员密码错误,请重新操作！";
    QTest::newRow("right, with blanks") << "813"
                                        << "  813 "
                                        << "";
}

void TestYearEnd::guard() {
    QFETCH(QString, op);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    QCOMPARE(yearend::checkGuard(op, QStringLiteral("813"), typed).value_or(QString()), refusal);
}

void TestYearEnd::folderCopyMergesAndReplaces() {
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src"));
    const QString dst = dir.filePath(QStringLiteral("dst"));
    writeFile(src + QStringLiteral("/a.txt"), "new a");
    writeFile(src + QStringLiteral("/deep/er/b.txt"), "b");
    QDir().mkpath(src + QStringLiteral("/emptydir"));
    writeFile(dst + QStringLiteral("/a.txt"), "old a, longer than the new one");
    writeFile(dst + QStringLiteral("/extra.txt"), "extra");
    const FolderCopyResult r = copyFolderTree(src, dst);
    QVERIFY2(r.ok(), qPrintable(r.failures.join(u'\n')));
    QCOMPARE(r.files, 2);
    QCOMPARE(readFile(dst + QStringLiteral("/a.txt")), QByteArray("new a"));
    QCOMPARE(readFile(dst + QStringLiteral("/deep/er/b.txt")), QByteArray("b"));
    QCOMPARE(readFile(dst + QStringLiteral("/extra.txt")), QByteArray("extra"));
    QVERIFY(QDir(dst + QStringLiteral("/emptydir")).exists());
    QCOMPARE(QDir(dst).entryList({QStringLiteral("*.gzcopy-part")}, QDir::Files).size(), 0);
}

void TestYearEnd::folderCopyReportsFailures() {
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src"));
    const QString dst = dir.filePath(QStringLiteral("dst"));
    writeFile(src + QStringLiteral("/sub/b.txt"), "b");
    writeFile(src + QStringLiteral("/c.txt"), "c");
    // Where the copy needs a folder a file stands: that part fails, the rest is copied.
    writeFile(dst + QStringLiteral("/sub"), "a file, not a folder");
    const FolderCopyResult r = copyFolderTree(src, dst);
    QVERIFY(!r.ok());
    QVERIFY(r.failures.join(u'\n').contains(QStringLiteral("sub")));
    QCOMPARE(readFile(dst + QStringLiteral("/c.txt")), QByteArray("c"));
    QCOMPARE(readFile(dst + QStringLiteral("/sub")), QByteArray("a file, not a folder"));
    QVERIFY_THROWS_EXCEPTION(Error, copyFolderTreeOrThrow(src, dst));
    // A missing source is a failure, not an empty copy.
    const FolderCopyResult missing = copyFolderTree(dir.filePath(QStringLiteral("nothing")), dst);
    QVERIFY(!missing.ok());
    QCOMPARE(missing.files, 0);
}

QTEST_GUILESS_MAIN(TestYearEnd)
#include "tst_yearend.moc"
