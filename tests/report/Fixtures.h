#pragma once
// Small data for report tests: payroll rows, document lines, employees, company, period.

#include "report/Channels.h"
#include "report/Template.h"

#include <QDate>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace gz::test {

inline QStringList payrollColumns() {
    return {QStringLiteral("nf"),       QStringLiteral("yf"),         QStringLiteral("branchname"),
            QStringLiteral("gh"),       QStringLiteral("xm"),         QStringLiteral("basegz"),
            QStringLiteral("jge"),      QStringLiteral("spellqty"),   QStringLiteral("spelldj"),
            QStringLiteral("spellje"),  QStringLiteral("pointqty"),   QStringLiteral("pointdj"),
            QStringLiteral("pointje"),  QStringLiteral("overtime"),   QStringLiteral("overje"),
            QStringLiteral("allbonus"), QStringLiteral("allowance"),  QStringLiteral("yfgz"),
            QStringLiteral("bedding"),  QStringLiteral("sanitation"), QStringLiteral("loan"),
            QStringLiteral("amerce"),   QStringLiteral("water"),      QStringLiteral("electric"),
            QStringLiteral("appje"),    QStringLiteral("sfgz"),       QStringLiteral("remark"),
            QStringLiteral("lcbj"),     QStringLiteral("payoff")};
}

// n payroll rows in workshops of `perShop` employees each; amounts with cents so rounding shows.
inline std::shared_ptr<report::TableSource> payrollRows(int n, int perShop = 7) {
    static const char* const shops[] = {"裁剪车间", "缝纫车间", "包装车间", "后整车间", "质检部"};
    static const char* const names[] = {"张伟", "王芳", "李娜", "刘洋", "陈静",
                                        "杨帆", "赵磊", "黄敏", "周杰", "吴霞"};
    auto t = std::make_shared<report::TableSource>(payrollColumns());
    for (int i = 0; i < n; ++i) {
        const double jge = 1200 + (i * 37) % 900 + 0.125 * (i % 8);
        const double spellje = (i % 3) * 85.5;
        const double pointje = (i % 4) * 40.25;
        const double overje = (i % 5) * 12.335;
        const double yfgz = 800 + jge + spellje + pointje + overje + 50 + 30;
        const double ded = 20 + (i % 6) * 3.3;
        const double sfgz = (i == 5 ? -15.5 : yfgz - ded);
        t->addRow({QStringLiteral("2025"),
                   QStringLiteral("3"),
                   QString::fromUtf8(shops[(i / perShop) % 5]),
                   QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')),
                   QString::fromUtf8(names[i % 10]),
                   800.0,
                   jge,
                   double(i % 3 ? 26 : 0),
                   3.5,
                   spellje,
                   double(i % 4 * 10),
                   4.025,
                   pointje,
                   double(i % 5) * 1.5,
                   overje,
                   50.0,
                   30.0,
                   yfgz,
                   5.0,
                   3.0,
                   double(i % 6 ? 0 : 100),
                   0.0,
                   6.5,
                   double(i % 6) * 3.3,
                   5.5,
                   sfgz,
                   i % 9 == 0 ? QStringLiteral("预支") : QString(),
                   i == 3,
                   i % 2 == 0});
    }
    return t;
}

inline std::shared_ptr<report::TableSource> payrollTotals(const report::TableSource& rows) {
    double sums[6] = {0, 0, 0, 0, 0, 0};
    const char* const f[] = {"jge", "spellje", "pointje", "overje", "yfgz", "sfgz"};
    for (int r = 0; r < rows.rowCount(); ++r)
        for (int i = 0; i < 6; ++i)
            sums[i] += rows.real(r, rows.columnIndex(QLatin1String(f[i])));
    auto t = std::make_shared<report::TableSource>(
        QStringList{QStringLiteral("totalqty"), QStringLiteral("jge"), QStringLiteral("spellje"),
                    QStringLiteral("pointje"), QStringLiteral("overje"), QStringLiteral("yfgz"),
                    QStringLiteral("sfgz"), QStringLiteral("branchname")});
    t->addRow({double(rows.rowCount()), sums[0], sums[1], sums[2], sums[3], sums[4], sums[5], QString()});
    return t;
}

inline std::shared_ptr<report::TableSource>
company(const QString& name = QStringLiteral("东莞市长安精工玩具厂")) {
    auto t = std::make_shared<report::TableSource>(
        QStringList{QStringLiteral("name"), QStringLiteral("addr"), QStringLiteral("pic")});
    t->addRow({name, QStringLiteral("东莞市长安镇振安路88号"), QByteArray()});
    return t;
}

inline std::shared_ptr<report::TableSource> period() {
    auto t = std::make_shared<report::TableSource>(
        QStringList{QStringLiteral("ksdate"), QStringLiteral("jsdate")});
    t->addRow({QDate(2025, 3, 1), QDate(2025, 3, 31)});
    return t;
}

inline std::shared_ptr<report::TableSource> config() {
    auto t = std::make_shared<report::TableSource>(QStringList{
        QStringLiteral("amountformat"), QStringLiteral("priceformat"), QStringLiteral("qtyformat")});
    t->addRow({QStringLiteral("0.00"), QStringLiteral("0.00"), QStringLiteral("0")});
    return t;
}

