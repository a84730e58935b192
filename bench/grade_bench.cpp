#include <benchmark/benchmark.h>

#include <string>

#include "answers/grade.h"
#include "answers/measures.h"
#include "quiz_data/quiz_kinds.h"

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

// A typed text against an answer and its eight other accepted texts, each
// too far from it for any rule but FAUX, yet close enough that the similarity
// rule must count the distance: every text costs its widest search, folded leniently.
void BM_GradeNineTextsWorstCase(benchmark::State& state) {
    const WorstPair pair = worst_pair();
    std::string typed = pair.accepted;
    for (std::size_t i = 0; i < typed.size(); i += 4) typed[i] = '#';
    std::string texts[9];
    const char* accepted[9];
    for (int k = 0; k < 9; ++k) {
        texts[k] = pair.accepted;
        texts[k][static_cast<std::size_t>(k) * 3 + 1] = '#';
        accepted[k] = texts[k].c_str();
    }
    for (auto _ : state) benchmark::DoNotOptimize(grade_any(accepted, 9, typed.c_str(), grading_lenient));
}
BENCHMARK(BM_GradeNineTextsWorstCase)->Unit(benchmark::kMicrosecond);

void BM_EditDistance259(benchmark::State& state) {
    const WorstPair pair = worst_pair();
    for (auto _ : state) benchmark::DoNotOptimize(edit_distance(pair.accepted.c_str(), pair.typed.c_str()));
}
BENCHMARK(BM_EditDistance259)->Unit(benchmark::kMicrosecond);

}  // namespace
