# The computations of two_sample_bench.cpp timed in R, for comparison: the
# same sizes and the same kind of data (sums of uniforms rounded to tenths).
#   Rscript bench/two_sample_bench.R
set.seed(2024)
column <- function(c, n) round((100 + c + 10 * (runif(n) + runif(n) - 1)) * 10) / 10
time_ms <- function(expr, times = 10) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}

x <- column(1, 16000); y <- column(2, 16000)
shift <- time_ms({
  wilcox.test(x, y, exact = FALSE, correct = FALSE)
  r <- rank(c(x, y)); n <- length(r)
  s <- sum(qnorm(r[seq_along(x)] / (n + 1)))          # van der Waerden
  wilcox.test(x, y, paired = TRUE, exact = FALSE, correct = FALSE)
  d <- x - y; binom.test(sum(d > 0), sum(d != 0))      # signs
})
smirnov <- time_ms(suppressWarnings(ks.test(x, y, exact = FALSE)))

v <- lapply(1:20, function(c) column(c, 3250))
student <- time_ms({
  for (i in 1:19) for (j in (i + 1):20) {
    f <- var.test(v[[i]], v[[j]])
    t.test(v[[i]], v[[j]], var.equal = f$p.value / 2 > 0.05)
    t.test(v[[i]], v[[j]], paired = TRUE)
  }
}, times = 3)

cat(sprintf("shift tests, 2 x 16000 (with the paired tests): %7.1f ms\n", shift))
cat(sprintf("Smirnov, 2 x 16000:                             %7.1f ms\n", smirnov))
cat(sprintf("Student and Fisher, 190 pairs of 20 x 3250:     %7.1f ms\n", student))
