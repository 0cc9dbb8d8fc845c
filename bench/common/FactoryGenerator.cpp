#include "bench/common/FactoryGenerator.h"

#include "core/data/DataFile.h"
#include "core/data/Database.h"
#include "core/data/Numbering.h"
#include "core/session/ProgramFolder.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QStringList>
#include <cstdio>
#include <map>
#include <random>
#include <vector>

namespace gz::bench {

namespace {

const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周",
                                 "徐", "孙", "马", "朱", "胡", "郭", "何", "高", "林", "罗",
                                 "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯"};
const char* const kGiven[] = {"伟", "芳", "娜",   "秀英", "敏", "静", "丽",   "强",  "磊",   "军",
                              "洋", "勇", "艳",   "杰",   "娟", "涛", "明",   "超",  "秀兰", "霞",
                              "平", "刚", "桂英", "华",   "红", "玲", "建国", "春梅"};
const char* const kWorkshops[] = {"裁床", "缝纫", "充棉", "包装", "绣花",
                                  "检验", "手工", "印花", "注塑", "喷漆"};
const char* const kItems[] = {"毛绒熊", "布娃娃", "小兔",   "长颈鹿", "企鹅",
                              "抱枕",   "挂件",   "钥匙扣", "手偶",   "小狗"};
const char* const kWork[] = {"裁片", "车缝", "充棉", "封口", "绣眼", "剪线", "检验", "包装", "贴标", "整形"};

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

GenerationStats generateFactory(const QString& home, const FactorySize& size) {
    QElapsedTimer timer;
    timer.start();
    std::mt19937 rng(size.seed);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

    ProgramFolder folder(home);
    folder.ensureLayout();
    auto db = createDataFile(folder.dataFile(), QDate(size.year, 1, 1));
    // Speed matters more than durability while generating a throw-away file.
    db->execScript(QStringLiteral("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY;"));

    GenerationStats stats;
    Transaction tx(*db);
    db->exec(QStringLiteral("UPDATE company SET name = :p1, addr = :p2, tel1 = :p3"),
             {s("宏达玩具制品厂"), s("广东省汕头市澄海区玩具工业园"), QStringLiteral("0754-85551234")});

    struct Workshop {
        QString id, name;
    };
    std::vector<Workshop> workshops;
    for (int w = 0; w < size.workshops; ++w) {
        Workshop ws{padNumber(w + 1, 2), s(kWorkshops[w % 10]) + QString::number(w / 10 + 1) + s("车间")};
        workshops.push_back(ws);
        db->exec(QStringLiteral(
                     "INSERT INTO branch (intno, id, name, tel, addr) VALUES (:p1, :p2, :p3, :p4, :p5)"),
                 {padNumber(w + 1, 10), ws.id, ws.name,
                  QStringLiteral("0754-8888%1").arg(w, 2, 10, QChar(u'0')), s("汕头市澄海区")});
    }

    struct Employee {
        QString id, name;
        int workshop;
        double basegz;
    };
    std::vector<Employee> employees;
    for (int e = 0; e < size.employees; ++e) {
        Employee em{padNumber(e + 1, 4),
                    s(kSurnames[uniform(0, 27)]) + s(kGiven[uniform(0, 27)]) +
                        (uniform(0, 2) ? s(kGiven[uniform(0, 27)]) : QString()),
                    e % size.workshops, uniform(0, 3) == 0 ? 800.0 : 0.0};
        employees.push_back(em);
        db->exec(
            QStringLiteral("INSERT INTO employee (intno, id, name, xb, szbm, rcrq, basegz, lcbj, dj, szbj) "
                           "VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p7, 0, :p8, 0)"),
            {padNumber(e + 1, 6), em.id, em.name, uniform(0, 1) ? s("男") : s("女"),
             workshops[em.workshop].name, QDate(size.year - uniform(0, 8), uniform(1, 12), uniform(1, 28)),
             em.basegz, 120.0});
    }

    struct Product {
        QString id, name, sphh, spmc;
        double jgj;
    };
    std::vector<Product> products;
    for (int p = 0; p < size.products; ++p) {
        const int work = uniform(0, 9);
        Product pr{QStringLiteral("G%1").arg(p + 1, 5, 10, QChar(u'0')),
                   s(kItems[p % 10]) + QStringLiteral("-%1").arg(p / 10 + 1),
                   QStringLiteral("%1").arg(work + 1, 3, 10, QChar(u'0')), s(kWork[work]),
                   uniform(5, 250) / 100.0};
        products.push_back(pr);
        db->exec(QStringLiteral("INSERT INTO prowork (intno, szbj, id, name, sphh, spmc, jgj, fdjgj, dj) "
                                "VALUES (:p1, 0, :p2, :p3, :p4, :p5, :p6, :p7, 0)"),
                 {padNumber(p + 1, 10), pr.id, pr.name, pr.sphh, pr.spmc, pr.jgj, pr.jgj});
    }

    // One year of documents, spread evenly over the months; each belongs to one workshop and its
    // lines to that workshop's employees.
    const int docs = (size.lines + size.linesPerDocument - 1) / size.linesPerDocument;
    std::map<std::pair<int, int>, double> earned;   // (employee, month) -> amount
    std::map<std::pair<int, int>, QDate> firstLine; // first work date and document date
    Query header(*db, QStringLiteral(
                          "INSERT INTO jjgzlist (intno, billdate, branchid, branchname, hjss, hjsl, amount, "
                          "remark, cancel, pass, gh, xm, etdate) VALUES (:p1, :p2, :p3, :p4, 0, :p5, :p6, "
                          "'', 0, 1, '', '', :p7)"));
    Query line(
        *db,
        QStringLiteral(
            "INSERT INTO jjgzdetail (nf, yf, gh, xm, billdate, etdate, basegz, prowork, product, dj, sl, "
            "proinf, qsinf, superscale, backtime, jge, overtime, overdj, overje, deduce, je, branchid, "
            "branchname, intno, mainintno, pass, cancel, remark, id, sphh, spelltime, latetime, lateje) "
            "VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8, :p9, :p10, :p11, 0, 0, 0, 0, :p12, 0, 0, 0, "
            "0, :p12, :p13, :p14, :p15, :p16, 1, 0, '', :p17, :p18, 0, 0, 0)"));
    int lineNo = 0;
    int perMonth[13] = {};
    for (int d = 0; d < docs; ++d) {
        const int month = d * 12 / docs + 1;
        const int wsIndex = uniform(0, size.workshops - 1);
        const Workshop& ws = workshops[wsIndex];
        const QDate billdate(size.year, month, uniform(1, QDate(size.year, month, 1).daysInMonth()));
        const QString docNo =
            QDate(size.year, month, 1).toString(QStringLiteral("yyMM")) + padNumber(++perMonth[month], 6);
        const int n = std::min(size.linesPerDocument, size.lines - lineNo);
        double amount = 0, qty = 0;
        for (int k = 0; k < n; ++k) {
            // Employees of the document's workshop: every size.workshops-th one.
            const int perWs = size.employees / size.workshops;
            const int ei =
                std::min(size.employees - 1, wsIndex + size.workshops * uniform(0, std::max(0, perWs - 1)));
            const Employee& em = employees[ei];
            const Product& pr = products[uniform(0, size.products - 1)];
            const double sl = uniform(10, 400);
            const double jge = sl * pr.jgj;
            const QDate etdate(size.year, month, uniform(1, billdate.daysInMonth()));
            amount += jge;
            qty += sl;
            line.bindAll({QString::number(size.year), QString::number(month), em.id, em.name, billdate,
                          etdate, em.basegz, pr.name, pr.spmc, pr.jgj, sl, jge, ws.id, ws.name,
                          padNumber(++lineNo, 10), docNo, pr.id, pr.sphh});
            line.exec();
            earned[{ei, month}] += jge;
            auto key = std::make_pair(ei, month);
            if (!firstLine.count(key)) firstLine[key] = etdate;
        }
        header.bindAll({docNo, billdate, ws.id, ws.name, qty, amount, billdate.addDays(-30)});
        header.exec();
        ++stats.documents;
    }
    stats.lines = lineNo;

    Query gzb(*db,
              QStringLiteral("INSERT INTO gzb (nf, yf, branchname, gh, xm, billdate, etdate, basegz, jge) "
                             "VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8, :p9)"));
    for (const auto& [key, jge] : earned) {
        const Employee& em = employees[key.first];
        const QDate when = firstLine[key];
        gzb.bindAll({QString::number(size.year), QString::number(key.second), workshops[em.workshop].name,
                     em.id, em.name, when, when, em.basegz, jge});
        gzb.exec();
        ++stats.payrollRows;
    }
    db->exec(QStringLiteral("UPDATE nextno SET intno = :p1 WHERE tablename = 'jjgzlist'"),
             {QDate(size.year, 12, 1).toString(QStringLiteral("yyMM")) + padNumber(perMonth[12] + 1, 6)});
    tx.commit();
    db->execScript(QStringLiteral("ANALYZE;"));
    db->close();
    stats.seconds = timer.elapsed() / 1000.0;
    return stats;
}

QString cachedFactory() {
    const QString root = QDir::tempPath() + QStringLiteral("/gz-bench-factory-v3");
    const QString data = root + QStringLiteral("/works/shdb.mdb");
    if (QFile::exists(data)) return root;
    QLockFile lock(QDir::tempPath() + QStringLiteral("/gz-bench-factory-v3.lock"));
    lock.setStaleLockTime(0);
    lock.lock();
    if (QFile::exists(data)) return root;
    const QString building = root + QStringLiteral(".building");
    QDir(building).removeRecursively();
    std::fprintf(stderr, "generating the benchmark factory (once per machine)...\n");
    const GenerationStats st = generateFactory(building);
    std::fprintf(stderr, "generated %d documents, %d lines, %d payroll rows in %.1f s\n", st.documents,
                 st.lines, st.payrollRows, st.seconds);
    QDir(root).removeRecursively();
    QDir().rename(building, root);
    return root;
}

void copyFactoryTo(const QString& home) {
    const QString src = cachedFactory() + QStringLiteral("/works/shdb.mdb");
    ProgramFolder folder(home);
    folder.ensureLayout();
    QFile::remove(folder.dataFile());
    QFile::copy(src, folder.dataFile());
}

} // namespace gz::bench
