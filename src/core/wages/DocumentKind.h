#pragma once
// The three wage document kinds as data. Everything that differs between piece-rate, points and
// time documents lives here; one document service and one set of windows serve all three.

#include <QString>
#include <QStringList>
#include <vector>

namespace gz {

enum class KindId { Piece, Points, Time };

// How a posted line changes a field of the employee's monthly payroll row.
struct PayrollEffect {
    enum Mode { Add, Set };
    QString payrollField; // column of gzb
    QString lineField;    // column of the line table
    Mode mode;
};

// A column of the entry window's or the posted view's grid.
struct GridColumn {
    QString field;
    QString title;
    int width = 0; // 0: the grid's default width
    bool hidden = false;
    bool readOnly = false;
};

struct DocumentKind {
    KindId id;
    QString code;         // "jj", "jf", "js" (command line)
    QString headerTable;  // jjgzlist …
    QString lineTable;    // jjgzdetail …
    QString counter;      // tablename of the nextno row
    QString listCaption;  // 计件工资表 …
    QString entryCaption; // 计件工资明细表 …
    QString editorCaption;
    QString postedCaption;
    int headerPickerMode; // workshop/employee boxes, product window
    int linePickerMode;   // 转员工资料

    bool keepsQuantityTotal;    // hjsl maintained by 刷新
    bool padsDedicatedEmployee; // dedicated-employee box right-aligned to four digits
    bool priceFromProduct;      // choosing a processed item sets dj from its jgj
    bool priceFromEmployee;     // choosing an employee sets dj from the employee's dj
    double newLineSpellTime;    // 每班时间 of a line made by the entry window (0: not set)
    bool hasPrintTemplate;      // 打印 previews jjgzdetail.rmf

    QString priceLabel; // the line editor's labels of dj and sl
    QString quantityLabel;
    std::vector<GridColumn> entryColumns;
    std::vector<GridColumn> postedColumns;
    // Grid shortcuts by column index: leaving these columns runs 刷新; Enter on the editor range
    // and a double-click on the other range open the line editor; a double-click on the employee
    // range runs 转员工资料 and on the product column opens the product window.
    std::vector<int> recalcOnLeave;
    int enterEditorFirst = 2, enterEditorLast = 7;
    int clickEditorFirst = 5, clickEditorLast = 10;
    int clickEmployeeFirst = 1, clickEmployeeLast = 3;
    int clickProduct = 4;

    std::vector<PayrollEffect> payroll; // what posting adds to or sets in gzb
    QStringList copiedTexts;            // line fields 转抄 copies as text
    QStringList copiedNumbers;          // line fields 转抄 copies as numbers (empty → 0)

    // The payroll fields that a reversal subtracts (the added ones).
    std::vector<PayrollEffect> addedFields() const;
};

const DocumentKind& documentKind(KindId id);
// "jj", "jf", "js"; nullptr for anything else.
const DocumentKind* documentKindByCode(const QString& code);
const std::vector<const DocumentKind*>& documentKinds();

} // namespace gz
