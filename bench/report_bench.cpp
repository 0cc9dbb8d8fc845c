// Payroll sheet (gzb.rmf) and pay slips (gzbt.rmf) over 3,000 payroll rows read from a fresh data
// file through a Dataset: prepare, then export to PDF and XLSX. Peak memory is reported as a
// counter (max resident set, MB).

#include "common/TempHome.h"
#include "core/data/Dataset.h"
#include "report/Engine.h"
#include "report/Factory.h"
#include "report/Output.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace gz;
using namespace gz::report;

namespace {

constexpr int kRows = 3000;

struct Fixture {
    test::TempHome home;
    Channels channels;
    std::shared_ptr<Dataset> rows = std::make_shared<Dataset>();
    std::shared_ptr<Dataset> totals = std::make_shared<Dataset>();
    std::shared_ptr<Dataset> company = std::make_shared<Dataset>();
    std::shared_ptr<Dataset> period = std::make_shared<Dataset>();
    QTemporaryDir out;

    Fixture() {
        Database& db = home.db();
        Transaction tx(db);
        db.exec(QStringLiteral("UPDATE company SET name = :p1"), {QStringLiteral("东莞市长安精工玩具厂")});
        db.exec(QStringLiteral(
            "INSERT INTO dateconfig (ksdate, jsdate, bz) VALUES ('2025-03-01', '2025-03-31', 0)"));
        for (int i = 0; i < kRows; ++i) {
            const double jge = 1200 + (i * 37) % 900 + 0.01 * (i % 100);
            const double spellje = (i % 3) * 85.5, pointje = (i % 4) * 40.25, overje = (i % 5) * 12.5;
            const double yfgz = 800 + jge + spellje + pointje + overje + 80;
            db.exec(
                QStringLiteral(
                    "INSERT INTO gzb (nf, yf, branchname, gh, xm, etdate, basegz, jge, spellqty, spelldj, "
                    "spellje, pointqty, pointdj, pointje, overtime, overje, allbonus, allowance, yfgz, "
                    "bedding, sanitation, water, electric, appje, sfgz) VALUES ('2025', '3', :p1, :p2, :p3, "
                    "'2025-03-31', 800, :p4, 26, 3.5, :p5, 10, 4, :p6, 2, :p7, 50, 30, :p8, 5, 3, 6.5, 4.4, "
                    "5.5, :p9)"),
                {QStringLiteral("车间%1").arg(i / 75 + 1, 2, 10, QLatin1Char('0')),
                 QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')),
                 QStringLiteral("员工%1").arg(i + 1), jge, spellje, pointje, overje, yfgz, yfgz - 24.4});
        }
        db.exec(QStringLiteral("DELETE FROM gzbtotal"));
        db.exec(QStringLiteral(
            "INSERT INTO gzbtotal (totalqty, jge, spellje, pointje, overje, yfgz, sfgz) SELECT count(xm), "
            "sum(jge), sum(spellje), sum(pointje), sum(overje), sum(yfgz), sum(sfgz) FROM gzb"));
        tx.commit();
        rows->open(db, QStringLiteral("SELECT * FROM gzb ORDER BY branchname, gh"));
        totals->open(db, QStringLiteral("SELECT * FROM gzbtotal"));
        company->open(db, QStringLiteral("SELECT * FROM company"));
        period->open(db, QStringLiteral("SELECT * FROM dateconfig"));
        channels.bind(1, std::make_shared<DatasetSource>(std::shared_ptr<const Dataset>(rows)));
        channels.bind(2, std::make_shared<DatasetSource>(std::shared_ptr<const Dataset>(totals)));
        channels.bind(3, std::make_shared<DatasetSource>(std::shared_ptr<const Dataset>(company)));
        channels.bind(5, std::make_shared<DatasetSource>(std::shared_ptr<const Dataset>(period)));
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

Template tpl(const char* name) {
    return parseTemplate(factoryTemplate(QString::fromLatin1(name)), QString::fromLatin1(name));
}

void memory(benchmark::State& state) {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    state.counters["maxRSS_MB"] = static_cast<double>(u.ru_maxrss) / 1024.0;
}

void prepareReport(benchmark::State& state, const char* name) {
    Fixture& f = fixture();
    const Template t = tpl(name);
    std::size_t pages = 0;
    for (auto _ : state) {
        PreparedReport r = prepare(t, f.channels);
        pages = r.pages.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["pages"] = static_cast<double>(pages);
    memory(state);
}

void exportReport(benchmark::State& state, const char* name, const char* suffix) {
    Fixture& f = fixture();
    const PreparedReport r = prepare(tpl(name), f.channels);
    const QString path = f.out.filePath(QStringLiteral("out.") + QLatin1String(suffix));
    for (auto _ : state)
        benchmark::DoNotOptimize(exportByName(r, path));
    state.counters["pages"] = static_cast<double>(r.pages.size());
    memory(state);
}

BENCHMARK_CAPTURE(prepareReport, payroll_sheet_3000, "gzb.rmf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(prepareReport, pay_slips_3000, "gzbt.rmf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportReport, payroll_sheet_pdf, "gzb.rmf", "pdf")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(exportReport, payroll_sheet_xlsx, "gzb.rmf", "xlsx")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(exportReport, pay_slips_pdf, "gzbt.rmf", "pdf")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(exportReport, pay_slips_xlsx, "gzbt.rmf", "xlsx")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
