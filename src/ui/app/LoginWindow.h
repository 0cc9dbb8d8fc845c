#pragma once
// The login: operator number from a drop-down of opcrl, password, 确定 / 取消. One attempt only.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace gz {
class Database;
}

namespace gz::ui {

class LoginWindow : public QDialog {
    Q_OBJECT
public:
    enum Outcome { Pending, LoggedIn, Refused, Cancelled };

    LoginWindow(Database& db, QWidget* parent = nullptr);

    Outcome outcome() const { return outcome_; }
    QString number() const;
    QString password() const; // as typed

    QComboBox* numberBox() const { return number_; }
    QLineEdit* passwordBox() const { return password_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    void confirm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Database& db_;
    Outcome outcome_ = Pending;
    QComboBox* number_;
    QLineEdit* password_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

} // namespace gz::ui
