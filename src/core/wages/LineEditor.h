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

// 保存. branchName is the header's workshop name (the department of a new employee). Refusals:
// "请输入员工姓名！", "请输入员工号！", "请输入员工号与姓名不符！", "请输入货号！",
// "请输入货号与品名不符！". An employee created before the item check refuses stays.
Check saveLineEditor(Database& db, const DocumentKind& kind, Dataset& lines, int row, LineEditorBoxes& boxes,
                     const QString& branchName);

} // namespace gz
