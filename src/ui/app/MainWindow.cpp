#include "ui/app/MainWindow.h"

#include "core/data/DataFile.h"
#include "core/data/Database.h"
#include "core/data/Formats.h"
#include "core/data/Upgrade.h"
#include "core/maintenance/Backup.h"
#include "core/maintenance/Compact.h"
#include "core/session/RunValues.h"
#include "core/session/Session.h"
#include "ui/app/LoginWindow.h"
#include "ui/app/Navigation.h"
#include "ui/app/OperatorsWindow.h"
#include "ui/app/SmallWindows.h"
#include "ui/common/ErrorReporting.h"
#include "ui/common/Prompter.h"
#include "ui/common/Windows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace gz::ui {

namespace {

// A panel filled with one colour, with a frame line all round or along its top only.
class Panel : public QWidget {
public:
    Panel(QColor fill, QColor line, bool topLineOnly, QWidget* parent)
        : QWidget(parent), fill_(fill), line_(line), topOnly_(topLineOnly) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), fill_);
        if (!line_.isValid()) return;
        p.setPen(line_);
        if (topOnly_)
            p.drawLine(0, 0, width() - 1, 0);
        else
            p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    QColor fill_, line_;
    bool topOnly_;
};

const char* const kIcon = ":/icons/%1.svg";
QString iconPath(const char* name) {
    return QString::fromLatin1(kIcon).arg(QLatin1String(name));
}

struct CommandDef {
    const char* id;
    const char* caption;
    bool adminOnly;
    bool hidden;
};

// Every command of the menus, in menu order.
const CommandDef kCommands[] = {
    {"operators", "操作员管理", false, false},
    {"switchOperator", "更换操作员", false, false},
    {"initialise", "系统初始化", true, false},
    {"options", "系统选项设置", false, false},
    {"exit", "退出系统", false, false},
    {"departments", "部门车间", false, false},
    {"employees", "员工资料", false, false},
    {"products", "工种资料", false, false},
    {"processes", "工序资料", false, false},
    {"units", "计量单位", false, true},
    {"packaging", "配置包装形式", false, true},
    {"openingBalances", "客户期初帐", false, true},
    {"pieceList", "计件工资录入", false, false},
    {"pointsList", "计分工资录入", false, false},
    {"timeList", "计时工资录入", false, false},
    {"payroll", "工资报表输出", false, false},
    {"pieceSummary", "计件工资汇总", false, false},
    {"pointsSummary", "计分工资汇总", false, false},
    {"timeSummary", "计时工资汇总", false, false},
    {"compact", "数据索引整理", false, false},
    {"backupRestore", "数据备份恢复", true, false},
    {"yearEnd", "年终数据处理", true, false},
    {"annualBackup", "年度数据备份", true, false},
    {"about", "版权声明", false, false},
    {"help", "使用说明", false, false},
    {"productInfo", "产品推介", false, false},
    {"copyData", "复制数据", true, true},
    {"calculator", "计算器", false, false},
    {"copyPictures", "复制图片", false, true},
    {"calendar", "日历", false, true},
    {"maintenance", "数据处理", true, false},
    {"showNavigation", "显示导航窗口", false, true},
    {"quickStart", "如何开始", false, false},
};

} // namespace

MainWindow::MainWindow(const ProgramFolder& folder, const QDate& today, QWidget* parent)
    : QMainWindow(parent), folder_(folder), today_(today) {
    setWindowTitle(baseTitle());
    setWindowIcon(svgIcon(iconPath("app"), 64));
    runValues() = RunValues(); // empty operator number, picker mode 0
    buildCommands();
    buildMenus();
    buildToolBar();
    buildNavigation();
    for (int i = 0; i < 3; ++i) {
        status_[i] = new QLabel(this);
        status_[i]->setContentsMargins(6, 0, 6, 0);
        statusBar()->addWidget(status_[i], i == 1 ? 1 : 0);
    }
    status_[0]->setText(QStringLiteral("欢迎使用朔禾工资管理系统"));
    status_[1]->setText(QStringLiteral("朔禾软件 — 计件、计分、计时工资管理"));
    resize(1100, 720);
}

