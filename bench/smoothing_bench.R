# The computations of smoothing_bench.cpp timed in R, for comparison: the same
# sizes and the same kind of data.
#   Rscript bench/smoothing_bench.R
set.seed(2024)
time_ms <- function(expr, times = 20) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}
n <- 16000
x <- 100 + 0.001 * (0:(n - 1)) + sin(2 * pi * (0:(n - 1)) / 50) + runif(n)
cat(sprintf("filter 3 points       %.3f ms\n", time_ms(stats::filter(x, rep(1/3, 3)))))
cat(sprintf("filter 5 quadratic    %.3f ms\n", time_ms(stats::filter(x, c(.1, .2, .4, .2, .1)))))
cat(sprintf("exponential recursive %.3f ms\n", time_ms(stats::filter(0.3 * x[-1], 0.7, "recursive", init = x[1]))))
cat(sprintf("HoltWinters level     %.3f ms\n", time_ms(HoltWinters(ts(x), alpha = 0.3, beta = FALSE, gamma = FALSE), 3)))
cat(sprintf("diff                  %.3f ms\n", time_ms(diff(x))))
cat(sprintf("diff 12 times         %.3f ms\n", time_ms(diff(x, differences = 12))))
cat(sprintf("diff lag 12           %.3f ms\n", time_ms(diff(x, lag = 12))))
cat(sprintf("cumsum                %.3f ms\n", time_ms(cumsum(x))))
cat(sprintf("moving mean of 12     %.3f ms\n", time_ms(stats::filter(x, rep(1/12, 12), sides = 1))))
cat(sprintf("second order          %.3f ms\n", time_ms(stats::filter(x, c(1, -sqrt(3), 1), sides = 1))))
band <- function(x, lo, hi) {
  n <- length(x); m <- mean(x); X <- fft(x - m); j <- 0:(n - 1); f <- pmin(j, n - j) / n
  X[j > 0 & (f < lo | f > hi)] <- 0; Re(fft(X, inverse = TRUE)) / n + m
}
cat(sprintf("fft band filter       %.3f ms\n", time_ms(band(x, 0.01, 0.1))))
t <- 0:3999
y <- 50 + 0.01 * t + 0.2 * runif(4000)
for (w in 0:19) y <- y + (1 + 0.1 * w) * cos(2 * pi * (7 + 13 * w) * t / 4001 + w)
model <- function() {
  r <- resid(lm(y ~ t)); yl <- c(r, r[4000]); M <- 4001; tt <- 0:4000
  X <- fft(yl - mean(yl)); A <- 2 * Mod(X[2:2001]) / M; keep <- which(A >= 0.25 * max(A))
  cols <- do.call(cbind, lapply(keep, function(j) cbind(cos(2 * pi * j * tt / M), sin(2 * pi * j * tt / M))))
  fit <- lm.fit(cbind(1, cols), yl)
  length(keep)
}
cat(sprintf("Fourier model (lm on %d harmonics) %.3f ms\n", model(), time_ms(model(), 5)))
