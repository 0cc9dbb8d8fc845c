// The main window: start-up sequence, login, splash, year-end reminder, quick start, commands and
// rights, child windows, background picture, and the exit with its weekday backup.

#include "UiFixture.h"
#include "common/TempHome.h"
#include "core/data/Database.h"
#include "core/session/Password.h"
#include "core/session/RunValues.h"
#include "ui/app/LoginWindow.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Navigation.h"
#include "ui/app/SmallWindows.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace gz;
using namespace gz::ui;

namespace {

// Drives the modal windows of the start-up the way a user would.
struct Script {
    QString number = QStringLiteral("813");
    QString password = QStringLiteral("813");
    bool cancelLogin = false;
    bool clickSplash = false; // the click asks the question; its answer comes from the prompter
    bool hideQuickStart = false;

    int operator()(QDialog* d) const {
        if (auto* login = qobject_cast<LoginWindow*>(d)) {
            login->numberBox()->setEditText(number);
            login->passwordBox()->setText(password);
            QTest::mouseClick(cancelLogin ? login->cancelButton() : login->okButton(), Qt::LeftButton);
            return login->result();
        }
        if (auto* splash = qobject_cast<SplashWindow*>(d)) {
            if (clickSplash) splash->pictureClicked();
            return int(QDialog::Accepted);
        }
        if (auto* start = qobject_cast<QuickStartWindow*>(d)) {
            if (hideQuickStart) start->checkBox()->setChecked(true);
            return int(QDialog::Accepted);
        }
        d->reject();
        return int(QDialog::Rejected);
    }
};

const QString kSplash = QStringLiteral("gz::ui::SplashWindow");
const QString kLogin = QStringLiteral("gz::ui::LoginWindow");
const QString kQuickStart = QStringLiteral("gz::ui::QuickStartWindow");
const QString kReminder = QStringLiteral("提示:又到年底了,请做完本年度业务后,做新一年业务之前,"
                                         "先做年度数据备份\n\n并做年终数据处理(一般是在12月31日"
                                         "做完业务后或1月1日做业务前).");

// A program folder whose data file is prepared and closed again before the window opens it.
struct Home {
    test::TempHome home;
    explicit Home(bool splash = false, bool quickStartOff = true) {
        home.db().exec(QStringLiteral("UPDATE config SET flashbj = :p1, startbj = :p2"),
                       {splash ? 1 : 0, quickStartOff ? 1 : 0});
        home.db().exec(QStringLiteral("INSERT INTO opcrl (bh, xm, pw, rh) VALUES ('101', '录入员', :p1, '')"),
                       {encodePassword(QStringLiteral("1"))});
        home.closeDb();
    }
    const ProgramFolder& folder() const { return home.folder(); }
    QVariant scalar(const QString& sql) {
        auto db = Database::open(home.folder().dataFile());
        return db->scalar(sql);
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init() { runValues() = RunValues(); }

    void loginSucceeds() {
        Home h;
        test::UiFixture ui(Script{});
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        QCOMPARE(w.windowTitle(), QStringLiteral("朔禾工资管理系统(V2009)"));
        w.startUp();
        QVERIFY(!w.ended());
        QCOMPARE(ui.dialogs, QStringList{kLogin});
        QCOMPARE(w.windowTitle(), QStringLiteral("朔禾工资管理系统(V2009) 操作员:813"));
        QCOMPARE(runValues().operatorNumber, QStringLiteral("813"));
        QCOMPARE(runValues().operatorPassword, QStringLiteral("813"));
        QCOMPARE(w.statusText(2), QStringLiteral("当前日期:2026-03-10"));
        QVERIFY(ui.prompter.texts().isEmpty());
        QVERIFY(w.database() && w.database()->isOpen());
    }

    void loginFails_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("code");
        QTest::newRow("wrong password")
            << "813"
            << "814" << false << QStringList{QStringLiteral("密码错误,非法用户！")} << 1;
        QTest::newRow("unknown operator")
            << "999"
            << "813" << false << QStringList{QStringLiteral("密码错误,非法用户！")} << 1;
        QTest::newRow("cancelled") << "813"
                                   << "813" << true << QStringList{} << 0;
    }
    void loginFails() {
        QFETCH(QString, number);
        QFETCH(QString, password);
        QFETCH(bool, cancel);
        QFETCH(QStringList, texts);
        QFETCH(int, code);
        Home h;
        Script s;
        s.number = number;
        s.password = password;
        s.cancelLogin = cancel;
        test::UiFixture ui(s);
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        QSignalSpy ended(&w, &MainWindow::applicationEnded);
        w.startUp();
        QVERIFY(w.ended());
        QCOMPARE(w.exitCode(), code);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ui.prompter.texts(), texts); // no backup question either
        QVERIFY(!w.database());
        QVERIFY(runValues().operatorNumber.isEmpty());
        QVERIFY(!QDir(h.folder().root()).entryList().contains(QStringLiteral("BAK2")));
    }

