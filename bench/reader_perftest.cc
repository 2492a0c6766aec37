// Micro-benchmarks of the script reader: condensing and parsing one
// synthetic script of a few kilobytes.
#include <benchmark/benchmark.h>

#include <string>

#include "model/class_list.h"
#include "reader/parser.h"
#include "reader/source_buffer.h"
#include "synthetic_script.h"

namespace {

std::string SampleScript() {
  bench::Random random(11);
  return bench::SyntheticScript("StoneGuard1", "IronGate0", random).text;
}

void BM_Condense(benchmark::State& state) {
  const std::string script = SampleScript();
  CSourceBuffer buffer;
  for (auto _ : state) {
    buffer.SetText(script);
    buffer.Condense();
    benchmark::DoNotOptimize(buffer.Text());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * script.size()));
}
BENCHMARK(BM_Condense);

void BM_ParseSource(benchmark::State& state) {
  const std::string script = SampleScript();
  CSourceBuffer buffer;
  buffer.SetText(script);
  buffer.Condense();
  for (auto _ : state) {
    CClassList list;
    ParseSource(list, buffer);
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * script.size()));
}
BENCHMARK(BM_ParseSource);

}  // namespace
