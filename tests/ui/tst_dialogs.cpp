// The shared dialogs: date picker, input prompts, error reporting and the error dialog, and the
// grid model over a dataset.

#include "UiFixture.h"
#include "common/TempHome.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "ui/common/DatasetModel.h"
#include "ui/dialogs/DatePicker.h"
#include "ui/dialogs/ErrorDialog.h"
#include "ui/dialogs/InputPrompt.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <stdexcept>

using namespace gz;
using namespace gz::ui;

namespace {
// An object whose event handler fails, as a window's handler may.
class Faulty : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw conversionError(QStringLiteral("'12a' is not a valid number"));
        return QObject::event(e);
    }
};
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void pickerSteps_data() {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<int>("button"); // 0 上一年, 1 下一年, 2 上一月, 3 下一月
        QTest::addColumn<QDate>("expected");
        QTest::newRow("29 Feb 2008 next year") << QDate(2008, 2, 29) << 1 << QDate(2009, 2, 28);
        QTest::newRow("29 Feb 2012 previous year") << QDate(2012, 2, 29) << 0 << QDate(2011, 2, 28);
        QTest::newRow("31 Jan next month") << QDate(2009, 1, 31) << 3 << QDate(2009, 2, 28);
        QTest::newRow("31 Jan leap year next month") << QDate(2008, 1, 31) << 3 << QDate(2008, 2, 29);
        QTest::newRow("31 Mar previous month") << QDate(2009, 3, 31) << 2 << QDate(2009, 2, 28);
        QTest::newRow("15 Dec next month") << QDate(2009, 12, 15) << 3 << QDate(2010, 1, 15);
        QTest::newRow("15 Jan previous month") << QDate(2010, 1, 15) << 2 << QDate(2009, 12, 15);
    }
    void pickerSteps() {
        QFETCH(QDate, start);
        QFETCH(int, button);
        QFETCH(QDate, expected);
        DatePicker p;
        p.setDate(start);
        QTest::mouseClick(p.stepButton(button), Qt::LeftButton);
        QCOMPARE(p.date(), expected);
        QCOMPARE(p.calendar()->selectedDate(), expected);
        QCOMPARE(p.titleText(),
                 QStringLiteral("%1,%2,%3").arg(expected.year()).arg(expected.month()).arg(expected.day()));
    }

    void pickerLayout() {
        DatePicker p;
        p.setDate(QDate(2009, 3, 5));
        QCOMPARE(p.windowTitle(), QStringLiteral("选择日期"));
        QCOMPARE(p.titleText(), QStringLiteral("2009,3,5"));
        QCOMPARE(p.calendar()->firstDayOfWeek(), Qt::Sunday);
        QCOMPARE(p.okButton()->text(), QStringLiteral("确定&O"));
        QCOMPARE(p.cancelButton()->text(), QStringLiteral("取消&C"));
        QVERIFY(p.okButton()->isDefault());
        const QStringList hints{p.stepButton(0)->toolTip(), p.stepButton(1)->toolTip(),
                                p.stepButton(2)->toolTip(), p.stepButton(3)->toolTip()};
        QCOMPARE(hints, (QStringList{QStringLiteral("上一年"), QStringLiteral("下一年"),
                                     QStringLiteral("上一月"), QStringLiteral("下一月")}));
    }

    void pickerActivationAccepts() {
        test::UiFixture ui([](QDialog* d) {
            auto* p = qobject_cast<DatePicker*>(d);
            p->show();
            auto* view = p->calendar()->findChild<QAbstractItemView*>();
            // choose the 20th with the keyboard, then Enter (what a double-click does)
            p->calendar()->setSelectedDate(QDate(2009, 3, 20));
            QTest::keyClick(view, Qt::Key_Return);
            return p->result();
        });
        const auto picked = runDatePicker(nullptr, QDate(2009, 3, 5));
        QVERIFY(picked.has_value());
        QCOMPARE(*picked, QDate(2009, 3, 20));
    }

    void pickerCancel() {
        test::UiFixture ui([](QDialog* d) {
            auto* p = qobject_cast<DatePicker*>(d);
            p->nextMonth();
            QTest::mouseClick(p->cancelButton(), Qt::LeftButton);
            return p->result();
        });
        QVERIFY(!runDatePicker(nullptr, QDate(2009, 3, 5)).has_value());
    }

    void maskedPrompt_data() {
        QTest::addColumn<bool>("pressOk");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ok") << true << QStringLiteral("4617");
        QTest::newRow("cancel gives empty") << false << QString();
    }
    void maskedPrompt() {
        QFETCH(bool, pressOk);
        QFETCH(QString, expected);
        test::UiFixture ui([pressOk](QDialog* d) {
            auto* p = qobject_cast<InputPrompt*>(d);
            if (!p) return int(QDialog::Rejected);
            if (p->edit()->echoMode() != QLineEdit::Password) return int(QDialog::Rejected);
            QTest::keyClicks(p->edit(), QStringLiteral("4617"));
            QTest::mouseClick(pressOk ? p->okButton() : p->cancelButton(), Qt::LeftButton);
            return p->result();
        });
        QtPrompterProbe probe;
        QCOMPARE(probe.masked(), expected);
    }

    void plainPromptKeepsDefaultOnCancel() {
        test::UiFixture ui([](QDialog* d) {
            auto* p = qobject_cast<InputPrompt*>(d);
            QTest::keyClicks(p->edit(), QStringLiteral("xyz"));
            QTest::keyClick(p->edit(), Qt::Key_Escape);
            return p->result();
        });
        const PromptResult r =
            askInput(nullptr, QStringLiteral("标题"), QStringLiteral("输入:"), QStringLiteral("abc"), false);
        QVERIFY(!r.ok);
        QCOMPARE(r.text, QStringLiteral("abc"));
    }

    void errorCategories_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("category");
        QTest::newRow("integer division by zero") << 0 << QStringLiteral("整数除0溢出");
        QTest::newRow("conversion") << 1 << QStringLiteral("输入的数据类型错误");
        QTest::newRow("database") << 2 << QStringLiteral("数据库错误");
        QTest::newRow("file") << 3 << QStringLiteral("文件不能打开");
        QTest::newRow("range") << 4 << QStringLiteral("整数越界");
        QTest::newRow("anything else") << 5 << QStringLiteral("系统错误!");
    }
    void errorCategories() {
        QFETCH(int, which);
        QFETCH(QString, category);
        test::TempHome home;
        test::UiFixture ui;
        setErrorLogDatabase(&home.db());
        auto fail = [&] {
            switch (which) {
            case 0:
                checkedDiv(7, 0);
                break;
            case 1:
                throw conversionError(QStringLiteral("bad"));
            case 2:
                home.db().exec(QStringLiteral("SELECT * FROM no_such_table"));
                break;
            case 3:
                throw fileError(QStringLiteral("x.rmf"));
            case 4:
                throw std::out_of_range("index");
            default:
                throw 42;
            }
        };
        QObject component;
        QVERIFY(!guarded(&component, fail));
        setErrorLogDatabase(nullptr);
        QCOMPARE(ui.errors.size(), 1);
        QCOMPARE(ui.errors[0].category, category);
        QVERIFY(ui.errors[0].logged);
        Query q(home.db(), QStringLiteral("SELECT Kind, Titl, Name FROM apperror"));
        QVERIFY(q.next());
        QCOMPARE(q.text(0), category);
        QCOMPARE(q.text(1), QStringLiteral("无标题")); // no window is active
        QCOMPARE(q.text(2), QStringLiteral("QObject"));
        QVERIFY(!q.next());
    }

    void errorCaptionIsActiveWindow() {
        test::TempHome home;
        test::UiFixture ui;
        setErrorLogDatabase(&home.db());
        QWidget w;
        w.setWindowTitle(QStringLiteral("计件单"));
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        guarded(&w, [] { throw databaseError(QStringLiteral("locked")); });
        setErrorLogDatabase(nullptr);
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT Titl FROM apperror")).toString(),
                 QStringLiteral("计件单"));
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT Name FROM apperror")).toString(),
                 QStringLiteral("QWidget"));
    }

    void applicationCatchesEventErrors() {
        test::TempHome home;
        test::UiFixture ui;
        setErrorLogDatabase(&home.db());
        Faulty f;
        QEvent e(QEvent::User);
        QCoreApplication::sendEvent(&f, &e); // must not terminate the program
        setErrorLogDatabase(nullptr);
        QCOMPARE(ui.errors.size(), 1);
        QCOMPARE(ui.errors[0].category, QStringLiteral("输入的数据类型错误"));
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT COUNT(*) FROM apperror")).toInt(), 1);
    }

    void errorWithoutDatabaseIsStillShown() {
        test::UiFixture ui;
        setErrorLogDatabase(nullptr);
        guarded(nullptr, [] { checkedDiv(1, 0); });
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY(!ui.errors[0].logged);
        QCOMPARE(ui.errors[0].category, QStringLiteral("整数除0溢出"));
    }

    void errorDialogShowsRowAndClears_data() {
        QTest::addColumn<bool>("withLogFile");
        QTest::newRow("log file present") << true;
        QTest::newRow("no log file") << false;
    }
    void errorDialogShowsRowAndClears() {
        QFETCH(bool, withLogFile);
        test::TempHome home;
        setErrorLogDatabase(&home.db());
        setErrorLogFolder(&home.folder());
        ReportedError first, second;
        {
            test::UiFixture ui;
            guarded(nullptr, [] { throw fileError(QStringLiteral("first")); });
            guarded(nullptr, [] { checkedDiv(1, 0); });
            first = ui.errors[0];
            second = ui.errors[1];
        }
        if (withLogFile) {
            QFile f(home.folder().errorLogFile());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old log");
        }
        ErrorDialog d;
        d.load(second);
        QCOMPARE(d.windowTitle(), QStringLiteral("异常信息"));
        QCOMPARE(d.headline(), QStringLiteral("整数除0溢出"));
        QCOMPARE(d.fieldText(0), QStringLiteral("无标题"));
        QCOMPARE(d.fieldText(3), second.message);
        QCOMPARE(d.logRows(), 2);
        QCOMPARE(d.clearButton()->text(), QStringLiteral("清空错误记录"));
        QTest::mouseClick(d.clearButton(), Qt::LeftButton);
        QCOMPARE(d.logRows(), 0);
        QVERIFY(!QFile::exists(home.folder().errorLogFile()));
        QCOMPARE(home.db().scalar(QStringLiteral("SELECT COUNT(*) FROM apperror")).toInt(), 0);
        setErrorLogDatabase(nullptr);
        setErrorLogFolder(nullptr);
        if (!qEnvironmentVariableIsEmpty("GZ_SCREENSHOT_DIR")) {
            ErrorDialog shot;
            test::TempHome h2;
            setErrorLogDatabase(&h2.db());
            test::UiFixture ui;
            guarded(nullptr, [] { checkedDiv(1, 0); });
            shot.load(ui.errors[0]);
            shot.show();
            shot.grab().save(qEnvironmentVariable("GZ_SCREENSHOT_DIR") +
                             QStringLiteral("/08-error-dialog.png"));
            setErrorLogDatabase(nullptr);
        }
    }

    void datasetModel() {
        test::TempHome home;
        home.db().exec(
            QStringLiteral("INSERT INTO units (intno, id, name) VALUES ('0000000001', 'u1', '件')"));
        home.db().exec(
            QStringLiteral("INSERT INTO jjgzdetail (intno, xm, sl, dj) VALUES ('1', '张三', 3, 2.5)"));
        Dataset ds;
        ds.openTable(home.db(), QStringLiteral("jjgzdetail"));
        DatasetModel m;
        m.setDataset(&ds);
        m.setColumns({{QStringLiteral("xm"), {}, 80, {}},
                      {QStringLiteral("dj"), {}, 60, QStringLiteral("0.00")},
                      {QStringLiteral("sl"), QStringLiteral("数量"), 60, QStringLiteral("0.000")},
                      {QStringLiteral("nosuch"), QStringLiteral("无"), 60, {}}});
        m.setColour([](int, int col, bool bg) -> std::optional<QColor> {
            if (bg && col == 1) return QColor(Qt::yellow);
            return std::nullopt;
        });
        QCOMPARE(m.rowCount(), 1);
        QCOMPARE(m.columnCount(), 4);
        QCOMPARE(m.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("姓名"));
        QCOMPARE(m.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("加工价"));
        QCOMPARE(m.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("数量"));
        QCOMPARE(m.data(m.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("张三"));
        QCOMPARE(m.data(m.index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("2.50"));
        QCOMPARE(m.data(m.index(0, 2), Qt::DisplayRole).toString(), QStringLiteral("3.000"));
        QVERIFY(!m.data(m.index(0, 3), Qt::DisplayRole).isValid());
        QCOMPARE(m.data(m.index(0, 1), Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));
        QVERIFY(!m.data(m.index(0, 0), Qt::BackgroundRole).isValid());
        QVERIFY(m.data(m.index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
        home.db().exec(QStringLiteral("INSERT INTO jjgzdetail (intno, xm) VALUES ('2', '李四')"));
        ds.refresh();
        m.reload();
        QCOMPARE(m.rowCount(), 2);
        m.setDataset(nullptr);
        QCOMPARE(m.rowCount(), 0);
    }

private:
    // Reaches the Qt prompter's masked input (the installed scripted one is removed for it).
    struct QtPrompterProbe {
        QString masked() {
            setPrompter(nullptr);
            return prompter().maskedInput(nullptr, QStringLiteral("提示信息"), QStringLiteral("密码:"));
        }
    };
};

int main(int argc, char** argv) {
    gz::ui::Application app(argc, argv);
    TestDialogs t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_dialogs.moc"