MainWindow::~MainWindow() {
    setErrorLogDatabase(nullptr);
}

// ---- commands -------------------------------------------------------------------------------

void MainWindow::buildCommands() {
    for (const CommandDef& d : kCommands) {
        Command c;
        c.caption = QString::fromUtf8(d.caption);
        c.adminOnly = d.adminOnly;
        c.hidden = d.hidden;
        const QString id = QString::fromLatin1(d.id);
        commands_.insert(id, c);
        order_ << id;
    }
    auto set = [this](const char* id, std::function<void()> fn) {
        command(QString::fromLatin1(id)).handler = std::move(fn);
    };
    set("operators", [this] { openOperators(); });
    set("switchOperator", [this] { switchOperator(); });
    set("exit", [this] { requestExit(); });
    set("processes", [] {}); // the menu item has no function of its own
    set("about", [this] {
        AboutBox box(this);
        execModal(&box);
    });
    set("help", [this] { openChildWindow(this, new HelpWindow, false); });
    set("calculator", [this] {
        if (!startDesktopCalculator()) openChildWindow(this, new CalculatorWindow, false);
    });
    set("quickStart", [this] { showQuickStart(); });
}

MainWindow::Command& MainWindow::command(const QString& id) {
    auto it = commands_.find(id);
    Q_ASSERT(it != commands_.end());
    return *it;
}

QStringList MainWindow::commandIds() const {
    return order_;
}

QList<QAction*> MainWindow::commandActions(const QString& id) const {
    return commands_.value(id).actions;
}

void MainWindow::setCommandHandler(const QString& id, std::function<void()> handler) {
    command(id).handler = std::move(handler);
    refreshCommand(id);
}

bool MainWindow::commandEnabled(const QString& id) const {
    return static_cast<bool>(commands_.value(id).handler);
}

void MainWindow::refreshCommand(const QString& id) {
    const Command& c = command(id);
    const bool on = static_cast<bool>(c.handler);
    for (QAction* a : c.actions)
        a->setEnabled(on);
    for (QWidget* w : c.widgets)
        w->setEnabled(on);
}

void MainWindow::runCommand(const QString& id) {
    Command& c = command(id);
    if (!c.handler) return;
    if (c.adminOnly && !isAdministrator(runValues().operatorNumber)) {
        prompter().message(this, msg::noRight());
        return;
    }
    auto handler = c.handler; // the handler may replace itself
    guarded(this, handler);
}

void MainWindow::buildMenus() {
    struct Menu {
        const char* title;
        QStringList ids;
    };
    const Menu menus[] = {
        {"&S系统管理", {"operators", "switchOperator", "-", "initialise", "options", "-", "exit"}},
        {"&L 基本资料",
         {"departments", "employees", "products", "processes", "units", "packaging", "openingBalances"}},
        {"&C 查录单据",
         {"pieceList", "pointsList", "timeList", "-", "payroll", "-", "pieceSummary", "pointsSummary",
          "timeSummary"}},
        {"&D数据维护", {"compact", "backupRestore", "-", "yearEnd", "annualBackup"}},
        {"&A辅助功能",
         {"about", "help", "productInfo", "copyData", "-", "calculator", "copyPictures", "calendar", "-",
          "maintenance", "showNavigation"}},
    };
    for (const Menu& m : menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(m.title));
        for (const QString& id : m.ids) {
            if (id == QStringLiteral("-")) {
                menu->addSeparator();
                continue;
            }
            Command& c = command(id);
            QAction* a = menu->addAction(c.caption);
            a->setVisible(!c.hidden);
            connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
            c.actions << a;
        }
    }
    for (const QString& id : order_)
        refreshCommand(id);
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("工具栏"));
    bar->setMovable(false);
    bar->setIconSize(QSize(26, 26));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        const char* name;
        const char* caption;
        const char* command;
        const char* icon;
        bool hidden;
    };
    const Button buttons[] = {
        {"ToolButton1", "员工资料", "employees", "employees", true},
        {"ToolButton5", "部门车间", "departments", "departments", false},
        {"ToolButton13", "货品资料", "products", "products", false},
        {"ToolButton8", "计件单", "pieceList", "piece", false},
        {"ToolButton4", "计分单", "pointsList", "points", false},
        {"ToolButton9", "计时单", "timeList", "time", false},
        {"ToolButton6", "工资报表", "payroll", "payroll", false},
        {"ToolButton3", "计算器", "calculator", "calculator", false},
        {"ToolButton10", "如何开始", "quickStart", "start", false},
        {"ToolButton15", "退出", "exit", "exit", false},
        {"ToolButton7", "复制数据", "copyData", "options", true},
        {"ToolButton2", "工种", "products", "products", true},
    };
    for (const Button& b : buttons) {
        const QString id = QString::fromLatin1(b.command);
        auto* a = new QAction(svgIcon(iconPath(b.icon)), QString::fromUtf8(b.caption), this);
        a->setObjectName(QString::fromLatin1(b.name));
        connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
        bar->addAction(a);
        a->setVisible(!b.hidden);
        if (QWidget* w = bar->widgetForAction(a)) {
            w->setObjectName(QString::fromLatin1(b.name));
            w->setMinimumSize(59, 36);
        }
        command(id).actions << a;
        a->setEnabled(commandEnabled(id));
    }
    navCheck_ = new QCheckBox(QStringLiteral("导航窗口"), bar);
    navCheck_->setObjectName(QStringLiteral("CheckBox1"));
    navCheck_->setChecked(true);
    bar->addWidget(navCheck_);
    connect(navCheck_, &QCheckBox::toggled, this, &MainWindow::setNavigationVisible);
}

