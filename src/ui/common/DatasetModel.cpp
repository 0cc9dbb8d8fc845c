#include "ui/common/DatasetModel.h"

#include "core/data/Formats.h"
#include "core/data/Schema.h"

#include <QHeaderView>
#include <QTableView>

namespace gz::ui {

DatasetModel::DatasetModel(QObject* parent) : QAbstractTableModel(parent) {}

void DatasetModel::setDataset(const Dataset* ds) {
    beginResetModel();
    ds_ = ds;
    resolve();
    endResetModel();
}

void DatasetModel::setColumns(std::vector<GridColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    resolve();
    endResetModel();
}

void DatasetModel::reload() {
    beginResetModel();
    resolve();
    endResetModel();
}

void DatasetModel::rowsChanged(int first, int last) {
    if (first > last || columnCount() == 0) return;
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void DatasetModel::resolve() {
    shown_.clear();
    index_.clear();
    if (!ds_ || !ds_->isOpen()) {
        shown_ = columns_;
        index_.assign(shown_.size(), -1);
        return;
    }
    if (columns_.empty()) {
        for (int c = 0; c < ds_->columnCount(); ++c)
            shown_.push_back({ds_->columnName(c), {}, 80, {}});
    } else {
        shown_ = columns_;
    }
    const TableDef* table = ds_->table().isEmpty() ? nullptr : findTable(ds_->table());
    for (GridColumn& g : shown_) {
        index_.push_back(ds_->columnIndex(g.field));
        if (g.title.isEmpty()) {
            const ColumnDef* def = table ? table->column(g.field) : nullptr;
            g.title = def && !def->label.isEmpty() ? def->label : g.field;
        }
    }
}

int DatasetModel::datasetColumn(int column) const {
    return column >= 0 && column < int(index_.size()) ? index_[column] : -1;
}

void DatasetModel::applyTo(QTableView* view) const {
    for (int c = 0; c < int(shown_.size()); ++c)
        view->setColumnWidth(c, shown_[c].width);
    QHeaderView* rows = view->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view->fontMetrics().height() + 6);
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !ds_ || !ds_->isOpen()) return 0;
    return ds_->rowCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !ds_) return {};
    const int col = datasetColumn(index.column());
    if (col < 0 || index.row() >= ds_->rowCount()) return {};
    switch (role) {
    case Qt::DisplayRole: {
        const QString& picture = shown_[index.column()].format;
        const Dataset::Type t = ds_->columnType(col);
        if (!picture.isEmpty() && (t == Dataset::Type::Real || t == Dataset::Type::Integer)) {
            if (ds_->isNull(index.row(), col)) return QString();
            return formatNumber(ds_->real(index.row(), col), picture);
        }
        return ds_->displayText(index.row(), col);
    }
    case Qt::TextAlignmentRole: {
        const Dataset::Type t = ds_->columnType(col);
        if (t == Dataset::Type::Real || t == Dataset::Type::Integer)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
        if (colour_) {
            if (auto c = colour_(index.row(), index.column(), role == Qt::BackgroundRole)) return *c;
        }
        return {};
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < int(shown_.size()) ? QVariant(shown_[section].title) : QVariant();
    return QVariant();
}

} // namespace gz::ui
