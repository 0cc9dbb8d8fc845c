// gzgl import: all rows or none, the refused line named.

#include "cli/CliRunner.h"

#include "common/ZipWriter.h"
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace gz::test;

namespace {
QString s(const char* text) {
    return QString::fromUtf8(text);
}
QString writeFile(const QTemporaryDir& dir, const char* name, const QString& text) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text.toUtf8());
    return path;
}
QString count(const QString& home, const char* table) {
    const CliResult r =
        runAdmin(home, {s("sql"), s("SELECT count(*) FROM %1").arg(QString::fromLatin1(table))});
    return r.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).value(1);
}
} // namespace

class TestCliImport : public QObject {
    Q_OBJECT
private slots:
    void employeesAllOrNothing() {
        QTemporaryDir dir;
        CliResult r = runGzgl(
            dir.path(), {s("import"), s("branch"), writeFile(dir, "b.csv", s("id,name\n0001,一车间\n"))});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed(), s("1"));
        const QString bad =
            writeFile(dir, "bad.csv", s("id,name,szbm\n1,甲,一车间\n2,乙,二车间\n3,丙,一车间\n"));
        r = runGzgl(dir.path(), {s("import"), s("employee"), bad});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.trimmed(), s("第3行: 所在部门不存在！"));
        QCOMPARE(count(dir.path(), "employee"), s("0"));
        const QString good =
            writeFile(dir, "good.csv", s("id,name,szbm\n1,甲,一车间\n2,乙,一车间\n3,丙,一车间\n"));
        r = runGzgl(dir.path(), {s("import"), s("employee"), good});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed(), s("3"));
        QCOMPARE(count(dir.path(), "employee"), s("3"));
        // The same file again: the numbers are taken.
        r = runGzgl(dir.path(), {s("import"), s("employee"), good});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.trimmed(), s("第2行: 该工号已存在,不能保存该员工资料！"));
        QCOMPARE(count(dir.path(), "employee"), s("3"));
    }

    // A factory's whole staff list in one command, from a workbook.
    void wholeStaffListFromXlsx() {
        QTemporaryDir dir;
        QCOMPARE(runGzgl(dir.path(),
                         {s("import"), s("branch"), writeFile(dir, "b.csv", s("id,name\n0001,一车间\n"))})
                     .code,
                 0);
        QByteArray rows = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
                          "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>3</v></c></row>";
        for (int i = 1; i <= 3000; ++i)
            rows +=
                QStringLiteral(
                    "<row r=\"%1\"><c r=\"A%1\"><v>%2</v></c><c r=\"B%1\" t=\"inlineStr\"><is><t>员工%2</t>"
                    "</is></c><c r=\"C%1\" t=\"s\"><v>4</v></c><c r=\"D%1\"><v>1250.5</v></c></row>")
                    .arg(i + 1)
                    .arg(i)
                    .toUtf8();
        const QString path = dir.filePath(s("staff.xlsx"));
        QVERIFY(gz::test::writeZip(
            path,
            {{s("xl/sharedStrings.xml"),
              QByteArray("<sst><si><t>id</t></si><si><t>name</t></si><si><t>szbm</t></si>"
                         "<si><t>basegz</t></si><si><t>") +
                  s("一车间").toUtf8() + "</t></si></sst>"},
             {s("xl/worksheets/sheet1.xml"), "<worksheet><sheetData>" + rows + "</sheetData></worksheet>"}}));
        const CliResult r = runGzgl(dir.path(), {s("import"), s("employee"), path});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(r.out.trimmed(), s("3000"));
        QCOMPARE(count(dir.path(), "employee"), s("3000"));
        const CliResult one =
            runAdmin(dir.path(), {s("sql"), s("SELECT intno, name, basegz FROM employee WHERE id = '3000'")});
        QCOMPARE(one.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).value(1),
                 s("003000,员工3000,1250.5"));
    }

    void badUsageAndMissingFile() {
        QTemporaryDir dir;
        QCOMPARE(runGzgl(dir.path(), {s("import"), s("gzb"), s("x.csv")}).code, 2);
        QCOMPARE(runGzgl(dir.path(), {s("import"), s("employee")}).code, 2);
        QCOMPARE(runGzgl(dir.path(), {s("import"), s("employee"), dir.filePath(s("missing.csv"))}).code, 3);
    }
};

QTEST_GUILESS_MAIN(TestCliImport)
#include "tst_import.moc"
