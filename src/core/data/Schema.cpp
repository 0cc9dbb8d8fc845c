#include "core/data/Schema.h"

#include "core/data/Database.h"
#include "core/data/Errors.h"
#include "core/session/Password.h"

#include <QHash>

namespace gz {

namespace {

// One line per column: "name type [label]". Types: tN text(N), f double, b yes/no, d date/time,
// m memo, x binary, a auto-number, i integer. A "+" after the type marks a column that the
// start-up upgrade adds to older files.
const char* const kHeaderCols = "intno t10 单号;billdate d 日期;branchid t6 车间号;branchname t40 车间名称;"
                                "hjss f;hjsl f;amount f 加工额;remark t100 备注;cancel b;pass b;gh t6;xm t12;"
                                "etdate d";

const char* const kLineCols =
    "nf t8 年度;yf t4 月份;gh t6 工号;xm t12 姓名;billdate d;etdate d 日期;basegz f 固定工资;"
    "prowork t20 加工品名;product t40 工种;dj f 加工价;sl f 加工量;proinf f 生产次品率;qsinf f 质量次品率;"
    "superscale f 耗材超标率;backtime f 返工次数;jge f 加工额;overtime f 加班时间;overdj f 加班价;"
    "overje f 加班工资;deduce f 扣除;je f 金额;branchid t4 车间编号;branchname t20 车间名称;intno t10;"
    "mainintno t10;pass b;cancel b;remark t20 备注;id t10 工序号;sphh t15 工种号;spelltime f 每班时间;"
    "latetime f;lateje f";

struct RawTable {
    const char* name;
    const char* columns;
};

const RawTable kTables[] = {
    {"jjgzlist", kHeaderCols},
    {"jfgzlist", kHeaderCols},
    {"jsgzlist", kHeaderCols},
    {"jjgzdetail", kLineCols},
    {"jfgzdetail", kLineCols},
    {"jsgzdetail", kLineCols},
    {"jfjgelist", kHeaderCols},
    {"jfjgedetail",
     "nf t8;yf t4;branchid t4 车间编号;branchname t20 车间名称;billdate d;etdate d 日期;basegz f 基本工资;"
     "prowork t20 工序;product t40 工种;dj f 加工价;sl f 数量;proinf f 生产次品率;qsinf f 质量次品率;"
     "superscale f 耗材超标率;backtime f 返工次数;jge f 加工额;je f 金额;intno t10;mainintno t10;pass b;"
     "cancel b;remark t20;overje f;latetime f;lateje f"},
    {"gzb",
     "nf t8 年;yf t4 月;branchid t4;branchname t20 车间部门;gh t6 工号;xm t12 姓名;billdate d 日期;etdate d;"
     "basegz f 固定工资;jge f 计件工资;allbonus f 全勤奖;allowance f 津贴;yfgz f 应发工资;boardwages f 伙食;"
     "bedding f 被褥;sanitation f 卫生;loan f 借款;amerce f 罚款;water f 水费;electric f 电费;appje f 其它;"
     "sfgz f 实发工资;remark t20 备注;spellqty f 班数;spelldj f 元/班;spellje f 班工资;pointqty f 月分数;"
     "pointdj f 元/分;pointje f 计分工资;overtime f 加班时间;overje f 加班工资;overdj f 加班价;deposit f;"
     "deduce f;latetime f;lateje f;lcbj b;payoff b+ 发"},
    {"gzbtotal",
     "nf t8;yf t4;branchid t4;branchname t20;gh t6;xm t12;billdate d;etdate d;basegz f;jge f;appje f;"
     "spellqty f;spelldj f;spellje f;pointqty f;pointdj f;pointje f;overtime f;overdj f;overje f;allbonus f;"
     "allowance f;yfgz f;boardwages f;bedding f;sanitation f;loan f;amerce f;water f;electric f;sfgz f;"
     "remark t20;deposit f;deduce f;totalqty f"},
    {"totallist",
     "intno t10;billdate d;branchid t6;branchname t40;hjss f;hjsl f;amount f;remark t100;cancel b;pass b;"
     "gh t6;xm t12;etdate d;hjovertime f;hjoverje f"},
    {"branch",
     "intno t10;id t10 编号;name t40 供应商名;tel t12 电话;fax t12 传真;movetel t40 手机;persondeal t12 "
     "联系人;"
     "addr t50 地址;email t40;rest f 期初金额;amount f 本月货款;pay f 本月付款;deduck f 本月扣除;"
     "balance f 余额;remark m 备注;amount_y f 本年货款;pay_y f 本年付款;deduck_y f 本年扣除;rest0 f"},
    {"employee",
     "intno t6;id t6 编号;name t12 姓名;tel t12 电话;fax t12 传真;movetel t40 手机;persondeal t12 联系人;"
     "addr t50 地址;email t40;remark m;xb t2 性别;mz t6 民族;csny d 出生年月;zkck t8 健康状况;high f 身高;"
     "zg t8 籍贯;hyzk t4 婚姻状况;whcd t10 文化程度;school t50 毕业院校;tczy t20 特长及专业;addrf t50 "
     "家庭住址;"
     "scode t50 身份证号码;szbm t12 所在部门;zw t8 职务;rcrq d 进厂日期;lcrq d 离厂日期;ygdd m 调动记录;"
     "csbz b;ddrq d 调动日期;basegz f 固定工资;lcbj b 离厂;dj f+ 每班单价;szbj b+ 选"},
    {"prowork",
     "intno t10;szbj b 选;id t10 编号;name t20 品名;spintno t10;sphh t15 工种号;spmc t40 工种;jgj f 加工价;"
     "fdjgj f 浮动加工价;dj f;remark t50 备注"},
    {"units", "intid a;intno t10 编号;id t10;name t20 名称"},
    {"product", "intno t10;szbj b;sphh t15 工种号;spmc t40 工种名;dj f;spdate d;sptime d;xgdate d;opname t8"},
    {"cproduct", "intno t10;name t40"},
    {"provider", "intno t10;name t40"},
    {"package", "intno t10;name t40"},
    {"config",
     "ID a;priceformat t16;qtyformat t16;amountformat t16;weightformat t16;qtypformat t16;dateformat t20;"
     "dateeditmask t16;dateseparator t1;prechar t5;djbl f;bcszbj t1;autobj b;remark m;imename t26;picpath "
     "t50;"
     "picfilename t150;toppath t100;remark1 m;remark2 m;laterate f;startbj b;flashbj b+"},
    {"company",
     "doc m;name t100;addr t100;je1 f;je2 f;name1 t100;addr1 t100;tel1 t16;tel2 t16;tel3 t16;fax t16;"
     "postcode t6;email t50;url t50;pic x"},
    {"dateconfig", "id a;ksdate d;jsdate d;bz b"},
    {"nextno", "tablename t12;intno t12;fieldx1 t10;fieldx2 t10;fieldx3 t10;fieldx4 t10;fieldx5 t10"},
    {"opcrl", "bh t3 编号;xm t10 用户名;pw t12 密码;rh t12 权限;permit4 b;permit5 b;permit6 b"},
    {"oprhto", "opno t10;tablename t20;r i;z i;w i"},
    {"configo", "bh t3"},
    {"apperror", "Kind t50;Titl t255;Name t100;Rq d;Mess m"},
};

std::vector<TableDef> buildTables() {
    std::vector<TableDef> out;
    for (const RawTable& raw : kTables) {
        TableDef t;
        t.name = QString::fromLatin1(raw.name);
        const QStringList cols = QString::fromUtf8(raw.columns).split(u';', Qt::SkipEmptyParts);
        for (const QString& c : cols) {
            QStringList parts = c.trimmed().split(u' ', Qt::SkipEmptyParts);
            ColumnDef col;
            col.name = parts.value(0);
            QString type = parts.value(1);
            if (type.endsWith(u'+')) {
                col.upgrade = true;
                type.chop(1);
            }
            switch (type.at(0).unicode()) {
            case 't':
                col.type = ColType::Text;
                col.width = type.mid(1).toInt();
                break;
            case 'f':
                col.type = ColType::Double;
                break;
            case 'b':
                col.type = ColType::Bool;
                break;
            case 'd':
                col.type = ColType::DateTime;
                break;
            case 'm':
                col.type = ColType::Memo;
                break;
            case 'x':
                col.type = ColType::Binary;
                break;
            case 'a':
                col.type = ColType::AutoNumber;
                break;
            default:
                col.type = ColType::Integer;
                break;
            }
            col.label = parts.value(2);
            t.columns.push_back(col);
        }
        out.push_back(std::move(t));
    }
    return out;
}

QString columnSql(const TableDef& t, const ColumnDef& c) {
    // Numbers of the payroll table start at 0 (postings add to them directly); yes/no columns are
    // never empty, as in the file format the program grew up with.
    const bool zeroDefault = t.name == QLatin1String("gzb");
    switch (c.type) {
    case ColType::Text:
        return QStringLiteral("%1 varchar(%2) CHECK (length(%1) <= %2)").arg(c.name).arg(c.width);
    case ColType::Double:
        return c.name + (zeroDefault ? QStringLiteral(" double DEFAULT 0") : QStringLiteral(" double"));
    case ColType::Bool:
        // The splash shows until the user says otherwise.
        return c.name + (c.name == QLatin1String("flashbj") ? QStringLiteral(" boolean NOT NULL DEFAULT 1")
                                                            : QStringLiteral(" boolean NOT NULL DEFAULT 0"));
    case ColType::DateTime:
        return c.name + QStringLiteral(" datetime");
    case ColType::Memo:
        return c.name + QStringLiteral(" text");
    case ColType::Binary:
        return c.name + QStringLiteral(" blob");
    case ColType::AutoNumber:
        return c.name + QStringLiteral(" integer PRIMARY KEY AUTOINCREMENT");
    case ColType::Integer:
        return c.name + QStringLiteral(" integer");
    }
    return c.name;
}

// Indexes for the searches the windows run.
const char* const kIndexes[] = {
    "jjgzlist(intno)",
    "jjgzlist(billdate)",
    "jfgzlist(intno)",
    "jfgzlist(billdate)",
    "jsgzlist(intno)",
    "jsgzlist(billdate)",
    "jjgzdetail(mainintno)",
    "jjgzdetail(intno)",
    "jfgzdetail(mainintno)",
    "jfgzdetail(intno)",
    "jsgzdetail(mainintno)",
    "jsgzdetail(intno)",
    // By work date, carrying what the summary totals read, so that a period's totals come from
    // the index alone.
    "jjgzdetail(etdate, pass, cancel, sl, jge, overtime, overje)",
    "jfgzdetail(etdate, pass, cancel, sl, jge, overtime, overje)",
    "jsgzdetail(etdate, pass, cancel, sl, jge, overtime, overje)",
    "gzb(gh,nf,yf)",
    "gzb(etdate)",
    "employee(id)",
    "employee(name)",
    "employee(intno)",
    "branch(id)",
    "branch(name)",
    "branch(intno)",
    "prowork(id)",
    "prowork(name)",
    "prowork(intno)",
    "units(intno)",
    "opcrl(bh)",
    "nextno(tablename)",
    "oprhto(opno)",
};

} // namespace

const ColumnDef* TableDef::column(const QString& n) const {
    for (const ColumnDef& c : columns)
        if (c.name.compare(n, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

QStringList TableDef::columnNames(bool withUpgradeColumns) const {
    QStringList out;
    for (const ColumnDef& c : columns)
        if (withUpgradeColumns || !c.upgrade) out << c.name;
    return out;
}

const std::vector<TableDef>& schemaTables() {
    static const std::vector<TableDef> tables = buildTables();
    return tables;
}

const TableDef* findTable(const QString& name) {
    static const QHash<QString, const TableDef*> byName = [] {
        QHash<QString, const TableDef*> h;
        for (const TableDef& t : schemaTables())
            h.insert(t.name.toLower(), &t);
        return h;
    }();
    return byName.value(name.trimmed().toLower(), nullptr);
}

bool isHeaderTable(const QString& n) {
    return n == QLatin1String("jjgzlist") || n == QLatin1String("jfgzlist") || n == QLatin1String("jsgzlist");
}

bool isLineTable(const QString& n) {
    return n == QLatin1String("jjgzdetail") || n == QLatin1String("jfgzdetail") ||
           n == QLatin1String("jsgzdetail");
}

int internalNumberWidth(const QString& table) {
    if (isLineTable(table) || table == QLatin1String("branch") || table == QLatin1String("prowork") ||
        table == QLatin1String("units"))
        return 10;
    if (table == QLatin1String("employee")) return 6;
    return 0;
}

void createSchema(Database& db, bool withUpgradeColumns) {
    QString script;
    for (const TableDef& t : schemaTables()) {
        QStringList cols;
        for (const ColumnDef& c : t.columns)
            if (withUpgradeColumns || !c.upgrade) cols << columnSql(t, c);
        script +=
            QStringLiteral("CREATE TABLE %1 (\n  %2\n);\n").arg(t.name, cols.join(QStringLiteral(",\n  ")));
    }
    Transaction tx(db);
    db.execScript(script);
    ensureIndexes(db);
    tx.commit();
}

int ensureIndexes(Database& db) {
    // Our indexes are named after what they cover, so a changed definition is a new name: the
    // missing ones are built and our own that are no longer wanted are dropped. Nothing else is
    // touched, and a file that is up to date costs one query.
    QHash<QString, QString> wanted; // name -> "table(columns)"
    for (const char* idx : kIndexes) {
        const QString spec = QString::fromLatin1(idx);
        QString name = QStringLiteral("ix_") + spec;
        name.remove(u' ');
        name.replace(u'(', u'_').replace(u',', u'_').remove(u')');
        wanted.insert(name, spec);
    }
    QStringList present;
    {
        Query q(db,
                QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND name LIKE 'ix%'"));
        while (q.next())
            present << q.text(0);
    }
    int changes = 0;
    QString script;
    for (const QString& name : present)
        if (!wanted.contains(name)) {
            script += QStringLiteral("DROP INDEX %1;\n").arg(name);
            ++changes;
        }
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
        if (!present.contains(it.key())) {
            script += QStringLiteral("CREATE INDEX %1 ON %2;\n").arg(it.key(), it.value());
            ++changes;
        }
    if (changes > 0) {
        Transaction tx(db);
        db.execScript(script);
        tx.commit();
    }
    return changes;
}

void insertInitialRows(Database& db, const QDate& today) {
    Transaction tx(db);
    db.exec(QStringLiteral(
        "INSERT INTO config (priceformat, qtyformat, amountformat, weightformat, qtypformat, dateformat, "
        "dateeditmask, dateseparator, prechar, djbl, bcszbj, autobj, imename, picpath, picfilename, toppath, "
        "laterate, startbj) VALUES ('0.00', '0', '0.00', '0.00', '0.00', 'yyyy-mm-dd', "
        "'0000/00/00;1;', '-', '', 1.5, 'F', 0, '', '', '', '', 0, 0)"));
    db.exec(QStringLiteral("INSERT INTO company (name, je1, je2) VALUES ('', 0, 0)"));
    const QString counter = today.toString(QStringLiteral("yyMM")) + QStringLiteral("000001");
    for (const char* t : {"jjgzlist", "jfgzlist", "jsgzlist"})
        db.exec(QStringLiteral("INSERT INTO nextno (tablename, intno) VALUES (:p1, :p2)"),
                {QString::fromLatin1(t), counter});
    db.exec(QStringLiteral("INSERT INTO opcrl (bh, xm, pw, rh) VALUES ('813', :p1, :p2, '')"),
            {QStringLiteral("系统管理员"), encodePassword(QStringLiteral("813"))});
    tx.commit();
}

SchemaReport checkSchema(Database& db) {
    SchemaReport r;
    QHash<QString, QStringList> present;
    {
        Query q(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
        while (q.next())
            present.insert(q.text(0).toLower(), {});
    }
    for (const TableDef& t : schemaTables()) {
        if (!present.contains(t.name.toLower())) {
            r.missingTables << t.name;
            continue;
        }
        // PRAGMA table_info takes no parameters; the name comes from our own table list.
        QStringList have;
        Query q(db, QStringLiteral("PRAGMA table_info(%1)").arg(t.name));
        while (q.next())
            have << q.text(1).toLower();
        for (const ColumnDef& c : t.columns)
            if (!have.contains(c.name.toLower())) r.missingColumns << t.name + u'.' + c.name;
    }
    return r;
}

} // namespace gz
