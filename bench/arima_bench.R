# The computation of arima_bench.cpp timed in R: the same ARMA(1, 1) of 6500
# values (the program's generator seeded with 2718, normal numbers by the
# polar method), fitted by arima(x, c(1, 0, 1)) and by least squares alone.
#   Rscript bench/arima_bench.R
lcg <- local({
  seed <- 2718
  function() {
    lo <- seed %% 65536; hi <- seed %/% 65536
    seed <<- (134775813 * lo + ((134775813 * hi) %% 65536) * 65536 + 1) %% 4294967296
    seed / 4294967296
  }
})
polar <- function() repeat {
  u <- 2 * lcg() - 1; v <- 2 * lcg() - 1; s <- u * u + v * v
  if (s < 1 && s > 0) return(u * sqrt(-2 * log(s) / s))
}
arma11 <- function(n) {
  x <- numeric(n); last <- 0; lastNoise <- 0
  for (t in 1:n) { e <- polar(); last <- 0.6 * last + e + 0.4 * lastNoise; lastNoise <- e; x[t] <- last }
  x
}
x <- arma11(6500)
time_ms <- function(expr, times = 20) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}
cat(sprintf("arima(x, c(1, 0, 1)) on 6500 values:                 %8.1f ms\n", time_ms(arima(x, c(1, 0, 1)))))
cat(sprintf("arima(x, c(1, 0, 1), method = \"CSS\") on 6500 values: %8.1f ms\n",
            time_ms(arima(x, c(1, 0, 1), method = "CSS"))))
print(coef(arima(x, c(1, 0, 1), method = "CSS")))
# The longest series of a sheet column (its first 6500 values are not x: the
# generator goes on from where x ended).
long <- arma11(16000)
cat(sprintf("arima(x, c(1, 0, 1)) on 16000 values:                %8.1f ms\n",
            time_ms(arima(long, c(1, 0, 1)), times = 5)))
