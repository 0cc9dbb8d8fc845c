// Master data: look-ups, on-the-spot creation, reading table files and the all-or-nothing import.

#include "common/TempHome.h"
#include "common/ZipWriter.h"
#include "core/data/Database.h"
#include "core/data/Errors.h"
#include "core/io/TableFile.h"
#include "core/master/Lookup.h"
#include "core/master/MasterImport.h"

#include <QtTest>

using namespace gz;
using namespace gz::test;

namespace {

int rows(Database& db, const char* table) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QString::fromLatin1(table))).toInt();
}

TableFile csv(const QString& text) {
    return parseCsv(text.toUtf8());
}

void seedBranches(Database& db) {
    db.exec(QStringLiteral("INSERT INTO branch (intno, id, name) VALUES ('0000000001', '0001', '一车间')"));
    db.exec(QStringLiteral("INSERT INTO branch (intno, id, name) VALUES ('0000000002', '0002', '包装部')"));
}

// A minimal workbook: shared strings and the first sheet.
void writeXlsx(const QString& path, const QByteArray& strings, const QByteArray& sheet) {
    QVERIFY(
        gz::test::writeZip(path, {{QStringLiteral("[Content_Types].xml"), "<?xml version=\"1.0\"?><Types/>"},
                                  {QStringLiteral("xl/sharedStrings.xml"), strings},
                                  {QStringLiteral("xl/worksheets/sheet1.xml"), sheet}}));
}

} // namespace

