# The computations of multiple_regression_bench.cpp timed in R: lm with its
# summary and anova on 9 X by 6500 observations, and the two-way selection
# by F-to-enter 3.84 / F-to-remove 2.71 over 30 X by 2000 observations with
# add1 and drop1 (test = "F") at every step, as the program selects.
#   Rscript bench/multiple_regression_bench.R
set.seed(2024)
# Elapsed and processor time per run: on a machine shared with other work
# the processor time is the one to compare with the benchmark's CPU column.
time_ms <- function(expr, times = 10) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))
  1000 * c(t[["elapsed"]], t[["user.self"]] + t[["sys.self"]]) / times
}
blended <- function(k, n) {
  x <- matrix(0, n, k); y <- numeric(n)
  for (j in 1:k) {
    x[, j] <- (if (j > 1) 0.5 * x[, j - 1] else 0) + runif(n)
    if (j <= k %/% 2) y <- y + j * 0.1 * x[, j]
  }
  d <- as.data.frame(x); d$y <- y + runif(n) - 0.5; d
}
d9 <- blended(9, 6500)
fit9 <- time_ms({ m <- lm(y ~ ., d9); summary(m); anova(m) })
d30 <- blended(30, 2000)
xs <- setdiff(names(d30), "y")
select <- function(d) {
  r <- abs(cor(d[xs], d$y)); mem <- xs[which.max(r)]
  for (s in 1:(4 * length(xs) + 4)) {
    f <- lm(reformulate(mem, "y"), d); out <- setdiff(xs, mem)
    if (!length(out)) break
    a <- add1(f, reformulate(xs), test = "F")[out, ]
    if (max(a[["F value"]]) <= 3.84) break
    mem <- c(mem, out[which.max(a[["F value"]])])
    repeat {
      dr <- drop1(lm(reformulate(mem, "y"), d), test = "F")[mem, ]
      if (length(mem) <= 1 || min(dr[["F value"]]) >= 2.71) break
      mem <- mem[-which.min(dr[["F value"]])]
    }
  }
  mem
}
stepwise <- time_ms(select(d30), times = 3)
cat(sprintf("lm + summary + anova, 9 X by 6500:  %7.1f ms elapsed, %7.1f ms CPU\n", fit9[1], fit9[2]))
cat(sprintf("two-way selection, 30 X by 2000:    %7.1f ms elapsed, %7.1f ms CPU\n", stepwise[1], stepwise[2]))
