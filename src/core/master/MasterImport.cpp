#include "core/master/MasterImport.h"

#include "core/data/Database.h"
#include "core/data/Errors.h"
#include "core/data/Formats.h"
#include "core/data/Numbering.h"
#include "core/data/Schema.h"
#include "core/master/Lookup.h"

#include <QHash>
#include <QRegularExpression>

namespace gz {

namespace {

struct RowRefusal {
    QString text;
};

using Row = QHash<QString, QString>;

QString cell(const Row& r, const char* name) {
    return r.value(QString::fromLatin1(name));
}

[[maybe_unused]] bool has(const Row& r, const char* name) {
    return r.contains(QString::fromLatin1(name));
}

double numberCell(const Row& r, const char* name) {
    return parseNumber(cell(r, name)).value_or(0);
}

// A date box the file leaves empty keeps the editor's starting value (today).
QString dateCell(const Row& r, const char* name, const QDate& fallback) {
    const QString t = cell(r, name).trimmed();
    if (t.isEmpty()) return dateToStored(fallback);
    std::optional<QDate> d;
    try {
        d = appDateFormat().parse(t);
    } catch (const Error&) {
    }
    if (!d || !d->isValid()) throw RowRefusal{QStringLiteral("%1 不是有效日期").arg(t)};
    return dateToStored(*d);
}

// Texts must fit their columns; the data file refuses longer ones.
void checkWidths(const QString& table, const Row& r) {
    const TableDef* t = findTable(table);
    for (auto it = r.begin(); it != r.end(); ++it) {
        const ColumnDef* c = t->column(it.key());
        if (c && c->type == ColType::Text && it.value().size() > c->width) {
            const QString label = c->label.isEmpty() ? c->name : c->label;
            throw RowRefusal{QStringLiteral("%1超过%2个字符！").arg(label).arg(c->width)};
        }
    }
}

void insertRow(Database& db, const QString& table, const QStringList& cols, const Params& values) {
    QStringList marks;
    for (int i = 0; i < cols.size(); ++i)
        marks << QStringLiteral(":p%1").arg(i + 1);
    // Column names come from the fixed lists of this file.
    db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, cols.join(u','), marks.join(u',')),
            values);
}

void importBranch(Database& db, Row r) {
    const QString id = cell(r, "id");
    if (id.isEmpty()) throw RowRefusal{QStringLiteral("编号不能为空!")};
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(id).hasMatch()) throw RowRefusal{QStringLiteral("编号只能是数字！")};
    checkWidths(QStringLiteral("branch"), r);
    if (findBranch(db, id)) throw RowRefusal{QStringLiteral("该编号已存在,不能再录入！ ")};
    QStringList cols{QStringLiteral("intno")};
    Params values{nextInternalNumber(db, QStringLiteral("branch"))};
    for (const QString& c : importableColumns(QStringLiteral("branch"))) {
        cols << c;
        values.push_back(r.value(c));
    }
    insertRow(db, QStringLiteral("branch"), cols, values);
}

void importEmployee(Database& db, Row r, const QDate& today) {
    const QString intno = nextInternalNumber(db, QStringLiteral("employee"));
    // An empty number takes the one the editor proposes; a typed one is right-aligned to four.
    QString id = cell(r, "id").trimmed();
    // The editor keeps only the last four characters of a longer number; from a file that would
    // quietly turn 12345 into 2345, so such a row is refused instead.
    if (id.size() > 4) throw RowRefusal{QStringLiteral("工号不能超过4位！")};
    id = id.isEmpty() ? intno.right(4) : padEmployeeNumber(id);
    r.insert(QStringLiteral("id"), id);
    if (cell(r, "name").isEmpty()) throw RowRefusal{QStringLiteral("请输入员工姓名！")};
    auto dep = findBranchByName(db, cell(r, "szbm"));
    if (!dep || dep->name != cell(r, "szbm")) throw RowRefusal{QStringLiteral("所在部门不存在！")};
    if (findEmployee(db, id)) throw RowRefusal{QStringLiteral("该工号已存在,不能保存该员工资料！")};
    auto textOr = [&](const char* name, const char* fallback) {
        return has(r, name) ? cell(r, name) : QString::fromUtf8(fallback);
    };
    r.insert(QStringLiteral("xb"), textOr("xb", "男"));
    r.insert(QStringLiteral("mz"), textOr("mz", "汉族"));
    r.insert(QStringLiteral("zkck"), textOr("zkck", "正常"));
    r.insert(QStringLiteral("hyzk"), textOr("hyzk", "未婚"));
    r.insert(QStringLiteral("whcd"), textOr("whcd", "初中"));
    checkWidths(QStringLiteral("employee"), r);
    QStringList cols{QStringLiteral("intno"), QStringLiteral("lcbj"), QStringLiteral("szbj"),
                     QStringLiteral("ddrq")};
    Params values{intno, 0, 0, dateToStored(today)};
    for (const QString& c : importableColumns(QStringLiteral("employee"))) {
        cols << c;
        const QByteArray n = c.toLatin1();
        if (c == QLatin1String("high") || c == QLatin1String("dj") || c == QLatin1String("basegz"))
            values.push_back(numberCell(r, n.constData()));
        else if (c == QLatin1String("csny") || c == QLatin1String("rcrq"))
            values.push_back(dateCell(r, n.constData(), today));
        else
            values.push_back(r.value(c));
    }
    insertRow(db, QStringLiteral("employee"), cols, values);
}

