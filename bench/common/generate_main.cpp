// Writes the benchmark factory into a folder and says how long it took.
// usage: bench_generate DIR [LINES]

#include "bench/common/FactoryGenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_generate DIR [LINES]\n");
        return 2;
    }
    gz::bench::FactorySize size;
    if (argc > 2) size.lines = QString::fromLocal8Bit(argv[2]).toInt();
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (QDir(dir).exists(QStringLiteral("works/shdb.mdb"))) {
        std::fprintf(stderr, "%s already holds a data file\n", argv[1]);
        return 1;
    }
    const auto st = gz::bench::generateFactory(dir, size);
    std::printf("documents %d, lines %d, payroll rows %d, %.1f s\n", st.documents, st.lines, st.payrollRows,
                st.seconds);
    return 0;
}