void MainWindow::buildNavigation() {
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);

    // Colours come from palettes and small painted panels rather than style sheets, which would
    // make the window several times slower to build.
    leftColumn_ = new Panel(QColor(0xdf, 0xe8, 0xf3), QColor(), false, splitter);
    leftColumn_->setObjectName(QStringLiteral("groupSelector"));
    auto* left = new QVBoxLayout(leftColumn_);
    left->setContentsMargins(6, 16, 0, 6);
    left->setSpacing(18);
    const char* groupNames[] = {"基本资料", "工资统计报表", "系统管理"};
    const char* groupIcons[] = {"group_basic", "group_reports", "group_system"};
    for (int g = 0; g < 3; ++g) {
        auto* sel =
            new HoverPicture(iconPath(groupIcons[g]), QString::fromUtf8(groupNames[g]), 48, leftColumn_);
        connect(sel, &HoverPicture::clicked, this, [this, g] { selectGroup(g); });
        left->addWidget(sel, 0, Qt::AlignHCenter);
        selectors_ << sel;
    }
    left->addStretch();
    leftColumn_->setMinimumWidth(96);

    background_ = new BackgroundArea(splitter);
    background_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* menu = new QMenu(background_);
    QAction* setPicture = menu->addAction(QStringLiteral("设置背景图片"));
    connect(setPicture, &QAction::triggered, this, [this] { guarded(this, [this] { chooseBackground(); }); });
    connect(background_, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint& p) { menu->popup(background_->mapToGlobal(p)); });

    navArea_ = new Panel(QColor(255, 255, 255, 215), QColor(0x9f, 0xb6, 0xd2), false, background_);
    navArea_->setObjectName(QStringLiteral("navArea"));
    navArea_->setMaximumWidth(720);
    auto* navLay = new QVBoxLayout(navArea_);
    navLay->setContentsMargins(0, 0, 0, 0);
    navLay->setSpacing(0);
    auto* title =
        new QLabel(QStringLiteral("朔禾工资管理→适用各类加工企业、中小型玩具工艺厂等......"), navArea_);
    {
        QPalette pal = title->palette();
        pal.setColor(QPalette::Window, QColor(0x2f, 0x63, 0xa8));
        pal.setColor(QPalette::WindowText, Qt::white);
        title->setPalette(pal);
        title->setAutoFillBackground(true);
        title->setContentsMargins(10, 6, 10, 6);
        QFont f = title->font();
        f.setBold(true);
        title->setFont(f);
    }
    navLay->addWidget(title);
    groups_ = new QStackedWidget(navArea_);
    navLay->addWidget(groups_, 1);

    struct Pic {
        const char* icon;
        const char* caption;
        const char* command;
    };
    const QList<QList<Pic>> pics = {
        {{"products", "加工货品", "products"},
         {"employees", "员工资料", "employees"},
         {"departments", "部门资料", "departments"}},
        {{"piece", "计件单", "pieceList"},
         {"points", "计分单", "pointsList"},
         {"time", "计时单", "timeList"},
         {"payroll", "工资单", "payroll"}},
        {{"options", "系统设置", "options"},
         {"operators", "操作员权限", "operators"},
         {"help", "帮助使用", "help"}},
    };
    const QList<QStringList> texts = {
        {QStringLiteral("◎加工货品-提供加工货品资料的录入、修改和查询"),
         QStringLiteral("◎员工资料-提供员工档案资料管理"),
         QStringLiteral("◎部门资料-提供部门车间设置的录入、查询")},
        {QStringLiteral("☆计件单-录入员工加工工序的加工额"),
         QStringLiteral("☆工资单-综合统计出员工的工资报表"),
         QStringLiteral("☆计时单-录入各员工月度计时加工额"),
         QStringLiteral("☆计分单-录入各计分车间员工的分数并计算员工加工额")},
        {QStringLiteral("№系统设置-设置系统各种预定数据,以协助各功能的实现和提高效率"),
         QStringLiteral("№操作员权限-提供操作员的新增、删除、修改和权限设置功能"),
         QStringLiteral("№帮助使用-软件的祥细使用说明")},
    };
    for (int g = 0; g < 3; ++g) {
        auto* panel = new QWidget(groups_);
        auto* lay = new QVBoxLayout(panel);
        auto* header = new QHBoxLayout;
        auto* headIcon = new QLabel(panel);
        headIcon->setPixmap(svgIcon(iconPath(groupIcons[g]), 24).pixmap(24, 24));
        auto* headText = new QLabel(QString::fromUtf8(groupNames[g]), panel);
        QFont hf = headText->font();
        hf.setBold(true);
        hf.setPointSizeF(hf.pointSizeF() * 1.2);
        headText->setFont(hf);
        header->addWidget(headIcon);
        header->addWidget(headText);
        header->addStretch();
        lay->addLayout(header);

        auto* picRow = new QHBoxLayout;
        picRow->setSpacing(28);
        QList<HoverPicture*> groupPics;
        for (const Pic& p : pics[g]) {
            const QString id = QString::fromLatin1(p.command);
            auto* pic = new HoverPicture(iconPath(p.icon), QString::fromUtf8(p.caption), 72, panel);
            connect(pic, &HoverPicture::clicked, this, [this, id] { runCommand(id); });
            command(id).widgets << pic;
            pic->setEnabled(commandEnabled(id));
            picRow->addWidget(pic);
            groupPics << pic;
        }
        picRow->addStretch();
        lay->addStretch();
        lay->addLayout(picRow);
        lay->addStretch();

        auto* strip = new Panel(QColor(235, 242, 250, 230), QColor(0xc3, 0xd3, 0xe6), true, panel);
        strip->setObjectName(QStringLiteral("textStrip"));
        auto* grid = new QGridLayout(strip);
        QList<TextLine*> groupLines;
        for (int i = 0; i < texts[g].size(); ++i) {
            auto* line = new TextLine(texts[g][i], strip);
            grid->addWidget(line, i / 2, i % 2);
            groupLines << line;
        }
        lay->addWidget(strip);
        groups_->addWidget(panel);
        pictures_ << groupPics;
        lines_ << groupLines;
    }
    auto* bgLay = new QHBoxLayout(background_);
    bgLay->setContentsMargins(12, 12, 12, 12);
    bgLay->addWidget(navArea_, 3);
    bgLay->addStretch(1);

    splitter->addWidget(leftColumn_);
    splitter->addWidget(background_);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);
    selectGroup(0);
}

