// The three document kinds as data: every name they carry must be a column of its table.

#include "core/data/Schema.h"
#include "core/wages/DocumentKind.h"

#include <QtTest>

using namespace gz;

Q_DECLARE_METATYPE(const gz::DocumentKind*)

class TestKinds : public QObject {
    Q_OBJECT
private slots:
    void namesExist_data() {
        QTest::addColumn<const DocumentKind*>("kind");
        for (const DocumentKind* k : documentKinds())
            QTest::newRow(k->code.toLatin1().constData()) << k;
    }
    void namesExist() {
        QFETCH(const DocumentKind*, kind);
        QVERIFY(isHeaderTable(kind->headerTable));
        QVERIFY(isLineTable(kind->lineTable));
        const TableDef* lines = findTable(kind->lineTable);
        const TableDef* gzb = findTable(QStringLiteral("gzb"));
        for (const PayrollEffect& e : kind->payroll) {
            QVERIFY2(gzb->column(e.payrollField), qPrintable(e.payrollField));
            QVERIFY2(lines->column(e.lineField), qPrintable(e.lineField));
        }
        for (const QString& f : kind->copiedTexts + kind->copiedNumbers)
            QVERIFY2(lines->column(f), qPrintable(f));
        for (const auto* cols : {&kind->entryColumns, &kind->postedColumns})
            for (const GridColumn& c : *cols)
                QVERIFY2(lines->column(c.field), qPrintable(c.field));
        QCOMPARE(documentKindByCode(kind->code), kind);
    }

    void differences() {
        const DocumentKind& jj = documentKind(KindId::Piece);
        const DocumentKind& jf = documentKind(KindId::Points);
        const DocumentKind& js = documentKind(KindId::Time);
        QCOMPARE(jj.entryColumns[5].field, QStringLiteral("sl"));
        QCOMPARE(jf.entryColumns[5].field, QStringLiteral("dj"));
        QCOMPARE(jf.entryColumns[5].title, QStringLiteral("工分价"));
        QCOMPARE(js.entryColumns[10].field, QStringLiteral("superscale"));
        QCOMPARE(js.entryColumns[10].title, QStringLiteral("借款金额"));
        QCOMPARE(jj.postedColumns[5].field, QStringLiteral("dj")); // price before quantity in the posted view
        QVERIFY(js.copiedNumbers.contains(QStringLiteral("spelltime")));
        QVERIFY(!jj.copiedNumbers.contains(QStringLiteral("spelltime")));
        QCOMPARE(jj.addedFields().size(), std::size_t(1));
        QCOMPARE(js.addedFields().size(), std::size_t(7));
        QCOMPARE(documentKindByCode(QStringLiteral("xx")), nullptr);
    }
};

QTEST_GUILESS_MAIN(TestKinds)
#include "tst_kinds.moc"
