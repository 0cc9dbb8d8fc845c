// export TABLE [--format csv|xlsx] [--out FILE]: any table of the data file, or the payroll list
// and a summary with their filters, as CSV or as a spreadsheet (numbers as numbers).

#include "cli/Cli.h"
#include "core/data/Errors.h"
#include "core/data/Schema.h"
#include "core/payroll/Payroll.h"
#include "core/payroll/Summary.h"
#include "core/payroll/TableOutput.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <xlsxwriter.h>

namespace gz::cli {

payroll::Filter payrollFilterFromArgs(Context& ctx);
payroll::SummaryFilter summaryFilterFromArgs(Context& ctx, int kindIndex, payroll::SummaryKind* kind);

namespace {

// Writes the tables into one worksheet, one below the other with an empty row between them, as
// the CSV shows them. Dates become spreadsheet dates, numbers numbers.
class XlsxSink : public payroll::TableSink {
public:
    XlsxSink(const QString& path, const QString& sheetName) : path_(path) {
        book_ = workbook_new(QFile::encodeName(path).constData());
        if (!book_) throw fileError(QStringLiteral("无法创建文件 %1").arg(QDir::toNativeSeparators(path)));
        sheet_ = workbook_add_worksheet(book_, sheetName.left(31).toUtf8().constData());
        bold_ = workbook_add_format(book_);
        format_set_bold(bold_);
        date_ = workbook_add_format(book_);
        format_set_num_format(date_, "yyyy-mm-dd");
    }
    ~XlsxSink() override {
        if (book_) workbook_close(book_);
    }
    XlsxSink(const XlsxSink&) = delete;
    XlsxSink& operator=(const XlsxSink&) = delete;

    void begin(const QStringList& names, const std::vector<payroll::CellKind>& kinds) override {
        kinds_ = kinds;
        for (int c = 0; c < names.size(); ++c)
            check(worksheet_write_string(sheet_, row_, static_cast<lxw_col_t>(c),
                                         names[c].toUtf8().constData(), bold_));
        ++row_;
    }

    void row(const std::vector<QVariant>& cells) override {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const QVariant& v = cells[c];
            if (!v.isValid() || v.isNull()) continue;
            const auto col = static_cast<lxw_col_t>(c);
            const payroll::CellKind kind = c < kinds_.size() ? kinds_[c] : payroll::CellKind::Text;
            if (kind == payroll::CellKind::Number &&
                (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong)) {
                check(worksheet_write_number(sheet_, row_, col, v.toDouble(), nullptr));
                continue;
            }
            if (kind == payroll::CellKind::Date) {
                const QString s = v.toString();
                const QDate d = QDate::fromString(s.left(10), QStringLiteral("yyyy-MM-dd"));
                if (d.isValid() && s.size() == 10) {
                    lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0.0};
                    check(worksheet_write_datetime(sheet_, row_, col, &dt, date_));
                    continue;
                }
            }
            check(worksheet_write_string(sheet_, row_, col, payroll::cellText(v).toUtf8().constData(),
                                         nullptr));
        }
        ++row_;
    }

    void gap() override { ++row_; }

    void finish() {
        const lxw_error e = workbook_close(book_);
        book_ = nullptr;
        if (e != LXW_NO_ERROR)
            throw fileError(QStringLiteral("写文件 %1 失败: %2")
                                .arg(QDir::toNativeSeparators(path_), QString::fromUtf8(lxw_strerror(e))));
    }

private:
    void check(lxw_error e) {
        // A worksheet holds 1,048,576 rows; a larger table cannot be written whole.
        if (e != LXW_NO_ERROR)
            throw fileError(QStringLiteral("写文件 %1 失败 (第 %2 行): %3")
                                .arg(QDir::toNativeSeparators(path_))
                                .arg(row_ + 1)
                                .arg(QString::fromUtf8(lxw_strerror(e))));
    }

