#include "report/Channels.h"

#include "core/data/Dataset.h"

#include <QDate>
#include <QDateTime>

namespace gz::report {

DatasetSource::DatasetSource(const Dataset& ds) : ds_(&ds) {}
DatasetSource::DatasetSource(std::shared_ptr<const Dataset> ds) : keep_(std::move(ds)), ds_(keep_.get()) {}

int DatasetSource::rowCount() const {
    return ds_->isOpen() ? ds_->rowCount() : 0;
}
int DatasetSource::columnIndex(const QString& name) const {
    return ds_->isOpen() ? ds_->columnIndex(name) : -1;
}
DataSource::Kind DatasetSource::kind(int col) const {
    switch (ds_->columnType(col)) {
    case Dataset::Type::Integer:
    case Dataset::Type::Real:
        return Kind::Number;
    case Dataset::Type::Date:
        return Kind::Date;
    case Dataset::Type::Bool:
        return Kind::Bool;
    case Dataset::Type::Blob:
        return Kind::Blob;
    default:
        return Kind::Text;
    }
}
bool DatasetSource::isNull(int row, int col) const {
    return ds_->isNull(row, col);
}
double DatasetSource::real(int row, int col) const {
    return ds_->real(row, col);
}
QString DatasetSource::text(int row, int col) const {
    return ds_->text(row, col);
}
QByteArray DatasetSource::blob(int row, int col) const {
    const QVariant v = ds_->value(row, col);
    return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8();
}
int DatasetSource::currentRow() const {
    return ds_->current();
}

TableSource::TableSource(QStringList columns, std::vector<std::vector<QVariant>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

int TableSource::columnIndex(const QString& name) const {
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const QVariant& TableSource::at(int row, int col) const {
    static const QVariant none;
    const auto& r = rows_[static_cast<std::size_t>(row)];
    return col < static_cast<int>(r.size()) ? r[static_cast<std::size_t>(col)] : none;
}

DataSource::Kind TableSource::kind(int col) const {
    for (const auto& r : rows_) {
        if (col >= static_cast<int>(r.size()) || r[static_cast<std::size_t>(col)].isNull()) continue;
        switch (r[static_cast<std::size_t>(col)].typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Double:
            return Kind::Number;
        case QMetaType::QDate:
        case QMetaType::QDateTime:
            return Kind::Date;
        case QMetaType::Bool:
            return Kind::Bool;
        case QMetaType::QByteArray:
            return Kind::Blob;
        default:
            return Kind::Text;
        }
    }
    return Kind::Text;
}

bool TableSource::isNull(int row, int col) const {
    return at(row, col).isNull();
}
double TableSource::real(int row, int col) const {
    return at(row, col).toDouble();
}
QString TableSource::text(int row, int col) const {
    const QVariant& v = at(row, col);
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString(Qt::ISODate);
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (v.typeId() == QMetaType::Bool) return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return v.toString();
}
QByteArray TableSource::blob(int row, int col) const {
    const QVariant& v = at(row, col);
    return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8();
}

void Channels::bind(const QString& channel, std::shared_ptr<const DataSource> source) {
    map_.insert(channel.toLower(), std::move(source));
}
void Channels::unbind(const QString& channel) {
    map_.remove(channel.toLower());
}
const DataSource* Channels::source(const QString& channel) const {
    auto it = map_.constFind(channel.toLower());
    return it == map_.constEnd() ? nullptr : it->get();
}
std::shared_ptr<const DataSource> Channels::shared(const QString& channel) const {
    return map_.value(channel.toLower());
}

Channels& channels() {
    static Channels c;
    return c;
}

} // namespace gz::report