void importProduct(Database& db, Row r) {
    const QString id = cell(r, "id").trimmed();
    if (id.isEmpty()) throw RowRefusal{QStringLiteral("序号不能为空!")};
    checkWidths(QStringLiteral("prowork"), r);
    auto same = findProduct(db, id);
    if (same && same->id == cell(r, "id")) throw RowRefusal{QStringLiteral("该货号已存在,不能再录入！ ")};
    const double jgj = numberCell(r, "jgj");
    const double fdjgj = numberCell(r, "fdjgj");
    if (jgj < 0 || fdjgj < 0) throw RowRefusal{QStringLiteral("加工价不能为负数！")};
    insertRow(db, QStringLiteral("prowork"),
              {QStringLiteral("intno"), QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("jgj"),
               QStringLiteral("fdjgj"), QStringLiteral("remark"), QStringLiteral("szbj")},
              {nextInternalNumber(db, QStringLiteral("prowork")), cell(r, "id"), cell(r, "name"), jgj, fdjgj,
               cell(r, "remark"), 0});
}

} // namespace

QString ImportOutcome::text() const {
    return QStringLiteral("第%1行: %2").arg(line).arg(refusal);
}

QStringList importableTables() {
    return {QStringLiteral("branch"), QStringLiteral("employee"), QStringLiteral("prowork")};
}

QStringList importableColumns(const QString& table) {
    if (table == QLatin1String("branch"))
        return QStringLiteral("id name tel fax movetel email addr persondeal").split(u' ');
    if (table == QLatin1String("employee"))
        return QStringLiteral(
                   "id name xb mz csny zkck high zg hyzk whcd school tczy addr scode addrf tel email "
                   "movetel dj basegz szbm zw rcrq remark ygdd")
            .split(u' ');
    if (table == QLatin1String("prowork")) return QStringLiteral("id name jgj fdjgj remark").split(u' ');
    return {};
}

ImportOutcome importTable(Database& db, const QString& table, const TableFile& file, const QDate& today) {
    ImportOutcome out;
    const QStringList allowed = importableColumns(table);
    if (allowed.isEmpty()) {
        out.refusal = QStringLiteral("不能导入表 %1").arg(table);
        return out;
    }
    out.line = 1;
    if (file.header.isEmpty()) {
        out.refusal = QStringLiteral("文件中没有列名");
        return out;
    }
    for (int i = 0; i < file.header.size(); ++i) {
        const QString& h = file.header[i];
        if (!allowed.contains(h)) {
            out.refusal = QStringLiteral("列 %1 不能导入(可导入的列: %2)").arg(h, allowed.join(u' '));
            return out;
        }
        if (file.header.indexOf(h) != i) {
            out.refusal = QStringLiteral("列 %1 重复").arg(h);
            return out;
        }
    }
    Transaction tx(db);
    for (std::size_t i = 0; i < file.rows.size(); ++i) {
        const QStringList& rec = file.rows[i];
        out.line = file.lines[i];
        if (rec.size() > file.header.size()) {
            out.refusal = QStringLiteral("这一行的字段比列名多");
            return out; // the transaction rolls back
        }
        Row r;
        for (int c = 0; c < file.header.size(); ++c)
            r.insert(file.header[c], rec.value(c));
        try {
            if (table == QLatin1String("branch"))
                importBranch(db, r);
            else if (table == QLatin1String("employee"))
                importEmployee(db, r, today);
            else
                importProduct(db, r);
        } catch (const RowRefusal& refusal) {
            out.refusal = refusal.text;
            return out;
        } catch (const Error& e) {
            if (e.kind() != ErrorKind::Conversion) throw;
            out.refusal = e.message();
            return out;
        }
        ++out.rows;
    }
    tx.commit();
    out.line = 0;
    return out;
}

} // namespace gz
