#include "core/wages/DocumentSession.h"

#include "core/data/Database.h"
#include "core/data/Errors.h"
#include "core/data/Formats.h"
#include "core/data/Numbering.h"

#include <QHash>

namespace gz {

namespace {

// Table and column names below come from the DocumentKind descriptors, never from the user.

QString lineWorkDate(const QDate& today) {
    return dateToStored(today.addDays(-30));
}

QString storedDate(const QDate& d, const QString& what) {
    if (!d.isValid()) throw conversionError(QStringLiteral("%1不是有效日期").arg(what));
    return dateToStored(d);
}

// The number fields whose grid text is converted with "empty stores 0".
bool zeroForEmpty(const QString& field) {
    static const QStringList fields = {QStringLiteral("dj"),       QStringLiteral("sl"),
                                       QStringLiteral("overtime"), QStringLiteral("overdj"),
                                       QStringLiteral("deduce"),   QStringLiteral("superscale")};
    return fields.contains(field);
}

// Ceilings of the line table's workshop columns; a workshop that does not fit cannot be copied
// into the lines at posting.
constexpr int kLineBranchIdWidth = 4;
constexpr int kLineBranchNameWidth = 20;

QString workshopTooLongMessage() {
    return QStringLiteral("该车间的编号超过4位或名称超过20个字,不能用于工资单！");
}

// Copies the lines of one document into a new one (转抄 of both windows).
void copyLines(Database& db, const DocumentKind& kind, const QString& from, const QString& to,
               const QDate& today) {
    QStringList cols{QStringLiteral("intno"), QStringLiteral("mainintno"), QStringLiteral("etdate")};
    QStringList selects;
    for (const QString& f : kind.copiedTexts) {
        cols << f;
        selects << f;
    }
    for (const QString& f : kind.copiedNumbers) {
        cols << f;
        selects << QStringLiteral("coalesce(%1, 0)").arg(f);
    }
    QStringList marks;
    for (int i = 0; i < cols.size(); ++i)
        marks << QStringLiteral(":p%1").arg(i + 1);
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(kind.lineTable, cols.join(u','), marks.join(u','));
    Query src(db,
              QStringLiteral("SELECT %1 FROM %2 WHERE mainintno = :p1 ORDER BY intno")
                  .arg(selects.join(u','), kind.lineTable),
              {from});
    std::vector<Params> rows;
    while (src.next()) {
        Params p;
        for (int c = 0; c < src.columnCount(); ++c)
            p.push_back(src.value(c));
        rows.push_back(std::move(p));
    }
    const QString workDate = lineWorkDate(today);
    for (Params& p : rows) {
        Params all{nextInternalNumber(db, kind.lineTable), to, workDate};
        all.insert(all.end(), p.begin(), p.end());
        db.exec(insert, all);
    }
}

} // namespace

QString DocumentSession::notFoundMessage() {
    return QStringLiteral("查无此单据！");
}
QString DocumentSession::postedMessage() {
    return QStringLiteral("该单据已过帐,不能再修改！");
}
QString DocumentSession::notPostedMessage() {
    return QStringLiteral("该单据未过帐,不能冲数！");
}

std::optional<DocumentHeader> readHeader(Database& db, const DocumentKind& kind, const QString& docNo) {
    Query q(db,
            QStringLiteral("SELECT intno, branchid, branchname, gh, xm, remark, billdate, etdate, "
                           "coalesce(hjsl, 0), coalesce(amount, 0), pass, cancel FROM %1 WHERE intno = :p1 "
                           "ORDER BY rowid LIMIT 1")
                .arg(kind.headerTable),
            {docNo});
    if (!q.next()) return std::nullopt;
    DocumentHeader h;
    h.intno = q.text(0);
    h.branchId = q.text(1);
    h.branchName = q.text(2);
    h.gh = q.text(3);
    h.xm = q.text(4);
    h.remark = q.text(5);
    h.billDate = dateFromStored(q.text(6));
    h.workDate = dateFromStored(q.text(7));
    h.hjsl = q.real(8);
    h.amount = q.real(9);
    h.pass = q.integer(10) != 0;
    h.cancel = q.integer(11) != 0;
    return h;
}

DocumentSession::DocumentSession(Database& db, const DocumentKind& kind, const QDate& today)
    : db_(&db), kind_(&kind), today_(today) {}

DocumentSession DocumentSession::startNew(Database& db, const DocumentKind& kind, const QDate& today) {
    DocumentSession s(db, kind, today);
    {
        Transaction tx(db);
        const QString no = drawDocumentNumber(db, kind.counter);
        db.exec(QStringLiteral("INSERT INTO %1 (intno, pass, billdate, etdate) VALUES (:p1, 0, :p2, :p3)")
                    .arg(kind.headerTable),
                {no, dateToStored(today), lineWorkDate(today)});
        tx.commit();
        s.boxes_.docNo = no;
    }
    s.newInWindow_ = true;
    s.boxes_.branchId = QStringLiteral("1");
    s.boxes_.billDate = today;
    s.boxes_.workDate = today.addDays(-30);
    s.openLines();
    s.addLine();
    return s;
}

DocumentSession DocumentSession::open(Database& db, const DocumentKind& kind, const QString& docNo,
                                      const QDate& today) {
    auto h = readHeader(db, kind, docNo);
    if (!h) throw databaseError(QStringLiteral("%1 中没有单号 %2").arg(kind.headerTable, docNo));
    DocumentSession s(db, kind, today);
    s.boxes_.docNo = h->intno;
    s.boxes_.branchId = h->branchId;
    s.boxes_.branchName = h->branchName;
    s.boxes_.gh = h->gh;
    s.boxes_.xm = h->xm;
    s.boxes_.billDate = h->billDate;
    s.boxes_.workDate = h->workDate.isValid() ? h->workDate : today;
    s.boxes_.remark = h->remark;
    s.openLines();
    return s;
}

DocumentHeader DocumentSession::header() const {
    auto h = readHeader(*db_, *kind_, boxes_.docNo);
    if (!h) throw databaseError(QStringLiteral("%1 中没有单号 %2").arg(kind_->headerTable, boxes_.docNo));
    return *h;
}

void DocumentSession::openLines() {
    lines_.openTable(*db_, kind_->lineTable, QStringLiteral("WHERE mainintno = :p1 ORDER BY intno"),
                     {boxes_.docNo});
}

void DocumentSession::refreshLines(int currentRow) {
    lines_.refresh();
    if (lines_.rowCount() > 0) lines_.setCurrent(qBound(0, currentRow, lines_.rowCount() - 1));
}

void DocumentSession::setLineText(int row, const QString& field, const QString& text) {
    const int col = lines_.columnIndex(field);
    if (col < 0) throw databaseError(QStringLiteral("%1 没有字段 %2").arg(kind_->lineTable, field));
    QString value = text;
    if (zeroForEmpty(field) && text.trimmed().isEmpty()) value = QStringLiteral("0");
    lines_.setValue(row, col, value);
    lines_.post(row);
}

QString DocumentSession::insertLine(bool withDefaults, const EmployeeInfo* e) {
    const QString no = nextInternalNumber(*db_, kind_->lineTable);
    if (!withDefaults) {
        db_->exec(QStringLiteral("INSERT INTO %1 (intno, mainintno) VALUES (:p1, :p2)").arg(kind_->lineTable),
                  {no, boxes_.docNo});
        return no;
    }
    db_->exec(
        QStringLiteral("INSERT INTO %1 (intno, mainintno, etdate, spelltime) VALUES (:p1, :p2, :p3, :p4)")
            .arg(kind_->lineTable),
        {no, boxes_.docNo, lineWorkDate(today_),
         kind_->newLineSpellTime > 0 ? QVariant(kind_->newLineSpellTime) : QVariant()});
    if (e) fillLineEmployee(no, *e);
    return no;
}

void DocumentSession::fillLineEmployee(const QString& lineIntno, const EmployeeInfo& e) {
    if (kind_->priceFromEmployee)
        db_->exec(QStringLiteral("UPDATE %1 SET gh = :p1, xm = :p2, basegz = :p3, dj = :p4 WHERE intno = :p5")
                      .arg(kind_->lineTable),
                  {e.id, e.name, e.basegz, e.dj, lineIntno});
    else
        db_->exec(QStringLiteral("UPDATE %1 SET gh = :p1, xm = :p2, basegz = :p3 WHERE intno = :p4")
                      .arg(kind_->lineTable),
                  {e.id, e.name, e.basegz, lineIntno});
}

Check DocumentSession::leaveWorkshopBox() {
    auto b = findBranch(*db_, boxes_.branchId);
    if (!b) return refused(QStringLiteral("查无此车间号！"));
    if (b->id.size() > kLineBranchIdWidth || b->name.size() > kLineBranchNameWidth)
        return refused(workshopTooLongMessage());
    db_->exec(QStringLiteral("UPDATE %1 SET branchid = :p1, branchname = :p2 WHERE intno = :p3")
                  .arg(kind_->headerTable),
              {b->id, b->name, boxes_.docNo});
    boxes_.branchId = b->id;
    boxes_.branchName = b->name;
    return passed();
}

Check DocumentSession::leaveDedicatedEmployeeBox() {
    if (boxes_.gh.isEmpty()) return passed();
    if (kind_->padsDedicatedEmployee) boxes_.gh = padEmployeeNumber(boxes_.gh);
    auto e = findEmployee(*db_, boxes_.gh);
    if (!e) return refused(QStringLiteral("查无此员工号！"));
    boxes_.gh = e->id;
    boxes_.xm = e->name;
    {
        Query q(*db_,
                QStringLiteral("SELECT coalesce(gh, '') FROM %1 WHERE mainintno = :p1 ORDER BY intno")
                    .arg(kind_->lineTable),
                {boxes_.docNo});
        bool first = true;
        QString firstGh;
        bool mixed = false;
        while (q.next()) {
            if (first) {
                firstGh = q.text(0);
                first = false;
            } else if (q.text(0) != firstGh) {
                mixed = true;
                break;
            }
        }
        if (mixed) {
            boxes_.gh.clear();
            boxes_.xm.clear();
            db_->exec(
                QStringLiteral("UPDATE %1 SET gh = '', xm = '' WHERE intno = :p1").arg(kind_->headerTable),
                {boxes_.docNo});
            return refused(QStringLiteral("明细表中存在不员工的数据,不能设为专用员工工资数据！"));
        }
    }
    Transaction tx(*db_);
    if (kind_->priceFromEmployee)
        db_->exec(
            QStringLiteral("UPDATE %1 SET gh = :p1, xm = :p2, basegz = :p3, dj = :p4 WHERE mainintno = :p5")
                .arg(kind_->lineTable),
            {e->id, e->name, e->basegz, e->dj, boxes_.docNo});
    else
        db_->exec(QStringLiteral("UPDATE %1 SET gh = :p1, xm = :p2, basegz = :p3 WHERE mainintno = :p4")
                      .arg(kind_->lineTable),
                  {e->id, e->name, e->basegz, boxes_.docNo});
    db_->exec(QStringLiteral("UPDATE %1 SET gh = :p1, xm = :p2 WHERE intno = :p3").arg(kind_->headerTable),
              {e->id, e->name, boxes_.docNo});
    tx.commit();
    refreshLines(lines_.current());
    return passed();
}

Result<QString> DocumentSession::addLine() {
    std::optional<EmployeeInfo> e;
    if (!boxes_.gh.isEmpty()) {
        e = findEmployee(*db_, boxes_.gh);
        if (!e) {
            boxes_.gh.clear();
            return Result<QString>::refusedWith(QStringLiteral("查无此工号！"));
        }
    }
    Transaction tx(*db_);
    const QString no = insertLine(true, e ? &*e : nullptr);
    tx.commit();
    lines_.refresh();
    const int row = lines_.locate(QStringLiteral("intno"), no);
    if (row >= 0) lines_.setCurrent(row);
    return no;
}

QString DocumentSession::addBlankLine() {
    const QString no = insertLine(true, nullptr);
    lines_.refresh();
    const int row = lines_.locate(QStringLiteral("intno"), no);
    if (row >= 0) lines_.setCurrent(row);
    return no;
}

void DocumentSession::removeLine(int row) {
    if (row < 0 || row >= lines_.rowCount()) return;
    lines_.remove(row);
}

Check DocumentSession::typeEmployeeIntoLine(int row, const QString& typed) {
    auto e = findEmployee(*db_, typed);
    if (!e) return refused(QStringLiteral("查无此工号！"));
    employeeIntoLine(row, *e);
    return passed();
}

void DocumentSession::employeeIntoLine(int row, const EmployeeInfo& e) {
    if (row < 0 || row >= lines_.rowCount()) return;
    fillLineEmployee(lines_.text(row, lines_.columnIndex(QStringLiteral("intno"))), e);
    refreshLines(row);
}

void DocumentSession::productIntoLine(int row, const ProductInfo& p) {
    if (row < 0 || row >= lines_.rowCount()) return;
    const QString no = lines_.text(row, lines_.columnIndex(QStringLiteral("intno")));
    if (kind_->priceFromProduct)
        db_->exec(QStringLiteral("UPDATE %1 SET id = :p1, prowork = :p2, dj = :p3 WHERE intno = :p4")
                      .arg(kind_->lineTable),
                  {p.id, p.name, p.jgj, no});
    else
        db_->exec(
            QStringLiteral("UPDATE %1 SET id = :p1, prowork = :p2 WHERE intno = :p3").arg(kind_->lineTable),
            {p.id, p.name, no});
    refreshLines(row);
}

Check DocumentSession::quickEntry(const QString& text) {
    if (lines_.rowCount() == 0) return refused(QStringLiteral("明细表为空,请先新增行！"));
    auto p = findProduct(*db_, text);
    if (!p) p = findProductByName(*db_, text);
    if (!p) return refused(QStringLiteral("查无此货号或品名！"));
    productIntoLine(lines_.rowCount() - 1, *p);
    return addLine().check();
}

Check DocumentSession::importProducts(const std::vector<ProductInfo>& marked) {
    if (lines_.rowCount() == 0) return refused(QStringLiteral("请先添加空行！"));
    if (marked.size() > 200) return refused(QStringLiteral("选择导出记录太多,不能导出!"));
    int row = lines_.current();
    if (row < 0 || row >= lines_.rowCount()) row = lines_.rowCount() - 1;
    QString target = lines_.text(row, lines_.columnIndex(QStringLiteral("intno")));
    Transaction tx(*db_);
    for (const ProductInfo& p : marked) {
        if (kind_->priceFromProduct)
            db_->exec(QStringLiteral("UPDATE %1 SET id = :p1, prowork = :p2, dj = :p3 WHERE intno = :p4")
                          .arg(kind_->lineTable),
                      {p.id, p.name, p.jgj, target});
        else
            db_->exec(QStringLiteral("UPDATE %1 SET id = :p1, prowork = :p2 WHERE intno = :p3")
                          .arg(kind_->lineTable),
                      {p.id, p.name, target});
        target = insertLine(false, nullptr);
    }
    tx.commit();
    lines_.refresh();
    const int last = lines_.locate(QStringLiteral("intno"), target);
    if (last >= 0) lines_.setCurrent(last);
    return passed();
}

Check DocumentSession::canEditLine() {
    if (lines_.rowCount() == 0) return stoppedSilently();
    if (!findBranch(*db_, boxes_.branchId))
        return refused(QStringLiteral("查无此车间号,请先输入或选择车间号！"));
    return passed();
}

Check DocumentSession::recalculate() {
    return recalculate(true);
}

Check DocumentSession::recalculate(bool reload) {
    if (lines_.rowCount() == 0) return stoppedSilently();
    if (lines_.current() >= 0 && lines_.current() < lines_.rowCount()) lines_.post();
    if (Check c = leaveWorkshopBox()) return c;
    const QString bill = storedDate(boxes_.billDate, QStringLiteral("日期"));
    const QString work = storedDate(boxes_.workDate, QStringLiteral("加工日期"));
    const int current = lines_.current();
    Transaction tx(*db_);
    db_->exec(
        QStringLiteral("UPDATE %1 SET jge = coalesce(sl, 0) * coalesce(dj, 0), billdate = :p1, etdate = :p2, "
                       "nf = :p3, yf = :p4 WHERE mainintno = :p5")
            .arg(kind_->lineTable),
        {bill, work, QString::number(boxes_.workDate.year()), QString::number(boxes_.workDate.month()),
         boxes_.docNo});
    double qty = 0, amount = 0;
    {
        Query q(
            *db_,
            QStringLiteral("SELECT coalesce(sum(sl), 0), coalesce(sum(jge), 0) FROM %1 WHERE mainintno = :p1")
                .arg(kind_->lineTable),
            {boxes_.docNo});
        if (q.next()) {
            qty = q.real(0);
            amount = q.real(1);
        }
    }
    // The work date is kept in the header too, so that reopening the document does not move its
    // lines back to the date it was created with.
    if (kind_->keepsQuantityTotal)
        db_->exec(QStringLiteral("UPDATE %1 SET hjsl = :p1, amount = :p2, branchid = :p3, branchname = :p4, "
                                 "billdate = :p5, remark = :p6, etdate = :p7 WHERE intno = :p8")
                      .arg(kind_->headerTable),
                  {qty, amount, boxes_.branchId, boxes_.branchName, bill, boxes_.remark, work, boxes_.docNo});
    else
        db_->exec(
            QStringLiteral("UPDATE %1 SET amount = :p1, branchid = :p2, branchname = :p3, billdate = :p4, "
                           "remark = :p5, etdate = :p6 WHERE intno = :p7")
                .arg(kind_->headerTable),
            {amount, boxes_.branchId, boxes_.branchName, bill, boxes_.remark, work, boxes_.docNo});
    tx.commit();
    if (reload) refreshLines(current);
    return passed();
}

namespace {

struct PayrollStatements {
    QString select, update, insert, lineSelect;
};

// The statements that carry a document's lines into the payroll rows, built once per kind from
// its table of effects. sign is +1 for posting, -1 for reversal (which touches added fields only).
PayrollStatements payrollStatements(const DocumentKind& kind, bool reversal) {
    PayrollStatements s;
    s.select = QStringLiteral(
        "SELECT rowid FROM gzb WHERE gh = :p1 AND nf = :p2 AND yf = :p3 ORDER BY rowid LIMIT 1");
    const std::vector<PayrollEffect> effects = reversal ? kind.addedFields() : kind.payroll;
    QStringList lineCols{QStringLiteral("coalesce(gh, '')"), QStringLiteral("xm"), QStringLiteral("billdate"),
                         QStringLiteral("etdate"),           QStringLiteral("nf"), QStringLiteral("yf")};
    QStringList sets;
    QStringList insertCols{QStringLiteral("gh"),       QStringLiteral("xm"),     QStringLiteral("branchname"),
                           QStringLiteral("billdate"), QStringLiteral("etdate"), QStringLiteral("nf"),
                           QStringLiteral("yf")};
    int n = 0;
    for (const PayrollEffect& e : effects) {
        ++n;
        lineCols << QStringLiteral("coalesce(%1, 0)").arg(e.lineField);
        // An empty payroll field counts as 0, so it never swallows the line's figure.
        if (e.mode == PayrollEffect::Set)
            sets << QStringLiteral("%1 = :p%2").arg(e.payrollField).arg(n);
        else
            sets << QStringLiteral("%1 = coalesce(%1, 0) %2 :p%3")
                        .arg(e.payrollField, reversal ? QStringLiteral("-") : QStringLiteral("+"))
                        .arg(n);
        insertCols << e.payrollField;
    }
    s.update = QStringLiteral("UPDATE gzb SET %1 WHERE rowid = :p%2")
                   .arg(sets.join(QStringLiteral(", ")))
                   .arg(n + 1);
    QStringList marks;
    for (int i = 0; i < insertCols.size(); ++i)
        marks << QStringLiteral(":p%1").arg(i + 1);
    s.insert =
        QStringLiteral("INSERT INTO gzb (%1) VALUES (%2)").arg(insertCols.join(u','), marks.join(u','));
    s.lineSelect = QStringLiteral("SELECT %1 FROM %2 WHERE mainintno = :p1 ORDER BY intno")
                       .arg(lineCols.join(u','), kind.lineTable);
    return s;
}

// Carries every line of a document into the payroll rows (posting) or takes it back (reversal).
void applyToPayroll(Database& db, const DocumentKind& kind, const QString& docNo, bool reversal) {
    const PayrollStatements s = payrollStatements(kind, reversal);
    struct Line {
        QString gh, xm, billdate, etdate, nf, yf;
        Params figures;
    };
    std::vector<Line> lines;
    {
        Query q(db, s.lineSelect, {docNo});
        while (q.next()) {
            Line l{q.text(0), q.text(1), q.text(2), q.text(3), q.text(4), q.text(5), {}};
            for (int c = 6; c < q.columnCount(); ++c)
                l.figures.push_back(q.real(c));
            lines.push_back(std::move(l));
        }
    }
    QHash<QString, QString> departments;
    for (const Line& l : lines) {
        if (l.gh.trimmed().isEmpty()) continue;
        QVariant rowid = db.scalar(s.select, {l.gh, l.nf, l.yf});
        if (rowid.isValid()) {
            Params p = l.figures;
            p.push_back(rowid);
            db.exec(s.update, p);
            continue;
        }
        if (reversal) continue; // a reversal never creates a payroll row
        auto dep = departments.find(l.gh);
        if (dep == departments.end()) {
            auto e = findEmployee(db, l.gh);
            dep = departments.insert(l.gh, e ? e->department : QString());
        }
        Params p{l.gh,
                 l.xm,
                 *dep,
                 l.billdate.isEmpty() ? QVariant() : QVariant(l.billdate),
                 l.etdate.isEmpty() ? QVariant() : QVariant(l.etdate),
                 l.nf,
                 l.yf};
        p.insert(p.end(), l.figures.begin(), l.figures.end());
        db.exec(s.insert, p);
    }
}

} // namespace

Check DocumentSession::post() {
    const DocumentHeader h = header();
    if (h.pass) return refused(QStringLiteral("该单据已过帐,不能再过帐！"));
    if (boxes_.branchId.isEmpty()) return refused(QStringLiteral("没有选取车间部门,不能过帐！"));
    // One transaction from the recalculation to the last payroll row. A refusal by the line checks
    // keeps the recalculation (as the window does); an error takes everything back.
    Transaction tx(*db_);
    if (Check c = recalculate(false)) {
        tx.commit();
        return c;
    }
    Check refusal;
    {
        Query q(*db_,
                QStringLiteral(
                    "SELECT coalesce(l.gh, ''), coalesce(l.xm, ''), EXISTS (SELECT 1 FROM employee e WHERE "
                    "e.id = l.gh) FROM %1 l WHERE l.mainintno = :p1 ORDER BY l.intno")
                    .arg(kind_->lineTable),
                {boxes_.docNo});
        while (!refusal && q.next()) {
            if (q.text(0).trimmed().isEmpty())
                refusal = refused(QStringLiteral("存在员工号为空,不能过帐！"));
            else if (q.integer(2) == 0)
                refusal = refused(q.text(1).trimmed() + QStringLiteral(",该员工不存在,请检查后再过帐！"));
        }
    }
    if (refusal) {
        tx.commit();
        refreshLines(lines_.current());
        return refusal;
    }
    db_->exec(QStringLiteral("UPDATE %1 SET pass = 1 WHERE intno = :p1").arg(kind_->headerTable),
              {boxes_.docNo});
    // The recalculation has just stored the boxes into the header.
    db_->exec(QStringLiteral("UPDATE %1 SET branchid = :p1, branchname = :p2, billdate = :p3, pass = 1 "
                             "WHERE mainintno = :p4")
                  .arg(kind_->lineTable),
              {boxes_.branchId, boxes_.branchName, dateToStored(boxes_.billDate), boxes_.docNo});
    applyToPayroll(*db_, *kind_, boxes_.docNo, false);
    tx.commit();
    refreshLines(lines_.current());
    return passed();
}

Check DocumentSession::reverse(Database& db, const DocumentKind& kind, const QString& docNo) {
    auto h = readHeader(db, kind, docNo);
    if (!h) return refused(notFoundMessage());
    if (!h->pass) return refused(notPostedMessage());
    if (h->cancel) return refused(QStringLiteral("该单据已冲数,不能再冲数！"));
    if (!findBranch(db, h->branchId)) return refused(QStringLiteral("查无此车间号,不能冲数！"));
    Transaction tx(db);
    db.exec(QStringLiteral("UPDATE %1 SET cancel = 1 WHERE intno = :p1").arg(kind.headerTable), {docNo});
    db.exec(QStringLiteral("UPDATE %1 SET cancel = 1 WHERE mainintno = :p1").arg(kind.lineTable), {docNo});
    applyToPayroll(db, kind, docNo, true);
    tx.commit();
    return passed();
}

Result<QString> DocumentSession::copy() {
    QString no;
    {
        Transaction tx(*db_);
        no = drawDocumentNumber(*db_, kind_->counter);
        db_->exec(
            QStringLiteral("INSERT INTO %1 (intno, pass, billdate, remark, branchid, branchname, gh, xm) "
                           "VALUES (:p1, 0, :p2, :p3, :p4, :p5, :p6, :p7)")
                .arg(kind_->headerTable),
            {no, dateToStored(today_), boxes_.remark, boxes_.branchId, boxes_.branchName, boxes_.gh,
             boxes_.xm});
        copyLines(*db_, *kind_, boxes_.docNo, no, today_);
        tx.commit();
    }
    boxes_.docNo = no;
    boxes_.billDate = today_;
    openLines();
    if (Check c = recalculate(); c && !c->isEmpty()) return Result<QString>::refusedWith(*c);
    return no;
}

Result<QString> DocumentSession::copyPosted(Database& db, const DocumentKind& kind, const QString& docNo,
                                            const QDate& today) {
    auto h = readHeader(db, kind, docNo);
    if (!h) return Result<QString>::refusedWith(notFoundMessage());
    Transaction tx(db);
    const QString no = drawDocumentNumber(db, kind.counter);
    db.exec(QStringLiteral("INSERT INTO %1 (intno, pass, billdate, branchid, branchname, gh, xm) "
                           "VALUES (:p1, 0, :p2, :p3, :p4, :p5, :p6)")
                .arg(kind.headerTable),
            {no, dateToStored(today), h->branchId, h->branchName, h->gh, h->xm});
    copyLines(db, kind, docNo, no, today);
    tx.commit();
    return no;
}

Check DocumentSession::discard() {
    const DocumentHeader h = header();
    if (h.pass) return refused(QStringLiteral("该单据已过帐,不能作废！"));
    Transaction tx(*db_);
    db_->exec(QStringLiteral("DELETE FROM %1 WHERE intno = :p1").arg(kind_->headerTable), {boxes_.docNo});
    db_->exec(QStringLiteral("DELETE FROM %1 WHERE mainintno = :p1").arg(kind_->lineTable), {boxes_.docNo});
    if (newInWindow_) {
        // Only the last number drawn can go back: if another document took a number since, giving
        // ours back would hand that one out twice.
        const qint64 counter = readInteger(counterText(*db_, kind_->counter));
        if (counter == readInteger(boxes_.docNo) + 1) giveBackDocumentNumber(*db_, kind_->counter);
    }
    tx.commit();
    lines_.close();
    return passed();
}

void DocumentSession::storeHeader() {
    db_->exec(QStringLiteral("UPDATE %1 SET branchid = :p1, branchname = :p2, billdate = :p3, remark = :p4, "
                             "etdate = :p5 WHERE intno = :p6")
                  .arg(kind_->headerTable),
              {boxes_.branchId, boxes_.branchName, storedDate(boxes_.billDate, QStringLiteral("日期")),
               boxes_.remark,
               boxes_.workDate.isValid() ? QVariant(dateToStored(boxes_.workDate)) : QVariant(),
               boxes_.docNo});
}

void DocumentSession::returnToList() {
    Transaction tx(*db_);
    const qint64 count =
        db_->scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE mainintno = :p1").arg(kind_->lineTable),
                    {boxes_.docNo})
            .toLongLong();
    if (count == 0)
        db_->exec(QStringLiteral("DELETE FROM %1 WHERE intno = :p1").arg(kind_->headerTable), {boxes_.docNo});
    else
        storeHeader();
    db_->exec(QStringLiteral("DELETE FROM %1 WHERE intno = '' OR intno IS NULL").arg(kind_->lineTable));
    tx.commit();
    lines_.close();
}

} // namespace gz
