// Preparing reports: expressions, aggregates over groups, pages and the report, conditions,
// channels and their bindings, and the errors a broken template gives.

#include "Fixtures.h"
#include "common/TempHome.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "report/Engine.h"

#include <QGuiApplication>
#include <QtTest>

using namespace gz;
using namespace gz::report;

namespace {

ReportObject textObj(const QString& text, double x = 0, double w = 60, const QString& format = {}) {
    ReportObject o;
    o.text = text;
    o.x = x;
    o.w = w;
    o.h = 5;
    o.format = format;
    return o;
}

Band bandOf(BandKind k, double h, std::vector<ReportObject> objs, const QString& channel = {}) {
    Band b;
    b.kind = k;
    b.height = h;
    b.channel = channel;
    b.objects = std::move(objs);
    return b;
}

Template pageOf(double height) {
    Template t;
    t.page.width = 100;
    t.page.height = height;
    t.page.left = t.page.top = t.page.right = t.page.bottom = 0;
    return t;
}

// All texts of a page, in drawing order, joined by "|".
QString texts(const PreparedPage& p) {
    QStringList s;
    for (const PageItem& it : p.items)
        if (it.type == PageItem::Type::Text) s << it.text;
    return s.join(u'|');
}

std::shared_ptr<TableSource> shops() {
    auto t = std::make_shared<TableSource>(QStringList{QStringLiteral("shop"), QStringLiteral("v")});
    t->addRow({QStringLiteral("A"), 1.0});
    t->addRow({QStringLiteral("A"), 2.0});
    t->addRow({QStringLiteral("B"), 3.0});
    t->addRow({QStringLiteral("B"), 4.0});
    t->addRow({QStringLiteral("B"), 5.5});
    return t;
}

QString evalOne(const QString& text, const QString& format = {}) {
    Template t = pageOf(100);
    t.bands.push_back(bandOf(BandKind::Title, 10, {textObj(text, 0, 60, format)}));
    Channels ch;
    auto one = std::make_shared<TableSource>(
        QStringList{QStringLiteral("n"), QStringLiteral("s"), QStringLiteral("d")});
    one->addRow({-2.5, QStringLiteral("  李四 "), QDate(2025, 3, 9)});
    ch.bind(1, one);
    const PreparedReport r = prepare(t, ch, {QDate(2025, 4, 2), {}});
    return texts(r.pages[0]);
}

} // namespace

