#include "app/Table.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>

#include "app/Text.h"

namespace kestrune {

Table::Table(TableKind kind) : kind_(kind), headers_(Split(HeaderText(kind), ",")) {}

int Table::CountTicked() const {
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const Item& r) { return r.ticked; }));
}

int Table::Add(std::vector<std::string> texts, bool ticked, int icon, EntryDetails details) {
    texts.resize(headers_.size());
    rows_.push_back(Item{std::move(texts), ticked, icon, ++lastId_, std::move(details), std::nullopt});
    Changed(true);
    return Count();
}

std::optional<int> Table::PositionOf(RowId id) const {
    const auto it = std::find_if(rows_.begin(), rows_.end(), [id](const Item& r) { return r.id == id; });
    if (it == rows_.end()) return std::nullopt;
    return static_cast<int>(it - rows_.begin()) + 1;
}

void Table::Remove(int position) {
    MutableRow(position);  // range check
    rows_.erase(rows_.begin() + (position - 1));
    Changed(true);
}

void Table::Clear() {
    rows_.clear();
    Changed(true);
}

void Table::KeepIdentities(const std::vector<Item>& before) {
    std::vector<bool> taken(before.size(), false);
    for (Item& row : rows_) {
        for (size_t i = 0; i < before.size(); ++i) {
            if (taken[i] || before[i].texts != row.texts || before[i].details.place.key != row.details.place.key)
                continue;
            taken[i] = true;
            row.id = before[i].id;
            break;
        }
    }
}

void Table::SetPlace(int position, RowPlace place) {
    Item& row = MutableRow(position);
    if (row.details.place == place) return;
    row.details.place = place;
    Changed();
}

const Item& Table::Row(int position) const {
    if (position < 1 || position > Count()) throw std::out_of_range("row position out of range");
    return rows_[static_cast<size_t>(position - 1)];
}

Item& Table::MutableRow(int position) {
    if (position < 1 || position > Count()) throw std::out_of_range("row position out of range");
    return rows_[static_cast<size_t>(position - 1)];
}

const std::string& Table::Text(int position, int column) const {
    static const std::string kEmpty;
    const Item& row = Row(position);
    return column >= 0 && column < static_cast<int>(row.texts.size()) ? row.texts[static_cast<size_t>(column)] : kEmpty;
}

void Table::SetText(int position, int column, std::string text) {
    Item& row = MutableRow(position);
    if (column < 0 || column >= ColumnCount()) return;
    row.texts[static_cast<size_t>(column)] = std::move(text);
    Changed();
}

void Table::SetTicked(int position, bool ticked) {
    MutableRow(position).ticked = ticked;
    Changed();
}

void Table::SetIcon(int position, int icon) {
    MutableRow(position).icon = icon;
    Changed();
}

void Table::SetDetails(int position, EntryDetails details) {
    MutableRow(position).details = std::move(details);
    Changed();
}

void Table::SetPublisher(int position, std::string publisher) {
    Item& row = MutableRow(position);
    if (row.publisher == publisher) return;
    row.publisher = std::move(publisher);
    Changed();
}

void Table::Sort(int column, bool ascending) {
    if (column >= 0 && column == PublisherColumn()) {
        sortedAscending_ = ascending;
        std::stable_sort(rows_.begin(), rows_.end(), [&](const Item& a, const Item& b) {
            const int cmp = CompareIgnoreCase(a.publisher.value_or(""), b.publisher.value_or(""));
            return ascending ? cmp < 0 : cmp > 0;
        });
        Changed();
        return;
    }
    if (column >= 0 && column == ImpactColumn()) {
        sortedAscending_ = ascending;
        std::stable_sort(rows_.begin(), rows_.end(), [&](const Item& a, const Item& b) {
            const auto band = [](const Item& r) { return static_cast<int>(BandOf(r.details.impact)); };
            return ascending ? band(a) < band(b) : band(b) < band(a);
        });
        Changed();
        return;
    }
    if (column < 0 || column >= ColumnCount()) return;
    sortedAscending_ = ascending;
    const std::string header = ToLower(headers_[static_cast<size_t>(column)]);
    const auto c = static_cast<size_t>(column);
    if (header == "delay" || header == "handle") {
        // Keys as ten-digit numbers: an empty text sorts before every number.
        auto key = [c](const Item& r) -> std::optional<std::int64_t> {
            if (r.texts[c].empty()) return std::nullopt;
            return RoundHalfEven(LeadingNumber(r.texts[c]));
        };
        std::stable_sort(rows_.begin(), rows_.end(),
                         [&](const Item& a, const Item& b) { return ascending ? key(a) < key(b) : key(b) < key(a); });
    } else {
        std::stable_sort(rows_.begin(), rows_.end(), [&](const Item& a, const Item& b) {
            const int cmp = CompareIgnoreCase(a.texts[c], b.texts[c]);
            return ascending ? cmp < 0 : cmp > 0;
        });
    }
    Changed();
}

void Table::Changed(bool rowsCameOrWent) {
    ++revision_;
    if (rowsCameOrWent) ++rowsRevision_;
    if (listener_) listener_(kind_);
}

Tables::Tables() {
    tables_.reserve(kTableCount);
    for (TableKind kind : kAllTables) tables_.emplace_back(kind);
}

void Tables::ClearAll() {
    for (Table& t : tables_) t.Clear();
}

void Tables::SetChangeListener(const std::function<void(TableKind)>& listener) {
    for (Table& t : tables_) t.SetChangeListener(listener);
}

}  // namespace kestrune