// ---- navigation -----------------------------------------------------------------------------

void MainWindow::selectGroup(int group) {
    if (group < 0 || group > 2) return;
    groups_->setCurrentIndex(group);
    for (int i = 0; i < selectors_.size(); ++i)
        selectors_[i]->setMarked(i == group);
}

int MainWindow::currentGroup() const {
    return groups_->currentIndex();
}

void MainWindow::setNavigationVisible(bool on) {
    leftColumn_->setVisible(on);
    navArea_->setVisible(on);
    if (navCheck_->isChecked() != on) navCheck_->setChecked(on);
}

bool MainWindow::navigationVisible() const {
    return !navArea_->isHidden();
}

QList<TextLine*> MainWindow::textLines(int group) const {
    return lines_.value(group);
}
QList<HoverPicture*> MainWindow::groupPictures(int group) const {
    return pictures_.value(group);
}
QString MainWindow::statusText(int panel) const {
    return panel >= 0 && panel < 3 ? status_[panel]->text() : QString();
}

void MainWindow::chooseBackground() {
    const QString file = prompter().openFile(this, QStringLiteral("设置背景图片"), folder_.root(),
                                             QStringLiteral("图片 (*.jpg *.jpeg *.png *.bmp *.gif *.svg)"));
    if (file.isEmpty()) return;
    if (!background_->loadPicture(file)) {
        prompter().message(this, QStringLiteral("不能打开图片文件:%1").arg(file), Prompter::Icon::Warning);
        return;
    }
    if (db_) setBackgroundPicture(*db_, file);
}

