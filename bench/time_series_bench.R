# The computations of time_series_bench.cpp timed in R, for comparison: the
# same sizes and the same kind of data.
#   Rscript bench/time_series_bench.R
set.seed(2024)
time_ms <- function(expr, times = 10) {
  t <- system.time(for (i in seq_len(times)) eval.parent(substitute(expr)))[["elapsed"]]
  1000 * t / times
}
n <- 16000
x <- 100 + sin(2 * pi * (0:(n - 1)) / 50) + runif(n)
y <- 100 + sin(2 * pi * ((0:(n - 1)) - 3) / 50) + runif(n)

acf_ms <- time_ms(acf(x, lag.max = n - 8, plot = FALSE))
frag_ms <- time_ms({
  f <- x[1:100]
  sapply(0:(n - 100), function(i) cor(f, y[(i + 1):(i + 100)]))
}, times = 2)
hann <- function(m) 0.5 - 0.5 * cos(2 * pi * (0:(m - 1)) / (m - 1))
spec_ms <- time_ms({
  f <- fft(x * hann(n)); Mod(f[1:(n / 2 + 1)]) / (n / 2); Arg(f[1:(n / 2 + 1)])
})
pgram_ms <- time_ms(spec.pgram(x, taper = 0.1, plot = FALSE))
bh92 <- function(m) { k <- 2 * pi * (0:(m - 1)) / (m - 1)
  0.35875 - 0.48829 * cos(k) + 0.14128 * cos(2 * k) - 0.01168 * cos(3 * k) }
cross_ms <- time_ms({
  w <- bh92(1024); offs <- seq(0, n - 1024, by = 512)
  cr <- 0; px <- 0; py <- 0
  for (o in offs) { fx <- fft(x[o + 1:1024] * w)[1:513]; fy <- fft(y[o + 1:1024] * w)[1:513]
    cr <- cr + Conj(fx) * fy; px <- px + Mod(fx)^2; py <- py + Mod(fy)^2 }
  Mod(cr) / sqrt(px * py)
})
every_ms <- time_ms({
  w <- hann(256); acc <- 0
  for (o in 0:(n - 256)) acc <- acc + Mod(fft(x[o + 1:256] * w)[1:129])
  acc / (n - 255)
}, times = 1)

cat(sprintf("acf, 16000 values, lags 0..15992:                     %8.1f ms\n", acf_ms))
cat(sprintf("fragment of 100 against 2 x 16000 (cor per window):   %8.1f ms\n", frag_ms))
cat(sprintf("amplitude and phase of 16000 values, Hann (fft):      %8.1f ms\n", spec_ms))
cat(sprintf("spec.pgram(x, taper = 0.1), 16000 values:             %8.1f ms\n", pgram_ms))
cat(sprintf("cross-spectrum, 30 segments of 1024, coherence (fft): %8.1f ms\n", cross_ms))
cat(sprintf("averaged spectrum, 15745 segments of 256 (fft):       %8.1f ms\n", every_ms))
