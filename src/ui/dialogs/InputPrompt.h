#pragma once
// The plain and the masked input prompt: caption, word-wrapped prompt text, one edit box and
// 确定 / 取消, laid out in dialog units of the dialog font.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace gz::ui {

class InputPrompt : public QDialog {
    Q_OBJECT
public:
    InputPrompt(QWidget* parent, const QString& caption, const QString& prompt, const QString& defaultText,
                bool masked);
    QString text() const;
    QLineEdit* edit() const { return edit_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    QLabel* prompt_;
    QLineEdit* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// The text typed and whether OK was pressed; on Cancel the text is the default text.
struct PromptResult {
    QString text;
    bool ok = false;
};
PromptResult askInput(QWidget* parent, const QString& caption, const QString& prompt,
                      const QString& defaultText, bool masked);

} // namespace gz::ui
