// Operators: the rules in core and the operators window with its add and change-password windows.

#include "UiFixture.h"
#include "common/TempHome.h"
#include "core/data/Database.h"
#include "core/session/Operators.h"
#include "core/session/Password.h"
#include "core/session/RunValues.h"
#include "core/session/Session.h"
#include "ui/app/OperatorsWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace gz;
using namespace gz::ui;

class TestOperators : public QObject {
    Q_OBJECT

    static int operators(Database& db, const QString& bh) {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM opcrl WHERE bh = :p1"), {bh}).toInt();
    }
    static void addPlain(Database& db, const QString& bh, const QString& pw) {
        db.exec(QStringLiteral("INSERT INTO opcrl (bh, xm, pw, rh) VALUES (:p1, 'x', :p2, '')"),
                {bh, encodePassword(pw)});
    }

private slots:
    void init() { runValues() = RunValues(); }

    void passwordRules_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<bool>("valid");
        QTest::newRow("equal digits") << "123456"
                                      << "123456" << true;
        QTest::newRow("blanks around") << " 42 "
                                       << "42" << true;
        QTest::newRow("empty") << ""
                               << "" << false;
        QTest::newRow("blanks only") << "   "
                                     << "   " << false;
        QTest::newRow("confirmation empty") << "123"
                                            << "" << false;
        QTest::newRow("differ") << "123"
                                << "124" << false;
        QTest::newRow("seven digits") << "1234567"
                                      << "1234567" << false;
        QTest::newRow("letters") << "12ab"
                                 << "12ab" << false;
    }
    void passwordRules() {
        QFETCH(QString, password);
        QFETCH(QString, confirmation);
        QFETCH(bool, valid);
        QCOMPARE(checkNewPassword(password, confirmation).isEmpty(), valid);
        if (!valid) QCOMPARE(checkNewPassword(password, confirmation), QStringLiteral("密码输入不合法!"));
    }

    void coreAdd() {
        test::TempHome home;
        Database& db = home.db();
        const NewOperator op{QStringLiteral("101"), QStringLiteral("王五"), QStringLiteral("2468"),
                             QStringLiteral("2468"), QStringLiteral("录入")};
        QCOMPARE(addOperator(db, QStringLiteral("101"), op), QStringLiteral("该用户无权增加操作员！"));
        QCOMPARE(operators(db, QStringLiteral("101")), 0);
        QCOMPARE(addOperator(db, QStringLiteral("813"), op), QString());
        QVERIFY(checkLogin(db, QStringLiteral("101"), QStringLiteral("2468")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT pw FROM opcrl WHERE bh='101'")).toString().size(), 8);
        QCOMPARE(addOperator(db, QStringLiteral("813"), op), QStringLiteral("该操作员编号已存在！"));
        NewOperator empty = op;
        empty.number = QStringLiteral("  ");
        QCOMPARE(addOperator(db, QStringLiteral("813"), empty), QStringLiteral("操作员编号不能为空！"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM opcrl")).toInt(), 2);
    }

    void coreDelete() {
        test::TempHome home;
        Database& db = home.db();
        addPlain(db, QStringLiteral("101"), QStringLiteral("1"));
        db.exec(QStringLiteral("INSERT INTO configo (bh) VALUES ('101')"));
        db.exec(QStringLiteral("INSERT INTO configo (bh) VALUES ('813')"));
        QCOMPARE(deleteOperator(db, QStringLiteral("101"), QStringLiteral("101")),
                 QStringLiteral("该用户无权删除操作员！"));
        QCOMPARE(deleteOperator(db, QStringLiteral("813"), QStringLiteral("813")),
                 QStringLiteral("不能删除超级用户！"));
        QCOMPARE(operators(db, QStringLiteral("813")), 1);
        QCOMPARE(deleteOperator(db, QStringLiteral("813"), QStringLiteral("101")), QString());
        QCOMPARE(operators(db, QStringLiteral("101")), 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM configo WHERE bh='101'")).toInt(), 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM configo WHERE bh='813'")).toInt(), 1);
    }

    void coreChangePassword() {
        test::TempHome home;
        Database& db = home.db();
        addPlain(db, QStringLiteral("101"), QStringLiteral("1"));
        // even the administrator changes only the own password
        QCOMPARE(changeOwnPassword(db, QStringLiteral("813"), QStringLiteral("101"), QStringLiteral("x"),
                                   QStringLiteral("9"), QStringLiteral("9")),
                 QStringLiteral("不能修改他人密码！"));
        QVERIFY(checkLogin(db, QStringLiteral("101"), QStringLiteral("1")));
        QCOMPARE(changeOwnPassword(db, QStringLiteral("101"), QStringLiteral("101"), QStringLiteral("赵六"),
                                   QStringLiteral("77"), QStringLiteral("78")),
                 QStringLiteral("密码输入不合法!"));
        QCOMPARE(changeOwnPassword(db, QStringLiteral("101"), QStringLiteral("101"), QStringLiteral("赵六"),
                                   QStringLiteral("77"), QStringLiteral("77")),
                 QString());
        QVERIFY(checkLogin(db, QStringLiteral("101"), QStringLiteral("77")));
        // a new password that happens to read like the old encoded one ("1" is stored as "77")
        QCOMPARE(changeOwnPassword(db, QStringLiteral("101"), QStringLiteral("101"), QStringLiteral("赵六"),
                                   encodePassword(QStringLiteral("77")),
                                   encodePassword(QStringLiteral("77"))),
                 QStringLiteral("密码输入不合法!")); // not digits: refused, not silently ignored
        // the box still holding the stored password: the name is kept, the password too
        const QString stored = db.scalar(QStringLiteral("SELECT pw FROM opcrl WHERE bh='101'")).toString();
        QCOMPARE(changeOwnPassword(db, QStringLiteral("101"), QStringLiteral("101"), QStringLiteral("钱七"),
                                   stored, stored, false),
                 QString());
        QVERIFY(checkLogin(db, QStringLiteral("101"), QStringLiteral("77")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT xm FROM opcrl WHERE bh='101'")).toString(),
                 QStringLiteral("钱七"));
    }

    void windowGrid() {
        test::TempHome home;
        runValues().operatorNumber = QStringLiteral("813");
        OperatorsWindow w(home.db());
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("操作员管理"));
        QCOMPARE(w.rowCount(), 1);
        auto* m = w.grid()->model();
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("编号"));
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("用户名"));
        QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("密码"));
        QCOMPARE(m->headerData(3, Qt::Horizontal).toString(), QStringLiteral("权限"));
        QCOMPARE(m->data(m->index(0, 2)).toString(), encodePassword(QStringLiteral("813")));
        QVERIFY(!w.action(QStringLiteral("设置权限"))->isVisible());
    }

    void windowRefusals_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("add by operator") << "101"
                                         << "101"
                                         << "新增"
                                         << "该用户无权增加操作员！";
        QTest::newRow("delete by operator") << "101"
                                            << "813"
                                            << "删除"
                                            << "该用户无权删除操作员！";
        QTest::newRow("delete administrator") << "813"
                                              << "813"
                                              << "删除"
                                              << "不能删除超级用户！";
        QTest::newRow("change other's password") << "813"
                                                 << "101"
                                                 << "修改密码"
                                                 << "不能修改他人密码！";
        QTest::newRow("operator changes administrator") << "101"
                                                        << "813"
                                                        << "修改密码"
                                                        << "不能修改他人密码！";
    }
    void windowRefusals() {
        QFETCH(QString, current);
        QFETCH(QString, selected);
        QFETCH(QString, command);
        QFETCH(QString, message);
        test::TempHome home;
        addPlain(home.db(), QStringLiteral("101"), QStringLiteral("1"));
        test::UiFixture ui;
        runValues().operatorNumber = current;
        OperatorsWindow w(home.db());
        w.show();
        w.selectNumber(selected);
        w.action(command)->trigger();
        QCOMPARE(ui.prompter.texts(), QStringList{message});
        QVERIFY(!w.addWindow());
        QVERIFY(!w.passwordWindow());
        QVERIFY(w.isEnabled());
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT COUNT(*) FROM opcrl")).toInt(), 2);
    }

    void deleteCancelKeepsEverything() {
        test::TempHome home;
        addPlain(home.db(), QStringLiteral("101"), QStringLiteral("1"));
        home.db().exec(QStringLiteral("INSERT INTO configo (bh) VALUES ('101')"));
        test::UiFixture ui;
        ui.prompter.answer(QStringLiteral("cancel"));
        runValues().operatorNumber = QStringLiteral("813");
        OperatorsWindow w(home.db());
        w.show();
        w.selectNumber(QStringLiteral("101"));
        w.deleteOperator();
        QCOMPARE(ui.prompter.texts(), QStringList{QStringLiteral("确实要删除当前记录吗?")});
        QCOMPARE(operators(home.db(), QStringLiteral("101")), 1);
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT COUNT(*) FROM configo")).toInt(), 1);
        ui.prompter.answer(QStringLiteral("ok"));
        w.deleteOperator();
        QCOMPARE(operators(home.db(), QStringLiteral("101")), 0);
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT COUNT(*) FROM configo")).toInt(), 0);
        QCOMPARE(w.rowCount(), 1);
    }

    void addWindowFlow() {
        test::TempHome home;
        test::UiFixture ui;
        runValues().operatorNumber = QStringLiteral("813");
        OperatorsWindow w(home.db());
        w.show();
        w.action(QStringLiteral("新增"))->trigger();
        QPointer<OperatorAddWindow> add = w.addWindow();
        QVERIFY(add);
        QCOMPARE(add->windowTitle(), QStringLiteral("新增操作员"));
        QVERIFY(!w.isEnabled());
        QTest::keyClicks(add->numberBox(), QStringLiteral("1a02")); // the letter is dropped
        QCOMPARE(add->numberBox()->text(), QStringLiteral("102"));
        add->nameBox()->setText(QStringLiteral("孙八"));
        QTest::keyClicks(add->passwordBox(), QStringLiteral("1234567"));
        QCOMPARE(add->passwordBox()->text(), QStringLiteral("123456"));
        QTest::keyClicks(add->confirmBox(), QStringLiteral("654321"));
        QTest::mouseClick(add->saveButton(), Qt::LeftButton);
        QCOMPARE(ui.prompter.texts(), QStringList{QStringLiteral("密码输入不合法!")});
        QVERIFY(add->passwordBox()->text().isEmpty());
        QCOMPARE(operators(home.db(), QStringLiteral("102")), 0);
        QTest::keyClicks(add->passwordBox(), QStringLiteral("654321"));
        // Enter walks the chain: 确认密码 → 权限 → 保存
        add->confirmBox()->setFocus();
        QTest::keyClick(add->confirmBox(), Qt::Key_Return);
        QVERIFY(add->rightsBox()->hasFocus() || QApplication::focusWidget() == add->rightsBox() ||
                !add->isActiveWindow());
        QTest::mouseClick(add->saveButton(), Qt::LeftButton);
        QTRY_VERIFY(!add);
        QVERIFY(w.isEnabled());
        QVERIFY(checkLogin(home.db(), QStringLiteral("102"), QStringLiteral("654321")));
        QCOMPARE(w.rowCount(), 2);
        QCOMPARE(w.selectedNumber(), QStringLiteral("102"));
    }

    void addWindowCancelStoresNothing() {
        test::TempHome home;
        test::UiFixture ui;
        runValues().operatorNumber = QStringLiteral("813");
        OperatorsWindow w(home.db());
        w.show();
        w.addOperator();
        QPointer<OperatorAddWindow> add = w.addWindow();
        add->numberBox()->setText(QStringLiteral("103"));
        add->passwordBox()->setText(QStringLiteral("1"));
        add->confirmBox()->setText(QStringLiteral("1"));
        QTest::mouseClick(add->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY(!add);
        QVERIFY(w.isEnabled());
        QCOMPARE(operators(home.db(), QStringLiteral("103")), 0);
    }

    void changePasswordFlow() {
        test::TempHome home;
        test::UiFixture ui;
        runValues().operatorNumber = QStringLiteral("813");
        OperatorsWindow w(home.db());
        w.show();
        w.selectNumber(QStringLiteral("813"));
        w.action(QStringLiteral("修改密码"))->trigger();
        QPointer<OperatorPasswordWindow> edit = w.passwordWindow();
        QVERIFY(edit);
        QCOMPARE(edit->windowTitle(), QStringLiteral("修改密码"));
        QVERIFY(!w.isEnabled());
        QCOMPARE(edit->passwordBox()->text(), encodePassword(QStringLiteral("813")));
        QVERIFY(edit->confirmBox()->text().isEmpty());
        edit->passwordBox()->clear();
        QTest::keyClicks(edit->passwordBox(), QStringLiteral("2024"));
        QTest::keyClicks(edit->confirmBox(), QStringLiteral("2024"));
        QTest::mouseClick(edit->saveButton(), Qt::LeftButton);
        QTRY_VERIFY(!edit);
        QVERIFY(ui.prompter.texts().isEmpty());
        QVERIFY(w.isEnabled());
        QVERIFY(checkLogin(home.db(), QStringLiteral("813"), QStringLiteral("2024")));
        QVERIFY(!checkLogin(home.db(), QStringLiteral("813"), QStringLiteral("813")));
    }
};

QTEST_MAIN(TestOperators)
#include "tst_operators.moc"
