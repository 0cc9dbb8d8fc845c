#include "ui/app/LoginWindow.h"

#include "core/session/Operators.h"
#include "core/session/Session.h"
#include "ui/common/ErrorReporting.h"
#include "ui/common/Prompter.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

namespace gz::ui {

namespace {
// Password characters shown as "*" whatever the desktop style uses.
class StarPasswordStyle : public QProxyStyle {
public:
    explicit StarPasswordStyle(QObject* owner) : QProxyStyle() { setParent(owner); }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};
} // namespace

LoginWindow::LoginWindow(Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setWindowTitle(QStringLiteral("登录验证"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(350, 224);

    auto* numberLabel = new QLabel(QStringLiteral("请输入编号："), this);
    auto* passwordLabel = new QLabel(QStringLiteral("请输入密码："), this);
    for (QLabel* l : {numberLabel, passwordLabel}) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, Qt::red);
        l->setPalette(pal);
    }
    number_ = new QComboBox(this);
    number_->setEditable(true);
    number_->setInsertPolicy(QComboBox::NoInsert);
    guarded(this, [this] { number_->addItems(operatorNumbers(db_)); });
    number_->setEditText(QStringLiteral("813"));
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    password_->setStyle(new StarPasswordStyle(password_));
    password_->setMaxLength(6);
    password_->setText(QStringLiteral("813"));
    auto* note = new QLabel(QStringLiteral("预设密码为813"), this);
    ok_ = new QPushButton(QStringLiteral("确定"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);

    numberLabel->setGeometry(40, 22, 200, 22);
    number_->setGeometry(40, 46, 170, 26);
    passwordLabel->setGeometry(40, 84, 200, 22);
    password_->setGeometry(40, 108, 170, 26);
    note->setGeometry(40, 146, 200, 22);
    ok_->setGeometry(240, 46, 80, 30);
    cancel_->setGeometry(240, 104, 80, 30);

    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    number_->installEventFilter(this);
    if (number_->lineEdit()) number_->lineEdit()->installEventFilter(this);
    password_->installEventFilter(this);
    connect(ok_, &QPushButton::clicked, this, &LoginWindow::confirm);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        outcome_ = Cancelled;
        reject();
    });
    number_->setFocus();
}

QString LoginWindow::number() const {
    return number_->currentText();
}
QString LoginWindow::password() const {
    return password_->text();
}

bool LoginWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == password_)
                confirm();
            else
                password_->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void LoginWindow::confirm() {
    bool ok = false;
    if (!guarded(this, [&] { ok = checkLogin(db_, number(), password()); })) return;
    if (!ok) {
        prompter().message(this, msg::wrongLogin(), Prompter::Icon::Warning);
        outcome_ = Refused;
        reject();
        return;
    }
    outcome_ = LoggedIn;
    accept();
}

} // namespace gz::ui
