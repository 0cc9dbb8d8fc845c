// Benchmarks of the wage documents on the generated factory year (1,000,000 piece-rate lines and
// their payroll rows): posting a 200-line document, and importing 3,000 employees from CSV.

#include "bench/common/FactoryGenerator.h"
#include "core/data/DataFile.h"
#include "core/data/Database.h"
#include "core/data/Memory.h"
#include "core/data/Numbering.h"
#include "core/io/TableFile.h"
#include "core/master/MasterImport.h"
#include "core/session/ProgramFolder.h"
#include "core/wages/DocumentSession.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace gz;

namespace {

constexpr int kLines = 200;

struct WritableFactory {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    QString branchId, branchName;
    std::vector<std::pair<QString, QString>> employees; // of that workshop first, then others
    WritableFactory() {
        gz::bench::copyFactoryTo(dir.path());
        db = Database::open(ProgramFolder(dir.path()).dataFile());
        Query b(*db, QStringLiteral("SELECT id, name FROM branch ORDER BY intno LIMIT 1"));
        b.next();
        branchId = b.text(0);
        branchName = b.text(1);
        Query e(*db, QStringLiteral("SELECT id, name FROM employee ORDER BY intno LIMIT 150"));
        while (e.next())
            employees.emplace_back(e.text(0), e.text(1));
    }

    // An unposted piece-rate document of 200 lines for June: most employees have a payroll row for
    // that month already (updates), a few lines go to a month they have none (inserts).
    QString makeDocument() {
        const DocumentKind& k = documentKind(KindId::Piece);
        Transaction tx(*db);
        const QString no = drawDocumentNumber(*db, k.counter);
        db->exec(QStringLiteral("INSERT INTO jjgzlist (intno, pass, billdate, etdate, branchid, branchname) "
                                "VALUES (:p1, 0, '2025-07-01', '2025-06-10', :p2, :p3)"),
                 {no, branchId, branchName});
        for (int i = 0; i < kLines; ++i) {
            const auto& [gh, xm] = employees[i % employees.size()];
            db->exec(QStringLiteral(
                         "INSERT INTO jjgzdetail (intno, mainintno, etdate, gh, xm, basegz, id, prowork, "
                         "dj, sl) VALUES (:p1, :p2, '2025-06-10', :p3, :p4, 100, 'A1', '熊', 0.85, :p5)"),
                     {nextInternalNumber(*db, k.lineTable), no, gh, xm, 10 + i % 7});
        }
        tx.commit();
        return no;
    }
};

void BM_PostPieceRateDocument200(benchmark::State& state) {
    WritableFactory f;
    const DocumentKind& k = documentKind(KindId::Piece);
    for (auto _ : state) {
        state.PauseTiming();
        const QString no = f.makeDocument();
        DocumentSession s = DocumentSession::open(*f.db, k, no, QDate(2025, 7, 1));
        state.ResumeTiming();
        Check c = s.post();
        if (c) state.SkipWithError("posting refused");
    }
}
BENCHMARK(BM_PostPieceRateDocument200)->Unit(benchmark::kMillisecond);

// The floor: the same row writes by hand in one transaction with prepared statements, without the
// checks (workshop, employees) that the posting makes.
void BM_PostFloor200(benchmark::State& state) {
    WritableFactory f;
    for (auto _ : state) {
        state.PauseTiming();
        const QString no = f.makeDocument();
        state.ResumeTiming();
        Transaction tx(*f.db);
        f.db->exec(QStringLiteral(
                       "UPDATE jjgzdetail SET jge = coalesce(sl, 0) * coalesce(dj, 0), billdate = "
                       "'2025-07-01', etdate = '2025-06-10', nf = '2025', yf = '6' WHERE mainintno = :p1"),
                   {no});
        Query sum(*f.db, QStringLiteral("SELECT sum(sl), sum(jge) FROM jjgzdetail WHERE mainintno = :p1"),
                  {no});
        sum.next();
        f.db->exec(QStringLiteral("UPDATE jjgzlist SET hjsl = :p1, amount = :p2, pass = 1 WHERE intno = :p3"),
                   {sum.real(0), sum.real(1), no});
        f.db->exec(QStringLiteral("UPDATE jjgzdetail SET branchid = :p1, branchname = :p2, pass = 1 WHERE "
                                  "mainintno = :p3"),
                   {f.branchId, f.branchName, no});
        Query lines(
            *f.db,
            QStringLiteral("SELECT gh, xm, nf, yf, jge, basegz FROM jjgzdetail WHERE mainintno = :p1 ORDER "
                           "BY intno"),
            {no});
        while (lines.next()) {
            QVariant rowid = f.db->scalar(
                QStringLiteral("SELECT rowid FROM gzb WHERE gh = :p1 AND nf = :p2 AND yf = :p3 LIMIT 1"),
                {lines.text(0), lines.text(2), lines.text(3)});
            if (rowid.isValid())
                f.db->exec(QStringLiteral(
                               "UPDATE gzb SET basegz = :p1, jge = coalesce(jge, 0) + :p2 WHERE rowid = :p3"),
                           {lines.real(5), lines.real(4), rowid});
            else
                f.db->exec(QStringLiteral(
                               "INSERT INTO gzb (gh, xm, nf, yf, basegz, jge) VALUES (:p1, :p2, :p3, :p4, "
                               ":p5, :p6)"),
                           {lines.text(0), lines.text(1), lines.text(2), lines.text(3), lines.real(5),
                            lines.real(4)});
        }
        tx.commit();
    }
}
BENCHMARK(BM_PostFloor200)->Unit(benchmark::kMillisecond);

void BM_ImportEmployees3000(benchmark::State& state) {
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("employees.csv"));
    {
        QFile out(csv);
        out.open(QIODevice::WriteOnly);
        QString text = QStringLiteral("id,name,xb,szbm,basegz,dj,rcrq,tel\n");
        for (int i = 1; i <= 3000; ++i)
            text += QStringLiteral("%1,员工%2,女,车间%3,%4,35,2024-03-01,0754-888%5\n")
                        .arg(i)
                        .arg(i)
                        .arg(i % 40)
                        .arg(1000 + i % 500)
                        .arg(i % 10000, 4, 10, QChar(u'0'));
        out.write(text.toUtf8());
    }
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString home = dir.filePath(QStringLiteral("home%1").arg(++n));
        ProgramFolder folder(home);
        folder.ensureLayout();
        auto db = createDataFile(folder.dataFile(), QDate(2025, 3, 15));
        for (int w = 0; w < 40; ++w)
            db->exec(QStringLiteral("INSERT INTO branch (intno, id, name) VALUES (:p1, :p2, :p3)"),
                     {padNumber(w + 1, 10), padNumber(w + 1, 4), QStringLiteral("车间%1").arg(w)});
        state.ResumeTiming();
        const ImportOutcome r = importTable(*db, QStringLiteral("employee"), readTableFile(csv));
        if (!r.ok() || r.rows != 3000) state.SkipWithError(qPrintable(r.text()));
    }
}
BENCHMARK(BM_ImportEmployees3000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    gz::keepFreedMemory();
    QCoreApplication app(argc, argv);
    gz::bench::cachedFactory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