// ---- start-up -------------------------------------------------------------------------------

void MainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!started_) {
        started_ = true;
        QTimer::singleShot(0, this, &MainWindow::startUp);
    }
}

void MainWindow::startUp() {
    started_ = true;
    if (db_ || ended_) return;
    // 1. today's date in the third status panel
    status_[2]->setText(QStringLiteral("当前日期:") + appDateFormat().format(today_));
    runValues().databasePath = folder_.dataFile();
    setErrorLogFolder(&folder_);
    // 2. connect (a missing file is created fresh)
    try {
        db_ = opening_.valid() ? opening_.get().db : openDataFile(folder_, today_).db;
    } catch (const Error& e) {
        prompter().message(this,
                           QStringLiteral("数据文件不能打开:\n%1\n\n%2\n\n程序将退出,数据文件未作任何改动。")
                               .arg(QDir::toNativeSeparators(folder_.dataFile()), e.message()),
                           Prompter::Icon::Error, QStringLiteral("朔禾软件"));
        endApplication(1);
        return;
    }
    setErrorLogDatabase(db_.get());
    try {
        // 3. upgrade 1
        upgradeConfig(*db_);
        // 4. splash
        if (readStartupOptions(*db_).splash) {
            SplashWindow splash([this] { setSplashShown(*db_, false); }, this);
            centreOver(&splash, this);
            execModal(&splash);
        }
        // 5. the company row stays with the connection; 6. the default date formats
        appDateFormat() = DateFormat(QStringLiteral("yyyy-mm-dd"), QStringLiteral("-"));
        // 7. the year-end reminder
        if (isYearEndReminderDay(today_)) prompter().message(this, yearEndReminderText());
        // 8. login
        if (!login()) return;
        // 9, 10. upgrades 2 and 3
        upgradeEmployee(*db_);
        upgradePayroll(*db_);
        // 11. options
        const StartupOptions options = readStartupOptions(*db_);
        applyStartupOptions(options, runValues());
        status_[2]->setText(QStringLiteral("当前日期:") + appDateFormat().format(today_));
        if (!options.pictureFile.isEmpty() && QFileInfo::exists(options.pictureFile))
            background_->loadPicture(options.pictureFile);
        // 12. navigation
        selectGroup(0);
        runValues().firstActivation = QStringLiteral("T");
        if (isActiveWindow()) QTimer::singleShot(0, this, &MainWindow::handleActivation);
    } catch (...) {
        reportError(std::current_exception(), this);
    }
}

