#pragma once
// One wage document open for work, as the entry window holds it: the header boxes, the lines in
// an editable dataset, and the commands of the window (新增行, 删除行, 刷新, 过帐, 作废, 转抄, 退回,
// quick process entry, the workshop and dedicated-employee boxes). The window drives it step by
// step; the command line drives it in one go. The posted view's commands (冲数, 转抄) are the
// static functions at the end.
//
// Every check returns its refusal text (see Outcome.h); data errors are thrown as gz::Error.
// Posting, reversal, copying and discarding each write in one transaction.

#include "core/data/Dataset.h"
#include "core/master/Lookup.h"
#include "core/master/Outcome.h"
#include "core/wages/DocumentKind.h"

#include <QDate>
#include <QString>
#include <vector>

namespace gz {

class Database;

// What the header boxes of the entry window hold.
struct HeaderBoxes {
    QString docNo;      // 单号
    QString branchId;   // 车间号
    QString branchName; // 车间名称
    QString gh;         // 工号 (dedicated employee)
    QString xm;         // 姓名
    QDate billDate;     // 日期
    QDate workDate;     // 加工日期
    QString remark;     // 附加说明
};

// A stored document header as read from the data file.
struct DocumentHeader {
    QString intno, branchId, branchName, gh, xm, remark;
    QDate billDate, workDate;
    double hjsl = 0, amount = 0;
    bool pass = false, cancel = false;
};

std::optional<DocumentHeader> readHeader(Database& db, const DocumentKind& kind, const QString& docNo);

class DocumentSession {
public:
    // 新开单: draws the next number of the kind's counter, writes the header (unposted, dated today,
    // work date today − 30 days), sets the boxes to their starting values and adds the first line.
    static DocumentSession startNew(Database& db, const DocumentKind& kind, const QDate& today);
    // Opens an existing document (one chosen in the list). Raises a database error when the
    // document does not exist.
    static DocumentSession open(Database& db, const DocumentKind& kind, const QString& docNo,
                                const QDate& today);

    DocumentSession(DocumentSession&&) = default;
    DocumentSession& operator=(DocumentSession&&) = delete;

    const DocumentKind& kind() const { return *kind_; }
    Database& db() { return *db_; }
    const QString& number() const { return boxes_.docNo; }
    HeaderBoxes& boxes() { return boxes_; }
    const HeaderBoxes& boxes() const { return boxes_; }
    // Whether this document was made new in this window: only such a number is given back when
    // the document is discarded.
    bool newInThisWindow() const { return newInWindow_; }
    DocumentHeader header() const;

    // The lines of the document, ordered by line number, editable (the entry window's grid).
    Dataset& lines() { return lines_; }
    int lineCount() const { return lines_.rowCount(); }

    // Grid typing into a line field: the number fields store 0 for empty text; text that is not a
    // number raises the conversion error and changes nothing.
    void setLineText(int row, const QString& field, const QString& text);

    // Leaving 车间号: the workshop must exist; its number and name go into the header.
    Check leaveWorkshopBox();
    // Leaving 工号 (dedicated employee): every line takes the employee.
    Check leaveDedicatedEmployeeBox();
    // 新增行: appends a line (with the dedicated employee when there is one); returns its number.
    Result<QString> addLine();
    // The line editor's 添加: a line with its numbers and work date only, whatever the dedicated
    // employee box holds.
    QString addBlankLine();
    // 删除行: deletes a line at once.
    void removeLine(int row);
    // Enter in the grid's 工号 column: the typed number is looked up and the line takes the
    // employee (and, for time documents, the employee's price per shift).
    Check typeEmployeeIntoLine(int row, const QString& typed);
    // An employee or processed item chosen in a picker goes into a line.
    void employeeIntoLine(int row, const EmployeeInfo& e);
    void productIntoLine(int row, const ProductInfo& p);
    // Enter in 货号或货品名: the item (by number, then by name) goes into the last line and a
    // new line follows.
    Check quickEntry(const QString& text);
    // The product window's export of its marked items into this document.
    Check importProducts(const std::vector<ProductInfo>& marked);
    // 修改行: whether the line editor may open.
    Check canEditLine();

    // 刷新: every line's amount, dates and payroll month; the header's totals and boxes.
    Check recalculate();
    // 过帐: all checks first, then header, lines and payroll rows in one transaction.
    Check post();
    // 转抄: a new unposted document with the same workshop, employee and lines; this session then
    // shows the copy. Returns the new number.
    Result<QString> copy();
    // 作废: header and lines deleted; the number is given back when the document was made new in
    // this window and no later number has been drawn since.
    Check discard();
    // 退回: an empty document is not kept; otherwise the header boxes are stored. Then lines
    // without a number are removed.
    void returnToList();
    // The header boxes stored into the header (workshop, dates, remark), as 退回 does for a
    // document with lines.
    void storeHeader();

    // 冲数 of a posted document.
    static Check reverse(Database& db, const DocumentKind& kind, const QString& docNo);
    // 转抄 from the posted view. Returns the new number.
    static Result<QString> copyPosted(Database& db, const DocumentKind& kind, const QString& docNo,
                                      const QDate& today);

    // Refusal texts of our own, for commands the windows never offer on such a document.
    static QString notFoundMessage();
    static QString postedMessage();
    static QString notPostedMessage();

private:
    DocumentSession(Database& db, const DocumentKind& kind, const QDate& today);
    Check recalculate(bool reload);
    void openLines();
    void refreshLines(int currentRow);
    void fillLineEmployee(const QString& lineIntno, const EmployeeInfo& e);
    QString insertLine(bool withDefaults, const EmployeeInfo* employee);

    Database* db_;
    const DocumentKind* kind_;
    QDate today_;
    HeaderBoxes boxes_;
    bool newInWindow_ = false;
    Dataset lines_;
};

} // namespace gz
