// Deleting the duplicates of a table of 10,000 rows: the walk compares every pair of rows, so
// the cost of one comparison decides the whole.

#include <benchmark/benchmark.h>

#include "app/MainState.h"
#include "locations/TableOperations.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"

namespace kestrune {
namespace {

void BM_DeleteDuplicates(benchmark::State& run) {
    const int rows = static_cast<int>(run.range(0));
    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    MainState state(*machine.platform, clock);
    int deleted = 0;
    for (auto _ : run) {
        run.PauseTiming();
        state.model.tables.ClearAll();
        Table& table = state.model.tables[TableKind::HKCU_Run];
        // Every fourth name repeats an earlier one in another letter case.
        for (int i = 0; i < rows; ++i) {
            const int n = i % 4 == 3 ? i / 2 : i;
            table.Add({(i % 2 ? "Application " : "APPLICATION ") + std::to_string(n), "C:\\app.exe"});
        }
        run.ResumeTiming();
        const int before = table.Count();
        DeleteDuplicates(state, TableKind::HKCU_Run);
        deleted = before - table.Count();
    }
    run.SetLabel(std::to_string(deleted) + " duplicates of " + std::to_string(rows) + " rows");
}

BENCHMARK(BM_DeleteDuplicates)->Arg(10000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
}  // namespace kestrune
