#include "ui/RowFilter.h"

#include "ui/TableModel.h"

namespace kestrune::ui {

RowFilter::RowFilter(TableModel* table, QObject* parent)
    : QSortFilterProxyModel(parent), pathColumn_(PathColumn(table->Kind())) {
    setSourceModel(table);
}

void RowFilter::SetText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed == text_) return;
    text_ = trimmed;
    invalidateFilter();
}

int RowFilter::PositionOf(int listRow) const { return mapToSource(index(listRow, 0)).row() + 1; }

bool RowFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (text_.isEmpty()) return true;
    const QAbstractItemModel* table = sourceModel();
    const auto holdsText = [&](int column) {
        return table->index(sourceRow, column, sourceParent).data().toString().contains(text_, Qt::CaseInsensitive);
    };
    return holdsText(0) || holdsText(pathColumn_);
}

}  // namespace kestrune::ui
