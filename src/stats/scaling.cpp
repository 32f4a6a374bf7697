#include "stats/scaling.h"

#include <algorithm>
#include <cmath>

#include "numeric/jacobi.h"

namespace dalvex {

ClassicalSolution TorgersonScaling(const DistanceTriangle& given, const ScalingProgress& progress) {
    const int k = given.size();
    std::vector<double> b(static_cast<std::size_t>(k) * k, 0.0);
    for (int i = 1; i < k; ++i)
        for (int j = 0; j < i; ++j)
            b[i * k + j] = b[j * k + i] = given.at(i, j) * given.at(i, j);
    // Double centring by the row, column and grand means.
    std::vector<double> rowMean(k, 0.0);
    double grand = 0;
    for (int i = 0; i < k; ++i) {
        for (int j = 0; j < k; ++j)
            rowMean[i] += b[i * k + j];
        grand += rowMean[i];
        rowMean[i] /= k;
    }
    grand /= static_cast<double>(k) * k;
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j)
            b[i * k + j] = -0.5 * (b[i * k + j] - rowMean[i] - rowMean[j] + grand);

    const EigenDecomposition e = JacobiEigen(b, k, progress);
    ClassicalSolution s;
    s.converged = e.converged;
    s.cancelled = e.cancelled;
    if (e.cancelled)
        return s;
    const double largest = std::max(e.values.empty() ? 0.0 : e.values[0], 0.0);
    for (double lambda : e.values) {
        // Round-off leaves tiny negatives on Euclidean data; only a clear one
        // says the distances do not fit any space.
        if (lambda < -1e-9 * std::max(largest, 1e-300))
            s.negativeSet = true;
        s.eigenvalues.push_back(std::max(lambda, 0.0));
    }
    s.coordinates.assign(k, std::vector<double>(k, 0.0));
    for (int j = 0; j < k; ++j) {
        const double root = std::sqrt(s.eigenvalues[j]);
        for (int i = 0; i < k; ++i)
            s.coordinates[j][i] = e.Vector(i, j) * root;
    }
    return s;
}

double MetricChoice::Weight(int dimension) const {
    if (metric != Metric::Kolmogorov || dimension >= static_cast<int>(weights.size()))
        return 1;
    return weights[dimension];
}

double MetricChoice::Exponent() const {
    switch (metric) {
        case Metric::Euclid:
            return 2;
        case Metric::Manhattan:
            return 1;
        default:
            return exponent;
    }
}

namespace {

double PairDistance(const Configuration& x, const MetricChoice& metric, int i, int j) {
    const double r = metric.Exponent();
    double sum = 0;
    for (std::size_t l = 0; l < x.size(); ++l) {
        const double diff = std::fabs(x[l][i] - x[l][j]);
        const double w = metric.Weight(static_cast<int>(l));
        sum += r == 2 ? w * diff * diff : r == 1 ? w * diff : w * std::pow(diff, r);
    }
    return r == 2 ? std::sqrt(sum) : r == 1 ? sum : std::pow(sum, 1 / r);
}

}  // namespace

DistanceTriangle FittedDistances(const Configuration& x, const MetricChoice& metric) {
    const int k = x.empty() ? 0 : static_cast<int>(x[0].size());
    DistanceTriangle d(k);
    for (int i = 1; i < k; ++i)
        for (int j = 0; j < i; ++j)
            d.set(i, j, PairDistance(x, metric, i, j));
    return d;
}

StressFigures Stresses(const DistanceTriangle& given, const DistanceTriangle& fitted) {
    const int k = given.size();
    StressFigures s;
    double pairs = 0, meanGiven = 0;
    for (int i = 1; i < k; ++i)
        for (int j = 0; j < i; ++j) {
            meanGiven += given.at(i, j);
            s.meanFitted += fitted.at(i, j);
            ++pairs;
        }
    if (pairs == 0)
        return s;
    meanGiven /= pairs;
    s.meanFitted /= pairs;
    double sdd = 0, sdD = 0, sumD2 = 0, spreadD = 0;
    for (int i = 1; i < k; ++i)
        for (int j = 0; j < i; ++j) {
            const double u = given.at(i, j) - meanGiven, v = fitted.at(i, j) - s.meanFitted;
            sdd += u * u;
            sdD += u * v;
            sumD2 += fitted.at(i, j) * fitted.at(i, j);
            spreadD += v * v;
        }
    s.slope = sdd > 0 ? sdD / sdd : 0;
    s.intercept = s.meanFitted - s.slope * meanGiven;
    double e2 = 0, relative = 0, weighted = 0;
    for (int i = 1; i < k; ++i)
        for (int j = 0; j < i; ++j) {
            const double d = given.at(i, j), D = fitted.at(i, j);
            const double e = s.intercept + s.slope * d - D;
            e2 += e * e;
            if (D > 0)
                relative += (e / D) * (e / D);
            weighted += e * e * d;
        }
    // Residuals at the level of round-off are a perfect fit: the stresses
    // are then 0, not a scatter of 1e-16s.
    if (e2 <= 1e-24 * sumD2)
        return s;
    s.stress[0] = sumD2 > 0 ? std::sqrt(e2 / sumD2) : 0;
    s.stress[1] = std::sqrt(relative);
    // ΣD² - N D̄² is the spread about the mean, summed as such to keep it exact.
    s.stress[2] = spreadD > 0 ? std::sqrt(e2 / spreadD) : 0;
    s.stress[3] = weighted;
    return s;
}

