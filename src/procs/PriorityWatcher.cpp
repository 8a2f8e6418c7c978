#include "procs/PriorityWatcher.h"

#include "app/Clock.h"
#include "app/Table.h"

namespace kestrune {

void FollowStoredPriorities(Timer* watcher, bool watchOption, const Table& processes) {
    if (!watcher) return;
    if (processes.CountTicked() < 1) {
        if (watcher->Running()) watcher->Stop();
    } else if (watchOption && !watcher->Running()) {
        watcher->Start();
    }
}

}  // namespace kestrune
