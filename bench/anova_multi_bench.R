# The computations of anova_multi_bench.cpp timed in R, for comparison: the
# same sizes and the same kind of data.
#   Rscript bench/anova_multi_bench.R
set.seed(2024)
time_ms <- function(expr, times = 10) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}

n <- 6500
f <- lapply(c(4, 5, 6, 8), function(m) factor(1 + floor(runif(n) * m)))
y <- round((100 + 10 * (runif(n) + runif(n))) * 10) / 10
d <- data.frame(y, A = f[[1]], B = f[[2]], C = f[[3]], D = f[[4]])
ct <- list(A = contr.sum, B = contr.sum, C = contr.sum, D = contr.sum)
multi <- time_ms(drop1(lm(y ~ A + B + C + D, data = d, contrasts = ct), test = "F"))

cat(sprintf("four factors x 6500 (drop1 of lm):        %7.1f ms\n", multi))
