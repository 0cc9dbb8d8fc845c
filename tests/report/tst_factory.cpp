// The shipped templates: each loads, prepares over data like its window's and looks like a
// document (company name, title, totals, page numbers). With GZ_REPORT_SHOTS set, the pages are
// also written there as PNG for a person to look at.

#include "Fixtures.h"
#include "report/Engine.h"
#include "report/Factory.h"
#include "report/Output.h"

#include <QDir>
#include <QGuiApplication>
#include <QtTest>

using namespace gz;
using namespace gz::report;

class TstFactory : public QObject {
    Q_OBJECT

    static QString allText(const PreparedReport& r, int page) {
        QString s;
        for (const PageItem& it : r.pages[static_cast<std::size_t>(page)].items)
            s += it.text + QLatin1Char('|');
        return s;
    }

private slots:
    void templates_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("payroll") << "gzb.rmf" << 60 << "总 工 资 表" << true;
        QTest::newRow("time sheet") << "gzbs.rmf" << 12 << "计 时 工 资 表" << true;
        QTest::newRow("points sheet") << "gzbf.rmf" << 12 << "计 分 工 资 表" << true;
        QTest::newRow("slips") << "gzbt.rmf" << 20 << "工资条" << false;
        QTest::newRow("piece summary") << "jjtotal.rmf" << 70 << "计 件 工 资 汇 总 表" << false;
        QTest::newRow("points summary") << "jftotal.rmf" << 10 << "计 分 工 资 汇 总 表" << false;
        QTest::newRow("time summary") << "jstotal.rmf" << 10 << "计 时 工 资 汇 总 表" << false;
        QTest::newRow("document") << "jjgzdetail.rmf" << 14 << "计 件 工 资 单" << false;
        QTest::newRow("employees") << "employee.rmf" << 45 << "员 工 档 案 资 料" << true;
    }
    void templates() {
        QFETCH(QString, file);
        QFETCH(int, rows);
        QFETCH(QString, caption);
        QFETCH(bool, landscape);
        const QByteArray xml = factoryTemplate(file);
        QVERIFY2(!xml.isEmpty(), qPrintable(file));
        const Template t = parseTemplate(xml, file);
        Channels ch;
        test::bindFor(ch, file, rows);
        const PreparedReport r = prepare(t, ch, {QDate(2025, 4, 2), {}});
        QVERIFY(!r.pages.empty());
        QCOMPARE(r.pages[0].width > r.pages[0].height, landscape);
        const QString first = allText(r, 0);
        QVERIFY2(first.contains(QStringLiteral("东莞市长安精工玩具厂")), qPrintable(first.left(300)));
        QVERIFY2(first.contains(caption), qPrintable(first.left(300)));
        const QString last = allText(r, static_cast<int>(r.pages.size()) - 1);
        if (file != QLatin1String("gzbt.rmf") && file != QLatin1String("employee.rmf"))
            QVERIFY2(last.contains(QStringLiteral("合    计")), qPrintable(last.right(300)));
        QVERIFY2(last.contains(QStringLiteral("共 %1 页").arg(r.pages.size())), qPrintable(last.right(300)));
        // Nothing is placed outside the paper.
        for (const PreparedPage& p : r.pages)
            for (const PageItem& it : p.items) {
                QVERIFY2(it.rect.right() <= p.width + 0.01 && it.rect.bottom() <= p.height + 0.01,
                         qPrintable(file + QLatin1Char(' ') + it.text));
            }
        const QString shots = qEnvironmentVariable("GZ_REPORT_SHOTS");
        if (!shots.isEmpty()) {
            QDir().mkpath(shots);
            exportImages(r, QDir(shots).filePath(file.section(u'.', 0, 0) + QStringLiteral(".png")), 110);
        }
    }

    void payrollTotalsMatchTheirRows() {
        // The grand total of net pay printed on the sheet is the totals row of channel 2, and the
        // workshop subtotals add up to it.
        Channels ch;
        test::bindFor(ch, QStringLiteral("gzb.rmf"), 40);
        const PreparedReport r = prepare(parseTemplate(factoryTemplate(QStringLiteral("gzb.rmf")), {}), ch);
        double subtotals = 0, grand = 0;
        int groups = -1;
        double sfgzX = -1;
        for (const PreparedPage& p : r.pages)
            for (const PageItem& it : p.items)
                if (it.text == QStringLiteral("实发工资")) sfgzX = it.rect.left();
        QVERIFY(sfgzX > 0);
        for (const PreparedPage& p : r.pages) {
            for (std::size_t i = 0; i < p.items.size(); ++i) {
                const PageItem& it = p.items[i];
                if (!it.hasNumber || qAbs(it.rect.left() - sfgzX) > 0.01 || !it.bold) continue;
                // Bold figures in the net pay column: subtotals, then the grand total (last).
                subtotals += it.number;
                grand = it.number;
                ++groups;
            }
        }
        subtotals -= grand;
        QVERIFY(grand != 0);
        // Each printed subtotal is rounded to the cent, so their sum may differ by half a cent each.
        QVERIFY(groups >= 5);
        QVERIFY2(qAbs(subtotals - grand) <= 0.005 * groups + 1e-9,
                 qPrintable(QStringLiteral("%1 vs %2").arg(subtotals).arg(grand)));
    }
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    TstFactory t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_factory.moc"
