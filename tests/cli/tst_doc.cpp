// gzgl doc: documents made, posted, reversed and copied from the command line, checked in the file.

#include "cli/CliRunner.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace gz::test;

namespace {

QString s(const char* text) {
    return QString::fromUtf8(text);
}

// A program folder with two workshops, two employees and one processed item.
struct Plant {
    QTemporaryDir dir;
    Plant() {
        write("b.csv", "id,name\n0001,一车间\n0002,包装部\n");
        write("e.csv", "id,name,szbm,basegz,dj\n7,张三,一车间,100,35\n8,李四,包装部,50,30\n");
        write("p.csv", "id,name,jgj\nA1,毛绒熊,2.5\n");
        for (const char* t : {"branch", "employee", "prowork"}) {
            const QString file = dir.filePath(QString::fromLatin1(t).left(1) + QStringLiteral(".csv"));
            CliResult r = run({s("import"), QString::fromLatin1(t), file});
            if (r.code != 0) qFatal("import failed: %s", qPrintable(r.err));
        }
    }
    void write(const char* name, const char* text) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        f.open(QIODevice::WriteOnly);
        f.write(text);
    }
    CliResult run(const QStringList& args) { return runGzgl(dir.path(), args); }
    // One value from the data file.
    QString value(const QString& sql) {
        CliResult r = runAdmin(dir.path(), {s("sql"), sql});
        const QStringList lines = r.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        return lines.size() > 1 ? lines[1] : QStringLiteral("<none>");
    }
    QString newDoc(const QString& kind, const QStringList& extra = {}) {
        CliResult r = run(QStringList{s("doc"), s("new"), kind, s("--branch"), s("0001"), s("--workdate"),
                                      s("2025-03-10")} +
                          extra);
        if (r.code != 0) qWarning("doc new: %s", qPrintable(r.err));
        return r.out.trimmed();
    }
};

} // namespace

class TestCliDoc : public QObject {
    Q_OBJECT
private slots:
    void pieceRateRoundTrip() {
        Plant p;
        const QString doc = p.newDoc(s("jj"), {s("--remark"), s("三月")});
        QCOMPARE(doc.size(), 10);
        QCOMPARE(p.value(s("SELECT count(*) FROM jjgzdetail")), s("0")); // no empty first line kept
        CliResult r = p.run(
            {s("doc"), s("line"), s("jj"), doc, s("--gh"), s("7"), s("--id"), s("A1"), s("--sl"), s("10")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed(), s("0000000001"));
        r = p.run({s("doc"), s("line"), s("jj"), doc, s("--gh"), s("0007"), s("--id"), s("A1"), s("--sl"),
                   s("15"), s("--dj"), s("1")});
        QCOMPARE(r.code, 0);
        QCOMPARE(p.value(s("SELECT dj, xm, basegz FROM jjgzdetail WHERE intno = '0000000001'")),
                 s("2.5,张三,100"));
        r = p.run({s("doc"), s("post"), s("jj"), doc});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(p.value(s("SELECT gh, nf, yf, jge, basegz, branchname FROM gzb")),
                 s("0007,2025,3,40,100,一车间"));
        r = p.run({s("doc"), s("post"), s("jj"), doc});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.trimmed(), s("该单据已过帐,不能再过帐！"));

        r = p.run({s("doc"), s("show"), s("jj"), doc});
        QCOMPARE(r.code, 0);
        const QStringList parts = r.out.split(QStringLiteral("\r\n\n"));
        QCOMPARE(parts.size(), 2);
        QVERIFY(parts[0].startsWith(s("intno,")));
        QVERIFY2(parts[0].contains(doc + s(",")) && parts[0].contains(s("三月")), qPrintable(parts[0]));
        QCOMPARE(parts[1].split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).size(), 3);

