#pragma once
// The operators window with its add and change-password windows.

#include "core/data/Dataset.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableView;
class QAction;

namespace gz {
class Database;
}

namespace gz::ui {

class DatasetModel;

// 新增操作员
class OperatorAddWindow : public QDialog {
    Q_OBJECT
public:
    explicit OperatorAddWindow(Database& db, QWidget* parent = nullptr);
    QLineEdit* numberBox() const { return edits_[0]; }
    QLineEdit* nameBox() const { return edits_[1]; }
    QLineEdit* passwordBox() const { return edits_[2]; }
    QLineEdit* confirmBox() const { return edits_[3]; }
    QLineEdit* rightsBox() const { return edits_[4]; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }
    void save();
signals:
    void saved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Database& db_;
    QLineEdit* edits_[5];
    QPushButton* save_;
    QPushButton* cancel_;
};

// 修改密码
class OperatorPasswordWindow : public QDialog {
    Q_OBJECT
public:
    OperatorPasswordWindow(Database& db, const QString& number, const QString& name, const QString& storedPw,
                           QWidget* parent = nullptr);
    QLineEdit* nameBox() const { return name_; }
    QLineEdit* passwordBox() const { return password_; }
    QLineEdit* confirmBox() const { return confirm_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }
    void save();
signals:
    void saved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* e) override;

private:
    Database& db_;
    QString number_;
    QString stored_;
    bool edited_ = false;
    QLineEdit* name_;
    QLineEdit* password_;
    QLineEdit* confirm_;
    QPushButton* save_;
    QPushButton* cancel_;
};

// 操作员管理
class OperatorsWindow : public QWidget {
    Q_OBJECT
public:
    explicit OperatorsWindow(Database& db, QWidget* parent = nullptr);

    QTableView* grid() const { return grid_; }
    int rowCount() const;
    void selectNumber(const QString& number);
    QString selectedNumber() const;

    // The commands (tool bar, context menu, double-click).
    void addOperator();
    void deleteOperator();
    void changePassword();

    OperatorAddWindow* addWindow() const { return add_; }
    OperatorPasswordWindow* passwordWindow() const { return edit_; }
    QAction* action(const QString& caption) const;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void reload(const QString& select = {});

    Database& db_;
    Dataset rows_;
    DatasetModel* model_;
    QTableView* grid_;
    QList<QAction*> actions_;
    QPointer<OperatorAddWindow> add_;
    QPointer<OperatorPasswordWindow> edit_;
};

} // namespace gz::ui
