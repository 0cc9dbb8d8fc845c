#pragma once
// The line editor's save: the texts of its boxes are checked, a missing employee or processed
// item is created on the spot, the amount is recomputed and the line is stored.

#include "core/master/Outcome.h"
#include "core/wages/DocumentKind.h"

#include <QString>

namespace gz {

class Database;
class Dataset;

struct LineEditorBoxes {
    QString workDate; // 加工日期, in the application's date format
    QString gh, xm, basegz;
    QString id, prowork;
    QString dj, sl, jge;
    QString remark;
    // Carried through a save (hidden boxes; visible for time lines).
    QString proinf, qsinf, superscale, backtime;
    QString overtime, overje, deduce, je;
    QString spelltime, latetime, lateje;
};

// Loads the boxes from a line: numbers in fixed notation with two decimals.
LineEditorBoxes loadLineEditor(const Dataset& lines, int row);

// Recomputes 加工额 from the boxes (empty number boxes count as 0); the amount has three decimals
// as the box shows it. Raises the conversion error for a box that is not a number. On time lines
// the loan amount sits where the material rate would be; it is not a rate and takes nothing off.
double editorAmount(const DocumentKind& kind, const LineEditorBoxes& b);

// Leaving the boxes. 工号: right-aligned to four; found, 姓名 and 固定工资 follow (and 班单价 on
// time lines); not found: "查无此员工号！" (the focus moves on; 保存 may create the employee).
Check leaveEmployeeNumber(Database& db, const DocumentKind& kind, LineEditorBoxes& b);
// 姓名: found, 工号 and 固定工资 follow; not found: "查无此员工姓名！".
Check leaveEmployeeName(Database& db, const DocumentKind& kind, LineEditorBoxes& b);
// 货号 / 品名: the other box follows, and on piece-rate lines 加工价 (three decimals); not found:
// "查无此货号！" / "查无此品名！".
Check leaveProductNumber(Database& db, const DocumentKind& kind, LineEditorBoxes& b);
Check leaveProductName(Database& db, const DocumentKind& kind, LineEditorBoxes& b);
// Leaving 加班时间 or 每班时间 (time lines): 加班工资 from 班单价, the hours and the multiplier
// (加班班价倍数); empty hours become "0". Hours per shift of 0 are refused and 加班工资 stays.
Check leaveOvertime(LineEditorBoxes& b, double multiplier);
// Leaving 迟到时间: 迟到扣款 = rate × 迟到时间; an empty 迟到时间 becomes "0".
void leaveLateTime(LineEditorBoxes& b, double rate);
// 添加 with 添加时保留上一记录内容 cleared: the boxes a new line starts from.
void clearForNewLine(const DocumentKind& kind, LineEditorBoxes& b);

// 保存. branchName is the header's workshop name (the department of a new employee). Refusals:
// "请输入员工姓名！", "请输入员工号！", "请输入员工号与姓名不符！", "请输入货号！",
// "请输入货号与品名不符！". An employee created before the item check refuses stays.
Check saveLineEditor(Database& db, const DocumentKind& kind, Dataset& lines, int row, LineEditorBoxes& boxes,
                     const QString& branchName);

} // namespace gz
