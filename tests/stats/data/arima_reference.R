# The series of arima_test.cpp and their expected figures, computed with R's own
# routines (Rscript arima_reference.R in a scratch folder writes the series
# and prints the figures).
set.seed(2718)
ar1 <- as.numeric(arima.sim(list(ar = 0.7), n = 2000)) + 10
arma11 <- as.numeric(arima.sim(list(ar = 0.6, ma = 0.4), n = 500))
ari <- cumsum(as.numeric(arima.sim(list(ar = 0.5), n = 300)) + 0.3) + 100
wn <- rnorm(200)
w <- function(x, f) writeLines(formatC(x, digits = 12, format = "g"), f)
w(round(ar1), "arima_rounded.txt")  # ties
set.seed(31)
nearunit <- as.numeric(arima.sim(list(ar = 0.995), n = 1000)) + 50
w(nearunit, "arima_nearunit.txt")
w(ar1, "arima_ar1.txt"); w(arma11, "arima_arma11.txt"); w(ari, "arima_ari.txt"); w(wn, "arima_noise.txt")

# Independent figures for the ARIMA tests, by the definitions of the method.
nq <- function(p) { # the program's approximate normal quantile (centre branch)
  d <- abs(1 - 2*p); s <- sign(1 - 2*p); e <- d^2
  U <- e - 1.188; V <- e - 2.375 - 0.05496/U; W <- e - 3.293 - 1.897/V
  r <- d*(1 - 0.1137 - 0.5751*e/W); -sqrt(2)*s*r }
acov <- function(x, L) { n <- length(x); xc <- x - mean(x); sapply(0:L, function(k) sum(xc[1:(n-k)]*xc[(1+k):n])/n) }
resid_arma <- function(z, phi, theta) { n <- length(z); p <- length(phi); q <- length(theta); e <- numeric(n)
  t0 <- max(p, q); for (t in (t0+1):n) { v <- z[t]; if (p) for (i in 1:p) v <- v - phi[i]*z[t-i]
    if (q) for (j in 1:q) v <- v + theta[j]*e[t-j]; e[t] <- v }; e }
report <- function(name, x, p, q, d, h = 5) {
  cat("==", name, "\n")
  w <- if (d) diff(x, differences = d) else x
  n <- length(w); mu <- mean(w); wc <- w - mu
  fit <- arima(wc, order = c(p, 0, q), method = "CSS", include.mean = FALSE, n.cond = max(p, q))
  phi <- if (p) coef(fit)[1:p] else numeric(0); theta <- if (q) -coef(fit)[p + 1:q] else numeric(0)
  S <- fit$sigma2 * (n - max(p, q))
  cat("CSS phi", format(phi, digits = 10), "theta", format(theta, digits = 10), "sigma2(S/n)", format(S/n, digits = 10), "\n")
  poly <- c(1, -phi); for (k in seq_len(d)) poly <- c(poly, 0) - c(0, poly); A <- -poly[-1]
  a0 <- (1 - sum(phi)) * mu
  cat("a0", format(a0, digits = 10), "A", format(A, digits = 10), "\n")
  psi <- ARMAtoMA(ar = A, ma = -theta, lag.max = h)
  cat("psi", format(psi, digits = 10), "\n")
  Tn <- p + q + d + 21; tail <- tail(x, Tn); P <- length(A); et <- numeric(Tn)
  for (t in (P+1):Tn) { v <- tail[t] - a0; if (P) for (k in 1:P) v <- v - A[k]*tail[t-k]
    if (q) for (j in 1:q) if (t - j >= 1) v <- v + theta[j]*et[t-j]; et[t] <- v }
  sig <- sqrt(sum(et^2)/Tn); z <- nq(1 - 0.05/2)
  se <- sig * sqrt(1 + c(0, cumsum(psi^2))[1:h])
  ext <- tail; for (j in 1:h) { t <- Tn + j; v <- a0; if (P) for (k in 1:P) v <- v + A[k]*ext[t-k]
    if (q) for (k in j:q) if (k >= j && k <= q) v <- v - theta[k]*et[t-k]; ext <- c(ext, v) }
  cat("sigmaTail", format(sig, digits = 10), "z", format(z, digits = 10), "\n")
  cat("se", format(se, digits = 10), "\n"); cat("mean", format(tail(ext, h), digits = 10), "\n")
  e <- resid_arma(wc, phi, theta)[(max(p, q) + 1):n]; m <- length(e)
  r <- sum(diff(e)^2)/2/(sum(e^2) - sum(e)^2/m)
  cat("DW r", format(r, digits = 10), "sig", format(2*(1 - pnorm(sqrt(m + 2)*abs(r - 1))), digits = 10), "\n")
}
# The first candidate's moment estimates and its portmanteau statistic.
portmanteau <- function(name, x, p, q, d) {
  w <- if (d) diff(x, differences = d) else x; n <- length(w); wc <- w - mean(w)
  r <- acov(w, p + q + 4); r <- r / r[1]
  phi <- if (p == 1) r[q + 2]/r[q + 1] else if (p > 1) solve(toeplitz(r[1:(p+q)])[(q+1):(q+p), 1:p] * 0 +
     outer(1:p, 1:p, function(i, j) r[abs(q + i - j) + 1]), r[q + 1 + 1:p]) else numeric(0)
  theta <- numeric(0)
  if (q == 1) { wt <- c(-1, phi); g <- sapply(0:1, function(k) sum(outer(seq_along(wt), seq_along(wt), function(i, j) wt[i]*wt[j]*r[abs(k + i - j) + 1])))
    t0 <- sqrt((g[1] + sqrt(g[1]^2 - 4*g[2]^2))/2); t1 <- g[2]/t0; theta <- -t1/t0 }
  e <- resid_arma(wc, phi, theta); K <- n %/% 10; L <- p + q + K
  Q <- Box.test(e, lag = L, type = "Box-Pierce", fitdf = p + q)$statistic * (n - d)/n
  cat("==", name, "candidate", p, q, d, "phi", format(phi, digits = 10), "theta", format(theta, digits = 10),
      "Q", format(Q, digits = 10), "df", K, "\n")
}
rd <- function(f) scan(f, quiet = TRUE)
ar1 <- rd("arima_ar1.txt"); arma <- rd("arima_arma11.txt"); ari <- rd("arima_ari.txt"); wn <- rd("arima_noise.txt")
pa <- acf(ar1, lag.max = 50, type = "partial", plot = FALSE)$acf[, 1, 1]
cat("pacf ar1", format(pa[1:5], digits = 10), "\n")
yw <- ar.yw(ar1, aic = FALSE, order.max = 3, demean = TRUE)
cat("ar.yw(3)", format(yw$ar, digits = 10), "var.pred", format(yw$var.pred, digits = 10), "\n")
portmanteau("ar1", ar1, 1, 0, 0); report("ar1", ar1, 1, 0, 0)
portmanteau("arma11", arma, 1, 1, 0); report("arma11", arma, 1, 1, 0)
portmanteau("ari", ari, 1, 0, 1); report("ari", ari, 1, 0, 1)
portmanteau("noise", wn, 1, 0, 0); report("noise", wn, 1, 0, 0)
rounded <- rd("arima_rounded.txt"); nu <- rd("arima_nearunit.txt")
portmanteau("rounded", rounded, 1, 0, 0); report("rounded", rounded, 1, 0, 0)
portmanteau("nearunit", nu, 1, 0, 0); report("nearunit", nu, 1, 0, 0)
