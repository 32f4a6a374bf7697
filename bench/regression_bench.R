# The computations of regression_bench.cpp timed in R, for comparison: the
# same sizes and the same kind of data.
#   Rscript bench/regression_bench.R
set.seed(2024)
time_ms <- function(expr, times = 10) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}
n <- 16000
x <- 10 * (0:(n - 1)) / n
y <- 1 + x + 0.1 * x^2 + runif(n) - 0.5
linear <- time_ms(summary(lm(y ~ x)))
poly5 <- time_ms(summary(lm(y ~ poly(x, 5, raw = TRUE))))
t <- 15 * (0:1999) / 2000
yl <- 1 + 5 / (1 + exp(5 - 0.7 * t)) + 0.05 * (runif(2000) - 0.5)
logistic <- time_ms(summary(nls(yl ~ a0 + a1 / (1 + exp(a2 + a3 * t)),
                                start = list(a0 = 1, a1 = 4, a2 = 4, a3 = -0.5))))
# Huber M-estimates of the 5-point windows (h = 3 on a trend) by
# MASS::huber's iteration, timed on a tenth of the points and scaled (the
# whole takes some 20 s); the running median for scale.
huber_ms <- if (requireNamespace("MASS", quietly = TRUE)) {
  10 * time_ms(for (j in 1:(n / 10)) {
    w <- y[max(1, j - 2):min(n, j + 2)]
    if (mad(w) > 0) MASS::huber(w, k = 2)
  }, times = 1)
} else NA
running_median <- time_ms(runmed(y, 5))
cat(sprintf("lm, line on 16000 pairs:                 %7.1f ms\n", linear))
cat(sprintf("lm, degree-5 polynomial on 16000 pairs:  %7.1f ms\n", poly5))
cat(sprintf("nls, logistic on 2000 points:            %7.1f ms\n", logistic))
cat(sprintf("Huber windows of 5, 16000 points:        %7.1f ms\n", huber_ms))
cat(sprintf("runmed(y, 5), 16000 points:              %7.1f ms\n", running_median))