    QString path_;
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* bold_ = nullptr;
    lxw_format* date_ = nullptr;
    std::vector<payroll::CellKind> kinds_;
    lxw_row_t row_ = 0;
};

int cmdExport(Context& ctx) {
    const QString table = ctx.positional(0, QStringLiteral("TABLE"));
    const QString format = ctx.option(QStringLiteral("--format")).value_or(QStringLiteral("csv"));
    if (format != QLatin1String("csv") && format != QLatin1String("xlsx"))
        throw UsageError{QStringLiteral("--format is csv or xlsx")};
    const auto out = ctx.option(QStringLiteral("--out"));
    if (format == QLatin1String("xlsx") && !out) throw UsageError{QStringLiteral("xlsx needs --out FILE")};

    const bool isPayroll = table == QLatin1String("payroll");
    const bool isSummary = table == QLatin1String("summary");
    payroll::Filter pf;
    payroll::SummaryFilter sf;
    payroll::SummaryKind kind = payroll::SummaryKind::Piece;
    if (isPayroll) pf = payrollFilterFromArgs(ctx);
    if (isSummary) sf = summaryFilterFromArgs(ctx, 1, &kind);
    if (!isPayroll && !isSummary && !findTable(table))
        throw UsageError{
            QStringLiteral("unknown table %1 (a table of the data file, payroll or summary)").arg(table)};
    Database& db = ctx.db();
    auto write = [&](payroll::TableSink& sink) {
        if (isPayroll)
            payroll::writePayroll(db, pf, sink);
        else if (isSummary)
            payroll::writeSummary(db, kind, sf, sink);
        else
            payroll::writeTable(db, findTable(table)->name, sink);
    };

    if (format == QLatin1String("xlsx")) {
        // Written beside the target and renamed, so a failed export leaves no broken file behind.
        const QString tmp = *out + QStringLiteral(".part");
        QFile::remove(tmp);
        try {
            const QString sheet = isPayroll   ? QStringLiteral("工资表")
                                  : isSummary ? payroll::summaryCaption(kind)
                                              : findTable(table)->name;
            XlsxSink sink(tmp, sheet);
            write(sink);
            sink.finish();
        } catch (...) {
            QFile::remove(tmp);
            throw;
        }
        QFile::remove(*out);
        if (!QFile::rename(tmp, *out))
            throw fileError(QStringLiteral("无法写入文件 %1").arg(QDir::toNativeSeparators(*out)));
        ctx.out << QDir::toNativeSeparators(QFileInfo(*out).absoluteFilePath()) << "\n";
        return Done;
    }
    if (!out) {
        payroll::CsvSink sink(ctx.out);
        write(sink);
        return Done;
    }
    QFile file(*out + QStringLiteral(".part"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw fileError(QStringLiteral("无法创建文件 %1").arg(QDir::toNativeSeparators(*out)));
    {
        QTextStream s(&file);
        s.setEncoding(QStringConverter::Utf8);
        payroll::CsvSink sink(s);
        try {
            write(sink);
        } catch (...) {
            file.remove();
            throw;
        }
        s.flush();
        if (s.status() != QTextStream::Ok) {
            file.remove();
            throw fileError(QStringLiteral("写文件 %1 失败").arg(QDir::toNativeSeparators(*out)));
        }
    }
    file.close();
    QFile::remove(*out);
    if (!file.rename(*out))
        throw fileError(QStringLiteral("无法写入文件 %1").arg(QDir::toNativeSeparators(*out)));
    ctx.out << QDir::toNativeSeparators(QFileInfo(*out).absoluteFilePath()) << "\n";
    return Done;
}

const bool registered = [] {
    registerCommand(
        {QStringLiteral("export"),
         QStringLiteral("export TABLE|payroll|summary KIND [filters] [--format csv|xlsx] [--out FILE]"),
         QStringLiteral("a table, the payroll list (payroll refresh filters) or a summary (summary "
                        "filters) as CSV or XLSX"),
         cmdExport});
    return true;
}();

} // namespace
} // namespace gz::cli
