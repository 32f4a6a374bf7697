// Principal-factor analysis computed from a correlation (or covariance)
// matrix into named results: the eigen-decomposition with the number of
// factors worth keeping, the loadings, the factor scores of the
// observations, the orthomax rotations and the oblique one, and the
// prediction of a variable from given factor values. Nothing here touches
// the store or writes a line; factor_report.h does the dialogs and the
// report.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "numeric/jacobi.h"
#include "stats/correlation_matrix.h"

namespace dalvex {

// Called with the share of the work done; returning false cancels.
using FactorProgress = std::function<bool(double share)>;

struct FactorExtraction {
    int size = 0;                     // k variables
    std::vector<double> eigenvalues;  // descending
    std::vector<double> vectors;      // k x k, column j the eigenvector of eigenvalue j
    std::vector<double> loadings;     // k x k, column j the eigenvector times sqrt|lambda_j|
    int factors = 0;                  // retained by the 2 % rule
    double total = 0;                 // the sum of the positive eigenvalues
    bool converged = true;
    bool cancelled = false;

    double vector(int i, int j) const { return vectors[i * size + j]; }
    double loading(int i, int j) const { return loadings[i * size + j]; }
    double root(int j) const;  // sqrt|lambda_j|
};

// The factors worth keeping: eigenvalues are summed in order, and the first
// one not above 2 % of the sum so far (itself included) ends them; all of
// them when none does.
int RetainedFactors(const std::vector<double>& eigenvalues);

// Jacobi's eigen-decomposition of the k x k matrix, the 2 % rule and the
// loadings.
FactorExtraction ExtractFactors(const std::vector<double>& matrix, int k,
                                const FactorProgress& progress = {});

// The scores of every observation on all k factors, scores[j][i] =
// sum_q z_qi a_qj / sqrt|lambda_j| (0 for a factor whose eigenvalue is 0),
// z the analysed data centred by their means and, when `scale`, divided by
// their standard deviations.
std::vector<std::vector<double>> FactorScores(const CorrelationMatrixFigures& m,
                                              const FactorExtraction& e, bool scale);

enum class Rotation { Varimax = 1, Quartimax, Equimax, Biquartimax, Oblique };

// The orthomax weight of a rotation of f factors.
double OrthomaxGamma(Rotation rotation, int f);

struct RotatedFactors {
    int size = 0;     // k variables
    int factors = 0;  // f rotated
    Rotation rotation = Rotation::Varimax;
    std::vector<double> loadings;      // k x f
    std::vector<double> matrix;        // f x f rotation: old factor q, new factor j at [q * f + j]
    std::vector<double> explained;     // per factor: the sum of its squared loadings
    double total = 0;                  // the squared loadings of all k columns
    std::vector<double> correlations;  // oblique: f x f factor correlations
    int sweeps = 0;
    bool cancelled = false;

    double loading(int i, int j) const { return loadings[i * factors + j]; }
    double turn(int q, int j) const { return matrix[q * factors + j]; }
};

// Rotates the first f loadings by the orthomax criterion of `rotation`
// (with Kaiser's normalisation of the rows when `kaiser`), pair of factors
// by pair, sweep after sweep, until the criterion settles (at most 30
// sweeps).
RotatedFactors RotateFactors(const FactorExtraction& e, int f, Rotation rotation, bool kaiser,
                             const FactorProgress& progress = {});

// The orthomax criterion sum_j (k sum_i a_ij^4 - gamma (sum_i a_ij^2)^2) / k^2
// of k x f loadings.
double OrthomaxCriterion(const std::vector<double>& loadings, int k, int f, double gamma);

// The rotated scores: the unrotated ones of the data standardised
// (`unrotated`, from FactorScores with scale) turned by the rotation.
std::vector<std::vector<double>> RotatedScores(const std::vector<std::vector<double>>& unrotated,
                                               const FactorExtraction& e, const RotatedFactors& r);

// The prediction of variable v from the values of its first factors:
// mean_v + sd_v sum_j a_vj F_j / sqrt|lambda_j|. Nothing when a value
// belongs to a factor with eigenvalue 0.
std::optional<double> PredictVariable(const FactorExtraction& e, int v, double mean, double sd,
                                      const std::vector<double>& factorValues);

}  // namespace dalvex
