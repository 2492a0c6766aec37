// Micro-benchmarks of the record list: linking superclasses and ordering by
// name, over lists of growing size (time per record should stay flat).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "model/class_list.h"
#include "synthetic_script.h"

namespace {

// Fills `list` with `classes` class records, each with one state whose name
// repeats across classes, and superclasses among the earlier classes.
void FillList(CClassList& list, size_t classes) {
  static const char* const kStateNames[] = {"Idle", "Dying", "Patrolling", "Waiting", "Fleeing"};
  bench::Random random(3);
  for (size_t i = 0; i < classes; ++i) {
    CClassRecord* record = list.CreateRecord();
    const std::string name = bench::SyntheticClassName(i, random);
    RecordTexts texts;
    texts.name = name;
    if (i > 0) texts.superName = list.At(random.Between(0, list.Count() - 1)).name();
    list.SetTexts(*record, texts);
    CClassRecord* state = list.CreateRecord();
    state->isState = 1;
    state->parent = record;
    list.SetTexts(*state, {.name = random.Pick(kStateNames)});
  }
}

void BM_ResolveAndSort(benchmark::State& state) {
  const size_t classes = static_cast<size_t>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto list = std::make_unique<CClassList>();
    FillList(*list, classes);
    state.ResumeTiming();
    list->ResolveParents();
    list->SortByName();
    benchmark::DoNotOptimize(list->At(0).name().data());
    state.PauseTiming();
    list.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * classes * 2));
}
BENCHMARK(BM_ResolveAndSort)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
