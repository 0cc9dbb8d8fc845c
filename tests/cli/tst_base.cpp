// The data-file commands of gzgl: init, info, sql, number, encode-password, and the common rules.

#include "cli/CliRunner.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace gz::test;

class TestCliBase : public QObject {
    Q_OBJECT
private slots:
    void initCreatesOnceAndKeeps() {
        QTemporaryDir dir;
        CliResult r = runGzgl(dir.path(), {QStringLiteral("init")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed(), dir.path() + QStringLiteral("/works/shdb.mdb"));
        QVERIFY(QFile::exists(dir.path() + QStringLiteral("/works/shdb.mdb")));
        QCOMPARE(runGzgl(dir.path(),
                         {QStringLiteral("number"), QStringLiteral("draw"), QStringLiteral("jjgzlist")})
                     .code,
                 0);
        r = runGzgl(dir.path(), {QStringLiteral("init")});
        QCOMPARE(r.code, 0);
        // The drawn number is still used: the file was not made anew.
        r = runGzgl(dir.path(), {QStringLiteral("info")});
        const QString month = QDate::currentDate().toString(QStringLiteral("yyMM"));
        QVERIFY2(r.out.contains(QStringLiteral("counter,jjgzlist,") + month + QStringLiteral("000002")),
                 qPrintable(r.out));
    }

    void info() {
        QTemporaryDir dir;
        const CliResult r = runGzgl(dir.path(), {QStringLiteral("info")});
        QCOMPARE(r.code, 0);
        const QStringList lines = r.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), QStringLiteral("item,name,value"));
        QVERIFY(lines.contains(QStringLiteral("schema,ok,")));
        QVERIFY(lines.contains(QStringLiteral("rows,opcrl,1")));
        QVERIFY(lines.contains(QStringLiteral("rows,gzb,0")));
        QCOMPARE(lines.filter(QStringLiteral("counter,")).size(), 3);
    }

    void loginRules_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("nobody logged in") << ""
                                          << "" << 1 << "该用户无权使用此功能！";
        QTest::newRow("wrong password") << "813"
                                        << "812" << 1 << "密码错误,非法用户！";
        QTest::newRow("unknown operator") << "999"
                                          << "813" << 1 << "密码错误,非法用户！";
        QTest::newRow("administrator") << "813"
                                       << " 813 " << 0 << "";
    }
    void loginRules() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(int, code);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const CliResult r = runGzgl(
            dir.path(), {QStringLiteral("sql"), QStringLiteral("SELECT bh FROM opcrl")}, user, password);
        QCOMPARE(r.code, code);
        QCOMPARE(r.err.trimmed(), message);
        if (code == 0) QCOMPARE(r.out, QStringLiteral("bh\r\n813\r\n"));
    }

    void nonAdministratorRefused() {
        QTemporaryDir dir;
        QCOMPARE(
            runAdmin(dir.path(), {QStringLiteral("sql"),
                                  QStringLiteral("INSERT INTO opcrl (bh, xm, pw) VALUES ('001', 'a', :p1)"),
                                  QStringLiteral("--param"), QStringLiteral("p1=66")})
                .out.trimmed(),
            QStringLiteral("1"));
        const CliResult r = runGzgl(
            dir.path(), {QStringLiteral("number"), QStringLiteral("reset"), QStringLiteral("2009-03-01")},
            QStringLiteral("001"), QStringLiteral("0"));
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.trimmed(), QStringLiteral("该用户无权使用此功能！"));
    }

    void sqlCsvQuoting() {
        QTemporaryDir dir;
        runAdmin(dir.path(), {QStringLiteral("sql"), QStringLiteral("UPDATE company SET name = :p1"),
                              QStringLiteral("--param"), QStringLiteral("p1=宏达,\"玩具\"厂")});
        const CliResult r = runAdmin(
            dir.path(), {QStringLiteral("sql"), QStringLiteral("SELECT name, 1.5 AS x FROM company")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QStringLiteral("name,x\r\n\"宏达,\"\"玩具\"\"厂\",1.5\r\n"));
    }

    void badStatementIsUnexpectedAndLogged() {
        QTemporaryDir dir;
        CliResult r =
            runAdmin(dir.path(), {QStringLiteral("sql"), QStringLiteral("SELECT * FROM no_such_table")});
        QCOMPARE(r.code, 3);
        QVERIFY(r.err.startsWith(QStringLiteral("数据库错误")));
        r = runAdmin(dir.path(), {QStringLiteral("sql"), QStringLiteral("SELECT Kind, Titl FROM apperror")});
        QCOMPARE(r.out, QStringLiteral("Kind,Titl\r\n数据库错误,gzgl\r\n"));
    }

    void numbers() {
        QTemporaryDir dir;
        runAdmin(dir.path(),
                 {QStringLiteral("number"), QStringLiteral("reset"), QStringLiteral("2009-03-17")});
        auto run = [&](const QStringList& a) { return runGzgl(dir.path(), a).out.trimmed(); };
        QCOMPARE(run({QStringLiteral("number"), QStringLiteral("draw"), QStringLiteral("jsgzlist")}),
                 QStringLiteral("0903000001"));
        QCOMPARE(run({QStringLiteral("number"), QStringLiteral("giveback"), QStringLiteral("jsgzlist")}),
                 QStringLiteral("903000001"));
        QCOMPARE(run({QStringLiteral("number"), QStringLiteral("draw"), QStringLiteral("jsgzlist")}),
                 QStringLiteral("0903000001"));
        QCOMPARE(run({QStringLiteral("number"), QStringLiteral("next"), QStringLiteral("employee")}),
                 QStringLiteral("000001"));
        QCOMPARE(run({QStringLiteral("number"), QStringLiteral("next"), QStringLiteral("jjgzdetail")}),
                 QStringLiteral("0000000001"));
    }

    void encodePassword() {
        QTemporaryDir dir;
        const CliResult r = runGzgl(dir.path(), {QStringLiteral("encode-password"), QStringLiteral("813")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QStringLiteral(">>LLUU\n"));
    }

    void badUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no command") << QStringList();
        QTest::newRow("unknown command") << QStringList{"frobnicate"};
        QTest::newRow("draw from a non-header table") << QStringList{"number", "draw", "gzb"};
        QTest::newRow("missing table") << QStringList{"number", "next"};
        QTest::newRow("bad date") << QStringList{"number", "reset", "2009/03/01"};
    }
    void badUsage() {
        QFETCH(QStringList, args);
        QTemporaryDir dir;
        const CliResult r = runAdmin(dir.path(), args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(QStringLiteral("usage")));
    }

    void foreignDataFileUntouched() {
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + QStringLiteral("/works"));
        const QString path = dir.path() + QStringLiteral("/works/shdb.mdb");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'z'));
        f.close();
        const CliResult r = runGzgl(dir.path(), {QStringLiteral("info")});
        QCOMPARE(r.code, 3);
        QVERIFY(r.err.contains(path));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(4096, 'z'));
    }
};

QTEST_GUILESS_MAIN(TestCliBase)
#include "tst_base.moc"
