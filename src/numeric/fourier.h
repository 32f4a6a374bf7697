// The discrete Fourier transform of any length, in O(n log n): a radix-2
// transform for powers of two and Bluestein's chirp for the other lengths.
// Spectra and correlation functions of long series take it where the direct
// sums would be quadratic; the figures are the same sums, X_j = Σ x_n
// exp(-2πi·nj/n_total), to a few units of the last digits.
#pragma once

#include <complex>
#include <vector>

namespace dalvex {

// The forward transform in place: data[j] becomes Σ_n data[n]·exp(-2πi·nj/N),
// N = data.size(). With `inverse` the sign of the exponent is +, without the
// division by N.
void FourierTransform(std::vector<std::complex<double>>& data, bool inverse = false);

// The smallest power of two not below n (1 for n <= 1).
std::size_t PowerOfTwoAtLeast(std::size_t n);

}  // namespace dalvex

namespace dalvex {

// The harmonic sums of a series x_0 .. x_{P-1} over its own period P:
// cosines[j] = Σ x_n cos(2π·nj/P) and sines[j] = Σ x_n sin(2π·nj/P),
// j = 0 .. lastHarmonic (lastHarmonic <= P / 2).
struct HarmonicSums {
    std::vector<double> cosines, sines;
};
HarmonicSums HarmonicSumsOf(const std::vector<double>& x, int lastHarmonic);

}  // namespace dalvex
