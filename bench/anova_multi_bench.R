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

# One within factor of 8 levels, two between factors of 2 levels, 50
# subjects a group; the Greenhouse-Geisser and Huynh-Feldt epsilons of the
# mlm of the subjects' rows as well.
n <- 50; groups <- 4
subject <- 10 * runif(n * groups)
d2 <- expand.grid(i = 1:n, A = 0:7, g = 0:(groups - 1))
d2$y <- round((100 + d2$A + subject[d2$i + n * d2$g] +
               (1 + 0.2 * d2$A) * (runif(nrow(d2)) + runif(nrow(d2)))) * 10) / 10
d2$s <- factor(d2$i + n * d2$g); d2$B <- factor(d2$g %% 2); d2$C <- factor(d2$g %/% 2)
d2$A <- factor(d2$A)
Y <- matrix(d2$y[order(d2$s, d2$A)], ncol = 8, byrow = TRUE)
gB <- factor(rep(0:3, each = n) %% 2); gC <- factor(rep(0:3, each = n) %/% 2)
split <- time_ms({
  summary(aov(y ~ A * B * C + Error(s / A), data = d2))
  anova(lm(Y ~ gB * gC), X = ~1, test = "Spherical")
})

cat(sprintf("four factors x 6500 (drop1 of lm):        %7.1f ms\n", multi))
cat(sprintf("1 within x 2 between, 200 x 8 (aov, mlm): %7.1f ms\n", split))
