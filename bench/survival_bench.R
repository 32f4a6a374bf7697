# The computations of survival_bench.cpp timed in R, for comparison: two
# groups of 16000 times (whole days, counts 1 or 2, a fifth censored)
# expanded to records, Kaplan-Meier of each with Greenwood's errors and the
# log-rank test; and the cumulative sums of 16000 values.
#   Rscript bench/survival_bench.R
library(survival)
set.seed(2024)
time_ms <- function(expr, times = 10) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}
group <- function(scale) {
  t <- round(1000 * runif(16000) * scale)
  count <- ifelse(runif(16000) < 0.5, 1, 2)
  count <- ifelse(runif(16000) < 0.2, -count, count)
  data.frame(t = t, c = count)
}
g1 <- group(1); g2 <- group(1.2)
survival <- time_ms({
  records <- rbind(
    data.frame(time = rep(g1$t, abs(g1$c)), status = rep(g1$c > 0, abs(g1$c)), g = 1),
    data.frame(time = rep(g2$t, abs(g2$c)), status = rep(g2$c > 0, abs(g2$c)), g = 2))
  s1 <- summary(survfit(Surv(time, status) ~ 1, data = records[records$g == 1, ]), censored = TRUE)
  s2 <- summary(survfit(Surv(time, status) ~ 1, data = records[records$g == 2, ]), censored = TRUE)
  survdiff(Surv(time, status) ~ g, data = records)
})
y <- 10 + runif(16000)
sequential <- time_ms(for (k in 1:1) { s <- cumsum(y - 10); h <- log(99) * ((10 + 1) / 10)^2 })
cat(sprintf("Kaplan-Meier and log-rank, 2 x 16000: %7.1f ms\n", survival))
cat(sprintf("cumulative sums, 16000:               %7.2f ms\n", sequential))
