#include "core/wages/LineArithmetic.h"

namespace gz {

AmountBreakdown lineAmountBreakdown(const LineFigures& f) {
    AmountBreakdown b;
    b.base = f.price * f.quantity;
    const double p = f.proinf;
    if (p > 20)
        b.production = 0.2 * b.base;
    else if (p > 10)
        b.production = 0.1 * b.base;
    else if (p > 5)
        b.production = 0.05 * b.base;
    // Above 10 the quality rate takes nothing off; only the band just above 5 does.
    if (f.qsinf > 5 && f.qsinf <= 10) b.quality = 0.1 * b.base;
    const double r = f.backtime;
    if (r >= 3)
        b.rework = b.base;
    else if (r >= 2)
        b.rework = 0.4 * b.base;
    else if (r >= 1)
        b.rework = 0.2 * b.base;
    const double s = f.superscale;
    if (s > 20)
        b.material = s * b.base * 0.01;
    else if (s > 10)
        b.material = 0.2 * b.base;
    else if (s > 5)
        b.material = 0.1 * b.base;
    b.amount = b.base - b.production - b.quality - b.rework - b.material;
    return b;
}

QString zeroShiftHoursMessage() {
    return QStringLiteral("每班时间必须大于0,不能计算加班工资！");
}

Result<double> overtimePay(double shiftPrice, double overtimeHours, double multiplier, double hoursPerShift) {
    if (!(hoursPerShift > 0)) return Result<double>::refusedWith(zeroShiftHoursMessage());
    return shiftPrice * (overtimeHours * multiplier) / hoursPerShift;
}

double latenessDeduction(double rate, double lateTime) {
    return rate * lateTime;
}

} // namespace gz
