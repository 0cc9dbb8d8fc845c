// Process start to the login window shown (pkvgzgl --exit-at-login), against the floor of a
// minimal Qt program showing one window. Both run under the offscreen platform, one after the
// other in every iteration pair, so machine load affects both alike.

#include "core/data/DataFile.h"
#include "core/data/Database.h"
#include "core/session/ProgramFolder.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

namespace {

QTemporaryDir& home() {
    static QTemporaryDir dir;
    static bool made = [] {
        gz::ProgramFolder folder(dir.path());
        folder.ensureLayout();
        auto db = gz::createDataFile(folder.dataFile(), QDate::currentDate());
        // The splash is a deliberate 3-second pause before the login; measure the rest.
        db->exec(QStringLiteral("UPDATE config SET flashbj = 0"));
        return true;
    }();
    (void)made;
    return dir;
}

double startToMarker(const QString& program, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("GZ_PROMPTER_SCRIPT"), home().filePath(QStringLiteral("answers")));
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    QByteArray out;
    while (!out.contains("login-shown")) {
        if (!p.waitForReadyRead(30000)) return -1;
        out += p.readAllStandardOutput();
    }
    const double seconds = t.nsecsElapsed() / 1e9;
    p.waitForFinished(30000);
    return seconds;
}

void run(benchmark::State& state, const QString& program, const QStringList& args) {
    for (auto _ : state) {
        const double s = startToMarker(program, args);
        if (s < 0) {
            state.SkipWithError("no marker");
            return;
        }
        state.SetIterationTime(s);
    }
}

void BM_MinimalQtWindow(benchmark::State& state) {
    run(state, QStringLiteral(FLOOR_BIN), {});
}

void BM_ProgramToLogin(benchmark::State& state) {
    run(state, QStringLiteral(PKVGZGL_BIN),
        {QStringLiteral("--home"), home().path(), QStringLiteral("--exit-at-login")});
}

} // namespace

BENCHMARK(BM_MinimalQtWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(BM_ProgramToLogin)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
