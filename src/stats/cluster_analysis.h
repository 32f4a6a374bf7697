// Cluster analysis computed from plain vectors into named results: the
// thirteen distance measures between objects or variables, the triangle of
// distances taken from a distance or similarity matrix in the sheet, the
// hierarchical strategies with their merge list and dendrogram order, and the
// partition around medoids. Nothing here touches the store or writes a line;
// cluster_report.h asks the dialogs and writes the report.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "stats/correlation_matrix.h"

namespace dalvex {

// The measures in the order of the measure dialog's answers.
enum class DistanceMeasure {
    Euclid = 1,
    NormalisedEuclid,
    SquaredEuclid,
    WeightedEuclid,
    Correlation,
    AbsoluteCorrelation,
    Manhattan,
    BrayCurtis,
    Canberra,
    Cramer,
    Binary,
    Spearman,
    Kendall,
};

// Whether a measure clusters the variables (the observations are then the
// attributes) rather than the objects.
bool ClustersVariables(DistanceMeasure measure);
// The matrix of coefficients a variable measure is built from.
MatrixKind CoefficientKind(DistanceMeasure measure);

// d(i, j) of items 0 .. size - 1, i != j, kept once at i(i - 1)/2 + j for
// i > j.
class DistanceTriangle {
  public:
    DistanceTriangle() = default;
    explicit DistanceTriangle(int items);

    static long Index(int i, int j);
    int size() const { return items_; }
    double at(int i, int j) const { return cells_[Index(i, j)]; }
    void set(int i, int j, double d) { cells_[Index(i, j)] = d; }

  private:
    int items_ = 0;
    std::vector<double> cells_;
};

struct ObjectDistances {
    DistanceTriangle triangle;
    // Normalised Euclid: an attribute without spread was weighted 1.
    bool zeroVariance = false;
};

// The distances between objects: `attributes[a][i]` is attribute a of
// object i. The weighted Euclid takes its weights from the last object,
// which is then not one of the items.
ObjectDistances ObjectDistanceTriangle(DistanceMeasure measure,
                                       const std::vector<std::vector<double>>& attributes);

// The distances between variables from their matrix of coefficients: 1 - r,
// 1 - |r| of correlations and rank correlations, 1 - V of Cramér's, and the
// binary formula's value as it is (the person types it as the distance).
DistanceTriangle VariableDistanceTriangle(DistanceMeasure measure,
                                          const CorrelationMatrixFigures& coefficients);

inline constexpr const char* NotSquareMatrixNotice = "!НЕКВАДРАТНАЯ МАТРИЦА!";
inline constexpr const char* IncompleteDistancesNotice = "!МАТРИЦА РАССТОЯНИЙ НЕПОЛНАЯ!";

struct TriangleOutcome {
    std::optional<DistanceTriangle> triangle;
    std::string notice;  // why it was refused
};

// The triangle below the diagonal of a square block (`columns[j][i]`: the
// cell of variable j in observation i, read for j < i): distances as they
// are, similarities s as 1/(s + 1). A similarity of -1 or below (opposite
// items) becomes twice the largest distance the other similarities give, so
// that it stays the farthest. A block that is not square or has an empty
// cell below the diagonal is refused.
TriangleOutcome GivenTriangle(const std::vector<std::vector<double>>& columns, bool similarities);

enum class Strategy { Nearest = 1, Farthest, Average, Flexible, Ward, Medoids };

struct Merge {
    int absorber = 0;  // O, the cluster that lives on
    int absorbed = 0;  // P
    double height = 0;
    std::vector<int> members;  // O's chain after the merge, items 0-based
};

// Called now and then with the share of the work done; false cancels.
using ClusterProgress = std::function<bool(double share)>;

struct Hierarchy {
    int items = 0;
    std::vector<Merge> merges;   // in order
    std::vector<int> absorber;   // per item: the item that absorbed it (-1: the root)
    std::vector<double> height;  // per item: the height of that merge
    std::vector<int> order;      // the leaves in dendrogram order, the root first
    bool cancelled = false;
};

// Lance–Williams merging: the closest pair of live clusters (the first pair
// in the scan i = 1 .. N, j < i on ties) merges, i absorbing j, and the
// distances of the merged cluster are updated by the strategy. Ward's rule
// is applied to the distances themselves (the merge heights are those of
// the Ward criterion on squared distances, taken back to distances).
Hierarchy MergeClusters(DistanceTriangle triangle, Strategy strategy, double beta,
                        const ClusterProgress& progress = {});

// The rows the tree graph draws: per leaf a pair of X positions (its own,
// its absorber's) in `positions`, and in `heights` the height of the merge
// followed by the item. The root comes first with a pair of zero height so
// that its number is written too.
struct DendrogramRows {
    std::vector<double> positions, heights;
};
DendrogramRows Dendrogram(const Hierarchy& h);

struct Partition {
    int clusters = 0;
    std::vector<int> medoids;  // per cluster: its medoid item
    std::vector<int> cluster;  // per item: its cluster
    double within = 0;         // the sum over clusters of the members' distances to the medoid
    int passes = 0;
    bool cancelled = false;
};

// Partition around K medoids (2 <= K <= items): seeded with the two farthest
// items and then, again and again, the item farthest in sum from the medoids
// so far (never one already chosen); then items go to their nearest medoid
// and each cluster takes the member closest in sum to the others as its
// medoid, until the medoids stay or the sum stops falling.
Partition MedoidPartition(const DistanceTriangle& triangle, int clusters,
                          const ClusterProgress& progress = {});

}  // namespace dalvex
