// Benchmarks of the data layer on the generated factory (1,000,000 piece-rate lines).

#include "bench/common/FactoryGenerator.h"
#include "core/data/Database.h"
#include "core/data/Dataset.h"
#include "core/data/Memory.h"
#include "core/data/Numbering.h"
#include "core/data/Upgrade.h"
#include "core/session/ProgramFolder.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace gz;

namespace {

QString factoryData() {
    return gz::bench::cachedFactory() + QStringLiteral("/works/shdb.mdb");
}

// A private copy for benchmarks that write.
struct WritableFactory {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    WritableFactory() {
        gz::bench::copyFactoryTo(dir.path());
        db = Database::open(ProgramFolder(dir.path()).dataFile());
    }
};

void BM_DrawDocumentNumber(benchmark::State& state) {
    WritableFactory f;
    for (auto _ : state)
        benchmark::DoNotOptimize(drawDocumentNumber(*f.db, QStringLiteral("jjgzlist")));
}
BENCHMARK(BM_DrawDocumentNumber)->Unit(benchmark::kMicrosecond);

void BM_NextInternalNumber_Indexed(benchmark::State& state) {
    auto db = Database::open(factoryData());
    for (auto _ : state)
        benchmark::DoNotOptimize(nextInternalNumber(*db, QStringLiteral("jjgzdetail")));
}
BENCHMARK(BM_NextInternalNumber_Indexed)->Unit(benchmark::kMicrosecond);

// The whole-table way: read every line in intno order and take the last one.
void BM_NextInternalNumber_WholeTable(benchmark::State& state) {
    auto db = Database::open(factoryData());
    for (auto _ : state) {
        Query q(*db, QStringLiteral("SELECT * FROM jjgzdetail ORDER BY intno"));
        const int col = q.columnIndex(QStringLiteral("intno"));
        QString last;
        while (q.next())
            last = q.text(col);
        benchmark::DoNotOptimize(padNumber(readInteger(last) + 1, 10));
    }
}
BENCHMARK(BM_NextInternalNumber_WholeTable)->Unit(benchmark::kMillisecond)->Iterations(3);

// Opening the data file: key, encryption check, schema read, and the three upgrade checks.
void BM_OpenDataFile(benchmark::State& state) {
    const QString path = factoryData();
    for (auto _ : state) {
        auto db = Database::open(path);
        benchmark::DoNotOptimize(upgradeAll(*db));
    }
}
BENCHMARK(BM_OpenDataFile)->Unit(benchmark::kMillisecond);

void BM_LoadDataset100k(benchmark::State& state) {
    auto db = Database::open(factoryData());
    double mb = 0;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        Dataset ds;
        ds.openTable(*db, QStringLiteral("jjgzdetail"),
                     QStringLiteral("WHERE intno BETWEEN :p1 AND :p2 ORDER BY intno"),
                     {QStringLiteral("0000300001"), QStringLiteral("0000400000")});
        mb = (mallinfo2().uordblks - before) / (1024.0 * 1024.0);
        if (ds.rowCount() != 100000) state.SkipWithError("expected 100,000 rows");
        benchmark::DoNotOptimize(ds.real(99999, ds.columnIndex(QStringLiteral("jge"))));
    }
    state.counters["heap_MB"] = mb;
}
BENCHMARK(BM_LoadDataset100k)->Unit(benchmark::kMillisecond);

// Floor for the Dataset: stepping the same rows and touching every column, keeping nothing.
void BM_Scan100k(benchmark::State& state) {
    auto db = Database::open(factoryData());
    for (auto _ : state) {
        Query q(
            *db,
            QStringLiteral("SELECT rowid, * FROM jjgzdetail WHERE intno BETWEEN :p1 AND :p2 ORDER BY intno"),
            {QStringLiteral("0000300001"), QStringLiteral("0000400000")});
        qint64 n = 0;
        while (q.next())
            for (int c = 0; c < q.columnCount(); ++c)
                n += q.storageType(c);
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_Scan100k)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // As the program and the command-line tool do; GZ_NO_KEEP_MEMORY=1 shows the cost without it.
    if (!qEnvironmentVariableIsSet("GZ_NO_KEEP_MEMORY")) gz::keepFreedMemory();
    QCoreApplication app(argc, argv);
    gz::bench::cachedFactory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
