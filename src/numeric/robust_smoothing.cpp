#include "numeric/robust_smoothing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

namespace dalvex {

double KernelWeight(SmoothingKernel kernel, double u) {
    const double a = std::fabs(u);
    if (a >= 1)
        return 0;
    switch (kernel) {
        case SmoothingKernel::Rectangular:
            return 1;
        case SmoothingKernel::Triangular:
            return 1 - a;
        case SmoothingKernel::Epanechnikov:
            return 1 - a * a;
    }
    return 0;
}

namespace {

struct Weighted {
    double value, weight;
};

// The weighted median of values already in ascending order (ties in their
// order of entry): the running weight starts at -W/2; where it first turns
// positive the value is the median, or the mean with the value at which it
// was exactly zero.
double MedianOfSorted(const std::vector<Weighted>& sorted) {
    double total = 0;
    for (const Weighted& w : sorted)
        total += w.weight;
    double running = -total / 2;
    bool remembered = false;
    double kept = 0;
    for (const Weighted& w : sorted) {
        running += w.weight;
        if (running > 0)
            return remembered ? (w.value + kept) / 2 : w.value;
        if (running == 0 && !remembered) {
            remembered = true;
            kept = w.value;
        }
    }
    return remembered ? kept : (sorted.empty() ? 0.0 : sorted.back().value);
}

struct Breakpoint {
    double value, weight;
    int rise;  // +1 at y - g, -1 at y + g
};

// F(m) = sum w psi(m - y) is piecewise linear and rising: walk its
// breakpoints y - g (where a term starts to rise) and y + g (where it stops),
// in ascending order, with F = A + B m on each piece.
double HuberOfSorted(const std::vector<Breakpoint>& points, double g) {
    double total = 0, scale = 0;
    for (const Breakpoint& p : points)
        if (p.rise > 0) {
            total += p.weight;
            scale += p.weight * (std::fabs(p.value) + 2 * g);
        }
    // A sum that cancels to within rounding counts as zero.
    const double zero = 1e-13 * scale;
    double a = -g * total, b = 0;
    double previousV = 0, previousF = a;
    for (std::size_t k = 0; k < points.size(); ++k) {
        const Breakpoint& p = points[k];
        b += p.weight * p.rise;
        a -= p.weight * p.rise * p.value;
        if (k + 1 < points.size() && points[k + 1].value == p.value)
            continue;
        const double v = p.value;
        const double f = a + b * v;
        if (f < -zero) {
            previousV = v;
            previousF = f;
            continue;
        }
        if (f > zero)  // F is linear between two breakpoints
            return k == 0 ? v : previousV + (0 - previousF) * (v - previousV) / (f - previousF);
        // F is zero from here: the middle of the interval where it stays so.
        double last = v;
        for (std::size_t m = k + 1; m < points.size(); ++m) {
            b += points[m].weight * points[m].rise;
            a -= points[m].weight * points[m].rise * points[m].value;
            if (m + 1 < points.size() && points[m + 1].value == points[m].value)
                continue;
            if (std::fabs(a + b * points[m].value) > zero)
                break;
            last = points[m].value;
        }
        return (v + last) / 2;
    }
    return previousV;
}

std::vector<Breakpoint> BreakpointsOf(const std::vector<double>& values,
                                      const std::vector<double>& weights, double g) {
    std::vector<Breakpoint> points;
    points.reserve(2 * values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        points.push_back({values[i] - g, weights[i], +1});
        points.push_back({values[i] + g, weights[i], -1});
    }
    return points;
}

bool ByValue(const Breakpoint& a, const Breakpoint& b) {
    return a.value < b.value;
}

}  // namespace

double WeightedMedian(const std::vector<double>& values, const std::vector<double>& weights) {
    std::vector<Weighted> sorted;
    for (std::size_t i = 0; i < values.size(); ++i)
        sorted.push_back({values[i], weights[i]});
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Weighted& a, const Weighted& b) { return a.value < b.value; });
    return MedianOfSorted(sorted);
}

