# Kolmogorov-Smirnov test of each random law of the number generator against
# its distribution, on the files generator_ks.txt writes (10 000 draws each,
# fixed seed). Every p-value must stay above 0.001.
laws <- list(
  law3 = function(x) punif(x, 2, 5),
  law4 = function(x) pnorm(x, 1, 2),
  law5 = function(x) pexp(x, rate = 1 / 2),
  law6 = function(x) 1 - exp(-(x / 2)^2),                 # Rayleigh, a = 2
  law7 = function(x) pweibull(x, shape = 1.5, scale = 2),
  law8 = function(x) plogis(x, location = 1, scale = 2),
  law9 = function(x) 1 - exp(-exp((x - 1) / 2)),          # ln|ln U|*b + a
  law10 = function(x) pgamma(x, shape = 3, scale = 2),     # Erlang of order 3
  law11 = function(x) plnorm(x, meanlog = log(2), sdlog = 0.5))
worst <- 1
for (name in names(laws)) {
  x <- read.table(paste0(name, ".txt"), header = TRUE)[[1]]
  p <- suppressWarnings(ks.test(x, laws[[name]])$p.value)
  cat(sprintf("%-6s n=%d  D-test p=%.4f\n", name, length(x), p))
  worst <- min(worst, p)
}
cat(sprintf("smallest p=%.4f %s\n", worst, if (worst > 0.001) "OK" else "FAIL"))
