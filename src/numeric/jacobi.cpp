#include "numeric/jacobi.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace dalvex {

namespace {

class Rotator {
  public:
    Rotator(std::vector<double>& a, std::vector<double>& v, int n)
        : a_(a), v_(v), n_(n), rowMax_(n, 0.0), rowCol_(n, -1) {
        for (int i = 0; i < n_; ++i)
            Rescan(i);
    }

    // The row holding the largest off-diagonal element to the right of the
    // diagonal; -1 when there is none.
    int PivotRow() const {
        int best = -1;
        double largest = -1;
        for (int i = 0; i + 1 < n_; ++i)
            if (rowMax_[i] > largest) {
                largest = rowMax_[i];
                best = i;
            }
        return best;
    }
    double RowMax(int i) const { return rowMax_[i]; }
    int RowColumn(int i) const { return rowCol_[i]; }

    // Columns p and q become c p + s q and -s p + c q, with the angle that
    // annihilates a_pq.
    void Rotate(int p, int q) {
        const double app = At(p, p), aqq = At(q, q), apq = At(p, q);
        const double d = app - aqq;
        // The smaller root of apq t^2 + d t - apq = 0: the rotation by at
        // most 45 degrees, which disturbs the rest of the matrix least.
        const double sign = d > 0 ? 1.0 : -1.0;
        const double t = 2 * sign * apq / (std::fabs(d) + std::sqrt(d * d + 4 * apq * apq));
        const double c = 1 / std::sqrt(1 + t * t);
        const double s = t * c;
        // Rows p and q change side by side; columns p and q follow them.
        double* rowP = &a_[p * n_];
        double* rowQ = &a_[q * n_];
        for (int r = 0; r < n_; ++r) {
            const double arp = rowP[r], arq = rowQ[r];
            rowP[r] = c * arp + s * arq;
            rowQ[r] = -s * arp + c * arq;
        }
        for (int r = 0; r < n_; ++r) {
            a_[r * n_ + p] = rowP[r];
            a_[r * n_ + q] = rowQ[r];
        }
        At(p, p) = c * c * (app + t * (2 * apq + t * aqq));
        At(q, q) = c * c * (aqq - t * (2 * apq - t * app));
        Set(p, q, 0.0);
        // The vectors are kept as rows while rotating: the two rows change
        // side by side in memory.
        double* vp = &v_[p * n_];
        double* vq = &v_[q * n_];
        for (int r = 0; r < n_; ++r) {
            const double x = vp[r], y = vq[r];
            vp[r] = c * x + s * y;
            vq[r] = -s * x + c * y;
        }
        Refresh(p, q);
    }

  private:
    double& At(int i, int j) { return a_[i * n_ + j]; }
    void Set(int i, int j, double x) { a_[i * n_ + j] = a_[j * n_ + i] = x; }

    void Rescan(int i) {
        rowMax_[i] = 0;
        rowCol_[i] = -1;
        for (int j = i + 1; j < n_; ++j) {
            const double x = std::fabs(a_[i * n_ + j]);
            if (rowCol_[i] < 0 || x > rowMax_[i]) {
                rowMax_[i] = x;
                rowCol_[i] = j;
            }
        }
    }

    // Only the rows a rotation of p and q touched can have a new maximum.
    void Refresh(int p, int q) {
        Rescan(p);
        Rescan(q);
        for (int r = 0; r < q; ++r) {
            if (r == p)
                continue;
            if (rowCol_[r] == p || rowCol_[r] == q) {
                Rescan(r);
                continue;
            }
            for (int col : {p, q}) {
                if (col <= r)
                    continue;
                const double x = std::fabs(a_[r * n_ + col]);
                if (x > rowMax_[r]) {
                    rowMax_[r] = x;
                    rowCol_[r] = col;
                }
            }
        }
    }

    std::vector<double>& a_;
    std::vector<double>& v_;
    int n_;
    std::vector<double> rowMax_;
    std::vector<int> rowCol_;
};

}  // namespace

EigenDecomposition JacobiEigen(std::vector<double> a, int n, const EigenProgress& progress,
                               double tolerance, int maxSweeps) {
    EigenDecomposition result;
    result.size = n;
    result.vectors.assign(static_cast<std::size_t>(n) * n, 0.0);
    for (int i = 0; i < n; ++i)
        result.vectors[i * n + i] = 1;
    // The lower triangle follows the upper one.
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j)
            a[i * n + j] = a[j * n + i];

    double norm = 0;
    for (double x : a)
        norm += x * x;
    norm = std::sqrt(norm);
    const double negligible = tolerance * norm;

    const long pairs = static_cast<long>(n) * (n - 1) / 2;
    const long budget = std::max<long>(1, pairs) * maxSweeps;
    const long report = std::max<long>(64, pairs);
    if (n > 1) {
        Rotator rotator(a, result.vectors, n);
        for (;;) {
            const int p = rotator.PivotRow();
            if (p < 0 || rotator.RowMax(p) <= negligible)
                break;
            if (result.rotations >= budget) {
                result.converged = false;
                break;
            }
            rotator.Rotate(p, rotator.RowColumn(p));
            ++result.rotations;
            if (progress && result.rotations % report == 0 &&
                !progress(static_cast<double>(result.rotations) / budget)) {
                result.cancelled = true;
                result.converged = false;
                break;
            }
        }
    }

    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int x, int y) { return a[x * n + x] > a[y * n + y]; });
    result.values.resize(n);
    std::vector<double> sorted(result.vectors.size());
    for (int j = 0; j < n; ++j) {
        result.values[j] = a[order[j] * n + order[j]];
        for (int r = 0; r < n; ++r)
            sorted[r * n + j] = result.vectors[order[j] * n + r];
    }
    result.vectors = std::move(sorted);
    return result;
}

}  // namespace dalvex
