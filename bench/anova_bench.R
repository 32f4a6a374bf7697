# The computations of anova_bench.cpp timed in R, for comparison: the same
# sizes and the same kind of data (sums of uniforms rounded to tenths).
#   Rscript bench/anova_bench.R
set.seed(2024)
value <- function(r, n) round((100 + r + 10 * (runif(n) + runif(n) - 1)) * 10) / 10
time_ms <- function(expr, times = 10) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}

g <- factor(rep(1:10, each = 3000)); y <- unlist(lapply(0:9, function(r) value(r, 3000)))
one <- time_ms(summary(aov(y ~ g)))
kw <- time_ms(kruskal.test(y, g))
m <- matrix(y, ncol = 10)
fr <- time_ms(friedman.test(m))

cell <- rep(0:399, each = 5)
a <- factor(cell %% 20); b <- factor(cell %/% 20)
y2 <- unlist(lapply(0:399, function(r) value(r %% 20 + (r %/% 20) %% 3, 5)))
two <- time_ms(summary(aov(y2 ~ a * b)))

x <- value(0, 16000); i <- 0:15999
yc <- 2 * x + i %% 10 + value(0, 16000) / 10; gc <- factor(i %% 10)
cov <- time_ms(anova(lm(yc ~ x + gc)))

cat(sprintf("one factor, 10 x 3000 (aov):              %7.1f ms\n", one))
cat(sprintf("Kruskal-Wallis, 30000 values:             %7.1f ms\n", kw))
cat(sprintf("Friedman, 10 treatments x 3000 blocks:    %7.1f ms\n", fr))
cat(sprintf("two factors 20 x 20 x 5 (aov):            %7.1f ms\n", two))
cat(sprintf("covariance, 16000 in 10 groups (lm):      %7.1f ms\n", cov))
