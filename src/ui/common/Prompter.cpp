#include "ui/common/Prompter.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

namespace gz::ui {

namespace {

QString captionOr(const QString& c) { return c.isEmpty() ? QStringLiteral("提示！") : c; }

class QtPrompter final : public Prompter {
public:
    void message(QWidget* parent, const QString& text, Icon icon, const QString& caption) override {
        QMessageBox::Icon i = QMessageBox::Information;
        if (icon == Icon::Warning) i = QMessageBox::Warning;
        if (icon == Icon::Error) i = QMessageBox::Critical;
        if (icon == Icon::Question) i = QMessageBox::Question;
        QMessageBox box(i, captionOr(caption), text, QMessageBox::Ok, parent);
        box.exec();
    }
    bool okCancel(QWidget* parent, const QString& text, const QString& caption) override {
        QMessageBox box(QMessageBox::Question, captionOr(caption), text, QMessageBox::Ok | QMessageBox::Cancel, parent);
        return box.exec() == QMessageBox::Ok;
    }
    bool yesNo(QWidget* parent, const QString& text, const QString& caption) override {
        QMessageBox box(QMessageBox::Question, captionOr(caption), text, QMessageBox::Yes | QMessageBox::No, parent);
        return box.exec() == QMessageBox::Yes;
    }
    int yesNoCancel(QWidget* parent, const QString& text, const QString& caption) override {
        QMessageBox box(QMessageBox::Question, captionOr(caption), text,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
        const int r = box.exec();
        return r == QMessageBox::Yes ? 1 : r == QMessageBox::No ? 0 : -1;
    }
    std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                                 const QString& defaultText) override {
        bool ok = false;
        QString t = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, defaultText, &ok);
        if (!ok) return std::nullopt;
        return t;
    }
    QString maskedInput(QWidget* parent, const QString& caption, const QString& prompt) override {
        bool ok = false;
        QString t = QInputDialog::getText(parent, caption, prompt, QLineEdit::Password, QString(), &ok);
        return ok ? t : QString();
    }
    QString openFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }
    QString saveFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter);
    }
    QString pickFolder(QWidget* parent, const QString& caption, const QString& dir) override {
        return QFileDialog::getExistingDirectory(parent, caption, dir);
    }
    std::optional<QDate> pickDate(QWidget* parent, const QDate& start) override {
        QDialog d(parent);
        d.setWindowTitle(QStringLiteral("选择日期"));
        auto* cal = new QCalendarWidget(&d);
        cal->setFirstDayOfWeek(Qt::Sunday);
        cal->setSelectedDate(start.isValid() ? start : QDate::currentDate());
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
        auto* lay = new QVBoxLayout(&d);
        lay->addWidget(cal);
        lay->addWidget(buttons);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
        QObject::connect(cal, &QCalendarWidget::activated, &d, &QDialog::accept);
        if (d.exec() != QDialog::Accepted) return std::nullopt;
        return cal->selectedDate();
    }
};

Prompter* installed = nullptr;

} // namespace

Prompter& prompter() {
    static QtPrompter qt;
    return installed ? *installed : qt;
}

void setPrompter(Prompter* p) { installed = p; }

} // namespace gz::ui
