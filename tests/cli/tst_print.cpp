// gzgl print: the employee list to every format, and what it says when it cannot print.

#include "CliRunner.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace gz::test;

class TstPrint : public QObject {
    Q_OBJECT
    QTemporaryDir home_;

    QString out(const QString& name) const { return QDir(home_.path()).filePath(name); }

private slots:
    void initTestCase() {
        QCOMPARE(runGzgl(home_.path(), {QStringLiteral("init")}).code, 0);
        // init installs the factory templates in both folders.
        QVERIFY(QFile::exists(QDir(home_.path()).filePath(QStringLiteral("report/employee.rmf"))));
        QVERIFY(QFile::exists(QDir(home_.path()).filePath(QStringLiteral("report0/gzb.rmf"))));
        const QStringList rows[] = {{QStringLiteral("000002"), QStringLiteral("0002"), QStringLiteral("王五"),
                                     QStringLiteral("包装车间"), QStringLiteral("0")},
                                    {QStringLiteral("000001"), QStringLiteral("0001"), QStringLiteral("张三"),
                                     QStringLiteral("缝纫车间"), QStringLiteral("0")},
                                    {QStringLiteral("000003"), QStringLiteral("0003"),
                                     QStringLiteral("李四'--"), QStringLiteral("缝纫车间"),
                                     QStringLiteral("1")}};
        for (const QStringList& r : rows) {
            const CliResult res = runAdmin(
                home_.path(),
                {QStringLiteral("sql"),
                 QStringLiteral(
                     "INSERT INTO employee (intno, id, name, szbm, lcbj) VALUES (:a, :b, :c, :d, :e)"),
                 QStringLiteral("--param"), QStringLiteral("a=") + r[0], QStringLiteral("--param"),
                 QStringLiteral("b=") + r[1], QStringLiteral("--param"), QStringLiteral("c=") + r[2],
                 QStringLiteral("--param"), QStringLiteral("d=") + r[3], QStringLiteral("--param"),
                 QStringLiteral("e=") + r[4]});
            QVERIFY2(res.code == 0, qPrintable(res.err));
        }
        runAdmin(home_.path(), {QStringLiteral("sql"), QStringLiteral("UPDATE company SET name = :n"),
                                QStringLiteral("--param"), QStringLiteral("n=星光玩具厂")});
    }

