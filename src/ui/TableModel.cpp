#include "ui/TableModel.h"

#include "locations/Publishers.h"
#include "ui/IconStore.h"

namespace kestrune::ui {

TableModel::TableModel(const Table& table, const IconStore& icons, QObject* parent)
    : QAbstractTableModel(parent),
      table_(table),
      icons_(icons),
      rows_(table.Count()),
      revision_(table.Revision()),
      rowsRevision_(table.RowsRevision()) {
    RememberIds();
}

void TableModel::RememberIds() {
    shownIds_.clear();
    for (const Item& row : table_.Rows()) shownIds_.push_back(row.id);
}

RowId TableModel::ShownId(int row) const {
    return row >= 0 && row < static_cast<int>(shownIds_.size()) ? shownIds_[static_cast<size_t>(row)] : 0;
}

void TableModel::Sync() {
    if (!Stale()) return;
    if (table_.Count() != rows_) {
        Reset();
        return;
    }
    revision_ = table_.Revision();
    RememberIds();
    if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
}

bool TableModel::TakeRowsCameOrWent() {
    if (table_.RowsRevision() == rowsRevision_) return false;
    rowsRevision_ = table_.RowsRevision();
    return true;
}

void TableModel::Reset() {
    beginResetModel();
    rows_ = table_.Count();
    revision_ = table_.Revision();
    RememberIds();
    endResetModel();
}

int TableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return table_.PublisherColumn() >= 0 || table_.ImpactColumn() >= 0 ? table_.ColumnCount() + 1
                                                                       : table_.ColumnCount();
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    const int position = index.row() + 1;
    // The table may have shrunk since the view last asked; such rows are gone.
    if (!index.isValid() || position > table_.Count()) return {};
    // The first column carries the row's marks ("32-bit", "disabled in Windows Settings"), so
    // that a row Windows keeps off says why it is unticked although its entry is in place.
    const std::string marks = index.column() == 0 ? RowMarks(table_.Place(position)) : std::string();
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == table_.ImpactColumn())
                return QString(BandText(BandOf(table_.Details(position).impact)));
            if (index.column() == table_.PublisherColumn())
                return QString::fromStdString(table_.Publisher(position).value_or(""));
            if (!marks.empty()) return QString::fromStdString(table_.Text(position, 0) + " [" + marks + "]");
            return QString::fromStdString(table_.Text(position, index.column()));
        case Qt::ToolTipRole:
            if (index.column() == table_.ImpactColumn())
                return QString::fromStdString(ImpactFigures(table_.Details(position).impact));
            if (index.column() == table_.PublisherColumn())
                return QString::fromStdString(table_.Publisher(position).value_or(""));
            if (!marks.empty()) return QString::fromStdString(table_.Text(position, 0) + "\n" + marks);
            return QString::fromStdString(table_.Text(position, index.column()));
        case Qt::CheckStateRole:
            if (index.column() == 0) return table_.Ticked(position) ? Qt::Checked : Qt::Unchecked;
            return {};
        case Qt::DecorationRole:
            if (index.column() == 0) return icons_.RowIcon(table_.Icon(position));
            return {};
        default: return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section >= 0 && section == table_.PublisherColumn()) return QString(kPublisherHeader);
    if (section >= 0 && section == table_.ImpactColumn()) return QString(kImpactHeader);
    if (section < 0 || section >= table_.ColumnCount()) return {};
    return QString::fromStdString(table_.Headers()[static_cast<size_t>(section)]);
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0) f |= Qt::ItemIsUserCheckable;
    return f;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const int position = index.row() + 1;
    if (role != Qt::CheckStateRole || index.column() != 0 || position > table_.Count()) return false;
    const bool ticked = value.toInt() == Qt::Checked;
    if (ticked == table_.Ticked(position)) return false;
    emit tickRequested(table_.Kind(), position, ticked);
    Sync();
    return true;
}

}  // namespace kestrune::ui
