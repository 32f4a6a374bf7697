#include "stats/factor_analysis.h"

#include <algorithm>
#include <cmath>

#include "numeric/basic.h"

namespace dalvex {

double FactorExtraction::root(int j) const {
    return std::sqrt(std::fabs(eigenvalues[j]));
}

int RetainedFactors(const std::vector<double>& eigenvalues) {
    double sum = 0;
    const int k = static_cast<int>(eigenvalues.size());
    for (int i = 0; i < k; ++i) {
        const double lambda = eigenvalues[i];
        if (lambda > 0)
            sum += lambda;
        if (lambda <= 0.02 * sum)
            return i;
    }
    return k;
}

FactorExtraction ExtractFactors(const std::vector<double>& matrix, int k,
                                const FactorProgress& progress) {
    FactorExtraction e;
    e.size = k;
    EigenDecomposition d = JacobiEigen(matrix, k, progress);
    e.eigenvalues = std::move(d.values);
    e.vectors = std::move(d.vectors);
    e.converged = d.converged;
    e.cancelled = d.cancelled;
    for (double lambda : e.eigenvalues)
        if (lambda > 0)
            e.total += lambda;
    e.factors = RetainedFactors(e.eigenvalues);
    e.loadings.resize(e.vectors.size());
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j)
            e.loadings[i * k + j] = e.vectors[i * k + j] * e.root(j);
    return e;
}

std::vector<std::vector<double>> FactorScores(const CorrelationMatrixFigures& m,
                                              const FactorExtraction& e, bool scale) {
    const int k = e.size;
    const int n = m.analysed.empty() ? 0 : static_cast<int>(m.analysed[0].size());
    std::vector<std::vector<double>> z(k, std::vector<double>(n));
    for (int q = 0; q < k; ++q)
        for (int i = 0; i < n; ++i) {
            const double centred = m.analysed[q][i] - m.means[q];
            z[q][i] = scale ? centred / m.deviations[q] : centred;
        }
    std::vector<std::vector<double>> scores(k, std::vector<double>(n, 0.0));
    for (int j = 0; j < k; ++j) {
        const double root = e.root(j);
        // A factor without variance has no scores to speak of.
        if (root == 0)
            continue;
        for (int q = 0; q < k; ++q) {
            const double weight = e.loading(q, j) / root;
            for (int i = 0; i < n; ++i)
                scores[j][i] += z[q][i] * weight;
        }
    }
    return scores;
}

double OrthomaxGamma(Rotation rotation, int f) {
    switch (rotation) {
        case Rotation::Varimax:
            return 1;
        case Rotation::Quartimax:
            return 0;
        case Rotation::Equimax:
            return f / 2.0;
        case Rotation::Biquartimax:
            return 0.5;
        case Rotation::Oblique:
            return 0.9999;
    }
    return 1;
}

double OrthomaxCriterion(const std::vector<double>& a, int k, int f, double gamma) {
    double v = 0;
    for (int j = 0; j < f; ++j) {
        double squares = 0, fourth = 0;
        for (int i = 0; i < k; ++i) {
            const double x2 = a[i * f + j] * a[i * f + j];
            squares += x2;
            fourth += x2 * x2;
        }
        v += (k * fourth - gamma * squares * squares) / (static_cast<double>(k) * k);
    }
    return v;
}

namespace {

// Columns j and l of an m x f matrix turned by phi.
void TurnColumns(std::vector<double>& x, int m, int f, int j, int l, double phi) {
    const double c = std::cos(phi), s = std::sin(phi);
    for (int i = 0; i < m; ++i) {
        double& xj = x[i * f + j];
        double& xl = x[i * f + l];
        const double a = xj, b = xl;
        xj = c * a + s * b;
        xl = -s * a + c * b;
    }
}

// The angle that improves the orthomax criterion most for factors j and l;
// 0 when the pair is as good as it gets.
double PairAngle(const std::vector<double>& a, int k, int f, int j, int l, double gamma) {
    double U = 0, W = 0, G = 0, H = 0;
    for (int i = 0; i < k; ++i) {
        const double x = a[i * f + j], y = a[i * f + l];
        const double u = x * x - y * y, v = 2 * x * y;
        U += u;
        W += v;
        G += u * u - v * v;
        H += u * v;
    }
    const double numerator = 2 * H - 2 * U * W * gamma / k;
    const double denominator = G - gamma * (U * U - W * W) / k;
    if (std::fabs(numerator) + std::fabs(denominator) <= 0.0001)
        return 0;
    return Angle(denominator, numerator) / 4;
}

}  // namespace

