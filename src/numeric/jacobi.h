// Eigenvalues and eigenvectors of a symmetric matrix by Jacobi's method:
// factor analysis and multidimensional scaling decompose their correlation,
// covariance or double-centred distance matrices with it.
//
// Each rotation annihilates the largest off-diagonal element, found from a
// per-row maximum that is refreshed only for the rows a rotation touches.
// The decomposition stops when every off-diagonal element is negligible
// against the size of the whole matrix (a relative tolerance, so matrices of
// any scale converge alike), and gives up after a cap of sweeps, reporting
// that it did not converge.
#pragma once

#include <functional>
#include <vector>

namespace dalvex {

struct EigenDecomposition {
    int size = 0;
    std::vector<double> values;   // descending
    std::vector<double> vectors;  // size x size, row-major: column j is the vector of values[j]
    int rotations = 0;
    bool converged = true;
    bool cancelled = false;

    double Vector(int component, int j) const { return vectors[component * size + j]; }
};

// Called now and then with the share of the rotation budget used so far (a
// rough measure); returning false cancels the decomposition.
using EigenProgress = std::function<bool(double share)>;

// `matrix` is size x size, row-major and symmetric (only the upper triangle
// is read). An off-diagonal element at most `tolerance` times the Frobenius
// norm of the matrix counts as zero; at most `maxSweeps` * size(size-1)/2
// rotations are made.
EigenDecomposition JacobiEigen(std::vector<double> matrix, int size,
                               const EigenProgress& progress = {}, double tolerance = 1e-13,
                               int maxSweeps = 100);

}  // namespace dalvex
