# The computations of probability_bench.cpp timed in R: the binomial table of
# n = 10000 (probabilities, cumulative sums and the formatted lines), and for
# each law its parameters, F at the sorted values, Kolmogorov and
# omega-square over 16000 values. Run: Rscript bench/probability_bench.R
suppressMessages(library(MASS))
time_ms <- function(f, reps = 20) { f(); t <- system.time(for (i in 1:reps) f())[["elapsed"]]; 1000 * t / reps }
table <- function() {
  r <- 0:10000; p <- dbinom(r, 10000, 0.5); cp <- pbinom(r, 10000, 0.5)
  invisible(sprintf("%9s  %9s  %9s", format(r), signif(p, 4), signif(cp, 4)))
}
cat(sprintf("binomial table n = 10000: %.2f ms\n", time_ms(table)))
seed <- 2024; x <- numeric(16000)
for (i in seq_along(x)) { seed <- (seed * 134775813 + 1) %% 4294967296; x[i] <- 0.05 + 0.9 * seed / 4294967296 }
stats <- function(F) { s <- sort(x); n <- length(s); Fi <- F(s); i <- 0:(n - 1)
  c(max(abs(Fi - i / n), abs(Fi - (i + 1) / n)), 1 / (12 * n) + sum((Fi - (2 * i + 1) / (2 * n))^2)) }
m <- mean(x); s <- sd(x)
laws <- list(
  normal = function() stats(function(v) pnorm(v, mean(x), sd(x))),
  exponential = function() stats(function(v) pexp(v, 1 / mean(x))),
  rayleigh = function() { a <- sqrt(mean(x^2)); stats(function(v) 1 - exp(-(v / a)^2)) },
  weibull = function() { f <- fitdistr(x, "weibull")$estimate; stats(function(v) pweibull(v, f[1], f[2])) },
  logistic = function() stats(function(v) plogis(v, mean(x), sd(x) * sqrt(3) / pi)),
  extreme = function() { b <- sd(x) * sqrt(6) / pi; a <- mean(x) + 0.57721 * b; y <- exp((x - a) / b); stats(function(v) pexp(exp((v - a) / b), 1 / mean(y))) },
  erlang = function() { a <- var(x) / mean(x); stats(function(v) pgamma(v, round(mean(x) / a), scale = a)) },
  lognormal = function() { l <- log(x); stats(function(v) plnorm(v, mean(l), sd(l))) },
  gamma = function() { a <- var(x) / mean(x); stats(function(v) pgamma(v, mean(x) / a, scale = a)) },
  beta = function() { m <- mean(x); v <- var(x); f <- m * (1 - m) / v - 1; stats(function(q) pbeta(q, m * f, (1 - m) * f)) })
for (name in names(laws)) cat(sprintf("fit %-12s 16000 values: %.2f ms\n", name, time_ms(laws[[name]], 5)))