bool MainWindow::login() {
    LoginWindow w(*db_, this);
    centreOver(&w, nullptr);
    execModal(&w);
    if (w.outcome() != LoginWindow::LoggedIn) {
        endApplication(w.outcome() == LoginWindow::Refused ? 1 : 0);
        return false;
    }
    runValues().operatorNumber = w.number();
    runValues().operatorPassword = w.password();
    updateTitle();
    // The login window closes with a reconnect.
    db_->close();
    db_->reopen();
    return true;
}

void MainWindow::updateTitle() {
    setWindowTitle(baseTitle() + QStringLiteral(" 操作员:") + runValues().operatorNumber);
}

void MainWindow::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() &&
        runValues().firstActivation == QStringLiteral("T"))
        QTimer::singleShot(0, this, &MainWindow::handleActivation);
}

void MainWindow::handleActivation() {
    if (runValues().firstActivation != QStringLiteral("T") || !db_) return;
    runValues().firstActivation = QStringLiteral("F");
    guarded(this, [this] {
        if (!readStartupOptions(*db_).quickStartOff) showQuickStart();
    });
}

void MainWindow::showQuickStart() {
    if (!db_) return;
    QuickStartWindow w(
        readStartupOptions(*db_).quickStartOff,
        [this](bool hidden) { guarded(this, [&] { setQuickStartHidden(*db_, hidden); }); }, this);
    centreOver(&w, this);
    execModal(&w);
}

// ---- windows --------------------------------------------------------------------------------

void MainWindow::openFunctionWindow(QWidget* w) {
    functionWindows_.removeAll(nullptr);
    functionWindows_ << w;
    openChildWindow(this, w, true);
}

bool MainWindow::hasOpenFunctionWindows() const {
    for (const auto& w : functionWindows_)
        if (w) return true;
    return false;
}

void MainWindow::openOperators() {
    if (!db_) return;
    if (operatorsWindow_) {
        operatorsWindow_->raise();
        operatorsWindow_->activateWindow();
        return;
    }
    auto* w = new OperatorsWindow(*db_);
    operatorsWindow_ = w;
    // The main window stays usable beside it; it is re-enabled when the window closes all the same.
    openChildWindow(this, w, false);
}

void MainWindow::switchOperator() {
    if (hasOpenFunctionWindows()) {
        prompter().message(this, QStringLiteral("还有程序未退出,请先退出所有程序后再交换操作员!"));
        return;
    }
    if (!db_) return;
    login();
}

// ---- exit -----------------------------------------------------------------------------------

void MainWindow::requestExit() {
    if (hasOpenFunctionWindows() &&
        !prompter().okCancel(this, QStringLiteral("还有程序未退出,是否退出系统?"), QStringLiteral("提示?")))
        return;
    close();
}

void MainWindow::closeConnection() {
    setErrorLogDatabase(nullptr);
    db_.reset();
}

void MainWindow::endApplication(int code) {
    ended_ = true;
    exitCode_ = code;
    if (operatorsWindow_) operatorsWindow_->close();
    closeConnection();
    emit applicationEnded(code);
    close();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (ended_ || closing_) {
        QMainWindow::closeEvent(e);
        return;
    }
    closing_ = true;
    if (operatorsWindow_) operatorsWindow_->close();
    for (const auto& w : functionWindows_)
        if (w) w->close();
    // 1. close the connection
    const bool hadData = db_ != nullptr;
    closeConnection();
    // 2. the weekday backup
    if (hadData && prompter().yesNo(this, QStringLiteral("若系统正常,则选择[是],否则选择[否]"),
                                    QStringLiteral("退出系统时是否备份数据?"))) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const CloseBackupResult r = closeTimeBackup(folder_, today_);
        QApplication::restoreOverrideCursor();
        if (!r.compacted)
            prompter().message(this, msg::compactFailed(), Prompter::Icon::Error, QStringLiteral("提示"));
        prompter().message(this, r.copied ? msg::backupDone() : msg::closeBackupFailed(),
                           r.copied ? Prompter::Icon::Information : Prompter::Icon::Warning);
    }
    ended_ = true;
    exitCode_ = 0;
    emit applicationEnded(0);
    QMainWindow::closeEvent(e);
}

} // namespace gz::ui
