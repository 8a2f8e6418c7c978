#pragma once
// A list's view of one core table. The rows stay in the core table; the model only remembers
// how many rows the view was last told about, so a change made by the core is announced to
// the view on the next turn of the event loop (or at once with Sync()).

#include <cstdint>
#include <vector>

#include <QAbstractTableModel>

#include "app/Table.h"

namespace kestrune::ui {

class IconStore;

class TableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    TableModel(const Table& table, const IconStore& icons, QObject* parent = nullptr);

    TableKind Kind() const { return table_.Kind(); }
    // Brings the view up to date with the table when it has changed.
    void Sync();
    // Whether rows came or went since the last call (the list's columns may need other widths).
    bool TakeRowsCameOrWent();
    // Tells the view that the rows may all be different (after a sort, say).
    void Reset();
    // Whether the table has changed since the view was last told.
    bool Stale() const { return table_.Revision() != revision_ || table_.Count() != rows_; }
    // The identity of the row the view shows at `row` (from 0), as it was last told; 0 when none.
    RowId ShownId(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A click on a check box: the table is not touched here, the core decides (tickRequested).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // `position` counts from 1, as the core does.
    void tickRequested(kestrune::TableKind kind, int position, bool ticked);

private:
    const Table& table_;
    const IconStore& icons_;
    int rows_ = 0;
    std::uint64_t revision_ = 0;
    std::uint64_t rowsRevision_ = 0;
    std::vector<RowId> shownIds_;
    void RememberIds();
};

}  // namespace kestrune::ui
