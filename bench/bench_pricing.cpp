// Full price recomputation of a large catalogue, as repricing and imports run it item by item.

#include "catalogue/pricing/ItemPricing.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using orvento::catalogue::ItemPriceFields;
using orvento::catalogue::ItemPricing;

constexpr std::size_t ItemCount = 1'000'000;

// A reproducible catalogue with the spread of a real one: purchase prices in hundredths, the
// usual VAT rates, every rounding code and value type, most items following the purchase price.
std::vector<ItemPriceFields> generateItems() {
    std::mt19937_64 random(42);
    std::uniform_int_distribution<int> hundredths(0, 5'000'000);
    std::uniform_int_distribution<int> margin(-2000, 15000);
    std::uniform_int_distribution<int> rabat(0, 9000);
    std::uniform_int_distribution<int> pick(0, 99);
    constexpr std::array<double, 4> rates{0.0, 12.0, 15.0, 21.0};

    std::vector<ItemPriceFields> items(ItemCount);
    for (ItemPriceFields& item : items) {
        item.NakCena = hundredths(random) / 100.0;
        item.Marze = margin(random) / 100.0;
        item.Rabat = rabat(random) / 100.0;
        item.SazbaDPH = rates[static_cast<std::size_t>(pick(random) % 4)];
        item.Zaok = pick(random) % 3;
        item.TypHodnoty = pick(random) % 2;
        item.SDPH = pick(random) < 40;
        item.Prepocitat = pick(random) < 85;
        item.PrCenaBDPH = item.NakCena * 1.3;
        item.PrCenaSDPH = item.PrCenaBDPH * 1.21;
    }
    return items;
}

void BM_RecomputeMillionItems(benchmark::State& state) {
    const std::vector<ItemPriceFields> items = generateItems();
    for (auto _ : state) {
        double total = 0.0;
        for (const ItemPriceFields& stored : items) {
            ItemPricing item(stored);
            item.recompute();
            total += item.fields().PrCenaSDPH;
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(items.size()));
}

} // namespace

BENCHMARK(BM_RecomputeMillionItems)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
