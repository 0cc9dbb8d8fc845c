#include "common/TempHome.h"
#include "core/data/Database.h"
#include "core/data/Errors.h"
#include "core/data/Schema.h"
#include "core/data/Upgrade.h"
#include "core/session/Password.h"
#include "core/session/Session.h"

#include <QtTest>

using namespace gz;
using gz::test::TempHome;

namespace {

QStringList columnsOf(Database& db, const QString& table) {
    QStringList out;
    Query q(db, QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (q.next())
        out << q.text(1);
    return out;
}

// A data file as older versions left it: without the four columns the upgrade adds.
std::unique_ptr<Database> legacyFile(const QString& path) {
    auto db = createDataFile(path, QDate(2009, 3, 1), false);
    db->exec(QStringLiteral("INSERT INTO employee (intno, id, name) VALUES ('000001', '0001', :p1)"),
             {QStringLiteral("李四")});
    db->exec(QStringLiteral("INSERT INTO gzb (nf, yf, gh, xm) VALUES ('2009', '3', '0001', :p1)"),
             {QStringLiteral("李四")});
    return db;
}

} // namespace

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    void everyTableAndColumnInOrder() {
        TempHome home;
        for (const TableDef& t : schemaTables())
            QCOMPARE(columnsOf(home.db(), t.name), t.columnNames());
        QVERIFY(checkSchema(home.db()).ok());
    }

    void apperrorKeepsItsColumnOrder() {
        // Rows are appended by position.
        TempHome home;
        QCOMPARE(columnsOf(home.db(), QStringLiteral("apperror")),
                 (QStringList{"Kind", "Titl", "Name", "Rq", "Mess"}));
    }

    void payrollNumbersStartAtZero() {
        TempHome home;
        Database& db = home.db();
        db.exec(QStringLiteral("INSERT INTO gzb (nf, yf, gh) VALUES ('2025', '3', '0001')"));
        const TableDef* gzb = findTable(QStringLiteral("gzb"));
        Query q(db, QStringLiteral("SELECT * FROM gzb"));
        QVERIFY(q.next());
        for (const ColumnDef& c : gzb->columns) {
            if (c.type != ColType::Double && c.type != ColType::Bool) continue;
            const int i = q.columnIndex(c.name);
            QVERIFY2(!q.isNull(i), qPrintable(c.name));
            QCOMPARE(q.real(i), 0.0);
        }
        // yfgz + a deduction works without treating empty values.
        QCOMPARE(db.scalar(QStringLiteral("SELECT jge + allbonus - loan FROM gzb")).toDouble(), 0.0);
    }

