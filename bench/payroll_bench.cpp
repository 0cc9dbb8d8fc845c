// The payroll refresh and the wage summaries on the generated factory: 3,000 employees, one year
// of posted piece-rate work (1,000,000 lines) and its payroll rows.

#include "bench/common/FactoryGenerator.h"
#include "core/data/Database.h"
#include "core/data/Dataset.h"
#include "core/data/Memory.h"
#include "core/payroll/Payroll.h"
#include "core/payroll/Summary.h"
#include "core/session/ProgramFolder.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace gz;

namespace {

// The refresh and the summaries write (totals rows, remembered period, gross and net pay), so
// each benchmark works on its own copy of the factory. `cacheMb` > 0 replaces the program's page
// cache (64 MB) by another size; 2 is SQLite's own default, to show what the larger cache brings.
struct WritableFactory {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    explicit WritableFactory(int cacheMb = 0) {
        gz::bench::copyFactoryTo(dir.path());
        db = Database::open(ProgramFolder(dir.path()).dataFile());
        if (cacheMb > 0) db->exec(QStringLiteral("PRAGMA cache_size = -%1").arg(cacheMb * 1024));
    }
};

payroll::Filter period(int fromMonth, int toMonth) {
    payroll::Filter f;
    f.from = QDate(2025, fromMonth, 1);
    f.to = QDate(2025, toMonth, 1).addMonths(1).addDays(-1);
    return f;
}

payroll::SummaryFilter summaryPeriod(int fromMonth, int toMonth) {
    payroll::SummaryFilter f;
    f.from = QDate(2025, fromMonth, 1);
    f.to = QDate(2025, toMonth, 1).addMonths(1).addDays(-1);
    return f;
}

// 刷新 of the payroll window for one month: recompute, totals row, the list of about 3,000 rows.
void BM_PayrollRefreshMonth(benchmark::State& state) {
    WritableFactory f(int(state.range(0)));
    Dataset list;
    for (auto _ : state) {
        const payroll::Totals t = payroll::refresh(*f.db, period(3, 3), &list);
        benchmark::DoNotOptimize(t.sfgz);
    }
    state.counters["rows"] = list.rowCount();
}
BENCHMARK(BM_PayrollRefreshMonth)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// The same for the whole year (one row per employee and month).
void BM_PayrollRefreshYear(benchmark::State& state) {
    WritableFactory f(int(state.range(0)));
    Dataset list;
    for (auto _ : state) {
        const payroll::Totals t = payroll::refresh(*f.db, period(1, 12), &list);
        benchmark::DoNotOptimize(t.sfgz);
    }
    state.counters["rows"] = list.rowCount();
}
BENCHMARK(BM_PayrollRefreshYear)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// 刷新 of the piece-rate summary for one month: totals row and the line list.
void BM_PieceSummaryMonth(benchmark::State& state) {
    WritableFactory f(int(state.range(0)));
    Dataset list;
    for (auto _ : state) {
        const payroll::SummaryTotals t =
            payroll::refreshSummary(*f.db, payroll::SummaryKind::Piece, summaryPeriod(3, 3), &list);
        benchmark::DoNotOptimize(t.amount);
    }
    state.counters["lines"] = list.rowCount();
}
BENCHMARK(BM_PieceSummaryMonth)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// One employee's month, the filter a clerk uses most.
void BM_PieceSummaryMonthOneEmployee(benchmark::State& state) {
    WritableFactory f(int(state.range(0)));
    Dataset list;
    payroll::SummaryFilter flt = summaryPeriod(3, 3);
    flt.gh = QStringLiteral("0100");
    for (auto _ : state) {
        const payroll::SummaryTotals t =
            payroll::refreshSummary(*f.db, payroll::SummaryKind::Piece, flt, &list);
        benchmark::DoNotOptimize(t.amount);
    }
    state.counters["lines"] = list.rowCount();
}
BENCHMARK(BM_PieceSummaryMonthOneEmployee)->Arg(0)->Unit(benchmark::kMillisecond);

// The totals of the whole year (1,000,000 lines), without the list.
void BM_PieceSummaryYearTotals(benchmark::State& state) {
    WritableFactory f(int(state.range(0)));
    for (auto _ : state) {
        const payroll::SummaryTotals t =
            payroll::refreshSummary(*f.db, payroll::SummaryKind::Piece, summaryPeriod(1, 12));
        benchmark::DoNotOptimize(t.amount);
    }
}
BENCHMARK(BM_PieceSummaryYearTotals)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    gz::keepFreedMemory(); // as the program does
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
