#pragma once
// A grid's view of a core Dataset: column titles, widths, display formats and colours of its
// window. Values are read from the dataset when the grid paints them (no copy, no per-row
// object), so it stays fast with a million rows.

#include "core/data/Dataset.h"

#include <QAbstractTableModel>
#include <QColor>
#include <functional>
#include <optional>
#include <vector>

class QTableView;

namespace gz::ui {

struct GridColumn {
    QString field;  // dataset column name
    QString title;  // empty: the schema's label, else the field name
    int width = 80; // pixels
    QString format; // numeric picture; empty: the dataset's own display text
};

class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Colours per cell: return nullopt for the grid's default.
    using Colour = std::function<std::optional<QColor>(int row, int column, bool background)>;

    explicit DatasetModel(QObject* parent = nullptr);

    // The dataset is not owned; it must outlive the model or be detached with setDataset(nullptr).
    void setDataset(const Dataset* ds);
    const Dataset* dataset() const { return ds_; }
    // Columns shown, in order; empty shows every dataset column.
    void setColumns(std::vector<GridColumn> columns);
    void setColour(Colour c) { colour_ = std::move(c); }
    // Call after the dataset was re-opened, refreshed or changed in size.
    void reload();
    // Call after values of existing rows changed.
    void rowsChanged(int first, int last);

    int datasetColumn(int column) const;
    // Applies the widths and a fixed row height to a view showing this model.
    void applyTo(QTableView* view) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void resolve();

    const Dataset* ds_ = nullptr;
    std::vector<GridColumn> columns_;
    std::vector<GridColumn> shown_;
    std::vector<int> index_; // dataset column of each shown column, -1 when missing
    Colour colour_;
};

} // namespace gz::ui
