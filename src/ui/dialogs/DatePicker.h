#pragma once
// The calendar every date field opens: year and month steps, weeks from Sunday, a title line
// "YYYY,M,D", double-click on a day accepts.

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QLabel;
class QPushButton;
class QToolButton;

namespace gz::ui {

class DatePicker : public QDialog {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

    void setDate(const QDate& d);
    QDate date() const { return date_; }
    QString titleText() const;

    // The steps of the four small buttons.
    void previousYear() { setDate(date_.addYears(-1)); }
    void nextYear() { setDate(date_.addYears(1)); }
    void previousMonth() { setDate(date_.addMonths(-1)); }
    void nextMonth() { setDate(date_.addMonths(1)); }

    QCalendarWidget* calendar() const { return calendar_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QToolButton* stepButton(int i) const { return steps_[i]; } // 上一年, 下一年, 上一月, 下一月

protected:
    void showEvent(QShowEvent* e) override;

private:
    QDate date_;
    QLabel* title_;
    QCalendarWidget* calendar_;
    QToolButton* steps_[4];
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Shows a picker starting at `start` (today when invalid); the date after OK, nullopt on Cancel.
std::optional<QDate> runDatePicker(QWidget* parent, const QDate& start);

} // namespace gz::ui