    void employeeListToPdf() {
        const CliResult r = runGzgl(home_.path(), {QStringLiteral("print"), QStringLiteral("employee.rmf"),
                                                   QStringLiteral("--out"), out(QStringLiteral("e.pdf"))});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(r.out.trimmed(), QDir::toNativeSeparators(out(QStringLiteral("e.pdf"))));
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {out(QStringLiteral("e.pdf")), QStringLiteral("-")});
        p.waitForFinished();
        const QString text = QString::fromUtf8(p.readAllStandardOutput()).remove(u' ');
        QVERIFY2(text.contains(QStringLiteral("星光玩具厂")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("共3人")));
        // Ordered by number.
        QVERIFY(text.indexOf(QStringLiteral("张三")) < text.indexOf(QStringLiteral("王五")));
    }

    void filtersAreBoundNotSpliced() {
        const CliResult r = runGzgl(home_.path(), {QStringLiteral("print"), QStringLiteral("employee"),
                                                   QStringLiteral("--dept"), QStringLiteral("缝纫车间"),
                                                   QStringLiteral("--find"), QStringLiteral("'"),
                                                   QStringLiteral("--out"), out(QStringLiteral("f.html"))});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QFile f(out(QStringLiteral("f.html")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        QVERIFY(html.contains(QStringLiteral("李四&#x27;; DROP TABLE employee;--")) ||
                html.contains(QStringLiteral("李四'--")));
        QVERIFY(!html.contains(QStringLiteral("张三")));
        QVERIFY(html.contains(QStringLiteral("共 1 人")));
    }

    void otherFormats_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("xlsx") << "e.xlsx";
        QTest::newRow("png") << "e.png";
        QTest::newRow("bmp") << "e.bmp";
    }
    void otherFormats() {
        QFETCH(QString, name);
        const CliResult r = runGzgl(home_.path(), {QStringLiteral("print"), QStringLiteral("employee"),
                                                   QStringLiteral("--out"), out(name)});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(QFileInfo(out(name)).size() > 1000);
    }

    void storedPieceRateDocument() {
        auto sql = [&](const QString& stmt, const QStringList& params) {
            QStringList args{QStringLiteral("sql"), stmt};
            for (int i = 0; i < params.size(); ++i)
                args << QStringLiteral("--param") << QStringLiteral("p%1=%2").arg(i + 1).arg(params[i]);
            const CliResult r = runAdmin(home_.path(), args);
            QVERIFY2(r.code == 0, qPrintable(r.err));
        };
        sql(QStringLiteral("INSERT INTO jjgzlist (intno, billdate, branchid, branchname, pass, cancel) "
                           "VALUES (:p1, :p2, '02', :p3, 1, 0)"),
            {QStringLiteral("2503000007"), QStringLiteral("2025-03-15"), QStringLiteral("缝纫车间")});
        for (int i = 1; i <= 3; ++i)
            sql(QStringLiteral(
                    "INSERT INTO jjgzdetail (intno, mainintno, gh, xm, prowork, dj, sl, jge, etdate, pass) "
                    "VALUES (:p1, '2503000007', '0001', :p2, :p3, 0.5, :p4, :p5, '2025-03-15', 1)"),
                {QStringLiteral("000000000%1").arg(i), QStringLiteral("张三"),
                 QStringLiteral("工序%1").arg(i), QString::number(100 * i), QString::number(50 * i)});
        const CliResult r = runGzgl(home_.path(), {QStringLiteral("print"), QStringLiteral("jjgzdetail"),
                                                   QStringLiteral("--doc"), QStringLiteral("2503000007"),
                                                   QStringLiteral("--out"), out(QStringLiteral("d.pdf"))});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {out(QStringLiteral("d.pdf")), QStringLiteral("-")});
        p.waitForFinished();
        const QString text = QString::fromUtf8(p.readAllStandardOutput()).remove(u' ');
        for (const QString& s :
             {QStringLiteral("计件工资单"), QStringLiteral("单号:2503000007"), QStringLiteral("工序3"),
              QStringLiteral("300.00"), QStringLiteral("已过帐"), QStringLiteral("共3行")})
            QVERIFY2(text.contains(s), qPrintable(s + QStringLiteral(" not in ") + text));
        const CliResult missing =
            runGzgl(home_.path(),
                    {QStringLiteral("print"), QStringLiteral("jjgzdetail"), QStringLiteral("--doc"),
                     QStringLiteral("9999999999"), QStringLiteral("--out"), out(QStringLiteral("n.pdf"))});
        QCOMPARE(missing.code, 2);
        QVERIFY(missing.err.contains(QStringLiteral("9999999999")));
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("no output") << QStringList{QStringLiteral("print"), QStringLiteral("employee")} << 2
                                   << "--out";
        QTest::newRow("unknown format") << QStringList{QStringLiteral("print"), QStringLiteral("employee"),
                                                       QStringLiteral("--out"), QStringLiteral("x.doc")}
                                        << 2 << ".pdf";
        QTest::newRow("template without binding")
            << QStringList{QStringLiteral("print"), QStringLiteral("nosuch.rmf"), QStringLiteral("--out"),
                           QStringLiteral("x.pdf")}
            << 2 << "employee.rmf";
    }
    void refusals() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, mentions);
        const CliResult r = runGzgl(home_.path(), args);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(mentions), qPrintable(r.err));
    }

    void missingOrBrokenTemplateIsAnError() {
        const QString tpl = QDir(home_.path()).filePath(QStringLiteral("report/employee.rmf"));
        QVERIFY(QFile::rename(tpl, tpl + QStringLiteral(".bak")));
        CliResult r = runGzgl(home_.path(), {QStringLiteral("print"), QStringLiteral("employee"),
                                             QStringLiteral("--out"), out(QStringLiteral("m.pdf"))});
        QCOMPARE(r.code, 3);
        QVERIFY2(r.err.contains(QStringLiteral("employee.rmf")) && r.err.contains(QStringLiteral("不存在")),
                 qPrintable(r.err));
        QVERIFY(!QFile::exists(out(QStringLiteral("m.pdf"))));
        QFile broken(tpl);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("<report>\n<band type=\"masterData\" "
                     "channel=\"RMDBDataSet1\">\n<text>[RMDBDataSet1.nosuch]</text>\n</band>\n</report>\n");
        broken.close();
        r = runGzgl(home_.path(), {QStringLiteral("print"), QStringLiteral("employee"),
                                   QStringLiteral("--out"), out(QStringLiteral("m.pdf"))});
        QCOMPARE(r.code, 3);
        QVERIFY2(r.err.contains(QStringLiteral("nosuch")), qPrintable(r.err));
        QFile::remove(tpl);
        QVERIFY(QFile::rename(tpl + QStringLiteral(".bak"), tpl));
    }
};

QTEST_GUILESS_MAIN(TstPrint)
#include "tst_print.moc"
