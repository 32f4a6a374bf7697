#include "stats/cluster_analysis.h"

#include <algorithm>
#include <cmath>

#include "core/data_store.h"

namespace dalvex {

bool ClustersVariables(DistanceMeasure measure) {
    switch (measure) {
        case DistanceMeasure::Correlation:
        case DistanceMeasure::AbsoluteCorrelation:
        case DistanceMeasure::Cramer:
        case DistanceMeasure::Binary:
        case DistanceMeasure::Spearman:
        case DistanceMeasure::Kendall:
            return true;
        default:
            return false;
    }
}

MatrixKind CoefficientKind(DistanceMeasure measure) {
    switch (measure) {
        case DistanceMeasure::Cramer:
            return MatrixKind::Cramer;
        case DistanceMeasure::Binary:
            return MatrixKind::Binary;
        case DistanceMeasure::Spearman:
            return MatrixKind::Spearman;
        case DistanceMeasure::Kendall:
            return MatrixKind::Kendall;
        default:
            return MatrixKind::Pearson;
    }
}

DistanceTriangle::DistanceTriangle(int items)
    : items_(items), cells_(static_cast<std::size_t>(Index(std::max(items, 1), 0)), 0.0) {}

long DistanceTriangle::Index(int i, int j) {
    if (i < j)
        std::swap(i, j);
    return static_cast<long>(i) * (i - 1) / 2 + j;
}

namespace {

// Variance of each attribute over the items, divisor the number of items,
// computed about the mean so that a large common offset costs no digits.
std::vector<double> AttributeVariances(const std::vector<std::vector<double>>& attributes,
                                       int items) {
    std::vector<double> variances;
    for (const std::vector<double>& a : attributes) {
        double mean = 0;
        for (int i = 0; i < items; ++i)
            mean += a[i];
        mean /= items;
        double ss = 0;
        for (int i = 0; i < items; ++i)
            ss += (a[i] - mean) * (a[i] - mean);
        variances.push_back(ss / items);
    }
    return variances;
}

double ObjectDistance(DistanceMeasure measure, const std::vector<std::vector<double>>& attributes,
                      const std::vector<double>& weights, int i, int j) {
    const double count = static_cast<double>(attributes.size());
    double sum = 0, total = 0;
    for (std::size_t a = 0; a < attributes.size(); ++a) {
        const double x = attributes[a][i], y = attributes[a][j];
        const double diff = x - y;
        switch (measure) {
            case DistanceMeasure::Euclid:
            case DistanceMeasure::SquaredEuclid:
                sum += diff * diff;
                break;
            case DistanceMeasure::NormalisedEuclid:
            case DistanceMeasure::WeightedEuclid:
                sum += weights[a] * diff * diff;
                break;
            case DistanceMeasure::Manhattan:
                sum += std::fabs(diff);
                break;
            case DistanceMeasure::BrayCurtis:
                sum += std::fabs(diff);
                total += x + y;
                break;
            case DistanceMeasure::Canberra:
                // Two zero values agree: their term counts as 0.
                if (x + y != 0)
                    sum += std::fabs(diff) / std::fabs(x + y);
                break;
            default:
                break;
        }
    }
    switch (measure) {
        case DistanceMeasure::Euclid:
        case DistanceMeasure::NormalisedEuclid:
            return std::sqrt(sum);
        case DistanceMeasure::SquaredEuclid:
        case DistanceMeasure::WeightedEuclid:
        case DistanceMeasure::Manhattan:
            return sum / count;
        case DistanceMeasure::BrayCurtis:
            // Two all-zero objects are alike.
            return total == 0 ? 0.0 : sum / std::fabs(total);
        default:
            return sum;
    }
}

}  // namespace

ObjectDistances ObjectDistanceTriangle(DistanceMeasure measure,
                                       const std::vector<std::vector<double>>& attributes) {
    ObjectDistances result;
    int items = attributes.empty() ? 0 : static_cast<int>(attributes[0].size());
    std::vector<double> weights(attributes.size(), 1.0);
    if (measure == DistanceMeasure::WeightedEuclid && items > 0) {
        --items;
        for (std::size_t a = 0; a < attributes.size(); ++a)
            weights[a] = attributes[a][items];
    }
    if (measure == DistanceMeasure::NormalisedEuclid && items > 0) {
        const std::vector<double> variances = AttributeVariances(attributes, items);
        for (std::size_t a = 0; a < attributes.size(); ++a) {
            if (variances[a] > 0) {
                weights[a] = 1 / variances[a];
            } else {
                result.zeroVariance = true;
            }
        }
    }
    result.triangle = DistanceTriangle(items);
    for (int i = 1; i < items; ++i)
        for (int j = 0; j < i; ++j)
            result.triangle.set(i, j, ObjectDistance(measure, attributes, weights, i, j));
    return result;
}

DistanceTriangle VariableDistanceTriangle(DistanceMeasure measure,
                                          const CorrelationMatrixFigures& coefficients) {
    const int k = coefficients.size;
    DistanceTriangle triangle(k);
    for (int i = 1; i < k; ++i)
        for (int j = 0; j < i; ++j) {
            const double r = coefficients.correlation(i, j);
            // The binary formula is typed as the distance itself ("расстояние=").
            if (measure == DistanceMeasure::Binary) {
                triangle.set(i, j, r);
                continue;
            }
            const bool signedMeasure =
                measure == DistanceMeasure::Correlation || measure == DistanceMeasure::Cramer;
            triangle.set(i, j, 1 - (signedMeasure ? r : std::fabs(r)));
        }
    return triangle;
}

TriangleOutcome GivenTriangle(const std::vector<std::vector<double>>& columns, bool similarities) {
    const int variables = static_cast<int>(columns.size());
    const int observations = variables == 0 ? 0 : static_cast<int>(columns[0].size());
    if (variables != observations)
        return {std::nullopt, NotSquareMatrixNotice};
    DistanceTriangle triangle(variables);
    std::vector<std::pair<int, int>> opposite;
    double largest = 0;
    for (int i = 1; i < variables; ++i)
        for (int j = 0; j < i; ++j) {
            const double v = columns[j][i];
            if (v == MissingValue)
                return {std::nullopt, IncompleteDistancesNotice};
            if (similarities && v <= -1) {
                opposite.emplace_back(i, j);
                continue;
            }
            const double d = similarities ? 1 / (v + 1) : v;
            triangle.set(i, j, d);
            largest = std::max(largest, d);
        }
    for (const auto& [i, j] : opposite)
        triangle.set(i, j, largest > 0 ? 2 * largest : 1.0);
    return {std::move(triangle), {}};
}

// ---------------------------------------------------------------------------
// Hierarchical merging

namespace {

double MergedDistance(Strategy strategy, double beta, double dO, double dP, double delta, double nO,
                      double nP, double no) {
    switch (strategy) {
        case Strategy::Nearest:
            return std::min(dO, dP);
        case Strategy::Farthest:
            return std::max(dO, dP);
        case Strategy::Average:
            return (nO * dO + nP * dP) / (nO + nP);
        case Strategy::Flexible:
            return (dO + dP) * (1 - beta) / 2 + beta * delta;
        case Strategy::Ward:
        case Strategy::Medoids:
            break;
    }
    const double squared =
        ((nO + no) * dO * dO + (nP + no) * dP * dP - no * delta * delta) / (nO + nP + no);
    // Round-off may leave a tiny negative where the exact value is 0.
    return std::sqrt(std::max(squared, 0.0));
}

// Depth first from the root: each cluster's item, then the items it
// absorbed in the order it absorbed them, each followed by its own. A
// cluster's earlier (lower) merges then lie next to it, so no joining line
// of the tree crosses another.
std::vector<int> LeafOrder(const Hierarchy& h, int root) {
    std::vector<std::vector<int>> absorbed(h.items);
    for (const Merge& m : h.merges)
        absorbed[m.absorber].push_back(m.absorbed);
    std::vector<int> order;
    std::vector<std::pair<int, std::size_t>> stack{{root, 0}};
    order.push_back(root);
    while (!stack.empty()) {
        auto& [item, next] = stack.back();
        if (next == absorbed[item].size()) {
            stack.pop_back();
            continue;
        }
        const int child = absorbed[item][next++];
        order.push_back(child);
        stack.emplace_back(child, 0);
    }
    return order;
}

}  // namespace

Hierarchy MergeClusters(DistanceTriangle d, Strategy strategy, double beta,
                        const ClusterProgress& progress) {
    const int items = d.size();
    Hierarchy h;
    h.items = items;
    h.absorber.assign(items, -1);
    h.height.assign(items, 0.0);
    std::vector<double> size(items, 1.0);
    std::vector<int> next(items, -1);  // the member chains; -1 ends one
    std::vector<char> live(items, 1);
    int root = 0;
    for (int step = 0; step + 1 < items; ++step) {
        if (progress && step % 16 == 0 && !progress(static_cast<double>(step) / items)) {
            h.cancelled = true;
            return h;
        }
        int O = -1, P = -1;
        double delta = 0;
        for (int i = 1; i < items; ++i) {
            if (!live[i])
                continue;
            for (int j = 0; j < i; ++j)
                if (live[j] && (O < 0 || d.at(i, j) < delta)) {
                    O = i;
                    P = j;
                    delta = d.at(i, j);
                }
        }
        for (int o = 0; o < items; ++o)
            if (live[o] && o != O && o != P)
                d.set(O, o,
                      MergedDistance(strategy, beta, d.at(O, o), d.at(P, o), delta, size[O],
                                     size[P], size[o]));
        size[O] += size[P];
        size[P] = 0;
        live[P] = 0;
        h.absorber[P] = O;
        h.height[P] = delta;
        // O, then P's chain, then what followed O.
        int last = P;
        while (next[last] >= 0)
            last = next[last];
        next[last] = next[O];
        next[O] = P;
        Merge merge{O, P, delta, {}};
        for (int item = O; item >= 0; item = next[item])
            merge.members.push_back(item);
        h.merges.push_back(std::move(merge));
        root = O;
    }
    h.order = LeafOrder(h, root);
    return h;
}

DendrogramRows Dendrogram(const Hierarchy& h) {
    std::vector<int> position(h.items, 0);
    for (int t = 0; t < static_cast<int>(h.order.size()); ++t)
        position[h.order[t]] = t;
    DendrogramRows rows;
    for (int t = 0; t < static_cast<int>(h.order.size()); ++t) {
        const int item = h.order[t];
        const int absorber = h.absorber[item];
        rows.positions.push_back(t + 1);
        rows.positions.push_back(absorber < 0 ? t + 1 : position[absorber] + 1);
        rows.heights.push_back(absorber < 0 ? 0.0 : h.height[item]);
        rows.heights.push_back(item);
    }
    return rows;
}

// ---------------------------------------------------------------------------
// Medoids

namespace {

std::vector<int> SeedMedoids(const DistanceTriangle& d, int clusters) {
    const int items = d.size();
    int a = 0, b = 1;
    double largest = -1;
    for (int i = 1; i < items; ++i)
        for (int j = 0; j < i; ++j)
            if (d.at(i, j) > largest) {
                largest = d.at(i, j);
                a = j;
                b = i;
            }
    std::vector<int> medoids{a, b};
    std::vector<char> chosen(items, 0);
    chosen[a] = chosen[b] = 1;
    while (static_cast<int>(medoids.size()) < clusters) {
        int best = -1;
        double farthest = -1;
        for (int l = 0; l < items; ++l) {
            if (chosen[l])
                continue;
            double sum = 0;
            for (int m : medoids)
                sum += d.at(l, m);
            if (sum > farthest) {
                farthest = sum;
                best = l;
            }
        }
        medoids.push_back(best);
        chosen[best] = 1;
    }
    return medoids;
}

double Distance(const DistanceTriangle& d, int i, int j) {
    return i == j ? 0.0 : d.at(i, j);
}

}  // namespace

Partition MedoidPartition(const DistanceTriangle& d, int clusters,
                          const ClusterProgress& progress) {
    const int items = d.size();
    Partition p;
    p.clusters = std::clamp(clusters, 2, std::max(items, 2));
    p.medoids = SeedMedoids(d, p.clusters);
    p.cluster.assign(items, 0);
    double previous = 0;
    // Each pass lowers the sum or ends the work; the cap only guards
    // against a pass that keeps trading medoids of equal worth.
    constexpr int MaxPasses = 1000;
    for (p.passes = 1; p.passes <= MaxPasses; ++p.passes) {
        if (progress && !progress(static_cast<double>(p.passes) / MaxPasses)) {
            p.cancelled = true;
            return p;
        }
        for (int i = 0; i < items; ++i) {
            int best = 0;
            for (int h = 0; h < p.clusters; ++h) {
                if (p.medoids[h] == i) {
                    best = h;
                    break;
                }
                if (Distance(d, i, p.medoids[h]) < Distance(d, i, p.medoids[best]))
                    best = h;
            }
            p.cluster[i] = best;
        }
        bool changed = false;
        double within = 0;
        for (int h = 0; h < p.clusters; ++h) {
            std::vector<int> members;
            for (int i = 0; i < items; ++i)
                if (p.cluster[i] == h)
                    members.push_back(i);
            int best = p.medoids[h];
            double smallest = -1;
            for (int candidate : members) {
                double sum = 0;
                for (int other : members)
                    sum += Distance(d, candidate, other);
                if (smallest < 0 || sum < smallest) {
                    smallest = sum;
                    best = candidate;
                }
            }
            within += std::max(smallest, 0.0);
            changed = changed || best != p.medoids[h];
            p.medoids[h] = best;
        }
        const bool fell = p.passes == 1 || within < previous;
        p.within = within;
        previous = within;
        if (!changed || !fell)
            break;
    }
    p.passes = std::min(p.passes, MaxPasses);
    return p;
}

}  // namespace dalvex
