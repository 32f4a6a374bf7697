// Cluster, discriminant analysis and scaling at full capacity: clustering
// 250 objects of 20 attributes (Euclidean distances and Ward's merging,
// also nearest neighbour), medoids of 5 clusters among 250 objects, the
// linear discriminant analysis of 6 500 observations of 9 features in 3
// classes (the sheet's 65 000 cells with the class column), and the
// classical scaling of 250 objects and of 126 (the most the method takes). multivariate_bench.R times the same in R.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_random.h"
#include "stats/cluster_analysis.h"
#include "stats/discriminant.h"
#include "stats/scaling.h"

namespace dalvex {
namespace {

// `groups` clouds of objects; attributes[a][i].
std::vector<std::vector<double>> Clouds(int objects, int attributes, int groups) {
    Lcg random;
    std::vector<std::vector<double>> x(attributes, std::vector<double>(objects));
    for (int i = 0; i < objects; ++i)
        for (int a = 0; a < attributes; ++a)
            x[a][i] = 3.0 * ((i % groups) == a % groups) + random.Next();
    return x;
}

void BM_WardOf250(benchmark::State& state) {
    const std::vector<std::vector<double>> x = Clouds(250, 20, 5);
    for (auto _ : state) {
        const DistanceTriangle d = ObjectDistanceTriangle(DistanceMeasure::Euclid, x).triangle;
        const Hierarchy h = MergeClusters(d, Strategy::Ward, 0);
        benchmark::DoNotOptimize(h.order.data());
    }
}
BENCHMARK(BM_WardOf250)->Unit(benchmark::kMillisecond);

void BM_NearestOf360(benchmark::State& state) {
    const std::vector<std::vector<double>> x = Clouds(361, 20, 5);
    for (auto _ : state) {
        const DistanceTriangle d = ObjectDistanceTriangle(DistanceMeasure::Euclid, x).triangle;
        const Hierarchy h = MergeClusters(d, Strategy::Nearest, 0);
        benchmark::DoNotOptimize(h.order.data());
    }
}
BENCHMARK(BM_NearestOf360)->Unit(benchmark::kMillisecond);

void BM_MedoidsOf250(benchmark::State& state) {
    const DistanceTriangle d =
        ObjectDistanceTriangle(DistanceMeasure::Euclid, Clouds(250, 20, 5)).triangle;
    for (auto _ : state) {
        const Partition p = MedoidPartition(d, 5);
        benchmark::DoNotOptimize(p.cluster.data());
    }
}
BENCHMARK(BM_MedoidsOf250)->Unit(benchmark::kMillisecond);

void BM_Discriminant6500x9(benchmark::State& state) {
    std::vector<std::vector<double>> x = Clouds(6500, 9, 3);
    std::vector<double> classes(6500);
    for (int i = 0; i < 6500; ++i)
        classes[i] = i % 3 + 1;
    for (auto _ : state) {
        const auto f = ComputeDiscriminant(x, classes);
        benchmark::DoNotOptimize(f->objects.data());
    }
}
BENCHMARK(BM_Discriminant6500x9)->Unit(benchmark::kMillisecond);

void BM_TorgersonOf250(benchmark::State& state) {
    const DistanceTriangle d =
        ObjectDistanceTriangle(DistanceMeasure::Euclid, Clouds(250, 20, 5)).triangle;
    for (auto _ : state) {
        const ClassicalSolution s = TorgersonScaling(d);
        benchmark::DoNotOptimize(s.coordinates.data());
    }
}
BENCHMARK(BM_TorgersonOf250)->Unit(benchmark::kMillisecond);

// The most objects the method takes.
void BM_TorgersonOf126(benchmark::State& state) {
    const DistanceTriangle d =
        ObjectDistanceTriangle(DistanceMeasure::Euclid, Clouds(126, 20, 5)).triangle;
    for (auto _ : state) {
        const ClassicalSolution s = TorgersonScaling(d);
        benchmark::DoNotOptimize(s.coordinates.data());
    }
}
BENCHMARK(BM_TorgersonOf126)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