    void loginAsOperator() {
        Home h;
        Script s;
        s.number = QStringLiteral("101");
        s.password = QStringLiteral(" 1 "); // blanks around are ignored by the check, kept as typed
        test::UiFixture ui(s);
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        w.startUp();
        QVERIFY(!w.ended());
        QCOMPARE(w.windowTitle(), QStringLiteral("朔禾工资管理系统(V2009) 操作员:101"));
        QCOMPARE(runValues().operatorPassword, QStringLiteral(" 1 "));
    }

    void splash_data() {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("click");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("after");
        QTest::newRow("shown, not clicked") << true << false << QString() << 1 << 1;
        QTest::newRow("clicked, Yes") << true << true << QStringLiteral("yes") << 1 << 1;
        QTest::newRow("clicked, No") << true << true << QStringLiteral("no") << 1 << 0;
        QTest::newRow("switched off") << false << false << QString() << 0 << 0;
    }
    void splash() {
        QFETCH(bool, stored);
        QFETCH(bool, click);
        QFETCH(QString, answer);
        QFETCH(int, shown);
        QFETCH(int, after);
        Home h(stored);
        Script s;
        s.clickSplash = click;
        test::UiFixture ui(s);
        if (!answer.isEmpty()) ui.prompter.answer(answer);
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        w.startUp();
        QCOMPARE(ui.count(kSplash), shown);
        if (shown) QCOMPARE(ui.dialogs.first(), kSplash); // before the login
        if (click) QCOMPARE(ui.prompter.texts(), QStringList{QStringLiteral("以后启动时是否要显示此图示?")});
        w.close();
        QCOMPARE(h.scalar(QStringLiteral("SELECT flashbj FROM config")).toInt(), after);
    }

    void newDataFileShowsSplash() {
        QTemporaryDir dir;
        ProgramFolder folder(dir.path());
        test::UiFixture ui(Script{});
        MainWindow w(folder, QDate(2026, 3, 10));
        w.startUp();
        QVERIFY(QFile::exists(folder.dataFile()));
        QCOMPARE(ui.dialogs, (QStringList{kSplash, kLogin}));
        QVERIFY(!w.ended());
    }

