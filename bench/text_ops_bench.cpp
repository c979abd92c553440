// The text routines on long CP936 texts.
#include <benchmark/benchmark.h>

#include <string>

#include "cp936.h"
#include "link/text_ops.h"

namespace quorvant {
namespace {

// `bytes` of mixed double-byte and ASCII text that holds no '#' or '@'.
Text LongText(std::size_t bytes) {
  const Text piece = test::Cp936("张三 13800138000 李四;");
  Text text;
  while (text.size() < bytes) text += piece;
  text.resize(bytes);
  return text;
}

void BM_FindTextAtTheEnd(benchmark::State& state) {
  const Text text = LongText(static_cast<std::size_t>(state.range(0))) + "@end";
  for (auto _ : state) benchmark::DoNotOptimize(FindText(text, "@end", 1, false));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_FindTextAtTheEnd)->RangeMultiplier(16)->Range(64, 1 << 20);

void BM_FindTextMissing(benchmark::State& state) {
  const Text text = LongText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(FindText(text, "@", 1, true));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_FindTextMissing)->RangeMultiplier(16)->Range(64, 1 << 20);

void BM_ReplaceText(benchmark::State& state) {
  const Text marker = test::Cp936("#引号");
  Text text;
  const Text filler = LongText(60);
  while (text.size() < static_cast<std::size_t>(state.range(0))) text += filler + marker;
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceText(text, marker, "\""));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReplaceText)->RangeMultiplier(16)->Range(64, 1 << 20);

// What the ClientEntered handler does with every id.
void BM_TextBetweenOfAPhoneId(benchmark::State& state) {
  const Text id = "-192.168.100.200:50123";
  for (auto _ : state) benchmark::DoNotOptimize(TextBetween(id, "-", ":", 0, false));
}
BENCHMARK(BM_TextBetweenOfAPhoneId);

}  // namespace
}  // namespace quorvant
