#pragma once
// The line editor's arithmetic: the processing amount with its four quality deductions, overtime
// pay and the lateness deduction. Pure functions, shared by the windows and the command line.

#include "core/master/Outcome.h"

namespace gz {

struct LineFigures {
    double price = 0;      // 加工价 / 工分价 / 班单价 (dj)
    double quantity = 0;   // 加工量 / 分数 / 班数 (sl)
    double proinf = 0;     // 生产次品率 P
    double qsinf = 0;      // 质量次品率 Q
    double superscale = 0; // 耗材超标率 S (the loan amount on time lines)
    double backtime = 0;   // 返工次数 R
};

struct AmountBreakdown {
    double base = 0;       // price × quantity
    double production = 0; // A
    double quality = 0;    // Bq
    double rework = 0;     // C
    double material = 0;   // D
    double amount = 0;     // base − A − Bq − C − D
};

AmountBreakdown lineAmountBreakdown(const LineFigures& f);
inline double lineAmount(const LineFigures& f) {
    return lineAmountBreakdown(f).amount;
}

// 加班工资 = 班单价 × (加班时间 × 加班班价倍数) ÷ 每班时间. Hours per shift of 0 (or less) would
// divide by nothing and is refused.
Result<double> overtimePay(double shiftPrice, double overtimeHours, double multiplier, double hoursPerShift);
QString zeroShiftHoursMessage();

// 迟到扣款 = 迟到扣款点率 × 迟到时间.
double latenessDeduction(double rate, double lateTime);

// The editor's starting lateness rate.
constexpr double kDefaultLateRate = 0.5;

} // namespace gz
