# The computations of correlation_bench.cpp timed in R, for comparison: the
# same sizes and the same kind of data.
#   Rscript bench/correlation_bench.R
set.seed(2024)
time_ms <- function(expr, times = 10) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}
measure <- function(n, common) round((common + runif(n)) * 100) / 10

common <- runif(3000)
m <- sapply(1:20, function(c) measure(3000, common))
matrix_ms <- time_ms({
  r <- cor(m)
  n <- nrow(m); t <- r * sqrt((n - 2) / (1 - r^2)); p <- 2 * pt(-abs(t), n - 2)
})

common <- runif(16000)
x <- measure(16000, common); y <- measure(16000, common)
kendall_ms <- time_ms(cor(x, y, method = "kendall"), times = 3)
spearman_ms <- time_ms(cor(rank(x), rank(y)))

tab <- matrix(floor(1 + 30 * runif(2500)), 50, 50)
crosstab_ms <- time_ms({
  cs <- chisq.test(tab)
  e <- cs$expected; 100 * tab / rowSums(tab); 100 * tab / rep(colSums(tab), each = 50)
})

cat(sprintf("correlation matrix, 20 x 3000 (cor, t, p):        %8.1f ms\n", matrix_ms))
cat(sprintf("Kendall, 2 x 16000 (cor, method = \"kendall\"):     %8.1f ms\n", kendall_ms))
cat(sprintf("Spearman, 2 x 16000 (cor of ranks):                %8.1f ms\n", spearman_ms))
cat(sprintf("contingency table 50 x 50 (chisq.test, percents): %8.1f ms\n", crosstab_ms))
