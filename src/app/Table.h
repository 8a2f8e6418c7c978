#pragma once
// One item table: an ordered vector of rows whose order is the display order. Positions are
// 1-based, as the settings document numbers them and the table operations walk them.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/EntryDetails.h"
#include "app/TableKind.h"

namespace kestrune {

inline constexpr int kDefaultIcon = 1;

// Which row a row is, whatever its position: given by its table when the row is added, kept
// through sorting, never given again by that table. A command that walks several rows holds
// their identities, since a sort or a refill between two of its steps moves the positions.
using RowId = std::uint64_t;

struct Item {
    std::vector<std::string> texts;  // one text per column, in header order
    bool ticked = false;
    int icon = kDefaultIcon;
    RowId id = 0;
    EntryDetails details;
    // Who made the program the row names, from its file ("" when the file names nobody);
    // nullopt until the file has been looked at. Not one of the texts: it is read, not kept.
    std::optional<std::string> publisher;
};

class Table {
public:
    explicit Table(TableKind kind);

    TableKind Kind() const { return kind_; }
    const std::vector<std::string>& Headers() const { return headers_; }
    int ColumnCount() const { return static_cast<int>(headers_.size()); }

    int Count() const { return static_cast<int>(rows_.size()); }
    int CountTicked() const;
    bool Empty() const { return rows_.empty(); }

    // Appends a row (texts padded or cut to the column count); answers its position.
    int Add(std::vector<std::string> texts, bool ticked = false, int icon = kDefaultIcon, EntryDetails details = {});
    void Remove(int position);
    void Clear();
    // After a refill: each row whose texts equal those of a row it had before takes that row's
    // identity back (each identity once), so that what a view or a command held on to is still
    // found where it went.
    void KeepIdentities(const std::vector<Item>& before);

    const Item& Row(int position) const;
    const std::string& Text(int position, int column) const;
    const std::string& Name(int position) const { return Text(position, 0); }
    bool Ticked(int position) const { return Row(position).ticked; }
    int Icon(int position) const { return Row(position).icon; }
    const EntryDetails& Details(int position) const { return Row(position).details; }
    RowId Id(int position) const { return Row(position).id; }
    // The row's present position; nullopt once it has left the table.
    std::optional<int> PositionOf(RowId id) const;

    void SetText(int position, int column, std::string text);
    void SetTicked(int position, bool ticked);
    void SetIcon(int position, int icon);
    void SetPlace(int position, RowPlace place);
    const RowPlace& Place(int position) const { return Row(position).details.place; }
    void SetDetails(int position, EntryDetails details);
    const std::optional<std::string>& Publisher(int position) const { return Row(position).publisher; }
    void SetPublisher(int position, std::string publisher);
    // The location tables show the publisher after their own columns: the number of that
    // column (ColumnCount()), or -1 for a table without it.
    int PublisherColumn() const { return IsLocationTable(kind_) ? ColumnCount() : -1; }
    // The Delayed table shows its rows' last measured impact after its own columns likewise.
    int ImpactColumn() const { return kind_ == TableKind::Delayed ? ColumnCount() : -1; }

    // Stable sort on one column: case-insensitive text, or numeric for "Delay" and "Handle"
    // (empty texts first when ascending). PublisherColumn() sorts on the publishers,
    // ImpactColumn() on the bands.
    void Sort(int column, bool ascending);
    // The direction of the last sort (ascending before any): a header click turns it round.
    bool SortedAscending() const { return sortedAscending_; }

    const std::vector<Item>& Rows() const { return rows_; }
    // Counts every change, so a view can tell when to redraw.
    std::uint64_t Revision() const { return revision_; }
    // Counts only rows added and removed: a view sizes its columns again when this moves.
    std::uint64_t RowsRevision() const { return rowsRevision_; }
    // Called after each change (the view's chance to schedule a redraw).
    void SetChangeListener(std::function<void(TableKind)> listener) { listener_ = std::move(listener); }

private:
    Item& MutableRow(int position);
    void Changed(bool rowsCameOrWent = false);

    TableKind kind_;
    std::vector<std::string> headers_;
    std::vector<Item> rows_;
    std::uint64_t revision_ = 0;
    std::uint64_t rowsRevision_ = 0;
    RowId lastId_ = 0;
    bool sortedAscending_ = true;
    std::function<void(TableKind)> listener_;
};

// The nine tables, indexed by kind.
class Tables {
public:
    Tables();
    Table& operator[](TableKind kind) { return tables_[Number(kind) - 1]; }
    const Table& operator[](TableKind kind) const { return tables_[Number(kind) - 1]; }
    void ClearAll();
    void SetChangeListener(const std::function<void(TableKind)>& listener);

private:
    std::vector<Table> tables_;
};

}  // namespace kestrune