double WeightedHuber(const std::vector<double>& values, const std::vector<double>& weights,
                     double g) {
    std::vector<Breakpoint> points = BreakpointsOf(values, weights, g);
    std::stable_sort(points.begin(), points.end(), ByValue);
    return HuberOfSorted(points, g);
}

std::vector<std::optional<double>> RobustSmooth(const std::vector<double>& x,
                                                const std::vector<double>& y, double h, double g,
                                                SmoothingKernel kernel) {
    const std::size_t n = std::min(x.size(), y.size());
    std::vector<std::optional<double>> out(n);
    // A constant above the values' spread makes every window's estimate its
    // weighted mean, as the spread itself does; held to the spread, a
    // constant near the double range cannot overflow the breakpoints' sums.
    if (g > 0 && n > 0) {
        const auto [least, most] = std::minmax_element(y.begin(), y.begin() + n);
        const double spread = *most - *least;
        if (g > spread)
            g = spread > 0 ? spread : 1;
    }
    // A wide window takes its values in order from the order of the whole
    // data, made once; a narrow one sorts its own few.
    std::vector<std::size_t> order;
    std::vector<Breakpoint> allPoints;
    auto prepareWhole = [&] {
        if (!order.empty() || !allPoints.empty())
            return;
        if (g > 0) {
            allPoints = BreakpointsOf(std::vector<double>(y.begin(), y.begin() + n),
                                      std::vector<double>(n, 0.0), g);
            // The weight slot carries the observation's index until used.
            for (std::size_t i = 0; i < n; ++i)
                allPoints[2 * i].weight = allPoints[2 * i + 1].weight = static_cast<double>(i);
            std::stable_sort(allPoints.begin(), allPoints.end(), ByValue);
        } else {
            order.resize(n);
            std::iota(order.begin(), order.end(), 0);
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t a, std::size_t b) { return y[a] < y[b]; });
        }
    };
    std::size_t low = 0, high = 0;  // the window is [low, high)
    std::vector<double> weight(n, 0.0);
    std::vector<Weighted> sorted;
    std::vector<Breakpoint> points;
    for (std::size_t j = 0; j < n; ++j) {
        const double at = x[j];
        while (low < n && x[low] <= at - h)
            ++low;
        high = std::max(high, low);
        while (high < n && x[high] < at + h)
            ++high;
        const std::size_t width = high - low;
        bool any = false;
        for (std::size_t i = low; i < high; ++i) {
            weight[i] = KernelWeight(kernel, (at - x[i]) / h);
            any = any || weight[i] > 0;
        }
        if (!any)
            continue;
        const bool wide = width * 16 > n && width > 64;
        if (wide)
            prepareWhole();
        auto inWindow = [&](std::size_t i) { return i >= low && i < high && weight[i] > 0; };
        if (g > 0) {
            points.clear();
            if (wide) {
                for (const Breakpoint& p : allPoints) {
                    const auto i = static_cast<std::size_t>(p.weight);
                    if (inWindow(i))
                        points.push_back({p.value, weight[i], p.rise});
                }
            } else {
                for (std::size_t i = low; i < high; ++i)
                    if (weight[i] > 0) {
                        points.push_back({y[i] - g, weight[i], +1});
                        points.push_back({y[i] + g, weight[i], -1});
                    }
                std::stable_sort(points.begin(), points.end(), ByValue);
            }
            out[j] = HuberOfSorted(points, g);
        } else {
            sorted.clear();
            if (wide) {
                for (std::size_t i : order)
                    if (inWindow(i))
                        sorted.push_back({y[i], weight[i]});
            } else {
                for (std::size_t i = low; i < high; ++i)
                    if (weight[i] > 0)
                        sorted.push_back({y[i], weight[i]});
                std::stable_sort(
                    sorted.begin(), sorted.end(),
                    [](const Weighted& a, const Weighted& b) { return a.value < b.value; });
            }
            out[j] = MedianOfSorted(sorted);
        }
    }
    return out;
}

}  // namespace dalvex
