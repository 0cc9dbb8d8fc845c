// Wage documents through the document session, checked in the data file afterwards.

#include "WagesFixture.h"
#include "core/data/Errors.h"
#include "core/data/Numbering.h"
#include "core/wages/LineArithmetic.h"
#include "core/wages/LineEditor.h"

#include <QtTest>

using namespace gz;
using namespace gz::test;

Q_DECLARE_METATYPE(const gz::DocumentKind*)

namespace {
const DocumentKind& piece() {
    return documentKind(KindId::Piece);
}
const DocumentKind& points() {
    return documentKind(KindId::Points);
}
const DocumentKind& timeKind() {
    return documentKind(KindId::Time);
}
QString lineField(Factory& f, const DocumentKind& k, const QString& doc, const QString& field,
                  int index = 0) {
    Query q(f.db(),
            QStringLiteral("SELECT %1 FROM %2 WHERE mainintno = :p1 ORDER BY intno").arg(field, k.lineTable),
            {doc});
    for (int i = 0; q.next(); ++i)
        if (i == index) return q.isNull(0) ? QStringLiteral("<null>") : q.value(0).toString();
    return QStringLiteral("<no line>");
}
} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    void kinds_data() {
        QTest::addColumn<const DocumentKind*>("kind");
        for (const DocumentKind* k : documentKinds())
            QTest::newRow(k->code.toLatin1().constData()) << k;
    }

    void newDocument_data() { kinds_data(); }
    void newDocument() {
        QFETCH(const DocumentKind*, kind);
        Factory f;
        const QString before = counterText(f.db(), kind->counter);
        DocumentSession s = DocumentSession::startNew(f.db(), *kind, kToday);
        QCOMPARE(s.number(), padNumber(readInteger(before), 10));
        QCOMPARE(readInteger(counterText(f.db(), kind->counter)), readInteger(before) + 1);
        QCOMPARE(s.boxes().branchId, QStringLiteral("1"));
        QCOMPARE(s.boxes().billDate, kToday);
        QCOMPARE(s.boxes().workDate, QDate(2025, 2, 13));
        QVERIFY(s.newInThisWindow());
        QCOMPARE(s.lineCount(), 1);
        QCOMPARE(lineField(f, *kind, s.number(), QStringLiteral("etdate")), QStringLiteral("2025-02-13"));
        QCOMPARE(lineField(f, *kind, s.number(), QStringLiteral("gh")), QStringLiteral("<null>"));
        QCOMPARE(lineField(f, *kind, s.number(), QStringLiteral("spelltime")),
                 kind->id == KindId::Time ? QStringLiteral("4") : QStringLiteral("<null>"));
        const DocumentHeader h = s.header();
        QVERIFY(!h.pass);
        QCOMPARE(h.billDate, kToday);
        QCOMPARE(h.workDate, QDate(2025, 2, 13));
    }

    void discardGivesTheNumberBackOnlyWhenNewHere() {
        Factory f;
        const QString counter = counterText(f.db(), QStringLiteral("jjgzlist"));
        QString first;
        {
            DocumentSession s = DocumentSession::startNew(f.db(), piece(), kToday);
            first = s.number();
            QVERIFY(!s.discard());
        }
        QCOMPARE(readInteger(counterText(f.db(), QStringLiteral("jjgzlist"))), readInteger(counter));
        QCOMPARE(f.count(QStringLiteral("SELECT count(*) FROM jjgzlist")), 0);
        QCOMPARE(f.count(QStringLiteral("SELECT count(*) FROM jjgzdetail")), 0);
        // The next new document reuses it; opened from the list, its discard leaves the counter.
        const QString again = f.document(piece(), {{QStringLiteral("0007"), 1, 1}});
        QCOMPARE(again, first);
        DocumentSession s = DocumentSession::open(f.db(), piece(), again, kToday);
        QVERIFY(!s.newInThisWindow());
        QVERIFY(!s.discard());
        QCOMPARE(readInteger(counterText(f.db(), QStringLiteral("jjgzlist"))), readInteger(first) + 1);
    }

    // A number drawn by someone else after ours must never be handed out twice.
    void discardKeepsANumberDrawnSince() {
        Factory f;
        DocumentSession s = DocumentSession::startNew(f.db(), piece(), kToday);
        const QString other = drawDocumentNumber(f.db(), QStringLiteral("jjgzlist"));
        QVERIFY(!s.discard());
        QCOMPARE(drawDocumentNumber(f.db(), QStringLiteral("jjgzlist")),
                 padNumber(readInteger(other) + 1, 10));
    }

    void discardRefusesPostedDocument() {
        Factory f;
        const QString doc = f.document(piece(), {{QStringLiteral("0007"), 10, 1}});
        DocumentSession s = DocumentSession::open(f.db(), piece(), doc, kToday);
        QVERIFY(!s.post());
        const QStringList before = f.snapshot();
        QVERIFY(s.discard().has_value());
        QCOMPARE(f.snapshot(), before);
    }

    void pieceRatePostingSecondPostingAndReversal() {
        Factory f;
        const QString doc =
            f.document(piece(), {{QStringLiteral("0007"), 10, 1}, {QStringLiteral("0007"), 15, 1}});
        // The second line carries another fixed wage: the row keeps the last one.
        f.db().exec(QStringLiteral(
            "UPDATE jjgzdetail SET basegz = 120 WHERE intno = (SELECT max(intno) FROM jjgzdetail)"));
        DocumentSession s = DocumentSession::open(f.db(), piece(), doc, kToday);
        QCOMPARE(s.post(), Check());
        QCOMPARE(f.count(QStringLiteral("SELECT count(*) FROM gzb")), 1);
        QCOMPARE(f.gzb(QStringLiteral("jge")), 25.0);
        QCOMPARE(f.gzb(QStringLiteral("basegz")), 120.0);
        QCOMPARE(f.db().scalar(QStringLiteral("SELECT branchname FROM gzb")).toString(),
                 QStringLiteral("装配部"));
        QCOMPARE(f.db().scalar(QStringLiteral("SELECT etdate FROM gzb")).toString(),
                 QStringLiteral("2025-03-10"));
        QCOMPARE(f.gzb(QStringLiteral("pointje")), 0.0);
        QCOMPARE(f.gzb(QStringLiteral("spellje")), 0.0);
        QVERIFY(s.header().pass);
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("pass"), 1), QStringLiteral("1"));
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("branchid")), QStringLiteral("0001"));
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("branchname")), QStringLiteral("一车间"));
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("billdate")), QStringLiteral("2025-03-15"));
        QCOMPARE(s.post(), Check(QStringLiteral("该单据已过帐,不能再过帐！")));

        const QString second = f.document(piece(), {{QStringLiteral("0007"), 4, 2.5}});
        DocumentSession s2 = DocumentSession::open(f.db(), piece(), second, kToday);
        QCOMPARE(s2.post(), Check());
        QCOMPARE(f.count(QStringLiteral("SELECT count(*) FROM gzb")), 1);
        QCOMPARE(f.gzb(QStringLiteral("jge")), 35.0);
        QCOMPARE(f.gzb(QStringLiteral("basegz")), 100.0);

        QCOMPARE(DocumentSession::reverse(f.db(), piece(), doc), Check());
        QCOMPARE(f.gzb(QStringLiteral("jge")), 10.0);
        QCOMPARE(f.gzb(QStringLiteral("basegz")), 100.0);
        auto h = readHeader(f.db(), piece(), doc);
        QVERIFY(h->pass && h->cancel);
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("cancel"), 1), QStringLiteral("1"));
        const QStringList before = f.snapshot();
        QCOMPARE(DocumentSession::reverse(f.db(), piece(), doc),
                 Check(QStringLiteral("该单据已冲数,不能再冲数！")));
        QCOMPARE(f.snapshot(), before);
    }

    void pointsPostingAndReversal() {
        Factory f;
        const QString a = f.document(points(), {{QStringLiteral("0007"), 120, 0.5}});
        QCOMPARE(DocumentSession::open(f.db(), points(), a, kToday).post(), Check());
        QCOMPARE(f.gzb(QStringLiteral("pointqty")), 120.0);
        QCOMPARE(f.gzb(QStringLiteral("pointdj")), 0.5);
        QCOMPARE(f.gzb(QStringLiteral("pointje")), 60.0);
        QCOMPARE(f.gzb(QStringLiteral("jge")), 0.0);
        const QString b = f.document(points(), {{QStringLiteral("0007"), 80, 0.6}});
        QCOMPARE(DocumentSession::open(f.db(), points(), b, kToday).post(), Check());
        QCOMPARE(f.gzb(QStringLiteral("pointqty")), 200.0);
        QCOMPARE(f.gzb(QStringLiteral("pointje")), 108.0);
        QCOMPARE(f.gzb(QStringLiteral("pointdj")), 0.6);
        QCOMPARE(DocumentSession::reverse(f.db(), points(), b), Check());
        QCOMPARE(f.gzb(QStringLiteral("pointqty")), 120.0);
        QCOMPARE(f.gzb(QStringLiteral("pointje")), 60.0);
        QCOMPARE(f.gzb(QStringLiteral("pointdj")), 0.6);
    }

    void timePostingSecondPostingAndReversal() {
        Factory f;
        auto timeDoc = [&](double sl, double dj, double overje, double lateje, double loan, double overtime,
                           double latetime, double basegz) {
            const QString doc = f.document(timeKind(), {{QStringLiteral("0007"), sl, dj}});
            f.db().exec(QStringLiteral("UPDATE jsgzdetail SET overje = :p1, lateje = :p2, superscale = :p3, "
                                       "overtime = :p4, latetime = :p5, basegz = :p6 WHERE mainintno = :p7"),
                        {overje, lateje, loan, overtime, latetime, basegz, doc});
            return doc;
        };
        const QString a = timeDoc(26, 30, 90, 1.5, 200, 6, 3, 100);
        QCOMPARE(lineField(f, timeKind(), a, QStringLiteral("jge")), QStringLiteral("780"));
        QCOMPARE(DocumentSession::open(f.db(), timeKind(), a, kToday).post(), Check());
        QCOMPARE(f.gzb(QStringLiteral("spellqty")), 26.0);
        QCOMPARE(f.gzb(QStringLiteral("spelldj")), 30.0);
        QCOMPARE(f.gzb(QStringLiteral("spellje")), 780.0);
        QCOMPARE(f.gzb(QStringLiteral("overje")), 90.0);
        QCOMPARE(f.gzb(QStringLiteral("overtime")), 6.0);
        QCOMPARE(f.gzb(QStringLiteral("lateje")), 1.5);
        QCOMPARE(f.gzb(QStringLiteral("latetime")), 3.0);
        QCOMPARE(f.gzb(QStringLiteral("loan")), 200.0);
        QCOMPARE(f.gzb(QStringLiteral("jge")), 0.0);
        const QString b = timeDoc(2, 35, 10, 0.5, 50, 1, 1, 0);
        QCOMPARE(DocumentSession::open(f.db(), timeKind(), b, kToday).post(), Check());
        QCOMPARE(f.gzb(QStringLiteral("spellqty")), 28.0);
        QCOMPARE(f.gzb(QStringLiteral("spelldj")), 35.0);
        QCOMPARE(f.gzb(QStringLiteral("spellje")), 850.0);
        QCOMPARE(f.gzb(QStringLiteral("overje")), 100.0);
        QCOMPARE(f.gzb(QStringLiteral("lateje")), 2.0);
        QCOMPARE(f.gzb(QStringLiteral("loan")), 250.0);
        QCOMPARE(f.gzb(QStringLiteral("basegz")), 0.0); // a base wage of 0 replaces too
        QCOMPARE(DocumentSession::reverse(f.db(), timeKind(), b), Check());
        QCOMPARE(f.gzb(QStringLiteral("spellqty")), 26.0);
        QCOMPARE(f.gzb(QStringLiteral("spellje")), 780.0);
        QCOMPARE(f.gzb(QStringLiteral("overje")), 90.0);
        QCOMPARE(f.gzb(QStringLiteral("overtime")), 6.0);
        QCOMPARE(f.gzb(QStringLiteral("lateje")), 1.5);
        QCOMPARE(f.gzb(QStringLiteral("latetime")), 3.0);
        QCOMPARE(f.gzb(QStringLiteral("loan")), 200.0);
        QCOMPARE(f.gzb(QStringLiteral("spelldj")), 35.0);
        QCOMPARE(f.gzb(QStringLiteral("basegz")), 0.0);
    }

    void emptyPayrollFieldCountsAsZero_data() { kinds_data(); }
    void emptyPayrollFieldCountsAsZero() {
        QFETCH(const DocumentKind*, kind);
        Factory f;
        f.db().exec(QStringLiteral("INSERT INTO gzb (gh, nf, yf, jge, pointje, pointqty, spellje, spellqty) "
                                   "VALUES ('0007', '2025', '3', NULL, NULL, NULL, NULL, NULL)"));
        const QString doc = f.document(*kind, {{QStringLiteral("0007"), 4, 2.5}});
        QCOMPARE(DocumentSession::open(f.db(), *kind, doc, kToday).post(), Check());
        const QString amountField = kind->id == KindId::Piece    ? QStringLiteral("jge")
                                    : kind->id == KindId::Points ? QStringLiteral("pointje")
                                                                 : QStringLiteral("spellje");
        QCOMPARE(f.gzb(amountField), 10.0);
        f.db().exec(QStringLiteral("UPDATE gzb SET %1 = NULL").arg(amountField));
        QCOMPARE(DocumentSession::reverse(f.db(), *kind, doc), Check());
        QCOMPARE(f.gzb(amountField), -10.0);
    }

    void postingRefusals_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("message");
        QTest::newRow("no workshop") << "noworkshop"
                                     << "没有选取车间部门,不能过帐！";
        QTest::newRow("unknown workshop") << "badworkshop"
                                          << "查无此车间号！";
        QTest::newRow("line without employee") << "emptyline"
                                               << "存在员工号为空,不能过帐！";
        QTest::newRow("unknown employee") << "ghost"
                                          << "赵六,该员工不存在,请检查后再过帐！";
    }
    void postingRefusals() {
        QFETCH(QString, setup);
        QFETCH(QString, message);
        Factory f;
        const QString doc = f.document(piece(), {{QStringLiteral("0007"), 10, 1}});
        DocumentSession s = DocumentSession::open(f.db(), piece(), doc, kToday);
        if (setup == QLatin1String("noworkshop")) s.boxes().branchId.clear();
        if (setup == QLatin1String("badworkshop")) s.boxes().branchId = QStringLiteral("0099");
        if (setup == QLatin1String("emptyline")) s.addLine();
        if (setup == QLatin1String("ghost")) {
            s.addLine();
            s.setLineText(s.lines().current(), QStringLiteral("gh"), QStringLiteral("0099"));
            s.setLineText(s.lines().current(), QStringLiteral("xm"), QStringLiteral(" 赵六 "));
        }
        QCOMPARE(s.post(), Check(message));
        QCOMPARE(f.count(QStringLiteral("SELECT count(*) FROM gzb")), 0);
        QCOMPARE(f.count(QStringLiteral("SELECT count(*) FROM jjgzlist WHERE pass <> 0")), 0);
        QCOMPARE(f.count(QStringLiteral("SELECT count(*) FROM jjgzdetail WHERE pass <> 0")), 0);
    }

    void postingWithoutLinesStopsSilently() {
        Factory f;
        DocumentSession s = DocumentSession::startNew(f.db(), piece(), kToday);
        s.removeLine(0);
        QCOMPARE(s.post(), Check(QString()));
        QVERIFY(!s.header().pass);
    }

    // A failure part-way through a posting or a reversal leaves the data file as it was.
    void failureMidwayLeavesNothing_data() {
        QTest::addColumn<const DocumentKind*>("kind");
        QTest::addColumn<bool>("reversal");
        for (const DocumentKind* k : documentKinds()) {
            QTest::newRow((k->code + QStringLiteral(" post")).toLatin1().constData()) << k << false;
            QTest::newRow((k->code + QStringLiteral(" reverse")).toLatin1().constData()) << k << true;
        }
    }
    void failureMidwayLeavesNothing() {
        QFETCH(const DocumentKind*, kind);
        QFETCH(bool, reversal);
        Factory f;
        const QString doc = f.document(*kind, {{QStringLiteral("0007"), 10, 1},
                                               {QStringLiteral("0008"), 5, 2},
                                               {QStringLiteral("0007"), 1, 1}});
        if (reversal) QCOMPARE(DocumentSession::open(f.db(), *kind, doc, kToday).post(), Check());
        // The second payroll write raises.
        f.db().execScript(
            QStringLiteral("CREATE TABLE writes (n integer); INSERT INTO writes VALUES (0);"
                           "CREATE TRIGGER fail_ins BEFORE INSERT ON gzb BEGIN UPDATE writes SET n = n + 1;"
                           " SELECT RAISE(ABORT, 'injected') WHERE (SELECT n FROM writes) >= 2; END;"
                           "CREATE TRIGGER fail_upd BEFORE UPDATE ON gzb BEGIN UPDATE writes SET n = n + 1;"
                           " SELECT RAISE(ABORT, 'injected') WHERE (SELECT n FROM writes) >= 2; END;"));
        DocumentSession s = DocumentSession::open(f.db(), *kind, doc, kToday);
        s.recalculate(); // what posting does before its checks
        const QStringList before = f.snapshot();
        if (reversal)
            QVERIFY_THROWS_EXCEPTION(gz::Error, DocumentSession::reverse(f.db(), *kind, doc));
        else
            QVERIFY_THROWS_EXCEPTION(gz::Error, s.post());
        QCOMPARE(f.snapshot(), before);
        QVERIFY(!f.db().inTransaction());
        QCOMPARE(f.db().scalar(QStringLiteral("SELECT n FROM writes")).toInt(), 0);
    }

    void dedicatedEmployee_data() {
        QTest::addColumn<const DocumentKind*>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expectedGh");
        QTest::addColumn<QString>("expectedName");
        QTest::newRow("piece pads 7") << &piece() << "7"
                                      << "0007"
                                      << "张三";
        QTest::newRow("piece keeps last four") << &piece() << "10008"
                                               << "0008"
                                               << "李四";
        QTest::newRow("points takes 7 as typed") << &points() << "7"
                                                 << "7"
                                                 << "王五";
        QTest::newRow("time takes 7 as typed") << &timeKind() << "7"
                                               << "7"
                                               << "王五";
    }
    void dedicatedEmployee() {
        QFETCH(const DocumentKind*, kind);
        QFETCH(QString, typed);
        QFETCH(QString, expectedGh);
        QFETCH(QString, expectedName);
        Factory f;
        DocumentSession s = DocumentSession::startNew(f.db(), *kind, kToday);
        s.addLine();
        s.boxes().gh = typed;
        QCOMPARE(s.leaveDedicatedEmployeeBox(), Check());
        QCOMPARE(s.boxes().gh, expectedGh);
        QCOMPARE(s.boxes().xm, expectedName);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(lineField(f, *kind, s.number(), QStringLiteral("gh"), i), expectedGh);
            QCOMPARE(lineField(f, *kind, s.number(), QStringLiteral("xm"), i), expectedName);
        }
        QCOMPARE(s.header().gh, expectedGh);
        // A new line takes the dedicated employee, with the price per shift on time documents.
        Result<QString> added = s.addLine();
        QVERIFY(added.ok());
        QCOMPARE(lineField(f, *kind, s.number(), QStringLiteral("gh"), 2), expectedGh);
        QCOMPARE(s.lines().current(), 2);
    }

    void dedicatedEmployeeRefusals() {
        Factory f;
        DocumentSession s = DocumentSession::startNew(f.db(), piece(), kToday);
        s.boxes().gh = QStringLiteral("0099");
        QCOMPARE(s.leaveDedicatedEmployeeBox(), Check(QStringLiteral("查无此员工号！")));
        s.boxes().gh.clear();
        QCOMPARE(s.leaveDedicatedEmployeeBox(), Check()); // empty: nothing happens
        s.setLineText(0, QStringLiteral("gh"), QStringLiteral("0007"));
        s.addLine();
        s.setLineText(1, QStringLiteral("gh"), QStringLiteral("0008"));
        s.boxes().gh = QStringLiteral("8");
        QCOMPARE(s.leaveDedicatedEmployeeBox(),
                 Check(QStringLiteral("明细表中存在不员工的数据,不能设为专用员工工资数据！")));
        QVERIFY(s.boxes().gh.isEmpty() && s.boxes().xm.isEmpty());
        QCOMPARE(s.header().gh, QString());
        QCOMPARE(lineField(f, piece(), s.number(), QStringLiteral("gh"), 1), QStringLiteral("0008"));
        // A dedicated employee that vanished: the new line is not kept.
        s.boxes().gh = QStringLiteral("0099");
        const int lines = s.lineCount();
        QCOMPARE(s.addLine().refusal(), QStringLiteral("查无此工号！"));
        QVERIFY(s.boxes().gh.isEmpty());
        QCOMPARE(f.count(QStringLiteral("SELECT count(*) FROM jjgzdetail")), lines);
    }

    void timeLineTakesEmployeePrice() {
        Factory f;
        DocumentSession s = DocumentSession::startNew(f.db(), timeKind(), kToday);
        QCOMPARE(s.typeEmployeeIntoLine(0, QStringLiteral("0007")), Check());
        QCOMPARE(lineField(f, timeKind(), s.number(), QStringLiteral("dj")), QStringLiteral("35"));
        QCOMPARE(lineField(f, timeKind(), s.number(), QStringLiteral("basegz")), QStringLiteral("100"));
        QCOMPARE(s.typeEmployeeIntoLine(0, QStringLiteral("0099")), Check(QStringLiteral("查无此工号！")));
        DocumentSession p = DocumentSession::startNew(f.db(), piece(), kToday);
        QCOMPARE(p.typeEmployeeIntoLine(0, QStringLiteral("0007")), Check());
        QCOMPARE(lineField(f, piece(), p.number(), QStringLiteral("dj")), QStringLiteral("<null>"));
    }

    void quickEntry_data() { kinds_data(); }
    void quickEntry() {
        QFETCH(const DocumentKind*, kind);
        Factory f;
        DocumentSession s = DocumentSession::startNew(f.db(), *kind, kToday);
        QCOMPARE(s.quickEntry(QStringLiteral("X9")), Check(QStringLiteral("查无此货号或品名！")));
        QCOMPARE(s.quickEntry(QStringLiteral("布偶")), Check()); // by name
        QCOMPARE(s.quickEntry(QStringLiteral("A1")), Check());   // by number
        QCOMPARE(s.lineCount(), 3);
        QCOMPARE(lineField(f, *kind, s.number(), QStringLiteral("id"), 0), QStringLiteral("B2"));
        QCOMPARE(lineField(f, *kind, s.number(), QStringLiteral("prowork"), 1), QStringLiteral("毛绒熊"));
        QCOMPARE(lineField(f, *kind, s.number(), QStringLiteral("dj"), 1),
                 kind->priceFromProduct ? QStringLiteral("2.5") : QStringLiteral("<null>"));
        QCOMPARE(lineField(f, *kind, s.number(), QStringLiteral("id"), 2), QStringLiteral("<null>"));
        s.removeLine(2);
        s.removeLine(1);
        s.removeLine(0);
        QCOMPARE(s.quickEntry(QStringLiteral("A1")), Check(QStringLiteral("明细表为空,请先新增行！")));
    }

    void importMarkedProducts() {
        Factory f;
        DocumentSession s = DocumentSession::startNew(f.db(), piece(), kToday);
        std::vector<ProductInfo> marked(2);
        marked[0] = *findProduct(f.db(), QStringLiteral("A1"));
        marked[1] = *findProduct(f.db(), QStringLiteral("B2"));
        QCOMPARE(s.importProducts(marked), Check());
        QCOMPARE(s.lineCount(), 3);
        QCOMPARE(lineField(f, piece(), s.number(), QStringLiteral("dj"), 1), QStringLiteral("0.8"));
        QCOMPARE(lineField(f, piece(), s.number(), QStringLiteral("etdate"), 2), QStringLiteral("<null>"));
        std::vector<ProductInfo> many(201, marked[0]);
        QCOMPARE(s.importProducts(many), Check(QStringLiteral("选择导出记录太多,不能导出!")));
        QCOMPARE(s.lineCount(), 3);
    }

    void recalculateFollowsTheBoxes() {
        Factory f;
        const QString doc =
            f.document(piece(), {{QStringLiteral("0007"), 12.5, 0.8}, {QStringLiteral("0008"), 2, 3}});
        DocumentSession s = DocumentSession::open(f.db(), piece(), doc, kToday);
        QCOMPARE(s.boxes().workDate, QDate(2025, 3, 10));
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("jge")), QStringLiteral("10"));
        // An amount the line editor left is replaced by quantity × price.
        f.db().exec(QStringLiteral("UPDATE jjgzdetail SET jge = 99"));
        s.boxes().workDate = QDate(2025, 4, 2);
        s.boxes().billDate = QDate(2025, 4, 3);
        s.boxes().remark = QStringLiteral("四月");
        QCOMPARE(s.recalculate(), Check());
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("jge")), QStringLiteral("10"));
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("nf"), 1), QStringLiteral("2025"));
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("yf"), 1), QStringLiteral("4"));
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("etdate"), 1), QStringLiteral("2025-04-02"));
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("billdate"), 1), QStringLiteral("2025-04-03"));
        DocumentHeader h = s.header();
        QCOMPARE(h.hjsl, 14.5);
        QCOMPARE(h.amount, 16.0);
        QCOMPARE(h.remark, QStringLiteral("四月"));
        // Reopened, the document keeps the changed work date.
        QCOMPARE(DocumentSession::open(f.db(), piece(), doc, kToday).boxes().workDate, QDate(2025, 4, 2));
        // Points documents keep no quantity total.
        const QString pd = f.document(points(), {{QStringLiteral("0007"), 120, 0.5}});
        QCOMPARE(readHeader(f.db(), points(), pd)->hjsl, 0.0);
        QCOMPARE(readHeader(f.db(), points(), pd)->amount, 60.0);
    }

    void workshopBox() {
        Factory f;
        DocumentSession s = DocumentSession::startNew(f.db(), piece(), kToday);
        s.boxes().branchId = QStringLiteral("0099");
        QCOMPARE(s.leaveWorkshopBox(), Check(QStringLiteral("查无此车间号！")));
        QCOMPARE(s.canEditLine(), Check(QStringLiteral("查无此车间号,请先输入或选择车间号！")));
        s.boxes().branchId = QStringLiteral("0002");
        QCOMPARE(s.leaveWorkshopBox(), Check());
        QCOMPARE(s.boxes().branchName, QStringLiteral("包装部"));
        QCOMPARE(s.header().branchName, QStringLiteral("包装部"));
        // A workshop whose number does not fit the lines' column is refused before anything is written.
        f.db().exec(QStringLiteral(
            "INSERT INTO branch (intno, id, name) VALUES ('0000000003', '123456', '长号车间')"));
        s.boxes().branchId = QStringLiteral("123456");
        QVERIFY(s.leaveWorkshopBox().has_value());
        QCOMPARE(s.header().branchId, QStringLiteral("0002"));
    }

    void copyFromUnposted_data() { kinds_data(); }
    void copyFromUnposted() {
        QFETCH(const DocumentKind*, kind);
        Factory f;
        const QString doc = f.document(
            *kind,
            {{QStringLiteral("0007"), 1, 2}, {QStringLiteral("0008"), 3, 4}, {QStringLiteral("0007"), 5, 6}});
        f.db().exec(
            QStringLiteral(
                "UPDATE %1 SET spelltime = 8, latetime = 2, lateje = 1, remark = 'r' WHERE mainintno = :p1")
                .arg(kind->lineTable),
            {doc});
        DocumentSession s = DocumentSession::open(f.db(), *kind, doc, QDate(2025, 5, 20));
        s.boxes().remark = QStringLiteral("原单");
        const QStringList sourceBefore = [&] {
            QStringList out;
            for (const QString& line : f.snapshot())
                if (line.contains(doc)) out << line;
            return out;
        }();
        Result<QString> copy = s.copy();
        QVERIFY(copy.ok());
        QVERIFY(copy.value() != doc);
        QCOMPARE(s.number(), copy.value());
        QCOMPARE(f.count(QStringLiteral("SELECT count(*) FROM %1 WHERE mainintno = :p1").arg(kind->lineTable),
                         {copy.value()}),
                 3);
        QCOMPARE(f.count(QStringLiteral("SELECT count(DISTINCT intno) FROM %1").arg(kind->lineTable)), 6);
        const DocumentHeader h = s.header();
        QCOMPARE(h.billDate, QDate(2025, 5, 20));
        QCOMPARE(h.remark, QStringLiteral("原单"));
        QCOMPARE(h.branchId, QStringLiteral("0001"));
        QVERIFY(!h.pass);
        QCOMPARE(lineField(f, *kind, copy.value(), QStringLiteral("xm"), 1), QStringLiteral("李四"));
        QCOMPARE(lineField(f, *kind, copy.value(), QStringLiteral("jge"), 2), QStringLiteral("30"));
        QCOMPARE(lineField(f, *kind, copy.value(), QStringLiteral("yf"), 2),
                 QStringLiteral("3")); // the box's work date
        QCOMPARE(lineField(f, *kind, copy.value(), QStringLiteral("spelltime")),
                 kind->id == KindId::Time ? QStringLiteral("8") : QStringLiteral("<null>"));
        QCOMPARE(lineField(f, *kind, copy.value(), QStringLiteral("lateje")),
                 kind->id == KindId::Time ? QStringLiteral("1") : QStringLiteral("<null>"));
        QStringList sourceAfter;
        for (const QString& line : f.snapshot())
            if (line.contains(doc) && !line.startsWith(QStringLiteral("nextno"))) sourceAfter << line;
        QStringList sourceBeforeNoCounter;
        for (const QString& line : sourceBefore)
            if (!line.startsWith(QStringLiteral("nextno"))) sourceBeforeNoCounter << line;
        QCOMPARE(sourceAfter, sourceBeforeNoCounter);
    }

    void copyFromPostedAndReversed() {
        Factory f;
        const QString doc =
            f.document(piece(), {{QStringLiteral("0007"), 10, 1}, {QStringLiteral("0008"), 15, 1}});
        DocumentSession s = DocumentSession::open(f.db(), piece(), doc, kToday);
        s.boxes().remark = QStringLiteral("备注");
        QCOMPARE(s.post(), Check());
        QCOMPARE(DocumentSession::reverse(f.db(), piece(), doc), Check());
        const double jge = f.gzb(QStringLiteral("jge"));
        Result<QString> copy = DocumentSession::copyPosted(f.db(), piece(), doc, QDate(2025, 6, 1));
        QVERIFY(copy.ok());
        auto h = readHeader(f.db(), piece(), copy.value());
        QVERIFY(!h->pass && !h->cancel);
        QCOMPARE(h->remark, QString());
        QVERIFY(!h->workDate.isValid());
        QCOMPARE(h->billDate, QDate(2025, 6, 1));
        QCOMPARE(lineField(f, piece(), copy.value(), QStringLiteral("etdate"), 1),
                 QStringLiteral("2025-05-02"));
        QCOMPARE(lineField(f, piece(), copy.value(), QStringLiteral("nf"), 1), QStringLiteral("<null>"));
        QCOMPARE(lineField(f, piece(), copy.value(), QStringLiteral("sl"), 1), QStringLiteral("15"));
        QCOMPARE(lineField(f, piece(), copy.value(), QStringLiteral("pass"), 1), QStringLiteral("0"));
        QVERIFY(readHeader(f.db(), piece(), doc)->cancel);
        QCOMPARE(f.gzb(QStringLiteral("jge")), jge);
        // Opened in the entry window, the copy shows today as its work date.
        QCOMPARE(DocumentSession::open(f.db(), piece(), copy.value(), QDate(2025, 6, 1)).boxes().workDate,
                 QDate(2025, 6, 1));
    }

    // A copy that fails part-way leaves no half document and no number used up.
    void copyFailingMidwayLeavesNothing() {
        Factory f;
        const QString doc = f.document(
            piece(),
            {{QStringLiteral("0007"), 1, 1}, {QStringLiteral("0008"), 2, 2}, {QStringLiteral("0007"), 3, 3}});
        f.db().execScript(QStringLiteral(
            "CREATE TABLE writes (n integer); INSERT INTO writes VALUES (0);"
            "CREATE TRIGGER fail_line BEFORE INSERT ON jjgzdetail BEGIN UPDATE writes SET n = n + 1;"
            " SELECT RAISE(ABORT, 'injected') WHERE (SELECT n FROM writes) >= 2; END;"));
        const QStringList before = f.snapshot();
        QVERIFY_THROWS_EXCEPTION(gz::Error, DocumentSession::copyPosted(f.db(), piece(), doc, kToday));
        QCOMPARE(f.snapshot(), before);
        DocumentSession s = DocumentSession::open(f.db(), piece(), doc, kToday);
        QVERIFY_THROWS_EXCEPTION(gz::Error, s.copy());
        QCOMPARE(f.snapshot(), before);
    }

    void returnToList() {
        Factory f;
        QString emptyNo;
        {
            DocumentSession s = DocumentSession::startNew(f.db(), piece(), kToday);
            emptyNo = s.number();
            s.removeLine(0);
            s.returnToList();
        }
        QVERIFY(!readHeader(f.db(), piece(), emptyNo));
        // Its number is not given back.
        QVERIFY(readInteger(counterText(f.db(), QStringLiteral("jjgzlist"))) > readInteger(emptyNo));
        DocumentSession s = DocumentSession::startNew(f.db(), piece(), kToday);
        s.boxes().branchId = QStringLiteral("0002");
        s.boxes().branchName = QStringLiteral("包装部");
        s.boxes().remark = QStringLiteral("退回");
        f.db().exec(QStringLiteral("INSERT INTO jjgzdetail (intno, mainintno) VALUES ('', :p1)"),
                    {s.number()});
        s.returnToList();
        auto h = readHeader(f.db(), piece(), s.number());
        QVERIFY(h);
        QCOMPARE(h->branchId, QStringLiteral("0002"));
        QCOMPARE(h->remark, QStringLiteral("退回"));
        QCOMPARE(f.count(QStringLiteral("SELECT count(*) FROM jjgzdetail WHERE intno = ''")), 0);
    }

    void gridTextConversion() {
        Factory f;
        DocumentSession s = DocumentSession::startNew(f.db(), piece(), kToday);
        s.setLineText(0, QStringLiteral("sl"), QStringLiteral("12"));
        s.setLineText(0, QStringLiteral("sl"), QString());
        QCOMPARE(lineField(f, piece(), s.number(), QStringLiteral("sl")), QStringLiteral("0"));
        s.setLineText(0, QStringLiteral("sl"), QStringLiteral("7"));
        QVERIFY_THROWS_EXCEPTION(gz::Error, s.setLineText(0, QStringLiteral("sl"), QStringLiteral("abc")));
        QCOMPARE(lineField(f, piece(), s.number(), QStringLiteral("sl")), QStringLiteral("7"));
    }

    void lineEditorSave() {
        Factory f;
        DocumentSession s = DocumentSession::startNew(f.db(), piece(), kToday);
        LineEditorBoxes b = loadLineEditor(s.lines(), 0);
        QCOMPARE(b.dj, QStringLiteral("0.00"));
        b.gh = QStringLiteral("0007");
        b.xm = QStringLiteral("别人");
        QCOMPARE(saveLineEditor(f.db(), piece(), s.lines(), 0, b, QStringLiteral("一车间")),
                 Check(QStringLiteral("请输入员工号与姓名不符！")));
        b.xm.clear();
        QCOMPARE(saveLineEditor(f.db(), piece(), s.lines(), 0, b, QStringLiteral("一车间")),
                 Check(QStringLiteral("请输入员工姓名！")));
        // A new number creates the employee (department: the workshop) even if the item then fails.
        b.gh = QStringLiteral("0050");
        b.xm = QStringLiteral("新人");
        b.id = QStringLiteral("A1");
        b.prowork = QStringLiteral("别的");
        QCOMPARE(saveLineEditor(f.db(), piece(), s.lines(), 0, b, QStringLiteral("一车间")),
                 Check(QStringLiteral("请输入货号与品名不符！")));
        auto e = findEmployee(f.db(), QStringLiteral("0050"));
        QVERIFY(e);
        QCOMPARE(e->department, QStringLiteral("一车间"));
        QCOMPARE(lineField(f, piece(), s.number(), QStringLiteral("gh")), QStringLiteral("<null>"));
        // A new item is created without a price; the amount takes the rates' deductions.
        b.id = QStringLiteral("N9");
        b.prowork = QStringLiteral("新货");
        b.dj = QStringLiteral("2");
        b.sl = QStringLiteral("100");
        b.proinf = QStringLiteral("12");
        b.workDate = QStringLiteral("2025-03-01");
        QCOMPARE(saveLineEditor(f.db(), piece(), s.lines(), 0, b, QStringLiteral("一车间")), Check());
        auto p = findProduct(f.db(), QStringLiteral("N9"));
        QVERIFY(p);
        QCOMPARE(p->jgj, 0.0);
        QCOMPARE(f.db().scalar(QStringLiteral("SELECT jgj FROM prowork WHERE id = 'N9'")).isNull(), true);
        QCOMPARE(lineField(f, piece(), s.number(), QStringLiteral("jge")), QStringLiteral("180"));
        QCOMPARE(lineField(f, piece(), s.number(), QStringLiteral("etdate")), QStringLiteral("2025-03-01"));
        QCOMPARE(lineField(f, piece(), s.number(), QStringLiteral("proinf")), QStringLiteral("12"));
        // A bad date stores nothing.
        b.workDate = QStringLiteral("2025-13-45");
        b.sl = QStringLiteral("1");
        QVERIFY_THROWS_EXCEPTION(gz::Error,
                                 saveLineEditor(f.db(), piece(), s.lines(), 0, b, QStringLiteral("一车间")));
        QCOMPARE(lineField(f, piece(), s.number(), QStringLiteral("sl")), QStringLiteral("100"));
    }

    void lineEditorLookups() {
        Factory f;
        LineEditorBoxes b;
        b.gh = QStringLiteral("8");
        QCOMPARE(leaveEmployeeNumber(f.db(), timeKind(), b), Check());
        QCOMPARE(b.gh, QStringLiteral("0008"));
        QCOMPARE(b.xm, QStringLiteral("李四"));
        QCOMPARE(b.basegz, QStringLiteral("50.00"));
        QCOMPARE(b.dj, QStringLiteral("30.00")); // time lines: the employee's price per shift
        b.gh = QStringLiteral("12");
        QCOMPARE(leaveEmployeeNumber(f.db(), piece(), b), Check(QStringLiteral("查无此员工号！")));
        QCOMPARE(b.gh, QStringLiteral("0012"));
        b.xm = QStringLiteral("张三");
        b.dj.clear();
        QCOMPARE(leaveEmployeeName(f.db(), piece(), b), Check());
        QCOMPARE(b.gh, QStringLiteral("0007"));
        QVERIFY(b.dj.isEmpty());
        b.xm = QStringLiteral("无名");
        QCOMPARE(leaveEmployeeName(f.db(), piece(), b), Check(QStringLiteral("查无此员工姓名！")));
        b.id = QStringLiteral("B2");
        QCOMPARE(leaveProductNumber(f.db(), piece(), b), Check());
        QCOMPARE(b.prowork, QStringLiteral("布偶"));
        QCOMPARE(b.dj, QStringLiteral("0.800"));
        b.dj = QStringLiteral("5");
        b.prowork = QStringLiteral("毛绒熊");
        QCOMPARE(leaveProductName(f.db(), points(), b), Check());
        QCOMPARE(b.id, QStringLiteral("A1"));
        QCOMPARE(b.dj, QStringLiteral("5")); // the value per point stays as typed
        b.id = QStringLiteral("Z");
        QCOMPARE(leaveProductNumber(f.db(), piece(), b), Check(QStringLiteral("查无此货号！")));
        b.prowork = QStringLiteral("Z");
        QCOMPARE(leaveProductName(f.db(), piece(), b), Check(QStringLiteral("查无此品名！")));
    }

    void overtimeAndLatenessBoxes() {
        LineEditorBoxes b;
        b.dj = QStringLiteral("30");
        b.overtime = QStringLiteral("6");
        b.spelltime = QStringLiteral("4");
        QCOMPARE(leaveOvertime(b, 2.0), Check());
        QCOMPARE(b.overje, QStringLiteral("90.00"));
        b.spelltime = QStringLiteral("0");
        b.overje = QStringLiteral("12.00");
        QVERIFY(leaveOvertime(b, 2.0).has_value());
        QCOMPARE(b.overje, QStringLiteral("12.00"));
        b.spelltime = QString();
        QVERIFY(leaveOvertime(b, 2.0).has_value()); // empty becomes 0, refused as well
        QCOMPARE(b.spelltime, QStringLiteral("0"));
        b.spelltime = QStringLiteral("x");
        QVERIFY_THROWS_EXCEPTION(gz::Error, leaveOvertime(b, 2.0));
        QCOMPARE(b.overje, QStringLiteral("12.00"));
        b.latetime = QStringLiteral("3");
        leaveLateTime(b, kDefaultLateRate);
        QCOMPARE(b.lateje, QStringLiteral("1.50"));
        clearForNewLine(timeKind(), b);
        QCOMPARE(b.overje, QStringLiteral("0"));
        QCOMPARE(b.sl, QStringLiteral("0"));
        QVERIFY(b.gh.isEmpty());
    }

    void editorAddIgnoresDedicatedEmployee() {
        Factory f;
        DocumentSession s = DocumentSession::startNew(f.db(), timeKind(), kToday);
        s.boxes().gh = QStringLiteral("0007");
        const QString no = s.addBlankLine();
        QCOMPARE(s.lines().current(), 1);
        QCOMPARE(
            f.db()
                .scalar(QStringLiteral("SELECT coalesce(gh, '') || '/' || spelltime || '/' || etdate FROM "
                                       "jsgzdetail WHERE intno = :p1"),
                        {no})
                .toString(),
            QStringLiteral("/4.0/2025-02-13"));
    }

    void reversalRefusals() {
        Factory f;
        const QString doc = f.document(piece(), {{QStringLiteral("0007"), 10, 1}});
        QCOMPARE(DocumentSession::reverse(f.db(), piece(), doc), Check(DocumentSession::notPostedMessage()));
        QCOMPARE(DocumentSession::open(f.db(), piece(), doc, kToday).post(), Check());
        f.db().exec(QStringLiteral("DELETE FROM branch WHERE id = '0001'"));
        const QStringList before = f.snapshot();
        QCOMPARE(DocumentSession::reverse(f.db(), piece(), doc),
                 Check(QStringLiteral("查无此车间号,不能冲数！")));
        QCOMPARE(f.snapshot(), before);
        // A payroll row deleted meanwhile: the lines are still marked, nothing is created.
        f.db().exec(
            QStringLiteral("INSERT INTO branch (intno, id, name) VALUES ('0000000009', '0001', '一车间')"));
        f.db().exec(QStringLiteral("DELETE FROM gzb"));
        QCOMPARE(DocumentSession::reverse(f.db(), piece(), doc), Check());
        QCOMPARE(f.count(QStringLiteral("SELECT count(*) FROM gzb")), 0);
        QCOMPARE(lineField(f, piece(), doc, QStringLiteral("cancel")), QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TestDocuments)
#include "tst_documents.moc"
