// Header sort of a large list, beside std::stable_sort of the bare keys of the same list.
// Names compare in the locale the benchmark runs in (LC_ALL=de_DE.UTF-8 for the figures).
#include "data/VestoryListDoc.h"
#include "platform/core/WideText.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kGarments = 100000;

const std::vector<CData>& Garments() {
    static const std::vector<CData> items = [] {
        static const char* const words[] = {"Shirt",
                                            "blouse",
                                            "Coat",
                                            "jacket",
                                            "Trousers",
                                            "skirt",
                                            "Dress",
                                            "suit",
                                            "Tie",
                                            "scarf",
                                            "Vest",
                                            "sweater",
                                            "Gown",
                                            "curtains",
                                            "\u00E9charpe",
                                            "\u00C4rmel-Jacke",
                                            "\u017Dupan",
                                            "\u03A7\u03B9\u03C4\u03CE\u03BD\u03B1\u03C2",
                                            "\u041F\u0430\u043B\u044C\u0442\u043E"};
        static const char* const quantities[] = {"1", "2", "3", "10", " 7", "3 shirts", "", "pair"};
        std::mt19937 rng(42);
        std::vector<CData> v(kGarments);
        for (CData& d : v) {
            d.m_bAtCleaners = LONG(rng() % 2);
            d.m_strItemName = CString::FromUtf8(std::string(words[rng() % std::size(words)]) + " " +
                                                std::to_string(rng() % 100000));
            d.m_strQty = CString::FromUtf8(quantities[rng() % std::size(quantities)]);
            d.m_strSize = u"M";
            d.m_strNote = u"Starch, no fold";
        }
        return v;
    }();
    return items;
}

void BM_SortByColumn(benchmark::State& state) {
    const int column = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CVestoryListDoc>();
        for (const CData& d : Garments())
            doc->AddItem(d);
        state.ResumeTiming();
        doc->SortByColumn(column);
        benchmark::DoNotOptimize(doc->GetItemCount());
        state.PauseTiming(); // the document's destruction is not part of the sort
        doc.reset();
        state.ResumeTiming();
    }
}

// The keys alone, already extracted: what any stable sort of this list has to do at least.
void BM_StableSortOfBareKeys(benchmark::State& state) {
    const int column = int(state.range(0));
    std::vector<LONG> numbers;
    std::vector<CString> names;
    for (const CData& d : Garments()) {
        numbers.push_back(column == 0 ? d.m_bAtCleaners : _wtoi(d.m_strQty));
        names.push_back(d.m_strItemName);
    }
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<LONG> n = numbers;
        std::vector<CString> s = names;
        state.ResumeTiming();
        if (column == 0)
            std::stable_sort(n.begin(), n.end(), std::greater<>());
        else if (column == 2)
            std::stable_sort(n.begin(), n.end());
        else
            std::stable_sort(s.begin(), s.end(),
                             [](const CString& a, const CString& b) { return lstrcmp(a, b) < 0; });
        benchmark::DoNotOptimize(n.data());
        benchmark::DoNotOptimize(s.data());
    }
}

} // namespace

BENCHMARK(BM_SortByColumn)
    ->ArgName("column")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StableSortOfBareKeys)
    ->ArgName("column")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
