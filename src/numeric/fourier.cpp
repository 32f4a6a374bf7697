#include "numeric/fourier.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace dalvex {

namespace {

using Complex = std::complex<double>;

bool IsPowerOfTwo(std::size_t n) {
    return n != 0 && (n & (n - 1)) == 0;
}

// Iterative radix-2 transform; n must be a power of two. The twiddle factors
// are computed directly for each stage (not by repeated multiplication), so
// the error does not grow with the length.
void RadixTwo(std::vector<Complex>& a, bool inverse) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    const double sign = inverse ? 1.0 : -1.0;
    std::vector<Complex> twiddle(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k) {
        const double angle = sign * 2 * std::numbers::pi * static_cast<double>(k) / n;
        twiddle[k] = {std::cos(angle), std::sin(angle)};
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::size_t stride = n / len;
        for (std::size_t i = 0; i < n; i += len)
            for (std::size_t k = 0; k < len / 2; ++k) {
                const Complex u = a[i + k];
                const Complex v = a[i + k + len / 2] * twiddle[k * stride];
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
    }
}

// Bluestein: nj = (n² + j² - (j - n)²) / 2 turns the transform into a
// convolution with a chirp, done by radix-2 transforms of a length >= 2N - 1.
void Bluestein(std::vector<Complex>& a, bool inverse) {
    const std::size_t n = a.size();
    const std::size_t m = PowerOfTwoAtLeast(2 * n - 1);
    const double sign = inverse ? 1.0 : -1.0;
    std::vector<Complex> chirp(n);
    for (std::size_t k = 0; k < n; ++k) {
        // k² mod 2N keeps the angle exact for long series.
        const std::size_t square = (k * k) % (2 * n);
        const double angle = sign * std::numbers::pi * static_cast<double>(square) / n;
        chirp[k] = {std::cos(angle), std::sin(angle)};
    }
    std::vector<Complex> u(m), v(m);
    for (std::size_t k = 0; k < n; ++k)
        u[k] = a[k] * chirp[k];
    v[0] = std::conj(chirp[0]);
    for (std::size_t k = 1; k < n; ++k)
        v[k] = v[m - k] = std::conj(chirp[k]);
    RadixTwo(u, false);
    RadixTwo(v, false);
    for (std::size_t k = 0; k < m; ++k)
        u[k] *= v[k];
    RadixTwo(u, true);
    for (std::size_t k = 0; k < n; ++k)
        a[k] = u[k] * chirp[k] / static_cast<double>(m);
}

}  // namespace

std::size_t PowerOfTwoAtLeast(std::size_t n) {
    std::size_t p = 1;
    while (p < n)
        p <<= 1;
    return p;
}

void FourierTransform(std::vector<Complex>& data, bool inverse) {
    if (data.size() <= 1)
        return;
    if (IsPowerOfTwo(data.size()))
        RadixTwo(data, inverse);
    else
        Bluestein(data, inverse);
}

}  // namespace dalvex

namespace dalvex {

HarmonicSums HarmonicSumsOf(const std::vector<double>& x, int lastHarmonic) {
    std::vector<std::complex<double>> data(x.begin(), x.end());
    FourierTransform(data);
    HarmonicSums sums;
    sums.cosines.resize(lastHarmonic + 1);
    sums.sines.resize(lastHarmonic + 1);
    for (int j = 0; j <= lastHarmonic; ++j) {
        sums.cosines[j] = data[j].real();
        sums.sines[j] = -data[j].imag();
    }
    return sums;
}

}  // namespace dalvex