    void initialRows() {
        TempHome home(QDate(2025, 3, 15));
        Database& db = home.db();
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM config")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM company")).toInt(), 1);
        Query c(db, QStringLiteral(
                        "SELECT amountformat, priceformat, qtyformat, weightformat, qtypformat, dateformat, "
                        "dateseparator, flashbj, startbj, djbl, bcszbj FROM config"));
        QVERIFY(c.next());
        QCOMPARE(c.text(0), QStringLiteral("0.00"));
        QCOMPARE(c.text(1), QStringLiteral("0.00"));
        QCOMPARE(c.text(2), QStringLiteral("0"));
        QCOMPARE(c.text(3), QStringLiteral("0.00"));
        QCOMPARE(c.text(4), QStringLiteral("0.00"));
        QCOMPARE(c.text(5), QStringLiteral("yyyy-mm-dd"));
        QCOMPARE(c.text(6), QStringLiteral("-"));
        QCOMPARE(c.integer(7), 1);
        QCOMPARE(c.integer(8), 0);
        QCOMPARE(c.real(9), 1.5);
        QCOMPARE(c.text(10), QStringLiteral("F"));
        Query n(db, QStringLiteral("SELECT tablename, intno FROM nextno ORDER BY tablename"));
        QStringList counters;
        while (n.next())
            counters << n.text(0) + u'=' + n.text(1);
        QCOMPARE(counters,
                 (QStringList{"jfgzlist=2503000001", "jjgzlist=2503000001", "jsgzlist=2503000001"}));
        QVERIFY(checkLogin(db, QStringLiteral("813"), QStringLiteral("813")));
        QVERIFY(!checkLogin(db, QStringLiteral("813"), QStringLiteral("814")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM dateconfig")).toInt(), 0);
    }

    void freshFileThroughProgramFolder() {
        QTemporaryDir dir;
        ProgramFolder folder(dir.path());
        auto r = openDataFile(folder);
        QVERIFY(r.created);
        QVERIFY(QFile::exists(folder.dataFile()));
        QVERIFY(QDir(folder.reportDir()).exists());
        QVERIFY(QDir(folder.backupDir()).exists());
        r.db.reset();
        auto again = openDataFile(folder);
        QVERIFY(!again.created);
        QVERIFY(!QFile::exists(folder.dataFile() + QStringLiteral(".new")));
    }

    void upgradeBringsOldFileUp() {
        QTemporaryDir dir;
        auto db = legacyFile(dir.filePath(QStringLiteral("shdb.mdb")));
        QVERIFY(!checkSchema(*db).ok());
        QCOMPARE(checkSchema(*db).missingColumns.size(), 4);
        QVERIFY(upgradeConfig(*db));
        QCOMPARE(db->scalar(QStringLiteral("SELECT flashbj FROM config")).toInt(), 1);
        QVERIFY(upgradeEmployee(*db));
        QVERIFY(upgradePayroll(*db));
        QVERIFY(checkSchema(*db).ok());
        QCOMPARE(db->scalar(QStringLiteral("SELECT szbj FROM employee")).toInt(), 0);
        QCOMPARE(db->scalar(QStringLiteral("SELECT dj FROM employee")).toDouble(), 0.0);
        QCOMPARE(db->scalar(QStringLiteral("SELECT payoff FROM gzb")).toInt(), 0);
        // The rows that were there are kept.
        QCOMPARE(db->scalar(QStringLiteral("SELECT name FROM employee")).toString(), QStringLiteral("李四"));
        // A second start finds nothing to do.
        QCOMPARE(upgradeAll(*db), 0);
    }

    void halfUpgradedFileStillOpens() {
        // employee got szbj but not dj, gzb has payoff: the employee data set fails to open on dj.
        QTemporaryDir dir;
        auto db = legacyFile(dir.filePath(QStringLiteral("shdb.mdb")));
        db->execScript(QStringLiteral("ALTER TABLE employee ADD COLUMN szbj boolean NOT NULL DEFAULT 0;"
                                      "ALTER TABLE gzb ADD COLUMN payoff boolean NOT NULL DEFAULT 0;"));
        upgradeAll(*db);
        QVERIFY(checkSchema(*db).ok());
    }

    void missingColumnBeyondUpgradeIsReported() {
        TempHome home;
        home.db().execScript(QStringLiteral("ALTER TABLE units RENAME TO units_old;"
                                            "CREATE TABLE units (intno varchar(10), name varchar(20));"));
        const SchemaReport r = checkSchema(home.db());
        QVERIFY(!r.ok());
        QVERIFY(r.missingColumns.contains(QStringLiteral("units.intid")));
        QVERIFY(r.missingColumns.contains(QStringLiteral("units.id")));
    }

    void indexesKeptUpToDate() {
        TempHome home;
        Database& db = home.db();
        QCOMPARE(ensureIndexes(db), 0); // a fresh file has them all
        auto indexes = [&] {
            QStringList out;
            Query q(db,
                    QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND name LIKE 'ix%' "
                                   "ORDER BY name"));
            while (q.next())
                out << q.text(0);
            return out;
        };
        const QStringList fresh = indexes();
        QVERIFY(fresh.contains(QStringLiteral("ix_jjgzdetail_mainintno")));
        QVERIFY(fresh.contains(QStringLiteral("ix_gzb_gh_nf_yf")));
        // A file of an older version: an index missing, one of ours no longer wanted, and one
        // that is not ours at all.
        db.execScript(QStringLiteral("DROP INDEX ix_jjgzdetail_mainintno;"
                                     "CREATE INDEX ixjjgzdetail_13 ON jjgzdetail(etdate);"
                                     "CREATE INDEX users_own ON jjgzdetail(remark);"));
        QCOMPARE(ensureIndexes(db), 2);
        QStringList after = indexes();
        QCOMPARE(after, fresh);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'users_own'")).toInt(),
            1);
        // The searches use them.
        Query plan(
            db,
            QStringLiteral("EXPLAIN QUERY PLAN SELECT * FROM gzb WHERE gh = :p1 AND nf = :p2 AND yf = :p3"),
            {QStringLiteral("0001"), QStringLiteral("2025"), QStringLiteral("3")});
        QVERIFY(plan.next());
        QVERIFY2(plan.text(3).contains(QStringLiteral("ix_gzb_gh_nf_yf")), qPrintable(plan.text(3)));
    }

    void labels() {
        QCOMPARE(findTable(QStringLiteral("gzb"))->column(QStringLiteral("sfgz"))->label,
                 QStringLiteral("实发工资"));
        QCOMPARE(findTable(QStringLiteral("JJGZDETAIL"))->column(QStringLiteral("sl"))->label,
                 QStringLiteral("加工量"));
        QVERIFY(findTable(QStringLiteral("no_such_table")) == nullptr);
        QCOMPARE(internalNumberWidth(QStringLiteral("employee")), 6);
        QCOMPARE(internalNumberWidth(QStringLiteral("jsgzdetail")), 10);
        QCOMPARE(internalNumberWidth(QStringLiteral("gzb")), 0);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
