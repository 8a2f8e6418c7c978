#pragma once
// What a view follows by itself. The core changes its model and announces it here; it never
// asks a view to redraw, size its columns, enable its controls or let queued events run. A
// view registers once (MainState::events) and catches up on its own schedule.

#include <string>
#include <vector>

#include "app/TableKind.h"

namespace kestrune {

// Lasting work in progress. While `controls` is set the tab strip, the lists and the table
// menus take no commands; while `runDelayed` is set "Run delayed applications" does not either
// (a delayed run keeps it usable, so that the run can be stopped).
struct BusyState {
    bool controls = false;
    bool runDelayed = false;
    bool operator==(const BusyState&) const = default;
};

class ModelObserver {
public:
    virtual ~ModelObserver() = default;
    // Rows of a table were added, removed, reordered or edited. Many may come during one
    // command; a view that redraws once after the command has all it needs.
    virtual void RowsChanged(TableKind) {}
    virtual void BusyChanged(const BusyState&) {}
    // The delayed-run window's model changed, its visibility included.
    virtual void DelayedWindowChanged() {}
    // The change monitor let a newcomer to a place stay (`allowed`) or took it out again.
    virtual void MonitorDecided(TableKind, const std::string& /*name*/, bool /*allowed*/) {}
    // The delayed run is starting a program; `text` says which ("Running ...").
    virtual void DelayedLaunch(const std::string& /*text*/) {}
};

// The model's change notices and the observers that receive them.
class ModelEvents {
public:
    ModelEvents() = default;
    ModelEvents(const ModelEvents&) = delete;
    ModelEvents& operator=(const ModelEvents&) = delete;

    void Attach(ModelObserver& observer);
    void Detach(ModelObserver& observer);

    void RowsChanged(TableKind kind);
    void DelayedWindowChanged();
    void MonitorDecided(TableKind kind, const std::string& name, bool allowed);
    void DelayedLaunch(const std::string& text);

    // Work that keeps the controls busy until the matching EndBusy; nested work counts, so
    // an inner command ending never frees the controls while an outer one still runs.
    void BeginBusy(bool runDelayedToo);
    void EndBusy(bool runDelayedToo);
    const BusyState& Busy() const { return busy_; }

private:
    void PublishBusy();

    std::vector<ModelObserver*> observers_;
    int busyDepth_ = 0;
    int runDelayedDepth_ = 0;
    BusyState busy_;
};

// Busy for as long as it lives.
class BusyScope {
public:
    explicit BusyScope(ModelEvents& events, bool runDelayedToo = false)
        : events_(events), runDelayedToo_(runDelayedToo) {
        events_.BeginBusy(runDelayedToo_);
    }
    ~BusyScope() { events_.EndBusy(runDelayedToo_); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    ModelEvents& events_;
    bool runDelayedToo_;
};

}  // namespace kestrune
