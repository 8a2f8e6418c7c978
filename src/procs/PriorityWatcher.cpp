#include "procs/PriorityWatcher.h"

#include "app/Table.h"

namespace kestrune {

void PriorityWatcher::Follow(bool watchOption, const Table& processes) {
    if (!timer_) return;
    if (processes.CountTicked() < 1) Stop();
    else if (watchOption && !timer_->Running()) timer_->Start();
}

void PriorityWatcher::Switch(bool watchOption) {
    if (!timer_) return;
    if (!watchOption) timer_->Stop();
    else if (!timer_->Running()) timer_->Start();
}

void PriorityWatcher::Stop() {
    if (timer_ && timer_->Running()) timer_->Stop();
}

}  // namespace kestrune
