#include "ui/app/OperatorsWindow.h"

#include "core/session/Operators.h"
#include "core/session/RunValues.h"
#include "ui/common/DatasetModel.h"
#include "ui/common/ErrorReporting.h"
#include "ui/common/Prompter.h"
#include "ui/common/Windows.h"

#include <QAction>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace gz::ui {

namespace {

QValidator* digits(QObject* parent, int max) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(max)),
                                           parent);
}

QLineEdit* maskedBox(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setEchoMode(QLineEdit::Password);
    e->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    e->setMaxLength(6);
    e->setValidator(digits(e, 6));
    e->setToolTip(QStringLiteral("密码不能为空"));
    return e;
}

bool isEnter(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

// ---------------------------------------------------------------------------------------------

OperatorAddWindow::OperatorAddWindow(Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setWindowTitle(QStringLiteral("新增操作员"));
    auto* form = new QFormLayout;
    const char* labels[] = {"编号", "姓名", "密码", "确认密码", "权限"};
    for (int i = 0; i < 5; ++i)
        edits_[i] = (i == 2 || i == 3) ? maskedBox(this) : new QLineEdit(this);
    edits_[0]->setValidator(digits(edits_[0], 3));
    edits_[0]->setMaxLength(3);
    edits_[1]->setMaxLength(10);
    edits_[4]->setMaxLength(12);
    for (int i = 0; i < 5; ++i) {
        form->addRow(QString::fromUtf8(labels[i]), edits_[i]);
        edits_[i]->installEventFilter(this);
    }
    save_ = new QPushButton(QStringLiteral("保存"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    save_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    connect(save_, &QPushButton::clicked, this, &OperatorAddWindow::save);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(cancel_);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addLayout(buttons);
    setTabOrder(edits_[4], save_);
    edits_[0]->setFocus();
}

bool OperatorAddWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEnter(event)) {
        for (int i = 0; i < 5; ++i)
            if (watched == edits_[i]) {
                if (i < 4)
                    edits_[i + 1]->setFocus();
                else
                    save_->setFocus();
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void OperatorAddWindow::save() {
    NewOperator op{numberBox()->text(), nameBox()->text(), passwordBox()->text(), confirmBox()->text(),
                   rightsBox()->text()};
    QString refusal;
    if (!guarded(this, [&] { refusal = gz::addOperator(db_, runValues().operatorNumber, op); })) return;
    if (!refusal.isEmpty()) {
        prompter().message(this, refusal);
        if (refusal == msg::invalidPassword()) {
            passwordBox()->clear();
            passwordBox()->setFocus();
        } else {
            numberBox()->setFocus();
        }
        return;
    }
    emit saved();
    accept();
}

// ---------------------------------------------------------------------------------------------

OperatorPasswordWindow::OperatorPasswordWindow(Database& db, const QString& number, const QString& name,
                                               const QString& storedPw, QWidget* parent)
    : QDialog(parent), db_(db), number_(number), stored_(storedPw) {
    setWindowTitle(QStringLiteral("修改密码"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    name_ = new QLineEdit(name, this);
    name_->setMaxLength(10);
    password_ = maskedBox(this);
    confirm_ = maskedBox(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("姓名"), name_);
    form->addRow(QStringLiteral("密码"), password_);
    form->addRow(QStringLiteral("确认密码"), confirm_);
    save_ = new QPushButton(QStringLiteral("保存"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    save_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    connect(save_, &QPushButton::clicked, this, &OperatorPasswordWindow::save);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(cancel_);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addLayout(buttons);
    for (QLineEdit* e : {name_, password_, confirm_})
        e->installEventFilter(this);
    // The stored, encoded password (longer than a typed one may be).
    password_->setMaxLength(32767);
    password_->setValidator(nullptr);
    password_->setText(stored_);
    connect(password_, &QLineEdit::textEdited, this, [this] {
        // Once the user types, the box takes a new password again.
        edited_ = true;
        if (password_->maxLength() > 6) {
            password_->setMaxLength(6);
            password_->setValidator(digits(password_, 6));
        }
    });
}

void OperatorPasswordWindow::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    password_->setFocus();
    password_->selectAll();
}

bool OperatorPasswordWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == name_ && (key == Qt::Key_Up || key == Qt::Key_Down)) {
            (key == Qt::Key_Down ? static_cast<QWidget*>(password_) : cancel_)->setFocus();
            return true;
        }
    }
    if (isEnter(event)) {
        if (watched == name_) password_->setFocus();
        if (watched == password_) confirm_->setFocus();
        if (watched == confirm_) save_->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void OperatorPasswordWindow::save() {
    QString refusal;
    if (!guarded(this, [&] {
            refusal = changeOwnPassword(db_, runValues().operatorNumber, number_, name_->text(),
                                        password_->text(), confirm_->text(), edited_);
        }))
        return;
    if (!refusal.isEmpty()) {
        prompter().message(this, refusal);
        password_->clear();
        password_->setFocus();
        return;
    }
    emit saved();
    accept();
}

// ---------------------------------------------------------------------------------------------

OperatorsWindow::OperatorsWindow(Database& db, QWidget* parent) : QWidget(parent), db_(db) {
    setWindowTitle(QStringLiteral("操作员管理"));
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](const QString& caption, std::function<void()> fn) {
        QAction* a = bar->addAction(caption);
        connect(a, &QAction::triggered, this, [this, fn] { guarded(this, fn); });
        actions_ << a;
        return a;
    };
    add(QStringLiteral("新增"), [this] { addOperator(); });
    add(QStringLiteral("删除"), [this] { deleteOperator(); });
    add(QStringLiteral("修改密码"), [this] { changePassword(); });
    add(QStringLiteral("设置权限"), [] {})->setVisible(false); // kept hidden: no rights editor
    add(QStringLiteral("退回"), [this] { close(); });

    model_ = new DatasetModel(this);
    model_->setColumns({{QStringLiteral("bh"), QStringLiteral("编号"), 70, {}},
                        {QStringLiteral("xm"), QStringLiteral("用户名"), 120, {}},
                        {QStringLiteral("pw"), QStringLiteral("密码"), 140, {}},
                        {QStringLiteral("rh"), QStringLiteral("权限"), 120, {}}});
    grid_ = new QTableView(this);
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->horizontalHeader()->setStretchLastSection(true);
    connect(grid_, &QTableView::doubleClicked, this, [this] { guarded(this, [this] { changePassword(); }); });

    auto* menu = new QMenu(this);
    const char* items[] = {"新增", "删除", "修改", "退回"};
    const int targets[] = {0, 1, 2, 4};
    for (int i = 0; i < 4; ++i) {
        QAction* a = menu->addAction(QString::fromUtf8(items[i]));
        QAction* t = actions_[targets[i]];
        connect(a, &QAction::triggered, t, &QAction::trigger);
    }
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint& p) { menu->popup(grid_->viewport()->mapToGlobal(p)); });

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(bar);
    lay->addWidget(grid_);
    resize(520, 360);
}

QAction* OperatorsWindow::action(const QString& caption) const {
    for (QAction* a : actions_)
        if (a->text() == caption) return a;
    return nullptr;
}

void OperatorsWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!rows_.isOpen()) guarded(this, [this] { reload(); });
}

void OperatorsWindow::closeEvent(QCloseEvent* e) {
    if (add_) add_->close();
    if (edit_) edit_->close();
    model_->setDataset(nullptr);
    rows_.close();
    QWidget::closeEvent(e);
}

void OperatorsWindow::reload(const QString& select) {
    const QString keep = select.isEmpty() ? selectedNumber() : select;
    model_->setDataset(nullptr);
    rows_.openTable(db_, QStringLiteral("opcrl"), QStringLiteral("ORDER BY rowid"));
    model_->setDataset(&rows_);
    model_->applyTo(grid_);
    selectNumber(keep);
}

int OperatorsWindow::rowCount() const {
    return model_->rowCount();
}

void OperatorsWindow::selectNumber(const QString& number) {
    if (!rows_.isOpen() || rows_.rowCount() == 0) return;
    int row = number.isEmpty() ? -1 : rows_.locate(QStringLiteral("bh"), number);
    if (row < 0) row = 0;
    grid_->selectRow(row);
    grid_->setCurrentIndex(model_->index(row, 0));
}

QString OperatorsWindow::selectedNumber() const {
    const QModelIndex i = grid_->currentIndex();
    if (!i.isValid() || !rows_.isOpen() || i.row() >= rows_.rowCount()) return {};
    return rows_.text(i.row(), rows_.columnIndex(QStringLiteral("bh")));
}

void OperatorsWindow::addOperator() {
    if (QString r = checkAddOperator(runValues().operatorNumber); !r.isEmpty()) {
        prompter().message(this, r);
        return;
    }
    add_ = new OperatorAddWindow(db_);
    connect(add_, &OperatorAddWindow::saved, this, [this] {
        const QString n = add_->numberBox()->text().trimmed();
        guarded(this, [this, n] { reload(n); });
    });
    connect(add_, &QDialog::finished, add_, &QWidget::close);
    openChildWindow(this, add_);
    centreOver(add_, nullptr);
}

void OperatorsWindow::deleteOperator() {
    const QString number = selectedNumber();
    if (QString r = checkDeleteOperator(runValues().operatorNumber, number); !r.isEmpty()) {
        prompter().message(this, r);
        return;
    }
    if (number.isNull() && rowCount() == 0) return;
    // Asked before anything is removed, so that Cancel keeps the operator and its settings.
    if (!prompter().okCancel(this, msg::confirmDelete())) return;
    const QString refusal = gz::deleteOperator(db_, runValues().operatorNumber, number);
    if (!refusal.isEmpty()) prompter().message(this, refusal);
    reload();
}

void OperatorsWindow::changePassword() {
    const QString number = selectedNumber();
    if (QString r = checkChangePassword(runValues().operatorNumber, number); !r.isEmpty()) {
        prompter().message(this, r);
        return;
    }
    const int row = rows_.locate(QStringLiteral("bh"), number);
    if (row < 0) return;
    edit_ = new OperatorPasswordWindow(db_, number, rows_.text(row, rows_.columnIndex(QStringLiteral("xm"))),
                                       rows_.text(row, rows_.columnIndex(QStringLiteral("pw"))));
    connect(edit_, &OperatorPasswordWindow::saved, this,
            [this, number] { guarded(this, [this, number] { reload(number); }); });
    connect(edit_, &QDialog::finished, edit_, &QWidget::close);
    openChildWindow(this, edit_);
    centreOver(edit_, parentWidget());
}

} // namespace gz::ui
