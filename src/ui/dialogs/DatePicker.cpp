#include "ui/dialogs/DatePicker.h"

#include "ui/common/Windows.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

namespace gz::ui {

DatePicker::DatePicker(QWidget* parent) : QDialog(parent), date_(QDate::currentDate()) {
    setWindowTitle(QStringLiteral("选择日期"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    title_ = new QLabel(this);
    title_->setAlignment(Qt::AlignCenter);
    QFont f = title_->font();
    f.setBold(true);
    title_->setFont(f);

    const char* hints[] = {"上一年", "下一年", "上一月", "下一月"};
    const char* faces[] = {"«", "»", "‹", "›"};
    auto* top = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        steps_[i] = new QToolButton(this);
        steps_[i]->setText(QString::fromUtf8(faces[i]));
        steps_[i]->setToolTip(QString::fromUtf8(hints[i]));
        steps_[i]->setAutoRaise(true);
    }
    top->addWidget(steps_[0]);
    top->addWidget(steps_[2]);
    top->addWidget(title_, 1);
    top->addWidget(steps_[3]);
    top->addWidget(steps_[1]);
    connect(steps_[0], &QToolButton::clicked, this, &DatePicker::previousYear);
    connect(steps_[1], &QToolButton::clicked, this, &DatePicker::nextYear);
    connect(steps_[2], &QToolButton::clicked, this, &DatePicker::previousMonth);
    connect(steps_[3], &QToolButton::clicked, this, &DatePicker::nextMonth);

    calendar_ = new QCalendarWidget(this);
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    calendar_->setNavigationBarVisible(false);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setGridVisible(true);
    connect(calendar_, &QCalendarWidget::clicked, this, [this](QDate d) { setDate(d); });
    connect(calendar_, &QCalendarWidget::selectionChanged, this, [this] {
        if (calendar_->selectedDate() != date_) setDate(calendar_->selectedDate());
    });
    // Double-click (or Enter) on a day.
    connect(calendar_, &QCalendarWidget::activated, this, [this](QDate d) {
        setDate(d);
        accept();
    });

    ok_ = new QPushButton(QStringLiteral("确定&O"), this);
    cancel_ = new QPushButton(QStringLiteral("取消&C"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(calendar_);
    lay->addLayout(buttons);
    setDate(date_);
}

void DatePicker::setDate(const QDate& d) {
    if (!d.isValid()) return;
    date_ = d;
    if (calendar_->selectedDate() != d) calendar_->setSelectedDate(d);
    calendar_->setCurrentPage(d.year(), d.month());
    title_->setText(titleText());
}

QString DatePicker::titleText() const {
    return QStringLiteral("%1,%2,%3")
        .arg(date_.year(), 4, 10, QLatin1Char('0'))
        .arg(date_.month())
        .arg(date_.day());
}

void DatePicker::showEvent(QShowEvent* e) {
    title_->setText(titleText());
    QDialog::showEvent(e);
}

std::optional<QDate> runDatePicker(QWidget* parent, const QDate& start) {
    DatePicker picker(parent);
    picker.setDate(start.isValid() ? start : QDate::currentDate());
    centreOver(&picker, nullptr);
    if (execModal(&picker) != QDialog::Accepted) return std::nullopt;
    return picker.date();
}

} // namespace gz::ui
