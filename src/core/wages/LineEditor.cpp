#include "core/wages/LineEditor.h"

#include "core/data/Database.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "core/data/Formats.h"
#include "core/master/Lookup.h"
#include "core/wages/LineArithmetic.h"

#include <cmath>

namespace gz {

namespace {

double number(QString& box) {
    if (box.trimmed().isEmpty()) box = QStringLiteral("0");
    return parseNumber(box).value_or(0);
}

QString fixed2(const Dataset& ds, int row, const char* field) {
    const int col = ds.columnIndex(QString::fromLatin1(field));
    return col < 0 ? QString() : QString::number(ds.real(row, col), 'f', 2);
}

QString text(const Dataset& ds, int row, const char* field) {
    const int col = ds.columnIndex(QString::fromLatin1(field));
    return col < 0 ? QString() : ds.text(row, col);
}

} // namespace

LineEditorBoxes loadLineEditor(const Dataset& ds, int row) {
    LineEditorBoxes b;
    const QString stored = text(ds, row, "etdate");
    const QDate d = dateFromStored(stored);
    b.workDate = appDateFormat().format(d.isValid() ? d : QDate::currentDate());
    b.gh = text(ds, row, "gh");
    b.xm = text(ds, row, "xm");
    b.id = text(ds, row, "id");
    b.prowork = text(ds, row, "prowork");
    b.remark = text(ds, row, "remark");
    b.dj = fixed2(ds, row, "dj");
    b.sl = fixed2(ds, row, "sl");
    b.proinf = fixed2(ds, row, "proinf");
    b.qsinf = fixed2(ds, row, "qsinf");
    b.superscale = fixed2(ds, row, "superscale");
    b.backtime = fixed2(ds, row, "backtime");
    b.overtime = fixed2(ds, row, "overtime");
    b.overje = fixed2(ds, row, "overje");
    b.deduce = fixed2(ds, row, "deduce");
    b.jge = fixed2(ds, row, "jge");
    b.basegz = fixed2(ds, row, "basegz");
    b.je = fixed2(ds, row, "je");
    b.spelltime = fixed2(ds, row, "spelltime");
    b.latetime = fixed2(ds, row, "latetime");
    b.lateje = fixed2(ds, row, "lateje");
    return b;
}

double editorAmount(const DocumentKind& kind, const LineEditorBoxes& in) {
    LineEditorBoxes b = in;
    LineFigures f;
    f.price = number(b.dj);
    f.quantity = number(b.sl);
    f.proinf = number(b.proinf);
    f.qsinf = number(b.qsinf);
    f.superscale = kind.id == KindId::Time ? 0 : number(b.superscale);
    f.backtime = number(b.backtime);
    // As shown in the box: three decimals.
    return std::round(lineAmount(f) * 1000.0) / 1000.0;
}

Check leaveEmployeeNumber(Database& db, const DocumentKind& kind, LineEditorBoxes& b) {
    b.gh = padEmployeeNumber(b.gh);
    auto e = findEmployee(db, b.gh);
    if (!e) return refused(QStringLiteral("查无此员工号！"));
    b.xm = e->name;
    b.basegz = QString::number(e->basegz, 'f', 2);
    if (kind.priceFromEmployee) b.dj = QString::number(e->dj, 'f', 2);
    return passed();
}

Check leaveEmployeeName(Database& db, const DocumentKind& kind, LineEditorBoxes& b) {
    auto e = findEmployeeByName(db, b.xm);
    if (!e) return refused(QStringLiteral("查无此员工姓名！"));
    b.gh = e->id;
    b.basegz = QString::number(e->basegz, 'f', 2);
    if (kind.priceFromEmployee) b.dj = QString::number(e->dj, 'f', 2);
    return passed();
}

Check leaveProductNumber(Database& db, const DocumentKind& kind, LineEditorBoxes& b) {
    auto p = findProduct(db, b.id);
    if (!p) return refused(QStringLiteral("查无此货号！"));
    b.prowork = p->name;
    if (kind.priceFromProduct) b.dj = QString::number(p->jgj, 'f', 3);
    return passed();
}

Check leaveProductName(Database& db, const DocumentKind& kind, LineEditorBoxes& b) {
    auto p = findProductByName(db, b.prowork);
    if (!p) return refused(QStringLiteral("查无此品名！"));
    b.id = p->id;
    if (kind.priceFromProduct) b.dj = QString::number(p->jgj, 'f', 3);
    return passed();
}

Check leaveOvertime(LineEditorBoxes& b, double multiplier) {
    const double hours = number(b.overtime);
    const double perShift = number(b.spelltime);
    if (b.dj.trimmed().isEmpty())
        throw conversionError(QStringLiteral("'' is not a valid floating point value"));
    const double price = parseNumber(b.dj).value_or(0);
    Result<double> pay = overtimePay(price, hours, multiplier, perShift);
    if (!pay) return pay.check();
    b.overje = QString::number(pay.value(), 'f', 2);
    return passed();
}

void leaveLateTime(LineEditorBoxes& b, double rate) {
    b.lateje = QString::number(latenessDeduction(rate, number(b.latetime)), 'f', 2);
}

void clearForNewLine(const DocumentKind& kind, LineEditorBoxes& b) {
    b.gh.clear();
    b.xm.clear();
    b.id.clear();
    b.prowork.clear();
    b.remark.clear();
    b.basegz = b.dj = b.sl = b.jge = QStringLiteral("0");
    if (kind.id == KindId::Time) b.overtime = b.overje = b.latetime = b.lateje = QStringLiteral("0");
}

Check saveLineEditor(Database& db, const DocumentKind& kind, Dataset& lines, int row, LineEditorBoxes& b,
                     const QString& branchName) {
    if (b.xm.isEmpty()) return refused(QStringLiteral("请输入员工姓名！"));
    if (Check c = ensureEmployee(db, b.gh, b.xm, branchName)) return c;
    b.id = b.id.trimmed();
    if (Check c = ensureProduct(db, b.id, b.prowork)) return c;

    // Every conversion happens before the line changes, so a bad box leaves it as it was.
    const auto date = appDateFormat().parse(b.workDate);
    if (!date) throw conversionError(QStringLiteral("'%1' is not a valid date").arg(b.workDate));
    const double amount = editorAmount(kind, b);
    b.jge = QString::number(amount, 'f', 3);
    struct Field {
        const char* name;
        QVariant value;
    };
    std::vector<Field> fields = {
        {"gh", b.gh},
        {"etdate", dateToStored(*date)},
        {"xm", b.xm},
        {"basegz", number(b.basegz)},
        {"id", b.id},
        {"prowork", b.prowork},
        {"dj", number(b.dj)},
        {"sl", number(b.sl)},
        {"proinf", number(b.proinf)},
        {"qsinf", number(b.qsinf)},
        {"superscale", number(b.superscale)},
        {"backtime", number(b.backtime)},
    };
    if (kind.id == KindId::Time) {
        fields.push_back({"spelltime", number(b.spelltime)});
        fields.push_back({"overtime", number(b.overtime)});
        fields.push_back({"overje", number(b.overje)});
        fields.push_back({"latetime", number(b.latetime)});
        fields.push_back({"lateje", number(b.lateje)});
    } else {
        fields.push_back({"overtime", number(b.overtime)});
        fields.push_back({"overje", number(b.overje)});
        fields.push_back({"deduce", number(b.deduce)});
    }
    fields.push_back({"jge", amount});
    fields.push_back({"je", number(b.je)});
    fields.push_back({"remark", b.remark});
    for (const Field& f : fields)
        lines.setValue(row, lines.columnIndex(QString::fromLatin1(f.name)), f.value);
    lines.post(row);
    return passed();
}

} // namespace gz
