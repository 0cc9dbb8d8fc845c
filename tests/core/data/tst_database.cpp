#include "common/TempHome.h"
#include "core/data/Database.h"
#include "core/data/Errors.h"

#include <QCryptographicHash>
#include <QFile>
#include <QtTest>
#include <sqlcipher/sqlite3.h>

using namespace gz;
using gz::test::TempHome;

namespace {

QByteArray fileHash(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

// Writes a database with the given key statement (empty: a plain SQLite file).
void writeForeignDatabase(const QString& path, const char* keyPragma) {
    sqlite3* db = nullptr;
    QVERIFY(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) == SQLITE_OK);
    if (keyPragma) sqlite3_exec(db, keyPragma, nullptr, nullptr, nullptr);
    QCOMPARE(sqlite3_exec(db, "CREATE TABLE t(a); INSERT INTO t VALUES (1);", nullptr, nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(db);
}

} // namespace

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void fileIsEncrypted() {
        TempHome home;
        home.db().exec(QStringLiteral("UPDATE company SET name = :p1"),
                       {QStringLiteral("宏达玩具厂 plaintext-marker")});
        home.closeDb();
        QFile f(home.folder().dataFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(!bytes.startsWith("SQLite format 3"));
        QVERIFY(!bytes.contains("plaintext-marker"));
        QVERIFY(!bytes.contains("jjgzdetail"));
        home.reopenDb();
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT name FROM company")).toString(),
                 QStringLiteral("宏达玩具厂 plaintext-marker"));
    }

    void foreignFilesRefusedUntouched_data() {
        QTest::addColumn<int>("sort");
        QTest::newRow("plain SQLite file") << 0;
        QTest::newRow("encrypted with another key") << 1;
        QTest::newRow("not a database at all") << 2;
    }
    void foreignFilesRefusedUntouched() {
        QFETCH(int, sort);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shdb.mdb"));
        if (sort == 0) writeForeignDatabase(path, nullptr);
        if (sort == 1) writeForeignDatabase(path, "PRAGMA key = 'another';");
        if (sort == 2) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(5000, 'x'));
        }
        const QByteArray before = fileHash(path);
        try {
            Database::open(path);
            QFAIL("opened a foreign file");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::Database);
            QVERIFY2(e.message().contains(path), qPrintable(e.message()));
        }
        QCOMPARE(fileHash(path), before);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    }

    void missingFileNamed() {
        try {
            Database::open(QStringLiteral("/nonexistent/works/shdb.mdb"));
            QFAIL("opened a missing file");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::Database);
            QVERIFY(e.message().contains(QStringLiteral("/nonexistent/works/shdb.mdb")));
        }
    }

    void tooLongTextRefusedNothingStored() {
        TempHome home;
        Database& db = home.db();
        // opcrl.bh is text(3).
        QVERIFY_THROWS_EXCEPTION(Error,
                                 db.exec(QStringLiteral("INSERT INTO opcrl (bh, xm) VALUES (:p1, :p2)"),
                                         {QStringLiteral("1234"), QStringLiteral("张三")}));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM opcrl")).toInt(), 1);
        // Chinese characters count as characters, not bytes: 12 of them fit employee.name.
        db.exec(QStringLiteral("INSERT INTO employee (intno, id, name) VALUES ('000001', '0001', :p1)"),
                {QString(12, QChar(0x738B))});
        QVERIFY_THROWS_EXCEPTION(
            Error, db.exec(QStringLiteral("UPDATE employee SET name = :p1"), {QString(13, QChar(0x738B))}));
        QCOMPARE(db.scalar(QStringLiteral("SELECT length(name) FROM employee")).toInt(), 12);
    }

    void transactionRollsBackUnlessCommitted() {
        TempHome home;
        Database& db = home.db();
        {
            Transaction tx(db);
            db.exec(QStringLiteral("INSERT INTO units (intno, name) VALUES ('0000000001', :p1)"),
                    {QStringLiteral("件")});
            QVERIFY(db.inTransaction());
        }
        QVERIFY(!db.inTransaction());
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM units")).toInt(), 0);
        {
            Transaction outer(db);
            db.exec(QStringLiteral("INSERT INTO units (intno, name) VALUES ('0000000001', 'a')"));
            {
                Transaction inner(db);
                db.exec(QStringLiteral("INSERT INTO units (intno, name) VALUES ('0000000002', 'b')"));
            } // inner rolled back alone
            outer.commit();
        }
        QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(name) FROM units")).toString(),
                 QStringLiteral("a"));
    }

    void parametersAreNeverSpliced() {
        TempHome home;
        Database& db = home.db();
        const QString evil = QStringLiteral("x'); DELETE FROM opcrl; --");
        db.exec(QStringLiteral("INSERT INTO units (intno, name) VALUES ('0000000001', :p1)"),
                {evil.left(20)});
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM opcrl")).toInt(), 1);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT name FROM units WHERE name = :p1"), {evil.left(20)}).toString(),
            evil.left(20));
    }

    void sameStatementNested() {
        TempHome home;
        Database& db = home.db();
        for (int i = 1; i <= 3; ++i)
            db.exec(QStringLiteral("INSERT INTO units (intno, name) VALUES (:p1, :p2)"),
                    {QStringLiteral("000000000%1").arg(i), QString::number(i)});
        const QString sql = QStringLiteral("SELECT name FROM units ORDER BY intno");
        Query outer(db, sql);
        int pairs = 0;
        while (outer.next()) {
            Query inner(db, sql); // the cached statement is busy: a private copy serves
            while (inner.next())
                ++pairs;
        }
        QCOMPARE(pairs, 9);
    }

    void queryOutlivesClose() {
        TempHome home;
        Query q(home.db(), QStringLiteral("SELECT bh FROM opcrl"));
        QVERIFY(q.next());
        home.db().close();
        QVERIFY(!home.db().isOpen());
        // Destroying q afterwards must not touch freed memory (checked under sanitizers/valgrind).
    }

    void reopen() {
        TempHome home;
        home.db().reopen();
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT bh FROM opcrl")).toString(), QStringLiteral("813"));
    }

    void valAndStr_data() {
        QTest::addColumn<QString>("expr");
        QTest::addColumn<QString>("result");
        QTest::newRow("str of positive has a blank") << "str(903000000)"
                                                     << " 903000000";
        QTest::newRow("str of negative") << "str(-5)"
                                         << "-5";
        QTest::newRow("val ignores the blank") << "val(' 903000001') - 1"
                                               << "903000000";
        QTest::newRow("give-back round trip") << "str(val('0903000001') - 1)"
                                              << " 903000000";
        QTest::newRow("ten-digit counter") << "val('2501000001') + 1"
                                           << "2501000002";
        QTest::newRow("val stops at letters") << "val('12ab')"
                                              << "12";
        QTest::newRow("val of no number") << "val('abc')"
                                          << "0";
        QTest::newRow("val of a fraction") << "val(' 1.5')"
                                           << "1.5";
        QTest::newRow("str of a fraction") << "str(2.5)"
                                           << " 2.5";
    }
    void valAndStr() {
        QFETCH(QString, expr);
        QFETCH(QString, result);
        TempHome home;
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT ") + expr).toString(), result);
    }

    void likeWithPercent() {
        TempHome home;
        Database& db = home.db();
        db.exec(QStringLiteral("INSERT INTO branch (intno, id, name) VALUES ('0000000001', '01', :p1)"),
                {QStringLiteral("缝纫一车间")});
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM branch WHERE name LIKE :p1"),
                           {QStringLiteral("%一车%")})
                     .toInt(),
                 1);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
