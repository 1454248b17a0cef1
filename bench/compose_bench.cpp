// ComposeMemo over generated agenda files: a realistic mix of 10^3, 10^5 and
// 10^6 lines with about 1% applying, and 10^5 lines that all apply (a memo of
// megabytes), over the benchmarks' plain heap (bench/plain_heap.cpp), which
// moves a growing block as a real heap does.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <map>
#include <string>
#include <utility>

#include "agenda/agenda.h"
#include "bench/agenda_generator.h"
#include "testing/scratch_dir.h"

namespace {

// The generated files, made when a benchmark first needs one and removed
// when the program ends.
class AgendaFiles {
 public:
  const std::pair<std::string, bench::GeneratedAgenda>& Get(size_t lines, bool everyLineApplies) {
    const auto key = std::make_pair(lines, everyLineApplies);
    auto it = files_.find(key);
    if (it != files_.end()) return it->second;
    const std::string path =
        dir_.path() + "/" + std::to_string(lines) + (everyLineApplies ? "-all" : "-mixed") + ".vrn";
    return files_[key] = {path, bench::WriteAgenda(path, lines, everyLineApplies)};
  }

 private:
  testing_support::ScratchDir dir_;
  std::map<std::pair<size_t, bool>, std::pair<std::string, bench::GeneratedAgenda>> files_;
};

AgendaFiles& Files() {
  static AgendaFiles files;
  return files;
}

void Compose(benchmark::State& state, bool everyLineApplies) {
  const auto& [path, agenda] = Files().Get(static_cast<size_t>(state.range(0)), everyLineApplies);
  if (agenda.lines == 0) {
    state.SkipWithError("cannot write the agenda file");
    return;
  }
  int32_t length = 0;
  for (auto _ : state) {
    HLOCAL memo = nullptr;
    length = ComposeMemo(path.c_str(), bench::kDate, &memo);
    benchmark::DoNotOptimize(length);
    LocalFree(memo);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * agenda.lines));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * agenda.bytes));
  state.counters["entries"] = static_cast<double>(agenda.applying);
  state.counters["memo_bytes"] = length;
}

void BM_ComposeMixed(benchmark::State& state) { Compose(state, false); }
void BM_ComposeEveryLineApplies(benchmark::State& state) { Compose(state, true); }

BENCHMARK(BM_ComposeMixed)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeEveryLineApplies)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
