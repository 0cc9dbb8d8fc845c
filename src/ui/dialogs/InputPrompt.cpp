#include "ui/dialogs/InputPrompt.h"

#include "ui/common/Windows.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace gz::ui {

InputPrompt::InputPrompt(QWidget* parent, const QString& caption, const QString& prompt,
                         const QString& defaultText, bool masked)
    : QDialog(parent) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // Dialog units: cx the average width of the 52 Latin letters, cy the font height.
    const QFontMetrics fm(font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int cx = fm.horizontalAdvance(letters) / 52;
    const int cy = fm.height();
    auto dx = [cx](int v) { return v * cx / 4; };
    auto dy = [cy](int v) { return v * cy / 8; };

    prompt_ = new QLabel(prompt, this);
    prompt_->setWordWrap(true);
    prompt_->setFixedWidth(dx(164));
    prompt_->move(dx(8), dy(8));
    prompt_->adjustSize();
    prompt_->setFixedWidth(dx(164));

    edit_ = new QLineEdit(this);
    edit_->setMaxLength(255);
    if (masked) {
        edit_->setEchoMode(QLineEdit::Password);
        // Shown as "*" rather than the style's dot.
        edit_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    }
    edit_->setText(defaultText);
    edit_->selectAll();
    const int editTop = prompt_->y() + prompt_->height() + 5;
    edit_->setGeometry(dx(8), editTop, dx(164), edit_->sizeHint().height());

    const int buttonTop = edit_->y() + edit_->height() + 15;
    ok_ = new QPushButton(QStringLiteral("确定"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    ok_->setGeometry(dx(38), buttonTop, dx(50), std::max(dy(14), ok_->sizeHint().height()));
    cancel_->setGeometry(dx(92), buttonTop, dx(50), std::max(dy(14), cancel_->sizeHint().height()));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject); // Esc too (QDialog)
    setFixedSize(dx(180), ok_->y() + ok_->height() + 13);
    edit_->setFocus();
}

QString InputPrompt::text() const {
    return edit_->text();
}

PromptResult askInput(QWidget* parent, const QString& caption, const QString& prompt,
                      const QString& defaultText, bool masked) {
    InputPrompt d(parent, caption, prompt, defaultText, masked);
    centreOver(&d, nullptr);
    const bool ok = execModal(&d) == QDialog::Accepted;
    return {ok ? d.text() : defaultText, ok};
}

} // namespace gz::ui
