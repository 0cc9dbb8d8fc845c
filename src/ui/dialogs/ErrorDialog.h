#pragma once
// The error dialog: the category as headline, the logged fields of the current error, a grid
// over the whole error log, and 返回 / 清空错误记录 / 关闭系统.

#include "core/data/Dataset.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace gz::ui {

struct ReportedError;
class DatasetModel;

class ErrorDialog : public QDialog {
    Q_OBJECT
public:
    explicit ErrorDialog(QWidget* parent = nullptr);
    // The one dialog of the run (created on first use).
    static ErrorDialog& instance();

    // Fills the dialog for the error (from its apperror row when it was logged) and shows it
    // modally.
    void present(const ReportedError& error);
    // Fills the dialog without showing it (present() = load() + exec).
    void load(const ReportedError& error);

    QString headline() const;
    QString fieldText(int i) const; // 0 出错程序名, 1 出错位置, 2 出错日期, 3 错误信息
    int logRows() const;
    QPushButton* backButton() const { return back_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* closeSystemButton() const { return closeSystem_; }

    // Called by 关闭系统 after the dialog closed; the default quits the application.
    static void setCloseSystemAction(std::function<void()> action);

private:
    void clearLog();
    void showCurrent();
    void closeLog();

    QLabel* headline_;
    QLineEdit* fields_[3];
    QPlainTextEdit* message_;
    QTableView* grid_;
    DatasetModel* model_;
    QPushButton* back_;
    QPushButton* clear_;
    QPushButton* closeSystem_;
    Dataset log_;
};

} // namespace gz::ui
