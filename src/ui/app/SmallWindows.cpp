#include "ui/app/SmallWindows.h"

#include "ui/app/Navigation.h"

#include "core/data/Formats.h"
#include "ui/common/Prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace gz::ui {

SplashWindow::SplashWindow(std::function<void()> onNotAgain, QWidget* parent)
    : QDialog(parent), onNotAgain_(std::move(onNotAgain)) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(330, 252);
    setCursor(Qt::PointingHandCursor);
    QTimer::singleShot(3000, this, [this] {
        if (!asking_) accept();
    });
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QSvgRenderer svg(QStringLiteral(":/icons/splash.svg"));
    svg.render(&p, rect());
    QFont f(QStringList{QStringLiteral("LiSu"), QStringLiteral("隶书"), QStringLiteral("AR PL UKai CN"),
                        QStringLiteral("WenQuanYi Micro Hei")});
    f.setPixelSize(64); // 80-pixel cells of the calligraphic face; our fallback face runs wider
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 153, 77));
    p.drawText(QRect(0, 20, width(), 150), Qt::AlignCenter, QStringLiteral("欢迎使用"));
}

void SplashWindow::mousePressEvent(QMouseEvent*) {
    pictureClicked();
}

void SplashWindow::pictureClicked() {
    asking_ = true;
    const bool again =
        prompter().yesNo(this, QStringLiteral("以后启动时是否要显示此图示?"), QStringLiteral("提示"));
    asking_ = false;
    if (!again && onNotAgain_) onNotAgain_();
    accept();
}

QuickStartWindow::QuickStartWindow(bool hidden, std::function<void(bool)> onHiddenChanged, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("如何开始?如果您第一次使用本系统，请阅读如下《快速入门》。"));
    setFixedSize(620, 460);
    text_ = new QTextBrowser(this);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFile f(QStringLiteral(":/help/quickstart.html"));
    if (f.open(QIODevice::ReadOnly)) text_->setHtml(QString::fromUtf8(f.readAll()));
    check_ = new QCheckBox(QStringLiteral("以后启动本系统时不要显示“如何开始”"), this);
    check_->setChecked(hidden);
    connect(check_, &QCheckBox::toggled, this, [onHiddenChanged](bool on) {
        if (onHiddenChanged) onHiddenChanged(on);
    });
    auto* quit = new QPushButton(QStringLiteral("退出"), this);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(check_);
    bottom->addStretch();
    bottom->addWidget(quit);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(text_);
    lay->addLayout(bottom);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("使用说明"));
    browser_ = new QTextBrowser(this);
    browser_->setSearchPaths({QStringLiteral(":/help")});
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/index.html")));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(browser_);
    resize(720, 560);
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("版权声明"));
    auto* picture = new QLabel(this);
    picture->setPixmap(svgIcon(QStringLiteral(":/icons/app.svg"), 64).pixmap(64, 64));
    auto* text =
        new QLabel(QStringLiteral("<h3>朔禾工资管理系统(V2009)</h3>"
                                  "<p>计件、计分、计时工资管理<br>适用各类加工企业、中小型玩具工艺厂等</p>"
                                  "<p>Qt %1</p>")
                       .arg(QString::fromLatin1(qVersion())),
                   this);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(ok, 0, Qt::AlignRight);
}

CalculatorWindow::CalculatorWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("计算器"));
    display_ = new QLineEdit(QStringLiteral("0"), this);
    display_->setReadOnly(true);
    display_->setAlignment(Qt::AlignRight);
    QFont f = display_->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    display_->setFont(f);
    auto* grid = new QGridLayout;
    const char* keys[5][4] = {{"C", "←", "±", "÷"},
                              {"7", "8", "9", "×"},
                              {"4", "5", "6", "-"},
                              {"1", "2", "3", "+"},
                              {"0", ".", "=", ""}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c) {
            const QString k = QString::fromUtf8(keys[r][c]);
            if (k.isEmpty()) continue;
            auto* b = new QPushButton(k, this);
            b->setFocusPolicy(Qt::NoFocus);
            b->setMinimumSize(48, 36);
            connect(b, &QPushButton::clicked, this, [this, k] { press(k); });
            grid->addWidget(b, r, c, 1, k == QStringLiteral("=") ? 2 : 1);
        }
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(display_);
    lay->addLayout(grid);
}

QString CalculatorWindow::display() const {
    return display_->text();
}

void CalculatorWindow::apply() {
    const double v = display_->text().toDouble();
    if (pending_.isEmpty())
        accumulator_ = v;
    else if (pending_ == QStringLiteral("+"))
        accumulator_ += v;
    else if (pending_ == QStringLiteral("-"))
        accumulator_ -= v;
    else if (pending_ == QStringLiteral("×"))
        accumulator_ *= v;
    else if (pending_ == QStringLiteral("÷"))
        accumulator_ = v == 0 ? std::nan("") : accumulator_ / v;
    display_->setText(std::isfinite(accumulator_) ? QString::number(accumulator_, 'g', 15)
                                                  : QStringLiteral("错误"));
    if (!std::isfinite(accumulator_)) accumulator_ = 0;
}

void CalculatorWindow::press(const QString& k) {
    QString t = display_->text();
    if (k.size() == 1 && (k.at(0).isDigit() || k == QStringLiteral("."))) {
        if (fresh_) t = QStringLiteral("0");
        if (k == QStringLiteral(".") && t.contains(u'.')) return;
        t = (t == QStringLiteral("0") && k != QStringLiteral(".")) ? k : t + k;
        display_->setText(t);
        fresh_ = false;
    } else if (k == QStringLiteral("C")) {
        accumulator_ = 0;
        pending_.clear();
        display_->setText(QStringLiteral("0"));
        fresh_ = true;
    } else if (k == QStringLiteral("←")) {
        t.chop(1);
        display_->setText(t.isEmpty() || t == QStringLiteral("-") ? QStringLiteral("0") : t);
    } else if (k == QStringLiteral("±")) {
        display_->setText(t.startsWith(u'-') ? t.mid(1) : (t == QStringLiteral("0") ? t : u'-' + t));
    } else if (k == QStringLiteral("=")) {
        apply();
        pending_.clear();
        fresh_ = true;
    } else { // an operator
        if (!fresh_ || pending_.isEmpty()) apply();
        pending_ = k;
        fresh_ = true;
    }
}

void CalculatorWindow::keyPressEvent(QKeyEvent* e) {
    const QString t = e->text();
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || t == QStringLiteral("="))
        press(QStringLiteral("="));
    else if (e->key() == Qt::Key_Backspace)
        press(QStringLiteral("←"));
    else if (e->key() == Qt::Key_Escape)
        press(QStringLiteral("C"));
    else if (t == QStringLiteral("*"))
        press(QStringLiteral("×"));
    else if (t == QStringLiteral("/"))
        press(QStringLiteral("÷"));
    else if (t.size() == 1 && QStringLiteral("0123456789.+-").contains(t))
        press(t);
    else
        QWidget::keyPressEvent(e);
}

bool startDesktopCalculator() {
    for (const char* name : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "xcalc"}) {
        const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!exe.isEmpty() && QProcess::startDetached(exe, {})) return true;
    }
    return false;
}

} // namespace gz::ui
