# The same sizes in R, for comparison with dalvex_spline_bench: 500 points,
# a curve of 16 001 points. Run: Rscript bench/spline_bench.R
set.seed(1)
at <- cumsum(0.05 + runif(500))
y <- sin(at / 10) + 0.3 * runif(500)
grid <- seq(min(at), max(at), length.out = 16001)
time <- function(label, expr) {
  t <- system.time(for (i in 1:20) expr)[["elapsed"]] / 20
  cat(sprintf("%-40s %8.3f ms\n", label, 1000 * t))
}
time("interpolation (splinefun fmm) + curve", splinefun(at, y, method = "fmm")(grid))
time("interpolation (natural) + curve", splinefun(at, y, method = "natural")(grid))
time("smoothing (smooth.spline, all knots) + curve",
     predict(smooth.spline(at, y, all.knots = TRUE, lambda = 1e-4), grid))
