# The computations of quality_bench.cpp timed in R, for comparison: means and
# ranges of subgroups of 5 over 16000 values, the individuals chart with the
# mean moving range, the p chart of 2 x 16000 with limits point by point, the
# frequency table of 16000 values (175 classes, as proposed) and the running
# total of the Pareto chart.
#   Rscript bench/quality_bench.R
set.seed(2024)
time_ms <- function(expr, times = 20) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}
x <- 10 + runif(16000) + runif(16000)
n <- floor(50 + 100 * runif(16000)); d <- floor(n * runif(16000) * 0.1)
xr <- time_ms({
  m <- matrix(x[1:(5 * (length(x) %/% 5))], nrow = 5)
  means <- colMeans(m); r <- apply(m, 2, function(c) max(c) - min(c))
  c(mean(means) + c(-1, 1) * 0.577 * mean(r), c(0, 2.11) * mean(r))
})
xr_fast <- time_ms({
  m <- matrix(x[1:(5 * (length(x) %/% 5))], nrow = 5)
  means <- colMeans(m); r <- do.call(pmax, as.data.frame(t(m))) - do.call(pmin, as.data.frame(t(m)))
  c(mean(means) + c(-1, 1) * 0.577 * mean(r), c(0, 2.11) * mean(r))
})
ind <- time_ms(mean(x) + c(-1, 1) * 2.66 * mean(abs(diff(x))))
pc <- time_ms({ p <- 100 * d / n; pb <- mean(p); h <- 3 * sqrt(pb * (100 - pb)) / sqrt(n); list(pb - h, pb + h) })
hist_ms <- time_ms(hist(x, breaks = seq(min(x), max(x), length.out = 176), plot = FALSE))
pareto <- time_ms(c(0, cumsum(x)))
cat(sprintf("means and ranges, 16000 (apply):  %7.2f ms\n", xr))
cat(sprintf("means and ranges, 16000 (pmax):   %7.2f ms\n", xr_fast))
cat(sprintf("individuals, 16000:               %7.2f ms\n", ind))
cat(sprintf("p chart, 2 x 16000:               %7.2f ms\n", pc))
cat(sprintf("frequency table, 16000:           %7.2f ms\n", hist_ms))
cat(sprintf("running total, 16000:             %7.2f ms\n", pareto))
