#include "ui/dialogs/ErrorDialog.h"

#include "core/data/Database.h"
#include "core/maintenance/ErrorLogClear.h"
#include "core/session/ProgramFolder.h"
#include "ui/common/DatasetModel.h"
#include "ui/common/ErrorReporting.h"
#include "ui/common/Windows.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace gz::ui {

namespace {
std::function<void()>& closeSystemAction() {
    static std::function<void()> a;
    return a;
}
} // namespace

ErrorDialog::ErrorDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("异常信息"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    headline_ = new QLabel(this);
    QFont f = headline_->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    headline_->setFont(f);
    headline_->setStyleSheet(QStringLiteral("color:#b00000"));

    auto* form = new QFormLayout;
    const char* labels[] = {"出错程序名", "出错位置", "出错日期"};
    for (int i = 0; i < 3; ++i) {
        fields_[i] = new QLineEdit(this);
        fields_[i]->setReadOnly(true);
        form->addRow(QString::fromUtf8(labels[i]), fields_[i]);
    }
    message_ = new QPlainTextEdit(this);
    message_->setReadOnly(true);
    message_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    message_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message_->setMaximumHeight(90);
    form->addRow(QStringLiteral("错误信息"), message_);

    model_ = new DatasetModel(this);
    model_->setColumns({{QStringLiteral("Kind"), QStringLiteral("错误类型"), 140, {}},
                        {QStringLiteral("Titl"), QStringLiteral("出错程序名"), 140, {}},
                        {QStringLiteral("Name"), QStringLiteral("出错位置"), 110, {}},
                        {QStringLiteral("Rq"), QStringLiteral("出错日期"), 150, {}},
                        {QStringLiteral("Mess"), QStringLiteral("错误信息"), 300, {}}});
    grid_ = new QTableView(this);
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setStretchLastSection(true);
    model_->applyTo(grid_);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& cur) {
                if (cur.isValid() && log_.isOpen()) {
                    log_.setCurrent(cur.row());
                    showCurrent();
                }
            });

    back_ = new QPushButton(QStringLiteral("返回"), this);
    clear_ = new QPushButton(QStringLiteral("清空错误记录"), this);
    closeSystem_ = new QPushButton(QStringLiteral("关闭系统"), this);
    back_->setDefault(true);
    connect(back_, &QPushButton::clicked, this, &QDialog::reject);
    connect(clear_, &QPushButton::clicked, this, [this] { guarded(this, [this] { clearLog(); }); });
    connect(closeSystem_, &QPushButton::clicked, this, [this] {
        done(2);
        if (closeSystemAction())
            closeSystemAction()();
        else
            QCoreApplication::exit(0);
    });
    connect(this, &QDialog::finished, this, [this] { closeLog(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back_);
    buttons->addWidget(clear_);
    buttons->addWidget(closeSystem_);

    auto* lay = new QVBoxLayout(this);
    lay->addWidget(headline_);
    lay->addLayout(form);
    lay->addWidget(grid_, 1);
    lay->addLayout(buttons);
    resize(760, 520);
}

ErrorDialog& ErrorDialog::instance() {
    static ErrorDialog* dialog = nullptr;
    if (!dialog) {
        dialog = new ErrorDialog;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
            delete dialog;
            dialog = nullptr;
        });
    }
    return *dialog;
}

void ErrorDialog::setCloseSystemAction(std::function<void()> action) {
    closeSystemAction() = std::move(action);
}

void ErrorDialog::load(const ReportedError& error) {
    headline_->setText(error.category);
    model_->setDataset(nullptr);
    log_.close();
    Database* db = errorLogDatabase();
    if (db && db->isOpen()) {
        try {
            log_.openTable(*db, QStringLiteral("apperror"), QStringLiteral("ORDER BY rowid"));
        } catch (const Error&) {
            log_.close(); // the log itself is unreadable: show the error without it
        }
    }
    model_->setDataset(log_.isOpen() ? &log_ : nullptr);
    model_->applyTo(grid_);
    if (error.logged && log_.isOpen() && log_.rowCount() > 0) {
        log_.last();
        grid_->selectRow(log_.current());
        showCurrent();
    } else {
        fields_[0]->setText(error.caption);
        fields_[1]->setText(error.component);
        fields_[2]->setText(error.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        message_->setPlainText(error.message);
    }
}

void ErrorDialog::present(const ReportedError& error) {
    load(error);
    centreOver(this, nullptr);
    execModal(this);
}

void ErrorDialog::showCurrent() {
    if (!log_.isOpen() || log_.eof()) return;
    fields_[0]->setText(log_.textField(QStringLiteral("Titl")));
    fields_[1]->setText(log_.textField(QStringLiteral("Name")));
    fields_[2]->setText(log_.textField(QStringLiteral("Rq")));
    message_->setPlainText(log_.textField(QStringLiteral("Mess")));
}

void ErrorDialog::clearLog() {
    Database* db = errorLogDatabase();
    const ProgramFolder* folder = errorLogFolder();
    model_->setDataset(nullptr);
    log_.close();
    if (!db || !db->isOpen() || !folder) return;
    clearErrorLog(*db, *folder);
    log_.openTable(*db, QStringLiteral("apperror"), QStringLiteral("ORDER BY rowid"));
    model_->setDataset(&log_);
    model_->applyTo(grid_);
}

void ErrorDialog::closeLog() {
    model_->setDataset(nullptr);
    log_.close();
}

QString ErrorDialog::headline() const {
    return headline_->text();
}

QString ErrorDialog::fieldText(int i) const {
    if (i >= 0 && i < 3) return fields_[i]->text();
    return message_->toPlainText();
}

int ErrorDialog::logRows() const {
    return model_->rowCount();
}

} // namespace gz::ui
