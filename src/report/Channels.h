#pragma once
// Report channels: named tabular data sources that templates read by channel and field name
// ("RMDBDataSet1.gh"). A source is an adapter over data that already exists (a Dataset, a small
// table made in code); the engine reads values through it and never copies the rows.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace gz {
class Dataset;
}

namespace gz::report {

class DataSource {
public:
    enum class Kind { Text, Number, Date, Bool, Blob };
    virtual ~DataSource() = default;
    virtual int rowCount() const = 0;
    virtual int columnIndex(const QString& name) const = 0; // case-insensitive, -1 when absent
    virtual Kind kind(int col) const = 0;
    virtual bool isNull(int row, int col) const = 0;
    virtual double real(int row, int col) const = 0;
    // Texts as stored; dates as ISO text "yyyy-MM-dd".
    virtual QString text(int row, int col) const = 0;
    virtual QByteArray blob(int row, int col) const { return text(row, col).toUtf8(); }
    // The row that fields of a channel other than the one a band repeats read (a dataset's cursor).
    virtual int currentRow() const { return 0; }
};

// A view of a Dataset: no rows are copied; the dataset must outlive the binding (or be shared).
class DatasetSource : public DataSource {
public:
    explicit DatasetSource(const Dataset& ds);
    explicit DatasetSource(std::shared_ptr<const Dataset> ds);
    int rowCount() const override;
    int columnIndex(const QString& name) const override;
    Kind kind(int col) const override;
    bool isNull(int row, int col) const override;
    double real(int row, int col) const override;
    QString text(int row, int col) const override;
    QByteArray blob(int row, int col) const override;
    int currentRow() const override;

private:
    std::shared_ptr<const Dataset> keep_;
    const Dataset* ds_;
};

// A small table made in code (fixtures, computed rows).
class TableSource : public DataSource {
public:
    TableSource(QStringList columns, std::vector<std::vector<QVariant>> rows = {});
    void addRow(std::vector<QVariant> row) { rows_.push_back(std::move(row)); }
    int rowCount() const override { return static_cast<int>(rows_.size()); }
    int columnIndex(const QString& name) const override;
    Kind kind(int col) const override;
    bool isNull(int row, int col) const override;
    double real(int row, int col) const override;
    QString text(int row, int col) const override;
    QByteArray blob(int row, int col) const override;

private:
    const QVariant& at(int row, int col) const;
    QStringList columns_;
    std::vector<std::vector<QVariant>> rows_;
};

// The channels of one report engine. A channel that a command does not bind keeps the source it
// was last bound to.
class Channels {
public:
    static QString name(int n) { return QStringLiteral("RMDBDataSet%1").arg(n); }
    void bind(const QString& channel, std::shared_ptr<const DataSource> source);
    void bind(int n, std::shared_ptr<const DataSource> source) { bind(name(n), std::move(source)); }
    void unbind(const QString& channel);
    // nullptr when nothing was ever bound (the channel reads as closed: empty values).
    const DataSource* source(const QString& channel) const;
    std::shared_ptr<const DataSource> shared(const QString& channel) const;

private:
    QHash<QString, std::shared_ptr<const DataSource>> map_;
};

// The program's one set of channels (the report engine of the data module).
Channels& channels();

} // namespace gz::report
