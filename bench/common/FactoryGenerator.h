#pragma once
// Writes a realistic large data file for the benchmarks: a plant with its workshops, employees and
// processed items, and one year of posted piece-rate documents with their payroll rows. Seeded
// and repeatable: the same size and seed give the same file content.

#include <QString>
#include <QtGlobal>

namespace gz::bench {

struct FactorySize {
    int employees = 3000;
    int workshops = 40;
    int products = 2000;
    int lines = 1000000;
    int linesPerDocument = 200;
    int year = 2025;
    quint32 seed = 20251;
};

struct GenerationStats {
    int documents = 0;
    int lines = 0;
    int payrollRows = 0;
    double seconds = 0;
};

// Makes a program folder at `home` (which must not hold a data file yet) with the generated data.
GenerationStats generateFactory(const QString& home, const FactorySize& size = {});

// A program folder with the default factory, generated once per machine under the temporary folder
// and reused afterwards. Treat it as read-only: copy works/shdb.mdb before writing to it.
QString cachedFactory();

// Copies the cached factory's data file into a new program folder at `home` (for writing benchmarks).
void copyFactoryTo(const QString& home);

} // namespace gz::bench
