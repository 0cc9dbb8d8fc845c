// Every output of a prepared report, read back with the tools a user would use: the PDF's text,
// the spreadsheet's cells and sums, the HTML pages and their links, pictures per page.

#include "Fixtures.h"
#include "core/data/Errors.h"
#include "report/Engine.h"
#include "report/Factory.h"
#include "report/Output.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

using namespace gz;
using namespace gz::report;

namespace {

// One member of a zip file (xlsx2csv brings python3 along; unzip may not be installed).
QString unzipMember(const QString& zip, const QString& member);

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString unzipMember(const QString& zip, const QString& member) {
    return run(QStringLiteral("python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import sys, zipfile; "
                               "sys.stdout.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]).decode())"),
                zip, member});
}

// A payroll sheet with 40 rows over several pages.
PreparedReport payroll(int rows = 40) {
    Channels ch;
    test::bindFor(ch, QStringLiteral("gzb.rmf"), rows);
    return prepare(parseTemplate(factoryTemplate(QStringLiteral("gzb.rmf")), QStringLiteral("gzb.rmf")), ch,
                   {QDate(2025, 4, 2), {}});
}

} // namespace

class TstExports : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void pdfTextExtractsAsPrinted() {
        const PreparedReport r = payroll();
        const QString path = dir_.filePath(QStringLiteral("gzb.pdf"));
        QCOMPARE(exportPdf(r, path), QStringList{path});
        const QString info = run(QStringLiteral("pdfinfo"), {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\b").arg(r.pages.size()))),
                 qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("841.89 x 595.276")) ||
                     info.contains(QStringLiteral("842 x 595")),
                 qPrintable(info)); // landscape A4
        const QString text =
            run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        // Chinese text is searchable as the same characters (not look-alike radicals).
        for (const QString& s :
             {QStringLiteral("东莞市长安精工玩具厂"), QStringLiteral("总工资表"), QStringLiteral("实发工资"),
              QStringLiteral("裁剪车间 小计"), QStringLiteral("制表"), QStringLiteral("签收"),
              QStringLiteral("第2页"), QStringLiteral("2060.00")})
            QVERIFY2(QString(text).remove(u' ').contains(QString(s).remove(u' ')),
                     qPrintable(s + QStringLiteral(" not in:\n") + text.left(800)));
    }

    void xlsxNumbersAreNumbersAndSumsMatchThePrint() {
        const PreparedReport r = payroll(30);
        const QString path = dir_.filePath(QStringLiteral("gzb.xlsx"));
        QCOMPARE(exportXlsx(r, path), QStringList{path});
        const QString sheet = unzipMember(path, QStringLiteral("xl/worksheets/sheet1.xml"));
        const QString strings = unzipMember(path, QStringLiteral("xl/sharedStrings.xml"));
        QVERIFY2(strings.contains(QStringLiteral("实发工资")) &&
                     strings.contains(QStringLiteral("东莞市长安精工玩具厂")),
                 qPrintable(strings.left(400)));
        // The net pay column: printed values as numbers; their sum equals the printed total.
        const QString csv = run(QStringLiteral("xlsx2csv"), {path});
        const QStringList lines = csv.split(u'\n');
        int col = -1;
        double sum = 0, total = 0;
        int rows = 0;
        for (const QString& line : lines) {
            const QStringList cells = line.split(u',');
            if (col < 0) {
                col = cells.indexOf(QStringLiteral("实发工资"));
                continue;
            }
            if (cells.size() <= col) continue;
            const QString first = cells.value(0);
            if (first.contains(QStringLiteral("合"))) {
                total = cells[col].toDouble();
            } else if (!first.contains(QStringLiteral("小计")) && !first.isEmpty() &&
                       first != QStringLiteral("车间部门") && cells.value(1).size() == 4) {
                sum += cells[col].toDouble();
                ++rows;
            }
        }
        QVERIFY2(col > 0, qPrintable(csv.left(600)));
        QCOMPARE(rows, 30);
        QVERIFY(total > 0);
        // The sheet adds up exactly the figures the paper shows in that column, row by row.
        double printed = 0, printedTotal = 0, x = -1;
        for (const PreparedPage& p : r.pages)
            for (const PageItem& it : p.items)
                if (it.text == QStringLiteral("实发工资")) x = it.rect.left();
        for (const PreparedPage& p : r.pages)
            for (const PageItem& it : p.items)
                if (qAbs(it.rect.left() - x) < 0.01 && it.hasNumber) {
                    if (!it.bold)
                        printed += it.text.toDouble();
                    else
                        printedTotal = it.text.toDouble();
                }
        QCOMPARE(qRound64(sum * 100), qRound64(printed * 100));
        QCOMPARE(qRound64(total * 100), qRound64(printedTotal * 100));
        // Cells hold numbers (type n, the default), with a two-decimal format.
        QVERIFY2(sheet.contains(
                     QRegularExpression(QStringLiteral("<c r=\"[A-Z]+\\d+\" s=\"\\d+\"><v>2060</v></c>"))),
                 qPrintable(sheet.left(1500)));
        const QString styles = unzipMember(path, QStringLiteral("xl/styles.xml"));
        QVERIFY(styles.contains(QStringLiteral("formatCode=\"0.00\"")));
    }

    void htmlIsAFileSetWithPageLinks() {
        const PreparedReport r = payroll(70);
        const int pages = static_cast<int>(r.pages.size());
        QVERIFY(pages >= 3);
        const QString path = dir_.filePath(QStringLiteral("html/gzb.html"));
        QDir().mkpath(dir_.filePath(QStringLiteral("html")));
        const QStringList files = exportHtml(r, path);
        QCOMPARE(files.size(), pages);
        QCOMPARE(files[0], path);
        QCOMPARE(QFileInfo(files[1]).fileName(), QStringLiteral("gzb_2.html"));
        auto page = [&](int n) {
            QFile f(files[n - 1]);
            f.open(QIODevice::ReadOnly);
            return QString::fromUtf8(f.readAll());
        };
        const QString second = page(2);
        QVERIFY(second.contains(QStringLiteral("<a href=\"gzb.html\">第一页</a>")));
        QVERIFY(second.contains(QStringLiteral("<a href=\"gzb_3.html\">下一页</a>")));
        QVERIFY(second.contains(QStringLiteral("<a href=\"gzb.html\">上一页</a>")));
        QVERIFY(second.contains(QStringLiteral("<a href=\"gzb_%1.html\">最后页</a>").arg(pages)));
        QVERIFY(second.contains(QStringLiteral("color:blue")));
        // Headers and footers are on every page, not only the first.
        QVERIFY(second.contains(QStringLiteral("实发工资")));
        QVERIFY(second.contains(QStringLiteral("第 2 页  共 %1 页").arg(pages)));
        QVERIFY(page(pages).contains(QStringLiteral("<a href=\"gzb_%1.html\">下一页</a>").arg(pages)));
    }

    void htmlPicturesAreJpegFiles() {
        Channels ch;
        test::bindFor(ch, QStringLiteral("jjgzdetail.rmf"), 3);
        const PreparedReport r =
            prepare(parseTemplate(factoryTemplate(QStringLiteral("jjgzdetail.rmf")), QString()), ch);
        const QString path = dir_.filePath(QStringLiteral("doc.html"));
        const QStringList files = exportHtml(r, path);
        QCOMPARE(files.size(), 2); // the page and the barcode's picture
        QVERIFY(files[1].endsWith(QStringLiteral("doc_files/p1.jpg")));
        QImage img(files[1]);
        QCOMPARE(img.isNull(), false);
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QVERIFY(QString::fromUtf8(f.readAll()).contains(QStringLiteral("<img src=\"doc_files/p1.jpg\"")));
    }

    void xlsxKeepsPicturesAsBitmaps() {
        Channels ch;
        test::bindFor(ch, QStringLiteral("jjgzdetail.rmf"), 3);
        const PreparedReport r =
            prepare(parseTemplate(factoryTemplate(QStringLiteral("jjgzdetail.rmf")), QString()), ch);
        const QString path = dir_.filePath(QStringLiteral("doc.xlsx"));
        exportXlsx(r, path);
        const QString names =
            run(QStringLiteral("python3"),
                {QStringLiteral("-c"),
                 QStringLiteral(
                     "import sys, zipfile; print('\\n'.join(zipfile.ZipFile(sys.argv[1]).namelist()))"),
                 path});
        QVERIFY2(names.contains(QStringLiteral("xl/media/image1.png")), qPrintable(names));
        QVERIFY(names.contains(QStringLiteral("xl/drawings/drawing1.xml")));
    }

    void picturesPerPageAtTheirResolution_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("dpi");
        QTest::newRow("png") << "p.png" << 100.0;
        QTest::newRow("jpeg") << "p.jpg" << 150.0;
        QTest::newRow("bmp") << "p.bmp" << 72.0;
    }
    void picturesPerPageAtTheirResolution() {
        QFETCH(QString, name);
        QFETCH(double, dpi);
        const PreparedReport r = payroll();
        const QStringList files = exportImages(r, dir_.filePath(name), dpi);
        QCOMPARE(files.size(), static_cast<int>(r.pages.size()));
        const QImage first(files[0]);
        QCOMPARE(first.width(), qRound(297 / 25.4 * dpi));
        QCOMPARE(first.height(), qRound(210 / 25.4 * dpi));
        QVERIFY(QImage(files.last()).width() == first.width());
        // Something is drawn: not a blank page.
        int dark = 0;
        for (int y = 0; y < first.height(); y += 4)
            for (int x = 0; x < first.width(); x += 4)
                if (qGray(first.pixel(x, y)) < 128) ++dark;
        QVERIFY(dark > 100);
    }

    void longTextWrapsInsideItsObject() {
        PreparedPage page;
        page.width = 100;
        page.height = 60;
        PageItem it;
        it.rect = QRectF(20, 10, 30, 30);
        it.text = QStringLiteral("这是一段很长的备注文字，需要在对象的宽度之内折行显示，不能画到外面去。");
        it.fontFamily = QStringLiteral("WenQuanYi Micro Hei");
        it.fontSize = 9;
        it.wrap = true;
        it.valign = 0;
        page.items.push_back(it);
        const double dpi = 200, dpm = dpi / 25.4;
        const QImage img = renderPage(page, dpi);
        const QRect inside =
            QRectF(it.rect.x() * dpm, it.rect.y() * dpm, it.rect.width() * dpm, it.rect.height() * dpm)
                .toAlignedRect();
        int darkInside = 0, darkOutside = 0;
        QSet<int> inkRows;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 160) {
                    if (inside.contains(x, y)) {
                        ++darkInside;
                        inkRows.insert(y);
                    } else {
                        ++darkOutside;
                    }
                }
        QVERIFY(darkInside > 200);
        QCOMPARE(darkOutside, 0);
        // Several lines: ink spans well over one line's height (9 pt is about 3.2 mm).
        QVERIFY(*std::max_element(inkRows.begin(), inkRows.end()) -
                    *std::min_element(inkRows.begin(), inkRows.end()) >
                qRound(8 * dpm));
    }

    void unknownSuffixAndUnwritableFile() {
        const PreparedReport r = payroll(2);
        QVERIFY_THROWS_EXCEPTION(gz::Error, exportByName(r, dir_.filePath(QStringLiteral("a.doc"))));
        try {
            exportByName(r, dir_.filePath(QStringLiteral("no/such/folder/a.pdf")));
            QFAIL("no error");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::FileOpen);
            QVERIFY(e.message().contains(QStringLiteral("a.pdf")));
        }
        QVERIFY_THROWS_EXCEPTION(gz::Error, exportXlsx(r, dir_.filePath(QStringLiteral("no/such/a.xlsx"))));
    }

    void printerGetsEveryPageOfTheRange() {
        const PreparedReport r = payroll(70);
        QVERIFY(r.pages.size() >= 3);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString path = dir_.filePath(QStringLiteral("printed.pdf"));
        printer.setOutputFileName(path);
        printer.setFromTo(2, 3);
        printReport(r, printer);
        const QString info = run(QStringLiteral("pdfinfo"), {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b"))), qPrintable(info));
        const QString text = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).remove(u' ');
        QVERIFY2(text.contains(QStringLiteral("第2页")) && text.contains(QStringLiteral("第3页")) &&
                     !text.contains(QStringLiteral("第1页")),
                 qPrintable(text.left(300)));
    }

    void preparedReportSurvivesSaveAndLoad() {
        PreparedReport r = payroll(12);
        const QString path = dir_.filePath(QStringLiteral("r.rmp"));
        r.save(path);
        const PreparedReport back = PreparedReport::load(path);
        QCOMPARE(back.pages.size(), r.pages.size());
        QCOMPARE(back.title, r.title);
        QCOMPARE(back.pages[0].items.size(), r.pages[0].items.size());
        for (std::size_t i = 0; i < r.pages[0].items.size(); ++i) {
            const PageItem &a = r.pages[0].items[i], &b = back.pages[0].items[i];
            QCOMPARE(b.text, a.text);
            QCOMPARE(b.rect, a.rect);
            QCOMPARE(b.color, a.color);
            QCOMPARE(b.number, a.number);
        }
        QFile junk(dir_.filePath(QStringLiteral("junk.rmp")));
        junk.open(QIODevice::WriteOnly);
        junk.write("not a report");
        junk.close();
        QVERIFY_THROWS_EXCEPTION(gz::Error, PreparedReport::load(junk.fileName()));
    }
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    TstExports t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_exports.moc"
