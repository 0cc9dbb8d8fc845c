#pragma once
// A small factory in a temporary data file: two workshops, three employees, two processed items.

#include "common/TempHome.h"
#include "core/data/Database.h"
#include "core/wages/DocumentKind.h"
#include "core/wages/DocumentSession.h"

#include <QStringList>
#include <tuple>
#include <vector>

namespace gz::test {

inline const QDate kToday(2025, 3, 15);

class Factory {
public:
    Factory() {
        Database& d = db();
        d.exec(
            QStringLiteral("INSERT INTO branch (intno, id, name) VALUES ('0000000001', '0001', '一车间')"));
        d.exec(
            QStringLiteral("INSERT INTO branch (intno, id, name) VALUES ('0000000002', '0002', '包装部')"));
        addEmployee(QStringLiteral("0007"), QStringLiteral("张三"), QStringLiteral("装配部"), 100, 35);
        addEmployee(QStringLiteral("0008"), QStringLiteral("李四"), QStringLiteral("包装部"), 50, 30);
        addEmployee(QStringLiteral("7"), QStringLiteral("王五"), QStringLiteral("包装部"), 0, 0);
        d.exec(QStringLiteral("INSERT INTO prowork (intno, id, name, jgj, szbj) VALUES ('0000000001', 'A1', "
                              "'毛绒熊', 2.5, 0)"));
        d.exec(QStringLiteral(
            "INSERT INTO prowork (intno, id, name, jgj, szbj) VALUES ('0000000002', 'B2', '布偶', 0.8, 0)"));
    }

    Database& db() { return home.db(); }

    void addEmployee(const QString& id, const QString& name, const QString& dep, double basegz, double dj) {
        static int n = 0;
        db().exec(QStringLiteral("INSERT INTO employee (intno, id, name, szbm, basegz, dj) VALUES (:p1, :p2, "
                                 ":p3, :p4, :p5, :p6)"),
                  {QStringLiteral("%1").arg(++n + 100, 6, 10, QLatin1Char('0')), id, name, dep, basegz, dj});
    }

    // A new document of the kind in workshop 0001 with the given lines (employee, quantity, price)
    // and the work date given; the empty first line is filled by the first of them.
    QString document(const DocumentKind& kind, const std::vector<std::tuple<QString, double, double>>& lines,
                     const QDate& workDate = QDate(2025, 3, 10)) {
        DocumentSession s = DocumentSession::startNew(db(), kind, kToday);
        s.boxes().branchId = QStringLiteral("0001");
        s.boxes().workDate = workDate;
        bool first = true;
        for (const auto& [gh, sl, dj] : lines) {
            if (!first) s.addLine();
            first = false;
            const int row = s.lines().current();
            s.typeEmployeeIntoLine(row, gh); // as choosing the employee: number, name, fixed wage
            s.setLineText(row, QStringLiteral("sl"), QString::number(sl));
            s.setLineText(row, QStringLiteral("dj"), QString::number(dj));
        }
        s.recalculate();
        s.returnToList();
        return s.number();
    }

    QString name(const QString& gh) {
        return db().scalar(QStringLiteral("SELECT name FROM employee WHERE id = :p1"), {gh}).toString();
    }

    double gzb(const QString& field, const QString& gh = QStringLiteral("0007"),
               const QString& yf = QStringLiteral("3")) {
        // field names come from the test itself
        return db()
            .scalar(
                QStringLiteral("SELECT %1 FROM gzb WHERE gh = :p1 AND nf = '2025' AND yf = :p2").arg(field),
                {gh, yf})
            .toDouble();
    }
    int count(const QString& sql, const Params& p = {}) { return db().scalar(sql, p).toInt(); }

    // Everything a posting or a reversal may touch, as text, to compare before and after.
    QStringList snapshot() {
        QStringList out;
        for (const char* t : {"jjgzlist", "jjgzdetail", "jfgzlist", "jfgzdetail", "jsgzlist", "jsgzdetail",
                              "gzb", "nextno", "employee", "prowork"}) {
            Query q(db(), QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QString::fromLatin1(t)));
            while (q.next()) {
                QStringList row;
                for (int c = 0; c < q.columnCount(); ++c)
                    row << (q.isNull(c) ? QStringLiteral("<null>") : q.text(c));
                out << QString::fromLatin1(t) + u':' + row.join(u'|');
            }
        }
        return out;
    }

    TempHome home{kToday};
};

} // namespace gz::test
