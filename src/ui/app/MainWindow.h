#pragma once
// The application frame: start-up sequence, menus, tool bar, picture navigation, the run's
// operator, and the close-time backup.

#include "core/session/ProgramFolder.h"

#include "core/data/DataFile.h"

#include <QDate>
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <functional>
#include <future>
#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QStackedWidget;
class QToolButton;

namespace gz {
class Database;
}

namespace gz::ui {

class BackgroundArea;
class HoverPicture;
class TextLine;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static QString baseTitle() { return QStringLiteral("朔禾工资管理系统(V2009)"); }

    MainWindow(const ProgramFolder& folder, const QDate& today, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the start-up sequence (called once when the window is first shown).
    void startUp();
    // The program may start opening the data file while the window is being built (the key
    // derivation of the encrypted file takes a noticeable moment); step 2 then takes the result.
    void setDataFileOpening(std::future<OpenResult> opening) { opening_ = std::move(opening); }
    bool started() const { return started_; }
    // True once the application was ended (failed login, a data file that cannot be opened).
    bool ended() const { return ended_; }
    int exitCode() const { return exitCode_; }

    Database* database() const { return db_.get(); }
    const ProgramFolder& folder() const { return folder_; }
    QDate today() const { return today_; }

    // Commands: every menu item, tool button and navigation picture runs one by its id. A
    // command without a handler (its window is not part of the program yet) is shown disabled.
    void setCommandHandler(const QString& id, std::function<void()> handler);
    bool commandEnabled(const QString& id) const;
    void runCommand(const QString& id);
    QStringList commandIds() const;
    QList<QAction*> commandActions(const QString& id) const;

    // The child-window discipline for function windows: disables this window until `w` closes.
    void openFunctionWindow(QWidget* w);
    bool hasOpenFunctionWindows() const;

    // 退出系统 / 退出: asks about open windows, then closes.
    void requestExit();
    void switchOperator();
    void openOperators();
    void showQuickStart();
    void chooseBackground();
    void setNavigationVisible(bool on);
    bool navigationVisible() const;
    void selectGroup(int group);
    int currentGroup() const;
    // What the first activation does (also reached from the window's activation).
    void handleActivation();

    BackgroundArea* background() const { return background_; }
    QCheckBox* navigationBox() const { return navCheck_; }
    QList<HoverPicture*> groupSelectors() const { return selectors_; }
    QList<TextLine*> textLines(int group) const;
    QList<HoverPicture*> groupPictures(int group) const;
    QString statusText(int panel) const;

signals:
    void applicationEnded(int code);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    struct Command {
        QString caption;
        bool adminOnly = false;
        bool hidden = false;
        std::function<void()> handler;
        QList<QAction*> actions;
        QList<QWidget*> widgets;
    };
    void buildCommands();
    void buildMenus();
    void buildToolBar();
    void buildNavigation();
    void refreshCommand(const QString& id);
    Command& command(const QString& id);
    bool login();
    void endApplication(int code);
    void closeConnection();
    void updateTitle();

    ProgramFolder folder_;
    QDate today_;
    std::unique_ptr<Database> db_;
    std::future<OpenResult> opening_;
    bool started_ = false;
    bool ended_ = false;
    bool closing_ = false;
    int exitCode_ = 0;
    QMap<QString, Command> commands_;
    QStringList order_;
    QList<QPointer<QWidget>> functionWindows_;
    QPointer<QWidget> operatorsWindow_;

    QWidget* leftColumn_ = nullptr;
    QWidget* navArea_ = nullptr;
    QStackedWidget* groups_ = nullptr;
    BackgroundArea* background_ = nullptr;
    QCheckBox* navCheck_ = nullptr;
    QList<HoverPicture*> selectors_;
    QList<QList<HoverPicture*>> pictures_;
    QList<QList<TextLine*>> lines_;
    QLabel* status_[3] = {};
};

} // namespace gz::ui
