# The computations of factor_bench.cpp timed in R, for comparison: the same
# sizes and the same kind of data.
#   Rscript bench/factor_bench.R
set.seed(2024)
time_ms <- function(expr, times = 10) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}
data <- function(k, n) {
  i <- 0:(n - 1)
  sapply(0:(k - 1), function(j) sin(0.01 * i * (j %% 5 + 1) + j) + 0.5 * sin(0.37 * i * (j + 1)) + runif(n))
}
x <- data(50, 1300)
f <- 10
extraction_ms <- time_ms({
  e <- eigen(cor(x), symmetric = TRUE)
  L <- e$vectors %*% diag(sqrt(pmax(e$values, 0)))
  v <- varimax(L[, 1:f], normalize = TRUE)
})
y <- data(250, 260)
r <- cor(y)
eigen_ms <- time_ms(eigen(r, symmetric = TRUE))
cat(sprintf("50 x 1300: eigen(cor(x)) and varimax of %d factors: %8.1f ms\n", f, extraction_ms))
cat(sprintf("eigen of a 250 x 250 correlation matrix:           %8.1f ms\n", eigen_ms))
