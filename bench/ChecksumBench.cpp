// CRC-32 of 16 MB in memory with the program's calculator, against zlib's crc32 over the same
// bytes in the same run (its anchor).

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <string>

#include "locations/Crc.h"

namespace kestrune {
namespace {

const std::string& Bytes() {
    static const std::string bytes = [] {
        std::string b(16 << 20, '\0');
        for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<char>(i * 31 + (i >> 8));
        return b;
    }();
    return bytes;
}

void BM_Crc32(benchmark::State& bench) {
    Crc crc(true);
    for (auto _ : bench) benchmark::DoNotOptimize(crc.CalculateBytes(Bytes()));
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations() * Bytes().size()));
}
BENCHMARK(BM_Crc32)->Unit(benchmark::kMillisecond);

void BM_ZlibCrc32(benchmark::State& bench) {
    for (auto _ : bench)
        benchmark::DoNotOptimize(crc32_z(0, reinterpret_cast<const Bytef*>(Bytes().data()), Bytes().size()));
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations() * Bytes().size()));
}
BENCHMARK(BM_ZlibCrc32)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrune
