// Compaction and the close-time backup on real data files.

#include "common/TempHome.h"
#include "core/data/Database.h"
#include "core/data/Errors.h"
#include "core/maintenance/Backup.h"
#include "core/maintenance/Compact.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace gz;

class TestCompactBackup : public QObject {
    Q_OBJECT

    static void addLines(Database& db, int count, const QString& intnoPrefix) {
        Transaction tx(db);
        for (int i = 0; i < count; ++i)
            db.exec(QStringLiteral("INSERT INTO jjgzdetail (intno, mainintno, gh, xm, sl, dj, je) "
                                   "VALUES (:p1, '0000000001', '0001', :p2, 1, 2, 2)"),
                    {intnoPrefix.isNull() ? QVariant() : QVariant(intnoPrefix + QString::number(i)),
                     QStringLiteral("张三%1").arg(i)});
        tx.commit();
    }
    static int count(Database& db, const QString& sql) { return db.scalar(sql).toInt(); }

private slots:
    void removesOnlyEmptyNumbers() {
        test::TempHome home;
        Database& db = home.db();
        addLines(db, 3, QStringLiteral("1"));
        db.exec(QStringLiteral("INSERT INTO jjgzdetail (intno, xm) VALUES ('', 'empty')"));
        db.exec(QStringLiteral("INSERT INTO jjgzdetail (intno, xm) VALUES (NULL, 'null')"));
        db.exec(QStringLiteral("INSERT INTO employee (intno, id, name) VALUES ('', '0009', 'x')"));
        db.exec(QStringLiteral("INSERT INTO jsgzlist (intno) VALUES ('')"));
        QCOMPARE(removeRowsWithoutNumber(db), 3);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM jjgzdetail")), 4);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM jjgzdetail WHERE intno IS NULL")), 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM employee")), 0);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM jsgzlist")), 0);
    }

    void compactedFileKeepsRowsAndKey() {
        test::TempHome home;
        addLines(home.db(), 3000, QStringLiteral("L"));
        home.db().exec(QStringLiteral("DELETE FROM jjgzdetail WHERE rowid % 3 <> 0"));
        const int kept = count(home.db(), QStringLiteral("SELECT COUNT(*) FROM jjgzdetail"));
        const double sum = home.db().scalar(QStringLiteral("SELECT SUM(je) FROM jjgzdetail")).toDouble();
        home.closeDb();
        const QString file = home.folder().dataFile();
        const qint64 before = QFileInfo(file).size();

        QString error;
        QVERIFY2(compactDataFile(file, &error), qPrintable(error));
        QVERIFY(QFileInfo(file).size() < before);
        home.reopenDb(); // opens with the key, so the file is still encrypted with it
        QCOMPARE(count(home.db(), QStringLiteral("SELECT COUNT(*) FROM jjgzdetail")), kept);
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT SUM(je) FROM jjgzdetail")).toDouble(), sum);
        QCOMPARE(count(home.db(), QStringLiteral("SELECT COUNT(*) FROM opcrl WHERE bh='813'")), 1);
        // nothing left behind beside the data file
        QCOMPARE(QDir(home.folder().worksDir()).entryList(QDir::Files),
                 QStringList{QStringLiteral("shdb.mdb")});
        // the file holds no readable text: still encrypted
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(!f.readAll().contains("SQLite format 3"));
    }

    void foreignFileIsLeftAlone() {
        test::TempHome home;
        home.closeDb();
        const QString file = home.folder().dataFile();
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("not a data file of ours");
        f.close();
        QString error;
        QVERIFY(!compactDataFile(file, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("not a data file of ours"));
        QCOMPARE(QDir(home.folder().worksDir()).entryList(QDir::Files),
                 QStringList{QStringLiteral("shdb.mdb")});
    }

    void missingFileFails() {
        QString error;
        QVERIFY(!compactDataFile(QStringLiteral("/nonexistent/works/shdb.mdb"), &error));
        QVERIFY(!error.isEmpty());
    }

    void weekdayDigits_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("digit");
        QTest::newRow("sunday") << QDate(2026, 12, 13) << 0;
        QTest::newRow("monday") << QDate(2026, 12, 14) << 1;
        QTest::newRow("wednesday") << QDate(2026, 12, 9) << 3;
        QTest::newRow("saturday") << QDate(2026, 12, 12) << 6;
    }
    void weekdayDigits() {
        QFETCH(QDate, date);
        QFETCH(int, digit);
        QCOMPARE(weekdayDigit(date), digit);
    }

    void closeBackupWritesWeekdayFolder() {
        test::TempHome home;
        addLines(home.db(), 10, QStringLiteral("B"));
        home.db().exec(QStringLiteral("INSERT INTO jjgzdetail (intno, xm) VALUES ('', 'kept')"));
        home.closeDb();
        const CloseBackupResult r = closeTimeBackup(home.folder(), QDate(2026, 12, 13)); // a Sunday
        QVERIFY(r.compacted);
        QVERIFY(r.copied);
        QCOMPARE(r.target, home.folder().path(QStringLiteral("BAK0/shdb.mdb")));
        auto copy = Database::open(r.target);
        QCOMPARE(copy->scalar(QStringLiteral("SELECT COUNT(*) FROM jjgzdetail")).toInt(), 11);
        QVERIFY(!QFileInfo::exists(home.folder().path(QStringLiteral("BAK6"))));
    }

    void closeBackupReplacesOlderCopy() {
        test::TempHome home;
        home.closeDb();
        const QString target = home.folder().path(QStringLiteral("BAK6/shdb.mdb"));
        QDir().mkpath(home.folder().path(QStringLiteral("BAK6")));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("last week");
        old.close();
        QVERIFY(closeTimeBackup(home.folder(), QDate(2026, 12, 12)).copied);
        QCOMPARE(QFileInfo(target).size(), QFileInfo(home.folder().dataFile()).size());
        QVERIFY(Database::open(target) != nullptr);
    }

    void closeBackupWithoutDataFileFails() {
        QTemporaryDir dir;
        ProgramFolder folder(dir.path());
        const CloseBackupResult r = closeTimeBackup(folder, QDate(2026, 12, 12));
        QVERIFY(!r.compacted);
        QVERIFY(!r.copied);
        QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("BAK6/shdb.mdb"))));
    }
};

QTEST_GUILESS_MAIN(TestCompactBackup)
#include "tst_compact_backup.moc"