class TstEngine : public QObject {
    Q_OBJECT
private slots:
    void expressions_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("precedence") << "[1+2*3]"
                                    << ""
                                    << "7";
        QTest::newRow("parentheses") << "[(1+2)*3]"
                                     << ""
                                     << "9";
        QTest::newRow("literal and field") << "工资: [RMDBDataSet1.n]元"
                                           << ""
                                           << "工资: -2.5元";
        QTest::newRow("picture on a field") << "[RMDBDataSet1.n]"
                                            << "0.00"
                                            << "-2.50";
        QTest::newRow("thousands picture") << "[FORMAT(1234567.891, \"#,##0.00\")]"
                                           << ""
                                           << "1,234,567.89";
        QTest::newRow("rounding half away from zero") << "[ROUND(2.345, 2)]"
                                                      << ""
                                                      << "2.35";
        QTest::newRow("negative rounding") << "[ROUND(-2.345, 2)]"
                                           << ""
                                           << "-2.35";
        QTest::newRow("condition") << "[IF(RMDBDataSet1.n < 0, \"欠款\", \"正常\")]"
                                   << ""
                                   << "欠款";
        QTest::newRow("and/or/not") << "[IF(not (1 > 2) and (0 or 1), \"是\", \"否\")]"
                                    << ""
                                    << "是";
        QTest::newRow("text join") << "[TRIM(RMDBDataSet1.s) & \"-\" & 'x']"
                                   << ""
                                   << "李四-x";
        QTest::newRow("date picture") << "[RMDBDataSet1.d]"
                                      << "yyyy年mm月dd日"
                                      << "2025年03月09日";
        QTest::newRow("date default format") << "[RMDBDataSet1.d]"
                                             << ""
                                             << "2025-03-09";
        QTest::newRow("date comparison") << "[IF(RMDBDataSet1.d < TODAY, \"早\", \"晚\")]"
                                         << ""
                                         << "早";
        QTest::newRow("today") << "[FORMAT(TODAY, \"yyyy-mm-dd\")]"
                               << ""
                               << "2025-04-02";
        QTest::newRow("division by zero shows nothing") << "a[1/0]b"
                                                        << ""
                                                        << "ab";
        QTest::newRow("page of pages") << "第[PAGE]页 共[PAGES]页"
                                       << ""
                                       << "第1页 共1页";
        QTest::newRow("literal bracket") << "[[注]"
                                         << ""
                                         << "[注]";
        QTest::newRow("quoted bracket in expression") << "[\"]\" & \"x\"]"
                                                      << ""
                                                      << "]x";
        QTest::newRow("abs") << "[ABS(RMDBDataSet1.n)]"
                             << "0.0"
                             << "2.5";
    }
    void expressions() {
        QFETCH(QString, text);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(evalOne(text, format), expected);
    }

    void brokenExpressions_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("unknown field") << "[RMDBDataSet1.nosuch]" << int(ErrorKind::Database) << "nosuch";
        QTest::newRow("unclosed bracket") << "合计 [SUM(RMDBDataSet1.n)" << int(ErrorKind::Conversion) << "[";
        QTest::newRow("unknown function") << "[FOO(1)]" << int(ErrorKind::Conversion) << "FOO";
        QTest::newRow("trailing operator") << "[1 +]" << int(ErrorKind::Conversion) << "1 +";
        QTest::newRow("unclosed quote") << "[\"abc]" << int(ErrorKind::Conversion) << "abc";
        QTest::newRow("bad scope") << "[SUM(RMDBDataSet1.n, 'week')]" << int(ErrorKind::Conversion) << "week";
        QTest::newRow("bare field without channel") << "[n]" << int(ErrorKind::Conversion) << "n";
    }
    void brokenExpressions() {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, mentions);
        try {
            evalOne(text);
            QFAIL("no error raised");
        } catch (const Error& e) {
            QCOMPARE(int(e.kind()), kind);
            QVERIFY2(e.message().contains(mentions), qPrintable(e.message()));
        }
    }

    void aggregatesOverGroupsPagesAndReport() {
        // 20 mm pages below a 5 mm page footer: three 5 mm rows (or group bands) per page.
        Template t = pageOf(20);
        Band gh = bandOf(BandKind::GroupHeader, 5, {textObj(QStringLiteral("车间 [shop]"))});
        gh.groupBy = QStringLiteral("RMDBDataSet1.shop");
        t.bands.push_back(gh);
        t.bands.push_back(bandOf(BandKind::MasterData, 5, {textObj(QStringLiteral("[LINE]:[v]"))},
                                 QStringLiteral("RMDBDataSet1")));
        t.bands.push_back(
            bandOf(BandKind::GroupFooter, 5,
                   {textObj(QStringLiteral("[RMDBDataSet1.shop]小计[SUM(RMDBDataSet1.v)]/[COUNT()]"))}));
        t.bands.push_back(
            bandOf(BandKind::Summary, 5,
                   {textObj(QStringLiteral("合计[SUM(RMDBDataSet1.v)] 平均[AVG(RMDBDataSet1.v)] "
                                           "最小[MIN(RMDBDataSet1.v)] 最大[MAX(RMDBDataSet1.v)]"))}));
        t.bands.push_back(bandOf(BandKind::PageFooter, 5,
                                 {textObj(QStringLiteral("页计[SUM(RMDBDataSet1.v)] 第[PAGE]/[PAGES]页"))}));
        Channels ch;
        ch.bind(1, shops());
        const PreparedReport r = prepare(t, ch);
        QStringList pages;
        for (const PreparedPage& p : r.pages)
            pages << texts(p);
        QCOMPARE(pages, QStringList({
                            QStringLiteral("车间 A|1:1|2:2|页计3 第1/4页"),
                            QStringLiteral("A小计3/2|车间 B|3:3|页计3 第2/4页"),
                            QStringLiteral("4:4|5:5.5|B小计12.5/3|页计9.5 第3/4页"),
                            QStringLiteral("合计15.5 平均3.1 最小1 最大5.5|页计0 第4/4页"),
                        }));
    }

    void pageCountDirectAndInCalculations() {
        Template t = pageOf(20);
        t.bands.push_back(bandOf(BandKind::MasterData, 5, {textObj(QStringLiteral("[v]"))},
                                 QStringLiteral("RMDBDataSet1")));
        ReportObject left = textObj(QStringLiteral("[PAGES]"), 0, 20);
        ReportObject rest = textObj(QStringLiteral("还有[PAGES - PAGE]页"), 20, 40);
        t.bands.push_back(bandOf(BandKind::PageFooter, 5, {left}));
        Channels ch;
        ch.bind(1, shops());
        PreparedReport r = prepare(t, ch);
        QCOMPARE(r.pages.size(), std::size_t(2));
        QCOMPARE(r.pages[0].items.back().text, QStringLiteral("2"));
        QCOMPARE(r.pages[0].items.back().number, 2.0);
        t.bands.back().objects.push_back(rest);
        r = prepare(t, ch);
        QCOMPARE(texts(r.pages[0]), QStringLiteral("1|2|3|2|还有1页"));
        QCOMPARE(texts(r.pages[1]), QStringLiteral("4|5.5|2|还有0页"));
    }

    void titleShowsFirstRowAndSummaryTheLast() {
        Template t = pageOf(100);
        t.bands.push_back(bandOf(BandKind::Title, 5, {textObj(QStringLiteral("首[RMDBDataSet1.v]"))}));
        t.bands.push_back(bandOf(BandKind::MasterData, 5, {textObj(QStringLiteral("[v]"))},
                                 QStringLiteral("RMDBDataSet1")));
        t.bands.push_back(bandOf(BandKind::Summary, 5, {textObj(QStringLiteral("末[RMDBDataSet1.v]"))}));
        Channels ch;
        ch.bind(1, shops());
        QCOMPARE(texts(prepare(t, ch).pages[0]), QStringLiteral("首1|1|2|3|4|5.5|末5.5"));
    }

    void groupFooterOnNoRowsIsNotPrinted() {
        Template t = pageOf(100);
        Band gh = bandOf(BandKind::GroupHeader, 5, {textObj(QStringLiteral("H"))});
        gh.groupBy = QStringLiteral("RMDBDataSet1.shop");
        t.bands.push_back(gh);
        t.bands.push_back(bandOf(BandKind::MasterData, 5, {textObj(QStringLiteral("[v]"))},
                                 QStringLiteral("RMDBDataSet1")));
        t.bands.push_back(bandOf(BandKind::GroupFooter, 5, {textObj(QStringLiteral("F"))}));
        t.bands.push_back(
            bandOf(BandKind::Summary, 5,
                   {textObj(QStringLiteral("合计[SUM(RMDBDataSet1.v)]"), 0, 60, QStringLiteral("0.00"))}));
        Channels ch;
        ch.bind(1, std::make_shared<TableSource>(QStringList{QStringLiteral("shop"), QStringLiteral("v")}));
        const PreparedReport r = prepare(t, ch);
        QCOMPARE(r.pages.size(), std::size_t(1));
        QCOMPARE(texts(r.pages[0]), QStringLiteral("合计0.00"));
    }

    void highlightAndPrintedNumbers() {
        Template t = pageOf(100);
        ReportObject o = textObj(QStringLiteral("[v]"), 0, 30, QStringLiteral("0.00"));
        o.highlight = QStringLiteral("RMDBDataSet1.v < 0");
        o.highlightColor = QColor(Qt::red);
        t.bands.push_back(bandOf(BandKind::MasterData, 5, {o}, QStringLiteral("RMDBDataSet1")));
        auto data = std::make_shared<TableSource>(QStringList{QStringLiteral("v")});
        data->addRow({2.345});
        data->addRow({-1.005});
        data->addRow({1.0 / 3});
        Channels ch;
        ch.bind(1, data);
        const PreparedReport r = prepare(t, ch);
        const auto& items = r.pages[0].items;
        QCOMPARE(items.size(), std::size_t(3));
        QCOMPARE(items[0].text, QStringLiteral("2.35"));
        QCOMPARE(items[0].color, QColor(Qt::black));
        QCOMPARE(items[1].color, QColor(Qt::red));
        // The number a spreadsheet gets is the printed one.
        for (const PageItem& it : items) {
            QVERIFY(it.hasNumber);
            QCOMPARE(it.decimals, 2);
            QCOMPARE(QString::number(it.number, 'f', 2), it.text);
            QCOMPARE(it.number, it.text.toDouble());
        }
    }

    void unboundChannelKeepsItsLastBinding() {
        Channels ch;
        auto first = std::make_shared<TableSource>(QStringList{QStringLiteral("x")},
                                                   std::vector<std::vector<QVariant>>{{1}});
        auto second = std::make_shared<TableSource>(QStringList{QStringLiteral("x")},
                                                    std::vector<std::vector<QVariant>>{{2}});
        ch.bind(2, first);
        ch.bind(QStringLiteral("rmdbdataset1"), second); // names are not case-sensitive
        QCOMPARE(ch.source(QStringLiteral("RMDBDataSet2")), first.get());
        QCOMPARE(ch.source(QStringLiteral("RMDBDataSet1")), second.get());
        ch.bind(1, first);
        QCOMPARE(ch.source(QStringLiteral("RMDBDataSet2")), first.get());
        // A channel never bound reads as closed: its fields print empty, no error.
        Template t = pageOf(100);
        t.bands.push_back(
            bandOf(BandKind::Title, 5, {textObj(QStringLiteral("期间[RMDBDataSet5.ksdate]止"))}));
        QCOMPARE(texts(prepare(t, ch).pages[0]), QStringLiteral("期间止"));
    }

    void datasetChannelReadsRowsWithoutCopying() {
        test::TempHome home;
        Database& db = home.db();
        for (int i = 3; i >= 1; --i)
            db.exec(
                QStringLiteral(
                    "INSERT INTO employee (intno, id, name, rcrq, basegz) VALUES (:p1, :p2, :p3, :p4, :p5)"),
                {QStringLiteral("00000%1").arg(i), QStringLiteral("000%1").arg(i),
                 QStringLiteral("员工%1").arg(i), QStringLiteral("2024-0%1-15").arg(i), 1000.5 * i});
        auto ds = std::make_shared<Dataset>();
        ds->open(db, QStringLiteral("SELECT * FROM employee ORDER BY id"));
        Channels ch;
        ch.bind(1, std::make_shared<DatasetSource>(std::shared_ptr<const Dataset>(ds)));
        Template t = pageOf(100);
        t.bands.push_back(bandOf(BandKind::MasterData, 5,
                                 {textObj(QStringLiteral("[id] [name] [rcrq] [FORMAT(basegz, \"0.00\")]"))},
                                 QStringLiteral("RMDBDataSet1")));
        t.bands.push_back(
            bandOf(BandKind::Summary, 5, {textObj(QStringLiteral("[SUM(RMDBDataSet1.basegz)]"))}));
        QCOMPARE(texts(prepare(t, ch).pages[0]),
                 QStringLiteral("0001 员工1 2024-01-15 1000.50|0002 员工2 2024-02-15 2001.00|0003 员工3 "
                                "2024-03-15 3001.50|6003"));
        // Fields of a channel that is not the band's own come from that dataset's current row.
        ds->setCurrent(1);
        Template t2 = pageOf(100);
        t2.bands.push_back(bandOf(BandKind::Title, 5, {textObj(QStringLiteral("[RMDBDataSet1.name]"))}));
        QCOMPARE(texts(prepare(t2, ch).pages[0]), QStringLiteral("员工2"));
    }

    void pictureFromBinaryFieldAndBarcode() {
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::blue);
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        logo.save(&buf, "PNG");
        auto company =
            std::make_shared<TableSource>(QStringList{QStringLiteral("name"), QStringLiteral("pic")});
        company->addRow({QStringLiteral("厂"), png});
        Channels ch;
        ch.bind(3, company);
        Template t = pageOf(100);
        ReportObject pic;
        pic.kind = ObjectKind::Picture;
        pic.expr = QStringLiteral("RMDBDataSet3.pic");
        pic.w = 30;
        pic.h = 30;
        ReportObject code;
        code.kind = ObjectKind::Barcode;
        code.barcode = BarcodeType::Ean13;
        code.text = QStringLiteral("\"690123456789\"");
        code.x = 40;
        code.w = 40;
        code.h = 15;
        ReportObject bad = code;
        bad.text = QStringLiteral("\"not digits\"");
        t.bands.push_back(bandOf(BandKind::Title, 40, {pic, code, bad}));
        const PreparedReport r = prepare(t, ch);
        const auto& items = r.pages[0].items;
        QCOMPARE(items.size(), std::size_t(2)); // the barcode that cannot be encoded is left out
        QCOMPARE(items[0].type, PageItem::Type::Picture);
        QCOMPARE(items[0].image.size(), QSize(40, 20));
        QCOMPARE(items[0].rect.size(), QSizeF(30, 15)); // kept its proportions within the box
        QCOMPARE(items[1].type, PageItem::Type::Barcode);
        QVERIFY(items[1].bars.size() > 20);
        for (const QRectF& b : items[1].bars)
            QVERIFY(b.right() <= 40.001 && b.bottom() <= 15.001);
    }
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    TstEngine t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_engine.moc"
