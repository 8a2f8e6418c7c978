#include "app/ModelObserver.h"

#include <algorithm>

namespace kestrune {

void ModelEvents::Attach(ModelObserver& observer) {
    if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end()) observers_.push_back(&observer);
}

void ModelEvents::Detach(ModelObserver& observer) { std::erase(observers_, &observer); }

void ModelEvents::RowsChanged(TableKind kind) {
    // A copy: an observer may detach itself (or another) while being told.
    for (ModelObserver* observer : std::vector<ModelObserver*>(observers_)) observer->RowsChanged(kind);
}

void ModelEvents::DelayedWindowChanged() {
    for (ModelObserver* observer : std::vector<ModelObserver*>(observers_)) observer->DelayedWindowChanged();
}

void ModelEvents::MonitorDecided(TableKind kind, const std::string& name, bool allowed) {
    for (ModelObserver* observer : std::vector<ModelObserver*>(observers_))
        observer->MonitorDecided(kind, name, allowed);
}

void ModelEvents::DelayedLaunch(const std::string& text) {
    for (ModelObserver* observer : std::vector<ModelObserver*>(observers_)) observer->DelayedLaunch(text);
}

void ModelEvents::BeginBusy(bool runDelayedToo) {
    ++busyDepth_;
    if (runDelayedToo) ++runDelayedDepth_;
    PublishBusy();
}

void ModelEvents::EndBusy(bool runDelayedToo) {
    if (busyDepth_ > 0) --busyDepth_;
    if (runDelayedToo && runDelayedDepth_ > 0) --runDelayedDepth_;
    PublishBusy();
}

void ModelEvents::PublishBusy() {
    const BusyState now{busyDepth_ > 0, runDelayedDepth_ > 0};
    if (now == busy_) return;
    busy_ = now;
    for (ModelObserver* observer : std::vector<ModelObserver*>(observers_)) observer->BusyChanged(busy_);
}

}  // namespace kestrune
