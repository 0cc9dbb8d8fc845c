// The grid model over a dataset of a million document lines: what a grid asks for when it paints
// one screen at some scroll position, and a reset after a refresh.

#include "core/data/DataFile.h"
#include "core/data/Database.h"
#include "core/data/Dataset.h"
#include "ui/common/DatasetModel.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

namespace {

constexpr int kRows = 1000000;

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<gz::Database> db;
    gz::Dataset ds;
    Fixture() {
        db = gz::createDataFile(dir.filePath(QStringLiteral("shdb.mdb")), QDate(2025, 1, 1));
        gz::Transaction tx(*db);
        for (int i = 0; i < kRows; ++i)
            db->exec(QStringLiteral("INSERT INTO jjgzdetail (intno, mainintno, gh, xm, sl, dj, je, etdate) "
                                    "VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p7, '2025-03-15')"),
                     {QString::number(i).rightJustified(10, u'0'),
                      QString::number(i / 20).rightJustified(10, u'0'),
                      QString::number(i % 3000).rightJustified(4, u'0'),
                      QStringLiteral("员工%1").arg(i % 3000), i % 50, 1.25, (i % 50) * 1.25});
        tx.commit();
        ds.open(*db, QStringLiteral("SELECT intno, gh, xm, etdate, sl, dj, je FROM jjgzdetail"));
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

std::vector<gz::ui::GridColumn> columns() {
    return {{QStringLiteral("intno"), QStringLiteral("行号"), 90, {}},
            {QStringLiteral("gh"), QStringLiteral("工号"), 60, {}},
            {QStringLiteral("xm"), QStringLiteral("姓名"), 80, {}},
            {QStringLiteral("etdate"), QStringLiteral("日期"), 90, {}},
            {QStringLiteral("sl"), QStringLiteral("加工量"), 70, QStringLiteral("0")},
            {QStringLiteral("dj"), QStringLiteral("加工价"), 70, QStringLiteral("0.00")},
            {QStringLiteral("je"), QStringLiteral("金额"), 80, QStringLiteral("0.00")}};
}

// One screen (40 rows) of display texts, alignment and colours at a random scroll position.
void BM_GridScreenAtRandomRow(benchmark::State& state) {
    Fixture& f = fixture();
    gz::ui::DatasetModel model;
    model.setDataset(&f.ds);
    model.setColumns(columns());
    auto* rng = QRandomGenerator::global();
    for (auto _ : state) {
        const int top = int(rng->bounded(kRows - 40));
        for (int r = top; r < top + 40; ++r)
            for (int c = 0; c < model.columnCount(); ++c) {
                const QModelIndex i = model.index(r, c);
                benchmark::DoNotOptimize(model.data(i, Qt::DisplayRole));
                benchmark::DoNotOptimize(model.data(i, Qt::TextAlignmentRole));
                benchmark::DoNotOptimize(model.data(i, Qt::BackgroundRole));
            }
    }
}

// A view over the million rows: reset (as after a refresh) and jump to a row.
void BM_ViewResetAndScroll(benchmark::State& state) {
    Fixture& f = fixture();
    gz::ui::DatasetModel model;
    model.setColumns(columns());
    QTableView view;
    view.resize(800, 600);
    view.setModel(&model);
    for (auto _ : state) {
        model.setDataset(&f.ds);
        model.applyTo(&view);
        view.scrollTo(model.index(kRows / 2, 0));
        view.grab(); // paints the visible rows
        model.setDataset(nullptr);
    }
}

} // namespace

BENCHMARK(BM_GridScreenAtRandomRow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ViewResetAndScroll)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
