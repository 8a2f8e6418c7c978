#pragma once
// What a list shows of its table while the user filters it: the rows whose name or path holds
// the typed text, in the table's own order (row order is display order, so nothing is sorted
// here).

#include <QSortFilterProxyModel>

#include "app/TableKind.h"

namespace kestrune::ui {

class TableModel;

class RowFilter final : public QSortFilterProxyModel {
    Q_OBJECT
public:
    RowFilter(TableModel* table, QObject* parent = nullptr);

    void SetText(const QString& text);
    const QString& Text() const { return text_; }
    bool Active() const { return !text_.isEmpty(); }
    // The table position (from 1) of a row of the list (from 0).
    int PositionOf(int listRow) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString text_;
    int pathColumn_;
};

}  // namespace kestrune::ui