RotatedFactors RotateFactors(const FactorExtraction& e, int f, Rotation rotation, bool kaiser,
                             const FactorProgress& progress) {
    const int k = e.size;
    RotatedFactors r;
    r.size = k;
    r.factors = f;
    r.rotation = rotation;
    const double gamma = OrthomaxGamma(rotation, f);

    std::vector<double>& a = r.loadings;
    a.resize(static_cast<std::size_t>(k) * f);
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < f; ++j)
            a[i * f + j] = e.loading(i, j);
    std::vector<double> norms(k, 1.0);
    if (kaiser)
        for (int i = 0; i < k; ++i) {
            double h = 0;
            for (int j = 0; j < f; ++j)
                h += a[i * f + j] * a[i * f + j];
            // A variable the factors do not reach keeps its row as it is.
            if (h > 0) {
                norms[i] = std::sqrt(h);
                for (int j = 0; j < f; ++j)
                    a[i * f + j] /= norms[i];
            }
        }
    r.matrix.assign(static_cast<std::size_t>(f) * f, 0.0);
    for (int j = 0; j < f; ++j)
        r.matrix[j * f + j] = 1;

    // The oblique rotation weighs each factor by its size: columns scaled by
    // s_j^(-1/4) for the rotation, sqrt(s_j) for the factor correlations.
    std::vector<double> weights(f, 1.0);
    if (rotation == Rotation::Oblique)
        for (int j = 0; j < f; ++j) {
            double s = 0;
            for (int i = 0; i < k; ++i)
                s += a[i * f + j] * a[i * f + j];
            if (s > 0) {
                const double w = std::pow(s, -0.25);
                for (int i = 0; i < k; ++i)
                    a[i * f + j] *= w;
            }
            weights[j] = std::sqrt(s);
        }

    const int pairs = f * (f - 1) / 2;
    double previous = 0;
    int settled = 0;
    for (int sweep = 1; sweep <= 30 && pairs > 0; ++sweep) {
        const double v = OrthomaxCriterion(a, k, f, gamma);
        if (sweep > 1 && std::fabs(v - previous) < 0.001 * std::fabs(previous) && ++settled == 2)
            break;
        previous = v;
        r.sweeps = sweep;
        int unturned = 0;
        for (int j = 0; j < f; ++j)
            for (int l = j + 1; l < f; ++l) {
                const double phi = PairAngle(a, k, f, j, l, gamma);
                if (std::fabs(phi) >= 0.000025) {
                    TurnColumns(a, k, f, j, l, phi);
                    TurnColumns(r.matrix, f, f, j, l, phi);
                    unturned = 0;
                } else {
                    ++unturned;
                }
            }
        if (unturned >= pairs)
            break;
        if (progress && !progress(sweep / 30.0)) {
            r.cancelled = true;
            return r;
        }
    }

    for (int i = 0; i < k; ++i)
        for (int j = 0; j < f; ++j)
            a[i * f + j] *= norms[i];

    r.explained.assign(f, 0.0);
    for (int j = 0; j < f; ++j)
        for (int i = 0; i < k; ++i)
            r.explained[j] += a[i * f + j] * a[i * f + j];
    for (double x : r.explained)
        r.total += x;
    for (int j = f; j < k; ++j)
        for (int i = 0; i < k; ++i)
            r.total += e.loading(i, j) * e.loading(i, j);

    if (rotation == Rotation::Oblique) {
        std::vector<double> c(static_cast<std::size_t>(f) * f, 0.0);
        for (int j = 0; j < f; ++j)
            for (int l = 0; l < f; ++l)
                for (int q = 0; q < f; ++q)
                    c[j * f + l] += r.turn(q, j) * r.turn(q, l) * weights[q];
        r.correlations.resize(c.size());
        for (int j = 0; j < f; ++j)
            for (int l = 0; l < f; ++l)
                r.correlations[j * f + l] = c[j * f + l] / std::sqrt(c[j * f + j] * c[l * f + l]);
    }
    return r;
}

std::vector<std::vector<double>> RotatedScores(const std::vector<std::vector<double>>& unrotated,
                                               const FactorExtraction& e, const RotatedFactors& r) {
    const int f = r.factors;
    const int n = unrotated.empty() ? 0 : static_cast<int>(unrotated[0].size());
    std::vector<std::vector<double>> scores(f, std::vector<double>(n, 0.0));
    for (int j = 0; j < f; ++j) {
        const double rho = std::sqrt(r.explained[j]);
        for (int q = 0; q < f; ++q) {
            const double root = e.root(q);
            if (root == 0)
                continue;
            const double weight = r.turn(q, j) * rho / root;
            for (int i = 0; i < n; ++i)
                scores[j][i] += unrotated[q][i] * weight;
        }
    }
    return scores;
}

std::optional<double> PredictVariable(const FactorExtraction& e, int v, double mean, double sd,
                                      const std::vector<double>& factorValues) {
    double sum = 0;
    for (std::size_t j = 0; j < factorValues.size(); ++j) {
        const double root = e.root(static_cast<int>(j));
        if (root == 0)
            return std::nullopt;
        sum += e.loading(v, static_cast<int>(j)) * factorValues[j] / root;
    }
    return mean + sd * sum;
}

}  // namespace dalvex
