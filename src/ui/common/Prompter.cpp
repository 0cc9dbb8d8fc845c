#include "ui/common/Prompter.h"

#include "ui/common/Windows.h"
#include "ui/dialogs/DatePicker.h"
#include "ui/dialogs/InputPrompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace gz::ui {

namespace {

QString captionOr(const QString& c) {
    return c.isEmpty() ? QStringLiteral("提示！") : c;
}

class QtPrompter final : public Prompter {
public:
    void message(QWidget* parent, const QString& text, Icon icon, const QString& caption) override {
        QMessageBox::Icon i = QMessageBox::Information;
        if (icon == Icon::Warning) i = QMessageBox::Warning;
        if (icon == Icon::Error) i = QMessageBox::Critical;
        if (icon == Icon::Question) i = QMessageBox::Question;
        QMessageBox box(i, captionOr(caption), text, QMessageBox::Ok, parent);
        execModal(&box);
    }
    bool okCancel(QWidget* parent, const QString& text, const QString& caption) override {
        QMessageBox box(QMessageBox::Question, captionOr(caption), text,
                        QMessageBox::Ok | QMessageBox::Cancel, parent);
        return execModal(&box) == QMessageBox::Ok;
    }
    bool yesNo(QWidget* parent, const QString& text, const QString& caption) override {
        QMessageBox box(QMessageBox::Question, captionOr(caption), text, QMessageBox::Yes | QMessageBox::No,
                        parent);
        return execModal(&box) == QMessageBox::Yes;
    }
    int yesNoCancel(QWidget* parent, const QString& text, const QString& caption) override {
        QMessageBox box(QMessageBox::Question, captionOr(caption), text,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
        const int r = execModal(&box);
        return r == QMessageBox::Yes ? 1 : r == QMessageBox::No ? 0 : -1;
    }
    std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                                 const QString& defaultText) override {
        const PromptResult r = askInput(parent, caption, prompt, defaultText, false);
        if (!r.ok) return std::nullopt;
        return r.text;
    }
    QString maskedInput(QWidget* parent, const QString& caption, const QString& prompt) override {
        return askInput(parent, caption, prompt, QString(), true).text; // the empty default on Cancel
    }
    QString openFile(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }
    QString saveFile(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter);
    }
    QString pickFolder(QWidget* parent, const QString& caption, const QString& dir) override {
        return QFileDialog::getExistingDirectory(parent, caption, dir);
    }
    std::optional<QDate> pickDate(QWidget* parent, const QDate& start) override {
        return runDatePicker(parent, start);
    }
};

Prompter* installed = nullptr;

} // namespace

Prompter& prompter() {
    static QtPrompter qt;
    return installed ? *installed : qt;
}

void setPrompter(Prompter* p) {
    installed = p;
}

} // namespace gz::ui
