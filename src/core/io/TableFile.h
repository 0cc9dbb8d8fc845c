#pragma once
// Reads a table from a file: CSV (RFC 4180, UTF-8, first record the header) or the first sheet of
// an XLSX workbook (first row the header).

#include <QString>
#include <QStringList>
#include <vector>

namespace gz {

struct TableFile {
    QStringList header;
    std::vector<QStringList> rows;
    std::vector<int> lines; // the file's line (CSV) or row (XLSX) number of each data row
};

// By the file's suffix (.xlsx, otherwise CSV). Raises the file error when the file cannot be read
// or is not a table.
TableFile readTableFile(const QString& path);
TableFile parseCsv(const QByteArray& data);
TableFile readXlsx(const QString& path);

} // namespace gz