double DistanceCorrelation(const DistanceTriangle& given, const Configuration& x, int dimensions) {
    const Configuration first(x.begin(), x.begin() + std::min<std::size_t>(dimensions, x.size()));
    const DistanceTriangle fitted = FittedDistances(first, MetricChoice{});
    const int k = given.size();
    double pairs = 0, mg = 0, mf = 0;
    for (int i = 1; i < k; ++i)
        for (int j = 0; j < i; ++j) {
            mg += given.at(i, j);
            mf += fitted.at(i, j);
            ++pairs;
        }
    if (pairs == 0)
        return 0;
    mg /= pairs;
    mf /= pairs;
    double sgg = 0, sff = 0, sgf = 0;
    for (int i = 1; i < k; ++i)
        for (int j = 0; j < i; ++j) {
            const double u = given.at(i, j) - mg, v = fitted.at(i, j) - mf;
            sgg += u * u;
            sff += v * v;
            sgf += u * v;
        }
    if (!(sgg > 0 && sff > 0))
        return 0;
    return std::clamp(sgf / std::sqrt(sgg * sff), -1.0, 1.0);
}

namespace {

// dS/dD of one pair, for the stress S of `type` with the figures f.
double StressSlope(StressType type, const StressFigures& f, double S, double sumD2, double spread,
                   double d, double D) {
    const double v = D - f.slope * d - f.intercept;  // -e
    switch (type) {
        case StressType::Kruskal1:
            return (v - S * S * D) / (S * sumD2);
        case StressType::Kruskal2:
            return D > 0 ? (v / (D * D) - v * v / (D * D * D)) / S : 0;
        case StressType::Kruskal3:
            return (v - S * S * (D - f.meanFitted)) / (S * spread);
        case StressType::Gower:
            break;
    }
    return 2 * v * d;
}

}  // namespace

NonmetricResult NonmetricScaling(const DistanceTriangle& given, Configuration x, StressType type,
                                 const MetricChoice& metric, const ScalingProgress& progress,
                                 int cap) {
    NonmetricResult result;
    const int dims = static_cast<int>(x.size());
    const int k = given.size();
    const double r = metric.Exponent();
    Configuration gradient(dims, std::vector<double>(k, 1.0)), previous = gradient;
    double alpha = 0, cosAverage = 0, cosAbsAverage = 0, ratioProduct = 1, sPrev = 1,
           gPrev = std::sqrt(static_cast<double>(dims) * k);
    for (result.iterations = 1; result.iterations <= cap; ++result.iterations) {
        if (progress && result.iterations % 10 == 1 &&
            !progress(static_cast<double>(result.iterations) / cap)) {
            result.cancelled = true;
            break;
        }
        std::swap(previous, gradient);
        for (std::vector<double>& row : gradient)
            std::fill(row.begin(), row.end(), 0.0);
        const DistanceTriangle fitted = FittedDistances(x, metric);
        const StressFigures f = Stresses(given, fitted);
        const double S = f.stress[static_cast<int>(type) - 1];
        result.stress = S;
        // A perfect fit has nowhere to go: the residuals are round-off
        // against the fitted distances.
        if (!(S > 0) || f.stress[0] < 1e-10)
            break;
        if (alpha == 0)
            alpha = std::fabs(f.meanFitted);
        double sumD2 = 0, spread = 0;
        for (int i = 1; i < k; ++i)
            for (int j = 0; j < i; ++j) {
                const double D = fitted.at(i, j);
                sumD2 += D * D;
                spread += (D - f.meanFitted) * (D - f.meanFitted);
            }
        for (int i = 1; i < k; ++i)
            for (int j = 0; j < i; ++j) {
                const double D = fitted.at(i, j);
                if (!(D > 0))
                    continue;
                const double q = StressSlope(type, f, S, sumD2, spread, given.at(i, j), D);
                for (int l = 0; l < dims; ++l) {
                    const double diff = x[l][i] - x[l][j];
                    // dD/dx of the metric: w |diff|^(r-1) sign(diff) / D^(r-1).
                    const double part = r == 2
                                            ? diff / D
                                            : metric.Weight(l) * std::pow(std::fabs(diff), r - 1) *
                                                  ((diff > 0) - (diff < 0)) / std::pow(D, r - 1);
                    gradient[l][i] += q * part;
                    gradient[l][j] -= q * part;
                }
            }
        double norm = 0, dot = 0;
        for (int l = 0; l < dims; ++l)
            for (int i = 0; i < k; ++i) {
                norm += gradient[l][i] * gradient[l][i];
                dot += gradient[l][i] * previous[l][i];
            }
        norm = std::sqrt(norm);
        if (!(norm > 0))
            break;
        const double cosine = dot / (norm * gPrev);
        cosAverage = cosine / 1.5 + cosAverage / 3;
        cosAbsAverage = std::fabs(cosine) / 1.5 + cosAbsAverage / 3;
        const double ratio = S / sPrev;
        ratioProduct = std::min(1.0, std::cbrt(ratioProduct) * std::pow(ratio, 2.0 / 3));
        alpha = alpha * std::pow(4.0, cosAverage) * std::sqrt(std::min(ratio, 1.0)) * 1.6 /
                (1 + std::pow(ratioProduct, 5)) / (1 + cosAbsAverage - std::fabs(cosAverage));
        for (int l = 0; l < dims; ++l)
            for (int i = 0; i < k; ++i)
                x[l][i] -= gradient[l][i] * alpha / norm;
        sPrev = S;
        if (std::fabs(ratio - 1) < 0.0005)
            break;
        gPrev = norm;
    }
    if (result.iterations > cap) {
        result.capped = true;
        result.iterations = cap;
    }
    result.coordinates = std::move(x);
    return result;
}

}  // namespace dalvex
