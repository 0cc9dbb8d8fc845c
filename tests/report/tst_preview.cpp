// The preview window and the restore question, driven with keys and a scripted prompter.

#include "Fixtures.h"
#include "common/TempHome.h"
#include "report/Engine.h"
#include "report/Factory.h"
#include "ui/common/Prompter.h"
#include "ui/reports/PreviewWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QtTest>
#include <deque>

using namespace gz;
using namespace gz::report;

namespace {

class ScriptedPrompter : public ui::Prompter {
public:
    QStringList shown;
    std::deque<bool> answers;
    QString fileAnswer;
    void message(QWidget*, const QString& text, Icon, const QString&) override { shown << text; }
    bool okCancel(QWidget*, const QString& text, const QString& caption) override {
        shown << caption + QLatin1Char(':') + text;
        const bool a = answers.empty() ? false : answers.front();
        if (!answers.empty()) answers.pop_front();
        return a;
    }
    bool yesNo(QWidget* w, const QString& t, const QString& c) override { return okCancel(w, t, c); }
    int yesNoCancel(QWidget*, const QString&, const QString&) override { return -1; }
    std::optional<QString> input(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString maskedInput(QWidget*, const QString&, const QString&) override { return {}; }
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override { return fileAnswer; }
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override { return fileAnswer; }
    QString pickFolder(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<QDate> pickDate(QWidget*, const QDate&) override { return {}; }
};

std::shared_ptr<PreparedReport> payroll(int rows) {
    Channels ch;
    test::bindFor(ch, QStringLiteral("gzb.rmf"), rows);
    return std::make_shared<PreparedReport>(
        prepare(parseTemplate(factoryTemplate(QStringLiteral("gzb.rmf")), QString()), ch));
}

} // namespace

class TstPreview : public QObject {
    Q_OBJECT
    ScriptedPrompter prompter_;
    QTemporaryDir dir_;

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("pkvgzgl-test"));
        QStandardPaths::setTestModeEnabled(true);
        ui::setPrompter(&prompter_);
    }
    void cleanupTestCase() { ui::setPrompter(nullptr); }
    void init() {
        prompter_.shown.clear();
        prompter_.answers.clear();
    }

    void navigatesAllPagesWithKeys() {
        ui::PreviewWindow w(payroll(70));
        w.show();
        QVERIFY(w.pageCount() >= 3);
        QCOMPARE(w.currentPage(), 0);
        QTest::keyClick(&w, Qt::Key_PageDown);
        QCOMPARE(w.currentPage(), 1);
        QTest::keyClick(&w, Qt::Key_End);
        QCOMPARE(w.currentPage(), w.pageCount() - 1);
        QTest::keyClick(&w, Qt::Key_PageDown); // stays on the last page
        QCOMPARE(w.currentPage(), w.pageCount() - 1);
        QTest::keyClick(&w, Qt::Key_PageUp);
        QCOMPARE(w.currentPage(), w.pageCount() - 2);
        QTest::keyClick(&w, Qt::Key_Home);
        QCOMPARE(w.currentPage(), 0);
    }

    void zoomModes() {
        ui::PreviewWindow w(payroll(5));
        w.resize(900, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.setZoomMode(QStringLiteral("fitWidth"));
        const double fitWidth = w.zoom();
        w.setZoomMode(QStringLiteral("fitPage"));
        QVERIFY(w.zoom() <= fitWidth);
        w.setZoomMode(QStringLiteral("200"));
        const double twice = w.zoom();
        w.setZoomMode(QStringLiteral("100"));
        QCOMPARE(twice, 2 * w.zoom());
        // The zoom is remembered for the next preview.
        ui::PreviewWindow again(payroll(5));
        QCOMPARE(again.zoomMode(), QStringLiteral("100"));
    }

    void searchFindsTextOnLaterPagesAndWraps() {
        ui::PreviewWindow w(payroll(70));
        QVERIFY(w.find(QStringLiteral("0066")));
        QVERIFY(w.currentPage() > 0);
        QCOMPARE(w.foundText(), QStringLiteral("0066"));
        QVERIFY(w.find(QStringLiteral("总 工 资 表"))); // only on the first page: the search wraps round
        QCOMPARE(w.currentPage(), 0);
        QVERIFY(!w.find(QStringLiteral("不存在的文字")));
    }

    void exportsThroughThePrompter() {
        ui::PreviewWindow w(payroll(10));
        prompter_.fileAnswer = dir_.filePath(QStringLiteral("x.pdf"));
        w.exportAsked();
        QVERIFY(QFileInfo(prompter_.fileAnswer).size() > 1000);
        QVERIFY(prompter_.shown.last().contains(QStringLiteral("x.pdf")));
        // A failing export says why and names the file.
        prompter_.fileAnswer = dir_.filePath(QStringLiteral("nofolder/x.pdf"));
        w.exportAsked();
        QVERIFY(prompter_.shown.last().contains(QStringLiteral("x.pdf")));
        QVERIFY(!QFile::exists(prompter_.fileAnswer));
    }

    void saveAndLoadPreparedReport() {
        ui::PreviewWindow w(payroll(70));
        const int pages = w.pageCount();
        const QString path = dir_.filePath(QStringLiteral("saved.rmp"));
        QVERIFY(w.savePrepared(path));
        ui::PreviewWindow other(payroll(2));
        QVERIFY(other.loadPrepared(path));
        QCOMPARE(other.pageCount(), pages);
        QVERIFY(!other.loadPrepared(dir_.filePath(QStringLiteral("missing.rmp"))));
        QCOMPARE(other.pageCount(), pages); // a failed load keeps what was shown
    }

    void restoreAsksFirst() {
        test::TempHome home;
        installFactoryTemplates(home.folder());
        const QString working = templatePath(home.folder(), QStringLiteral("gzb.rmf"));
        auto writeDesigned = [&] {
            QFile f(working);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("<report title=\"designed\"/>");
        };
        auto current = [&] {
            QFile f(working);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        };
        writeDesigned();
        prompter_.answers = {false};
        QVERIFY(!ui::restoreTemplateAsking(nullptr, home.folder(), QStringLiteral("gzb.rmf")));
        QCOMPARE(prompter_.shown, QStringList{QStringLiteral("提示！:是否恢复默认报表?")});
        QCOMPARE(current(), QByteArray("<report title=\"designed\"/>"));

        prompter_.shown.clear();
        prompter_.answers = {true};
        QVERIFY(ui::restoreTemplateAsking(nullptr, home.folder(), QStringLiteral("gzb.rmf")));
        QCOMPARE(prompter_.shown, QStringList({QStringLiteral("提示！:是否恢复默认报表?"),
                                               QStringLiteral("默认报表恢复完毕！ ")}));
        QCOMPARE(current(), factoryTemplate(QStringLiteral("gzb.rmf")));

        writeDesigned();
        QFile::remove(QDir(home.folder().factoryReportDir()).filePath(QStringLiteral("gzb.rmf")));
        prompter_.shown.clear();
        prompter_.answers = {true};
        QVERIFY(!ui::restoreTemplateAsking(nullptr, home.folder(), QStringLiteral("gzb.rmf")));
        QCOMPARE(prompter_.shown.last(), QStringLiteral("请检查本系统的默认报表是否存在！ "));
        QCOMPARE(current(), QByteArray("<report title=\"designed\"/>"));
    }
};

int main(int argc, char** argv) {
    // The preview remembers its settings; keep the test's away from the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TstPreview t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_preview.moc"