        r = p.run({s("doc"), s("reverse"), s("jj"), doc});
        QCOMPARE(r.code, 0);
        QCOMPARE(p.value(s("SELECT jge, basegz FROM gzb")), s("0,100"));
        r = p.run({s("doc"), s("reverse"), s("jj"), doc});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.trimmed(), s("该单据已冲数,不能再冲数！"));

        r = p.run({s("doc"), s("copy"), s("jj"), doc});
        QCOMPARE(r.code, 0);
        const QString copy = r.out.trimmed();
        QVERIFY(copy != doc);
        QCOMPARE(p.value(s("SELECT count(*) FROM jjgzdetail WHERE mainintno = '%1' AND pass = 0").arg(copy)),
                 s("2"));
        QCOMPARE(p.value(s("SELECT cancel FROM jjgzlist WHERE intno = '%1'").arg(doc)), s("1"));
        r = p.run({s("doc"), s("discard"), s("jj"), doc});
        QCOMPARE(r.code, 1);
        r = p.run({s("doc"), s("discard"), s("jj"), copy});
        QCOMPARE(r.code, 0);
        QCOMPARE(p.value(s("SELECT count(*) FROM jjgzlist WHERE intno = '%1'").arg(copy)), s("0"));
        QCOMPARE(p.value(s("SELECT count(*) FROM jjgzdetail WHERE mainintno = '%1'").arg(copy)), s("0"));
    }

    void timeLineFigures() {
        Plant p;
        const QString doc = p.newDoc(s("js"));
        CliResult r = p.run({s("doc"), s("line"), s("js"), doc, s("--gh"), s("7"), s("--sl"), s("26"),
                             s("--overtime"), s("6"), s("--latetime"), s("3"), s("--superscale"), s("200")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        // Price per shift from the employee, overtime pay at the option's multiplier 1.5 over 4 hours.
        QCOMPARE(p.value(s("SELECT dj, spelltime, overje, lateje, jge FROM jsgzdetail")),
                 s("35,4,78.75,1.5,910"));
        r = p.run({s("doc"), s("line"), s("js"), doc, s("--gh"), s("7"), s("--overtime"), s("2"),
                   s("--spelltime"), s("0")});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(s("每班时间")), qPrintable(r.err));
        QCOMPARE(p.value(s("SELECT count(*) FROM jsgzdetail")), s("1"));
        QCOMPARE(p.run({s("doc"), s("post"), s("js"), doc}).code, 0);
        QCOMPARE(p.value(s("SELECT spellqty, spelldj, spellje, overje, lateje, loan, jge FROM gzb")),
                 s("26,35,910,78.75,1.5,200,0"));
    }

    void refusalsLeaveNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown workshop")
            << QStringList{s("new"), s("jj"), s("--branch"), s("0099")} << s("查无此车间号！");
        QTest::newRow("unknown dedicated employee")
            << QStringList{s("new"), s("jj"), s("--gh"), s("99")} << s("查无此员工号！");
        QTest::newRow("unknown employee")
            << QStringList{s("line"), s("jj"), s("DOC"), s("--gh"), s("99")} << s("查无此工号！");
        QTest::newRow("unknown item")
            << QStringList{s("line"), s("jj"), s("DOC"), s("--gh"), s("7"), s("--id"), s("Z9")}
            << s("查无此货号！");
        QTest::newRow("line without employee")
            << QStringList{s("post"), s("jj"), s("EMPTYLINE")} << s("存在员工号为空,不能过帐！");
        QTest::newRow("document without lines")
            << QStringList{s("post"), s("jj"), s("DOC")} << s("明细表为空,不能过帐！");
        QTest::newRow("no such document")
            << QStringList{s("post"), s("jj"), s("0000000001")} << s("查无此单据！");
    }
    void refusalsLeaveNothing() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        Plant p;
        const QString doc = p.newDoc(s("jj"));
        if (args.contains(s("EMPTYLINE"))) {
            QCOMPARE(p.run({s("doc"), s("line"), s("jj"), doc, s("--sl"), s("1")}).code, 0);
            args.replaceInStrings(s("EMPTYLINE"), doc);
        }
        args.replaceInStrings(s("DOC"), doc);
        const QString before =
            runAdmin(p.dir.path(), {s("info")}).out + p.value(s("SELECT count(*) FROM jjgzdetail")) +
            p.value(s("SELECT count(*) FROM gzb")) + p.value(s("SELECT sum(pass) FROM jjgzlist"));
        CliResult r = p.run(QStringList{s("doc")} + args);
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.trimmed(), message);
        const QString after =
            runAdmin(p.dir.path(), {s("info")}).out + p.value(s("SELECT count(*) FROM jjgzdetail")) +
            p.value(s("SELECT count(*) FROM gzb")) + p.value(s("SELECT sum(pass) FROM jjgzlist"));
        QCOMPARE(after, before);
    }

    void badUsage() {
        Plant p;
        QCOMPARE(p.run({s("doc"), s("new"), s("xx")}).code, 2);
        QCOMPARE(p.run({s("doc"), s("frob"), s("jj"), s("1")}).code, 2);
        const QString doc = p.newDoc(s("jj"));
        QCOMPARE(p.run({s("doc"), s("line"), s("jj"), doc, s("--sl"), s("abc")}).code, 2);
        QCOMPARE(p.run({s("doc"), s("new"), s("jj"), s("--date"), s("2025-13-01")}).code, 2);
    }

    void operatorRights() {
        Plant p;
        const QString encoded = p.run({s("encode-password"), s("pw")}).out.trimmed();
        QCOMPARE(runAdmin(p.dir.path(),
                          {s("sql"), s("INSERT INTO opcrl (bh, xm, pw) VALUES ('101', 'clerk', :pw)"),
                           s("--param"), s("pw=") + encoded})
                     .code,
                 0);
        QCOMPARE(runAdmin(p.dir.path(), {s("sql"), s("INSERT INTO oprhto (opno, tablename, r, z, w) VALUES "
                                                     "('101', 'in_bdetail', 1, 1, 0)")})
                     .code,
                 0);
        const QString doc = p.newDoc(s("jj"));
        QCOMPARE(p.run({s("doc"), s("line"), s("jj"), doc, s("--gh"), s("7"), s("--sl"), s("1"), s("--dj"),
                        s("1")})
                     .code,
                 0);
        QCOMPARE(runGzgl(p.dir.path(), {s("doc"), s("post"), s("jj"), doc}, s("101"), s("pw")).code, 0);
        CliResult r = runGzgl(p.dir.path(), {s("doc"), s("reverse"), s("jj"), doc}, s("101"), s("pw"));
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.trimmed(), s("该用户无权使用此功能！"));
        QCOMPARE(p.value(s("SELECT cancel FROM jjgzlist")), s("0"));
        QCOMPARE(runAdmin(p.dir.path(), {s("doc"), s("reverse"), s("jj"), doc}).code, 0);
    }
};

QTEST_GUILESS_MAIN(TestCliDoc)
#include "tst_doc.moc"
