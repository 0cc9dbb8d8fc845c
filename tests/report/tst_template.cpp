// Template files: reading and writing, what is kept from newer versions, the errors of broken
// files, the factory copies and their restore.

#include "common/TempHome.h"
#include "core/data/Errors.h"
#include "report/Factory.h"
#include "report/Template.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace gz;
using namespace gz::report;

namespace {

const char* const kNewer = R"(<?xml version="1.0" encoding="UTF-8"?>
<report version="3" title="样表" font="WenQuanYi Micro Hei" author="newer program">
 <page paper="A5" orientation="landscape" left="5" top="6" right="7" bottom="8" duplex="long"/>
 <styles><style name="h1" size="14"/></styles>
 <band type="title" height="12" stretch="1">
  <text x="1" y="2" w="50" h="6" size="12" bold="1" align="center" shadow="2">[RMDBDataSet3.name]&amp;工资</text>
  <field x="60" y="0" w="20" h="6" expr="RMDBDataSet2.yfgz" format="0.00" align="right"/>
  <line x1="0" y1="11" x2="80" y2="11" style="dot" lineWidth="0.3"/>
  <barcode x="0" y="0" w="20" h="10" type="qr" expr="RMDBDataSet1.gh" eclevel="H"/>
  <chart kind="pie" x="0"><series field="jge"/></chart>
 </band>
</report>
)";

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TstTemplate : public QObject {
    Q_OBJECT
private slots:
    void readsWhatItKnows() {
        const Template t = parseTemplate(kNewer, QStringLiteral("x.rmf"));
        QCOMPARE(t.version, 3);
        QCOMPARE(t.title, QStringLiteral("样表"));
        QCOMPARE(t.page.paper, QStringLiteral("A5"));
        QVERIFY(t.page.landscape);
        QCOMPARE(t.page.pageWidth(), 210.0);
        QCOMPARE(t.page.pageHeight(), 148.0);
        QCOMPARE(t.page.bottom, 8.0);
        QCOMPARE(t.bands.size(), std::size_t(1));
        const Band& b = t.bands[0];
        QCOMPARE(b.kind, BandKind::Title);
        QCOMPARE(b.objects.size(), std::size_t(4));
        QCOMPARE(b.objects[0].text, QStringLiteral("[RMDBDataSet3.name]&工资"));
        QCOMPARE(b.objects[0].align, HAlign::Center);
        QCOMPARE(b.objects[1].text, QStringLiteral("[RMDBDataSet2.yfgz]"));
        QCOMPARE(b.objects[1].format, QStringLiteral("0.00"));
        QCOMPARE(b.objects[2].kind, ObjectKind::Line);
        QCOMPARE(b.objects[2].lineStyle, LineStyle::Dot);
        QCOMPARE(b.objects[2].x2, 80.0);
        QCOMPARE(b.objects[3].barcode, BarcodeType::Qr);
    }

    void keepsUnknownAttributesAndElementsOnSave() {
        const Template t = parseTemplate(kNewer, QStringLiteral("x.rmf"));
        const QByteArray saved = writeTemplate(t);
        for (const char* kept :
             {"author=\"newer program\"", "duplex=\"long\"", "stretch=\"1\"", "shadow=\"2\"", "eclevel=\"H\"",
              "<style name=\"h1\" size=\"14\"/>", "<series field=\"jge\"/>", "version=\"3\""})
            QVERIFY2(saved.contains(kept), kept);
        // And a second round changes nothing.
        const Template again = parseTemplate(saved, QStringLiteral("y.rmf"));
        QCOMPARE(writeTemplate(again), saved);
        QCOMPARE(again.bands[0].objects[0].text, t.bands[0].objects[0].text);
    }

    void missingFileIsReportedNotAnError() {
        QTemporaryDir dir;
        const LoadedTemplate lt = loadTemplate(dir.filePath(QStringLiteral("gzb.rmf")));
        QVERIFY(!lt.existed);
        QVERIFY(lt.report.bands.empty());
    }

    void brokenFiles_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("not XML") << QByteArray("<report>\n<band type=\"title\"\n") << 3 << QString();
        QTest::newRow("wrong root") << QByteArray("<?xml version=\"1.0\"?>\n<rpt/>") << 2
                                    << QStringLiteral("report");
        QTest::newRow("unknown band")
            << QByteArray("<report>\n <page/>\n <band type=\"footnote\"/>\n</report>") << 3
            << QStringLiteral("footnote");
        QTest::newRow("number that is not one")
            << QByteArray("<report>\n<band type=\"title\" height=\"abc\"/>\n</report>") << 2
            << QStringLiteral("abc");
        QTest::newRow("negative size")
            << QByteArray("<report>\n<band type=\"title\">\n<text w=\"-3\"/>\n</band>\n</report>") << 3
            << QString();
        QTest::newRow("bad colour")
            << QByteArray("<report>\n<band type=\"title\">\n<rect color=\"nocolour\"/>\n</band></report>")
            << 3 << QStringLiteral("nocolour");
        QTest::newRow("empty file") << QByteArray() << 1 << QString();
    }
    void brokenFiles() {
        QFETCH(QByteArray, xml);
        QFETCH(int, line);
        QFETCH(QString, mentions);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("坏的.rmf"));
        write(path, xml);
        try {
            loadTemplate(path);
            QFAIL("no error raised");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::Conversion);
            QVERIFY2(e.message().contains(QStringLiteral("坏的.rmf")), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("第 %1 行").arg(line)), qPrintable(e.message()));
            QVERIFY2(e.message().contains(mentions), qPrintable(e.message()));
        }
    }

    void unreadableFileIsAFileError() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("gzb.rmf"));
        QVERIFY(QDir().mkpath(path)); // a folder where the file should be
        try {
            loadTemplate(path);
            QFAIL("no error raised");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::FileOpen);
            QVERIFY(e.message().contains(QStringLiteral("gzb.rmf")));
        }
    }

    void saveReplacesWholeFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.rmf"));
        write(path, QByteArray(5000, 'x'));
        Template t;
        t.title = QStringLiteral("新");
        saveTemplate(t, path);
        QCOMPARE(loadTemplate(path).report.title, QStringLiteral("新"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("t.rmf")});
    }

    void installWritesFactoryCopiesAndKeepsWorkingOnes() {
        test::TempHome home;
        const ProgramFolder& f = home.folder();
        write(templatePath(f, QStringLiteral("gzb.rmf")), "<report title=\"designed\"/>");
        const QStringList written = installFactoryTemplates(f);
        for (const QString& name : factoryTemplateNames()) {
            QCOMPARE(read(QDir(f.factoryReportDir()).filePath(name)), factoryTemplate(name));
            QVERIFY(QFile::exists(templatePath(f, name)));
            // Every shipped template is one the engine reads.
            parseTemplate(factoryTemplate(name), name);
        }
        QCOMPARE(factoryTemplateNames().size(), 9);
        QCOMPARE(read(templatePath(f, QStringLiteral("gzb.rmf"))),
                 QByteArray("<report title=\"designed\"/>"));
        QVERIFY(!written.contains(templatePath(f, QStringLiteral("gzb.rmf"))));
    }

    void installAgainRewritesOnlyChangedFactoryCopies() {
        test::TempHome home;
        const ProgramFolder& f = home.folder();
        installFactoryTemplates(f);
        const QString damaged = QDir(f.factoryReportDir()).filePath(QStringLiteral("gzbt.rmf"));
        write(damaged, "broken");
        const QStringList again = installFactoryTemplates(f);
        QCOMPARE(again, QStringList{damaged});
        QCOMPARE(read(damaged), factoryTemplate(QStringLiteral("gzbt.rmf")));
    }

    void restoreCopiesTheFactoryLayout() {
        test::TempHome home;
        const ProgramFolder& f = home.folder();
        installFactoryTemplates(f);
        const QString working = templatePath(f, QStringLiteral("gzb.rmf"));
        write(working, "<report title=\"designed\"/>");
        QCOMPARE(restoreFactoryTemplate(f, QStringLiteral("gzb.rmf")), QStringLiteral("默认报表恢复完毕！ "));
        QCOMPARE(read(working), factoryTemplate(QStringLiteral("gzb.rmf")));
    }

    void restoreWithoutFactoryCopyLeavesTheWorkingTemplate_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("factory copy missing") << "gzbs.rmf";
        QTest::newRow("not a plain name") << "../works/shdb.mdb";
        QTest::newRow("empty name") << "";
    }
    void restoreWithoutFactoryCopyLeavesTheWorkingTemplate() {
        QFETCH(QString, name);
        test::TempHome home;
        const ProgramFolder& f = home.folder();
        const QString working = templatePath(f, QStringLiteral("gzbs.rmf"));
        write(working, "<report title=\"designed\"/>");
        QFile::remove(QDir(f.factoryReportDir()).filePath(QStringLiteral("gzbs.rmf")));
        QCOMPARE(restoreFactoryTemplate(f, name), QStringLiteral("请检查本系统的默认报表是否存在！ "));
        QCOMPARE(read(working), QByteArray("<report title=\"designed\"/>"));
    }
};

QTEST_GUILESS_MAIN(TstTemplate)
#include "tst_template.moc"
