#include <benchmark/benchmark.h>

#include <string>

#include "answers/grade.h"
#include "answers/measures.h"

namespace {

// Two 259-byte answers, alike but neither equal, anagrams, contained in one
// another nor one or two edits apart: every rule of the grading runs.
struct WorstPair {
    std::string accepted;
    std::string typed;
};

WorstPair worst_pair() {
    WorstPair pair;
    for (int i = 0; i < 259; ++i) pair.accepted += static_cast<char>('a' + i % 26);
    pair.typed = pair.accepted;
    for (int i = 0; i < 259; i += 10) pair.typed[i] = '#';
    return pair;
}

void BM_GradeWorstCase(benchmark::State& state) {
    const WorstPair pair = worst_pair();
    for (auto _ : state) benchmark::DoNotOptimize(grade(pair.accepted.c_str(), pair.typed.c_str()));
}
BENCHMARK(BM_GradeWorstCase)->Unit(benchmark::kMicrosecond);

void BM_EditDistance259(benchmark::State& state) {
    const WorstPair pair = worst_pair();
    for (auto _ : state) benchmark::DoNotOptimize(edit_distance(pair.accepted.c_str(), pair.typed.c_str()));
}
BENCHMARK(BM_EditDistance259)->Unit(benchmark::kMicrosecond);

}  // namespace