    void yearEndReminder_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("shown");
        QTest::newRow("25 December") << QDate(2026, 12, 25) << false;
        QTest::newRow("26 December") << QDate(2026, 12, 26) << true;
        QTest::newRow("31 December") << QDate(2026, 12, 31) << true;
        QTest::newRow("1 January") << QDate(2027, 1, 1) << false;
        QTest::newRow("26 November") << QDate(2026, 11, 26) << false;
    }
    void yearEndReminder() {
        QFETCH(QDate, today);
        QFETCH(bool, shown);
        Home h;
        Script s;
        s.password = QStringLiteral("bad"); // the reminder comes before the login
        test::UiFixture ui(s);
        MainWindow w(h.folder(), today);
        w.startUp();
        QStringList expected;
        if (shown) expected << kReminder;
        expected << QStringLiteral("密码错误,非法用户！");
        QCOMPARE(ui.prompter.texts(), expected);
    }

    void quickStartOnce() {
        Home h(false, false);
        Script s;
        s.hideQuickStart = true;
        test::UiFixture ui(s);
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        w.startUp();
        QCOMPARE(runValues().firstActivation, QStringLiteral("T"));
        w.handleActivation();
        w.handleActivation(); // re-activated after a function window closed
        QCOMPARE(ui.count(kQuickStart), 1);
        QCOMPARE(runValues().firstActivation, QStringLiteral("F"));
        w.close();
        QCOMPARE(h.scalar(QStringLiteral("SELECT startbj FROM config")).toInt(), 1);
    }

    void quickStartNotShownWhenSwitchedOff() {
        Home h(false, true);
        test::UiFixture ui(Script{});
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        w.startUp();
        w.handleActivation();
        QCOMPARE(ui.count(kQuickStart), 0);
        w.runCommand(QStringLiteral("quickStart")); // the tool button still shows it
        QCOMPARE(ui.count(kQuickStart), 1);
    }

    void exitBackup_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("blocked"); // a plain file stands where the backup folder goes
        QTest::newRow("Yes on a Sunday") << "yes" << QDate(2026, 12, 13) << "BAK0" << false;
        QTest::newRow("Yes on a Saturday") << "yes" << QDate(2026, 12, 12) << "BAK6" << false;
        QTest::newRow("No") << "no" << QDate(2026, 12, 12) << QString() << false;
        QTest::newRow("Yes, folder blocked") << "yes" << QDate(2026, 12, 12) << QString() << true;
    }
    void exitBackup() {
        QFETCH(QString, answer);
        QFETCH(QDate, today);
        QFETCH(QString, folder);
        QFETCH(bool, blocked);
        Home h;
        if (blocked) {
            QFile f(h.folder().path(QStringLiteral("BAK6")));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        test::UiFixture ui(Script{});
        MainWindow w(h.folder(), today);
        w.show();
        w.startUp();
        ui.prompter.answer(answer);
        w.runCommand(QStringLiteral("exit"));
        QVERIFY(w.ended());
        QVERIFY(!w.database());
        QStringList expected{QStringLiteral("若系统正常,则选择[是],否则选择[否]")};
        if (!folder.isEmpty()) expected << QStringLiteral("数据备份完毕！ ");
        if (blocked) expected << QStringLiteral("数据备份不成功,请检查数据是否存在！ ");
        QCOMPARE(ui.prompter.texts(), expected);
        QCOMPARE(ui.prompter.shown().first().caption, QStringLiteral("退出系统时是否备份数据?"));
        const QStringList backups =
            QDir(h.folder().root()).entryList({QStringLiteral("BAK?")}, QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(backups, folder.isEmpty() ? QStringList{} : QStringList{folder});
        if (!folder.isEmpty()) {
            auto copy = Database::open(h.folder().path(folder + QStringLiteral("/shdb.mdb")));
            QCOMPARE(copy->scalar(QStringLiteral("SELECT COUNT(*) FROM opcrl")).toInt(), 2);
        }
    }

    void exitWithOpenWindow() {
        Home h;
        test::UiFixture ui(Script{});
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        w.show();
        w.startUp();
        QPointer<QWidget> child = new QWidget;
        child->setWindowTitle(QStringLiteral("部门车间"));
        w.openFunctionWindow(child);
        QVERIFY(!w.isEnabled());
        QVERIFY(w.hasOpenFunctionWindows());
        ui.prompter.answer(QStringLiteral("cancel"));
        w.requestExit();
        QCOMPARE(ui.prompter.texts(), QStringList{QStringLiteral("还有程序未退出,是否退出系统?")});
        QCOMPARE(ui.prompter.shown().first().caption, QStringLiteral("提示?"));
        QVERIFY(!w.ended());
        QVERIFY(w.isVisible());
        QVERIFY(w.database());
        // the child window re-enables its opener and is freed when it closes
        child->close();
        QTRY_VERIFY(!child);
        QVERIFY(w.isEnabled());
        QVERIFY(!w.hasOpenFunctionWindows());
        ui.prompter.clear();
        ui.prompter.answer(QStringLiteral("no"));
        w.requestExit();
        QCOMPARE(ui.prompter.texts(), QStringList{QStringLiteral("若系统正常,则选择[是],否则选择[否]")});
        QVERIFY(w.ended());
    }

    void switchOperator() {
        Home h;
        test::UiFixture ui(Script{});
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        w.show();
        w.startUp();
        QPointer<QWidget> child = new QWidget;
        w.openFunctionWindow(child);
        w.switchOperator();
        QCOMPARE(ui.prompter.texts(),
                 QStringList{QStringLiteral("还有程序未退出,请先退出所有程序后再交换操作员!")});
        QCOMPARE(ui.count(kLogin), 1);
        child->close();
        QTRY_VERIFY(!child);
        Script other;
        other.number = QStringLiteral("101");
        other.password = QStringLiteral("1");
        setModalHook(other);
        w.runCommand(QStringLiteral("switchOperator"));
        QCOMPARE(w.windowTitle(), QStringLiteral("朔禾工资管理系统(V2009) 操作员:101"));
        QCOMPARE(runValues().operatorNumber, QStringLiteral("101"));
        // a failed login at the switch ends the program just like at start
        Script bad;
        bad.password = QStringLiteral("0");
        setModalHook(bad);
        w.runCommand(QStringLiteral("switchOperator"));
        QVERIFY(w.ended());
        QCOMPARE(runValues().operatorNumber, QStringLiteral("101"));
    }

    void administratorOnly_data() {
        QTest::addColumn<QString>("command");
        for (const char* c : {"initialise", "backupRestore", "yearEnd", "annualBackup", "maintenance"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void administratorOnly() {
        QFETCH(QString, command);
        Home h;
        Script s;
        s.number = QStringLiteral("101");
        s.password = QStringLiteral("1");
        test::UiFixture ui(s);
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        w.startUp();
        QVERIFY(!w.commandEnabled(command)); // its window is not part of the program yet
        int ran = 0;
        w.setCommandHandler(command, [&ran] { ++ran; });
        QVERIFY(w.commandEnabled(command));
        w.runCommand(command);
        QCOMPARE(ran, 0);
        QCOMPARE(ui.prompter.texts(), QStringList{QStringLiteral("该用户无权使用此功能！")});
        runValues().operatorNumber = QStringLiteral("813");
        w.commandActions(command).first()->trigger();
        QCOMPARE(ran, 1);
    }

    void commandsAndCaptions() {
        Home h;
        test::UiFixture ui(Script{});
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        const QStringList enabled{QStringLiteral("operators"),  QStringLiteral("switchOperator"),
                                  QStringLiteral("exit"),       QStringLiteral("processes"),
                                  QStringLiteral("about"),      QStringLiteral("help"),
                                  QStringLiteral("calculator"), QStringLiteral("quickStart")};
        for (const QString& id : w.commandIds())
            QCOMPARE(w.commandEnabled(id), enabled.contains(id));
        // tool bar, left to right
        QStringList toolCaptions;
        for (const char* name : {"ToolButton5", "ToolButton13", "ToolButton8", "ToolButton4", "ToolButton9",
                                 "ToolButton6", "ToolButton3", "ToolButton10", "ToolButton15"}) {
            auto* a = w.findChild<QAction*>(QString::fromLatin1(name));
            QVERIFY2(a && a->isVisible(), name);
            toolCaptions << a->text();
        }
        QCOMPARE(
            toolCaptions,
            (QStringList{QStringLiteral("部门车间"), QStringLiteral("货品资料"), QStringLiteral("计件单"),
                         QStringLiteral("计分单"), QStringLiteral("计时单"), QStringLiteral("工资报表"),
                         QStringLiteral("计算器"), QStringLiteral("如何开始"), QStringLiteral("退出")}));
        for (const char* name : {"ToolButton1", "ToolButton7", "ToolButton2"})
            QVERIFY(!w.findChild<QAction*>(QString::fromLatin1(name))->isVisible());
        QCOMPARE(w.commandActions(QStringLiteral("units")).first()->isVisible(), false);
        QCOMPARE(w.commandActions(QStringLiteral("departments")).first()->text(), QStringLiteral("部门车间"));
        QCOMPARE(w.textLines(1).size(), 4);
        QCOMPARE(w.textLines(2).last()->text(), QStringLiteral("№帮助使用-软件的祥细使用说明"));
        QCOMPARE(w.groupPictures(2).size(), 3);
    }

    void navigation() {
        Home h;
        test::UiFixture ui(Script{});
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        w.show();
        w.startUp();
        QCOMPARE(w.currentGroup(), 0);
        QVERIFY(w.groupSelectors()[0]->marked());
        // only the highlighted face reacts to a click
        HoverPicture* second = w.groupSelectors()[1];
        QTest::mouseClick(second, Qt::LeftButton);
        QCOMPARE(w.currentGroup(), 0);
        second->setHighlighted(true);
        QTest::mouseClick(second, Qt::LeftButton);
        QCOMPARE(w.currentGroup(), 1);
        QVERIFY(second->marked());
        QVERIFY(!w.groupSelectors()[0]->marked());
        // the navigation check box hides the left column and the navigation area together
        w.navigationBox()->setChecked(false);
        QVERIFY(!w.navigationVisible());
        QVERIFY(!w.groupSelectors()[0]->isVisible());
        w.navigationBox()->setChecked(true);
        QVERIFY(w.navigationVisible());
        // the operators picture opens the operators window without disabling the main window
        HoverPicture* operators = w.groupPictures(2)[1];
        w.selectGroup(2);
        operators->setHighlighted(true);
        QTest::mouseClick(operators, Qt::LeftButton);
        QVERIFY(w.isEnabled());
        QWidget* opened = nullptr;
        for (QWidget* tl : QApplication::topLevelWidgets())
            if (tl->isVisible() && tl->windowTitle() == QStringLiteral("操作员管理")) opened = tl;
        QVERIFY(opened);
        opened->close();
    }

    void backgroundPicture() {
        Home h;
        const QString picture = h.folder().path(QStringLiteral("bg.png"));
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        QVERIFY(img.save(picture));
        test::UiFixture ui(Script{});
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        w.startUp();
        QVERIFY(!w.background()->hasPicture());
        ui.prompter.answer(QStringLiteral("<cancel>"));
        w.chooseBackground();
        QVERIFY(!w.background()->hasPicture());
        QCOMPARE(w.database()->scalar(QStringLiteral("SELECT picfilename FROM config")).toString(),
                 QString());
        ui.prompter.answer(picture);
        w.chooseBackground();
        QVERIFY(w.background()->hasPicture());
        QCOMPARE(w.database()->scalar(QStringLiteral("SELECT picfilename FROM config")).toString(), picture);
        QCOMPARE(ui.prompter.shown().size(), 2);
        QVERIFY(ui.prompter.texts().join(QString()).isEmpty()); // no message
        w.close();

        // the next start loads it; a stored file that is gone leaves the background empty, silently
        {
            test::UiFixture again(Script{});
            MainWindow w2(h.folder(), QDate(2026, 3, 10));
            w2.startUp();
            QVERIFY(w2.background()->hasPicture());
        }
        QVERIFY(QFile::remove(picture));
        test::UiFixture third(Script{});
        MainWindow w3(h.folder(), QDate(2026, 3, 10));
        w3.startUp();
        QVERIFY(!w3.background()->hasPicture());
        QVERIFY(third.prompter.texts().isEmpty());
        QVERIFY(third.errors.isEmpty());
    }

    void foreignDataFile() {
        QTemporaryDir dir;
        ProgramFolder folder(dir.path());
        folder.ensureLayout();
        QFile f(folder.dataFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Standard Jet DB — not one of our files");
        f.close();
        test::UiFixture ui(Script{});
        MainWindow w(folder, QDate(2026, 3, 10));
        w.startUp();
        QVERIFY(w.ended());
        QCOMPARE(w.exitCode(), 1);
        QCOMPARE(ui.prompter.shown().size(), 1);
        QVERIFY(ui.prompter.texts().first().contains(QDir::toNativeSeparators(folder.dataFile())));
        QCOMPARE(ui.prompter.shown().first().icon, Prompter::Icon::Error);
        QVERIFY(ui.dialogs.isEmpty()); // no login
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("Standard Jet DB — not one of our files"));
    }

    void startupOptionsApplied() {
        Home h;
        {
            auto db = Database::open(h.folder().dataFile());
            db->exec(QStringLiteral("UPDATE config SET dateformat = 'yy-mm-dd', dateseparator = '.', "
                                    "imename = ' 谷歌拼音 ', bcszbj = 'T', amountformat = '0.000'"));
        }
        test::UiFixture ui(Script{});
        MainWindow w(h.folder(), QDate(2026, 3, 10));
        w.startUp();
        QCOMPARE(runValues().imeName, QStringLiteral("谷歌拼音"));
        QCOMPARE(runValues().entryMode, QStringLiteral("T"));
        QCOMPARE(runValues().amountFormat, QStringLiteral("0.000"));
        QCOMPARE(w.statusText(2), QStringLiteral("当前日期:26.03.10"));
        appDateFormatReset();
    }

    void calculatorArithmetic_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("display");
        QTest::newRow("add") << QStringList{"1", "2", "+", "3", "="} << "15";
        QTest::newRow("chain") << QStringList{"2", "×", "3", "-", "1", "="} << "5";
        QTest::newRow("fraction") << QStringList{"1", "÷", "4", "="} << "0.25";
        QTest::newRow("divide by zero") << QStringList{"1", "÷", "0", "="} << "错误";
        QTest::newRow("sign and clear") << QStringList{"9", "±", "+", "C", "7"} << "7";
    }
    void calculatorArithmetic() {
        QFETCH(QStringList, keys);
        QFETCH(QString, display);
        CalculatorWindow c;
        for (const QString& k : keys)
            c.press(k);
        QCOMPARE(c.display(), display);
    }

private:
    static void appDateFormatReset();
};

#include "core/data/Formats.h"
void TestMainWindow::appDateFormatReset() {
    appDateFormat() = DateFormat(QStringLiteral("yyyy-mm-dd"), QStringLiteral("-"));
}

int main(int argc, char** argv) {
    gz::ui::Application app(argc, argv);
    TestMainWindow t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_mainwindow.moc"