inline std::shared_ptr<report::TableSource> lines(int n, bool time = false) {
    auto t = std::make_shared<report::TableSource>(QStringList{
        QStringLiteral("nf"), QStringLiteral("yf"), QStringLiteral("branchid"), QStringLiteral("branchname"),
        QStringLiteral("gh"), QStringLiteral("xm"), QStringLiteral("etdate"), QStringLiteral("basegz"),
        QStringLiteral("prowork"), QStringLiteral("dj"), QStringLiteral("sl"), QStringLiteral("jge"),
        QStringLiteral("overtime"), QStringLiteral("overje"), QStringLiteral("remark")});
    static const char* const items[] = {"毛绒熊缝合", "小兔装眼", "公仔包装", "车衣边", "剪线头"};
    for (int i = 0; i < n; ++i) {
        const double dj = 0.35 + 0.05 * (i % 5), sl = 100 + i * 13 % 400;
        t->addRow({QStringLiteral("2025"), QStringLiteral("3"), QStringLiteral("02"),
                   QStringLiteral("缝纫车间"), QStringLiteral("%1").arg(i % 12 + 1, 4, 10, QLatin1Char('0')),
                   QStringLiteral("员工%1").arg(i % 12 + 1), QDate(2025, 3, 1 + i % 28), 0.0,
                   QString::fromUtf8(items[i % 5]), time ? 85.0 : dj, time ? double(i % 3 + 1) : sl,
                   time ? 85.0 * (i % 3 + 1) : dj * sl, time ? 1.5 * (i % 4) : 0.0,
                   time ? 1.5 * (i % 4) * 12 : 0.0, i % 7 == 0 ? QStringLiteral("返工") : QString()});
    }
    return t;
}

inline std::shared_ptr<report::TableSource> lineTotals(const report::TableSource& l) {
    double sl = 0, jge = 0, ot = 0, oj = 0;
    for (int r = 0; r < l.rowCount(); ++r) {
        sl += l.real(r, l.columnIndex(QStringLiteral("sl")));
        jge += l.real(r, l.columnIndex(QStringLiteral("jge")));
        ot += l.real(r, l.columnIndex(QStringLiteral("overtime")));
        oj += l.real(r, l.columnIndex(QStringLiteral("overje")));
    }
    auto t = std::make_shared<report::TableSource>(
        QStringList{QStringLiteral("hjsl"), QStringLiteral("amount"), QStringLiteral("hjovertime"),
                    QStringLiteral("hjoverje"), QStringLiteral("branchname")});
    t->addRow({sl, jge, ot, oj, QStringLiteral("缝纫车间")});
    return t;
}

inline std::shared_ptr<report::TableSource> documentHeader() {
    auto t = std::make_shared<report::TableSource>(
        QStringList{QStringLiteral("intno"), QStringLiteral("billdate"), QStringLiteral("branchid"),
                    QStringLiteral("branchname"), QStringLiteral("remark"), QStringLiteral("pass"),
                    QStringLiteral("cancel"), QStringLiteral("amount")});
    t->addRow({QStringLiteral("2503000012"), QDate(2025, 3, 15), QStringLiteral("02"),
               QStringLiteral("缝纫车间"), QStringLiteral("三月第二批订单"), true, false, 0.0});
    return t;
}

inline std::shared_ptr<report::TableSource> employees(int n) {
    auto t = std::make_shared<report::TableSource>(QStringList{
        QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("xb"), QStringLiteral("csny"),
        QStringLiteral("whcd"), QStringLiteral("zg"), QStringLiteral("scode"), QStringLiteral("szbm"),
        QStringLiteral("zw"), QStringLiteral("rcrq"), QStringLiteral("lcrq"), QStringLiteral("tel"),
        QStringLiteral("movetel"), QStringLiteral("addr"), QStringLiteral("lcbj")});
    for (int i = 0; i < n; ++i)
        t->addRow({QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')),
                   QStringLiteral("员工%1").arg(i + 1), i % 3 ? QStringLiteral("女") : QStringLiteral("男"),
                   QDate(1980 + i % 20, 1 + i % 12, 1 + i % 28), QStringLiteral("初中"),
                   QStringLiteral("湖南衡阳"), QStringLiteral("43040019900101%1").arg(1000 + i),
                   QStringLiteral("缝纫车间"), QStringLiteral("普工"), QDate(2020, 3, 1),
                   i % 8 == 7 ? QVariant(QDate(2025, 2, 28)) : QVariant(),
                   QStringLiteral("0769-8555%1").arg(1000 + i), QStringLiteral("1380000%1").arg(1000 + i),
                   QStringLiteral("东莞市长安镇宿舍%1栋").arg(i % 9 + 1), i % 8 == 7});
    return t;
}

// Binds the channels a template of the given file name is printed with.
inline void bindFor(report::Channels& ch, const QString& file, int rows) {
    ch.bind(3, company());
    ch.bind(4, config());
    ch.bind(5, period());
    if (file.startsWith(QLatin1String("gzb"))) {
        auto r = payrollRows(rows);
        ch.bind(1, r);
        ch.bind(2, payrollTotals(*r));
    } else if (file.endsWith(QLatin1String("total.rmf"))) {
        auto l = lines(rows, file.startsWith(QLatin1String("js")));
        ch.bind(1, l);
        ch.bind(2, lineTotals(*l));
    } else if (file == QLatin1String("jjgzdetail.rmf")) {
        ch.bind(1, lines(rows));
        ch.bind(2, documentHeader());
    } else {
        ch.bind(1, employees(rows));
    }
}

} // namespace gz::test
