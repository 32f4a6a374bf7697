# The computations of multivariate_bench.cpp timed in R, for comparison: the
# same sizes and the same kind of data.
#   Rscript bench/multivariate_bench.R
suppressMessages({library(cluster); library(MASS)})
set.seed(2024)
time_ms <- function(expr, times = 10) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}
clouds <- function(n, a, g) {
  i <- 0:(n - 1)
  sapply(0:(a - 1), function(j) 3 * ((i %% g) == (j %% g)) + runif(n))
}
x <- clouds(250, 20, 5)
y <- clouds(361, 20, 5)
z <- clouds(6500, 9, 3)
cl <- factor(0:6499 %% 3 + 1)
d <- dist(x)
cat(sprintf("hclust(dist(x), 'ward.D2'), 250 x 20:    %8.2f ms\n", time_ms(hclust(dist(x), "ward.D2"))))
cat(sprintf("hclust(dist(y), 'single'), 361 x 20:     %8.2f ms\n", time_ms(hclust(dist(y), "single"))))
cat(sprintf("pam(dist(x), 5), 250 objects:            %8.2f ms\n", time_ms(pam(d, 5))))
cat(sprintf("lda + predict, 6500 x 9, 3 classes:      %8.2f ms\n",
            time_ms(predict(lda(z, cl, prior = rep(1/3, 3)), z))))
cat(sprintf("cmdscale(dist(x), k = 2), 250 objects:   %8.2f ms\n", time_ms(cmdscale(d, k = 2))))