class TestImport : public QObject {
    Q_OBJECT
private slots:
    void padEmployeeNumbers_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("7") << "7"
                           << "0007";
        QTest::newRow("12") << " 12 "
                            << "0012";
        QTest::newRow("12345") << "12345"
                               << "2345";
        QTest::newRow("empty") << ""
                               << "0000";
    }
    void padEmployeeNumbers() {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QCOMPARE(padEmployeeNumber(typed), expected);
    }

    void ensureEmployeeAndProduct() {
        TempHome home;
        Database& db = home.db();
        bool created = false;
        QCOMPARE(ensureEmployee(db, QStringLiteral("0012"), QStringLiteral("新人"), QStringLiteral("一车间"),
                                &created),
                 Check());
        QVERIFY(created);
        auto e = findEmployee(db, QStringLiteral("0012"));
        QVERIFY(e);
        QCOMPARE(e->intno, QStringLiteral("000001"));
        QCOMPARE(e->department, QStringLiteral("一车间"));
        QCOMPARE(ensureEmployee(db, QStringLiteral("0012"), QStringLiteral("新人"), QString(), &created),
                 Check());
        QVERIFY(!created);
        QCOMPARE(ensureEmployee(db, QStringLiteral("0012"), QStringLiteral("旧人"), QString()),
                 Check(QStringLiteral("请输入员工号与姓名不符！")));
        QCOMPARE(ensureEmployee(db, QStringLiteral("0013"), QString(), QString()),
                 Check(QStringLiteral("请输入员工姓名！")));
        QCOMPARE(ensureEmployee(db, QStringLiteral("  "), QStringLiteral("无号"), QString()),
                 Check(QStringLiteral("请输入员工号！")));
        // A workshop name too long for the department column is left out, not cut.
        QCOMPARE(ensureEmployee(db, QStringLiteral("0014"), QStringLiteral("长"),
                                QStringLiteral("一二三四五六七八九十一二三")),
                 Check());
        QCOMPARE(findEmployee(db, QStringLiteral("0014"))->department, QString());
        QCOMPARE(rows(db, "employee"), 2);

        QCOMPARE(ensureProduct(db, QStringLiteral(" P1 "), QStringLiteral("新货"), &created), Check());
        QVERIFY(created);
        QCOMPARE(findProduct(db, QStringLiteral("P1"))->intno, QStringLiteral("0000000001"));
        QCOMPARE(ensureProduct(db, QStringLiteral("P1"), QStringLiteral("别的"), &created),
                 Check(QStringLiteral("请输入货号与品名不符！")));
        QCOMPARE(ensureProduct(db, QString(), QString(), &created), Check());
        QVERIFY(!created);
        QCOMPARE(ensureProduct(db, QString(), QStringLiteral("无号"), &created),
                 Check(QStringLiteral("请输入货号！")));
        QCOMPARE(rows(db, "prowork"), 1);
    }

    void csvParsing() {
        const TableFile t =
            csv(QString(QChar(0xFEFF)) +
                QStringLiteral("id,name\r\n1,\"甲,乙\"\r\n\r\n2,\"多\n行\"\n3,\"引\"\"号\"\n"));
        QCOMPARE(t.header, QStringList({QStringLiteral("id"), QStringLiteral("name")}));
        QCOMPARE(int(t.rows.size()), 3);
        QCOMPARE(t.rows[0][1], QStringLiteral("甲,乙"));
        QCOMPARE(t.rows[1][1], QStringLiteral("多\n行"));
        QCOMPARE(t.rows[2][1], QStringLiteral("引\"号"));
        QCOMPARE(t.lines, std::vector<int>({2, 4, 6}));
        QVERIFY_THROWS_EXCEPTION(gz::Error, csv(QStringLiteral("id\n\"open")));
    }

    void xlsxReading() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("e.xlsx"));
        writeXlsx(path,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst "
                  "xmlns=\"x\"><si><t>id</t></si><si><t>name</t></si>"
                  "<si><t>szbm</t></si><si><r><t>张</t></r><r><t>三</t></r></si><si><t>一车间</t></si></sst>",
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet><sheetData>"
                  "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c><c r=\"C1\" "
                  "t=\"s\"><v>2</v></c></row>"
                  "<row r=\"3\"><c r=\"A3\"><v>7</v></c><c r=\"C3\" t=\"s\"><v>4</v></c></row>"
                  "<row r=\"4\"><c r=\"A4\"><v>8</v></c><c r=\"B4\" t=\"s\"><v>3</v></c><c r=\"C4\" "
                  "t=\"inlineStr\"><is><t>一车间</t></is></c></row>"
                  "</sheetData></worksheet>");
        const TableFile t = readTableFile(path);
        QCOMPARE(t.header,
                 QStringList({QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("szbm")}));
        QCOMPARE(int(t.rows.size()), 2);
        QCOMPARE(t.rows[0], QStringList({QStringLiteral("7"), QString(), QStringLiteral("一车间")}));
        QCOMPARE(t.rows[1][1], QStringLiteral("张三"));
        QCOMPARE(t.rows[1][2], QStringLiteral("一车间"));
        QCOMPARE(t.lines, std::vector<int>({3, 4}));
        // Imported, the empty name on sheet row 3 is named.
        TempHome home;
        seedBranches(home.db());
        const ImportOutcome r = importTable(home.db(), QStringLiteral("employee"), t);
        QCOMPARE(r.line, 3);
        QCOMPARE(r.refusal, QStringLiteral("请输入员工姓名！"));
        QCOMPARE(r.text(), QStringLiteral("第3行: 请输入员工姓名！"));
        QVERIFY_THROWS_EXCEPTION(gz::Error, readTableFile(dir.filePath(QStringLiteral("missing.xlsx"))));
    }

    void employeesImported() {
        TempHome home(QDate(2025, 3, 15));
        Database& db = home.db();
        seedBranches(db);
        const ImportOutcome r = importTable(db, QStringLiteral("employee"),
                                            csv(QStringLiteral("id,name,szbm,basegz,dj,csny\n"
                                                               "7,张三,一车间,1200,35,1990-05-01\n"
                                                               ",李四,包装部,,,\n")),
                                            QDate(2025, 3, 15));
        QVERIFY2(r.ok(), qPrintable(r.text()));
        QCOMPARE(r.rows, 2);
        Query q(
            db,
            QStringLiteral(
                "SELECT intno, id, name, szbm, basegz, dj, xb, mz, whcd, hyzk, zkck, csny, rcrq, lcbj, szbj "
                "FROM employee ORDER BY intno"));
        QVERIFY(q.next());
        QCOMPARE(q.text(0), QStringLiteral("000001"));
        QCOMPARE(q.text(1), QStringLiteral("0007"));
        QCOMPARE(q.real(4), 1200.0);
        QCOMPARE(q.real(5), 35.0);
        QCOMPARE(q.text(6), QStringLiteral("男"));
        QCOMPARE(q.text(7), QStringLiteral("汉族"));
        QCOMPARE(q.text(8), QStringLiteral("初中"));
        QCOMPARE(q.text(9), QStringLiteral("未婚"));
        QCOMPARE(q.text(10), QStringLiteral("正常"));
        QCOMPARE(q.text(11), QStringLiteral("1990-05-01"));
        QCOMPARE(q.text(12), QStringLiteral("2025-03-15"));
        QCOMPARE(q.integer(13), 0);
        QVERIFY(q.next());
        QCOMPARE(q.text(0), QStringLiteral("000002"));
        QCOMPARE(q.text(1), QStringLiteral("0002")); // the number the editor proposes
        QCOMPARE(q.real(4), 0.0);
    }

    // One bad row refuses the whole file and names its line.
    void badRowRefusesEverything_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("employee without name") << "employee"
                                               << "id,name,szbm\n1,甲,一车间\n2,,一车间\n"
                                               << 3 << "请输入员工姓名！";
        QTest::newRow("employee unknown department") << "employee"
                                                     << "id,name,szbm\n1,甲,一车间\n2,乙,一车间 \n"
                                                     << 3 << "所在部门不存在！";
        QTest::newRow("employee department letter case") << "employee"
                                                         << "id,name,szbm\n1,甲,ABC\n"
                                                         << 2 << "所在部门不存在！";
        QTest::newRow("employee number twice") << "employee"
                                               << "id,name,szbm\n1,甲,一车间\n2,乙,一车间\n0001,丙,一车间\n"
                                               << 4 << "该工号已存在,不能保存该员工资料！";
        QTest::newRow("employee existing number") << "employee"
                                                  << "id,name,szbm\n9,甲,一车间\n"
                                                  << 2 << "该工号已存在,不能保存该员工资料！";
        QTest::newRow("employee number too long") << "employee"
                                                  << "id,name,szbm\n12345,甲,一车间\n"
                                                  << 2 << "工号不能超过4位！";
        QTest::newRow("employee bad date") << "employee"
                                           << "id,name,szbm,rcrq\n1,甲,一车间,2025-02-30\n"
                                           << 2 << "2025-02-30 不是有效日期";
        QTest::newRow("employee name too long") << "employee"
                                                << "id,name,szbm\n1,一二三四五六七八九十一二三,一车间\n"
                                                << 2 << "姓名超过12个字符！";
        QTest::newRow("employee unknown column") << "employee"
                                                 << "id,name,lcbj\n1,甲,1\n"
                                                 << 1 << "";
        QTest::newRow("branch without number") << "branch"
                                               << "id,name\n0003,三车间\n,四车间\n"
                                               << 3 << "编号不能为空!";
        QTest::newRow("branch number taken") << "branch"
                                             << "id,name\n0003,三车间\n0001,又一\n"
                                             << 3 << "该编号已存在,不能再录入！ ";
        QTest::newRow("branch number not digits") << "branch"
                                                  << "id,name\n00A3,三车间\n"
                                                  << 2 << "编号只能是数字！";
        QTest::newRow("product without number") << "prowork"
                                                << "id,name,jgj\nP1,熊,1\n  ,狗,2\n"
                                                << 3 << "序号不能为空!";
        QTest::newRow("product number twice") << "prowork"
                                              << "id,name,jgj\nP1,熊,1\nP2,猫,1\nP1,狗,2\n"
                                              << 4 << "该货号已存在,不能再录入！ ";
        QTest::newRow("product price not a number") << "prowork"
                                                    << "id,name,jgj\nP1,熊,1..2\n"
                                                    << 2 << "";
        QTest::newRow("product negative price") << "prowork"
                                                << "id,name,jgj\nP1,熊,-1\n"
                                                << 2 << "加工价不能为负数！";
        QTest::newRow("too many fields") << "prowork"
                                         << "id,name\nP1,熊,1\n"
                                         << 2 << "";
    }
    void badRowRefusesEverything() {
        QFETCH(QString, table);
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, message);
        TempHome home;
        Database& db = home.db();
        seedBranches(db);
        db.exec(QStringLiteral(
            "INSERT INTO employee (intno, id, name, szbm) VALUES ('000009', '0009', '老人', '一车间')"));
        const int before = rows(db, "branch") + rows(db, "employee") + rows(db, "prowork");
        const ImportOutcome r = importTable(db, table, csv(text));
        QVERIFY(!r.ok());
        QCOMPARE(r.line, line);
        if (!message.isEmpty()) QCOMPARE(r.refusal, message);
        QCOMPARE(rows(db, "branch") + rows(db, "employee") + rows(db, "prowork"), before);
        QVERIFY(!db.inTransaction());
    }

    void productsAndBranchesImported() {
        TempHome home;
        Database& db = home.db();
        seedBranches(db);
        ImportOutcome r =
            importTable(db, QStringLiteral("prowork"),
                        csv(QStringLiteral("id,name,jgj,remark\nP1,熊,2.5,x\np1,小熊,,\n P1,熊2,1,\n")));
        QVERIFY2(r.ok(), qPrintable(r.text()));
        QCOMPARE(r.rows, 3); // other letter case and surrounding blanks are other numbers
        QCOMPARE(db.scalar(QStringLiteral("SELECT jgj FROM prowork WHERE id = 'p1'")).toDouble(), 0.0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT max(intno) FROM prowork")).toString(),
                 QStringLiteral("0000000003"));
        r = importTable(db, QStringLiteral("branch"),
                        csv(QStringLiteral("id,name,tel\n0003,三车间,0571-1\n")));
        QVERIFY2(r.ok(), qPrintable(r.text()));
        QCOMPARE(findBranch(db, QStringLiteral("0003"))->intno, QStringLiteral("0000000003"));
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
