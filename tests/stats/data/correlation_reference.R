# Reference values of the correlation and cross-tabulation tests: R with the
# same definitions as the program. Run from this folder: Rscript correlation_reference.R
# The program's own distribution routines written out from their formulas:
# Paulson's approximation of F with the normal tail of A-S 26.2.19, the
# secant search of its quantile, and the normal law of A-S 26.2.16.
normalCdf <- function(z){ e <- -z*z/2; phi <- exp(e)/2.5066283; t <- 1/(1+0.33267*abs(z))
  q <- phi*(0.436184*t-0.120168*t^2+0.937298*t^3); if (z>=0) 1-q else q }
normalTail <- function(z) 1-normalCdf(abs(z))
fisherTail <- function(x, nu1, nu2){
  if (x==0) return(1)
  if (nu1==1) x <- x*x
  y<-x; a<-nu1; b<-nu2
  if (x<1){ y<-1/x; a<-nu2; b<-nu1 }
  A<-2/9/a; B<-2/9/b; root<-y^(1/3)
  z<-abs(root*(1-B)-1+A)/sqrt(y^(2/3)*B+A)
  if (b<4) z<-z*(1+0.08*z^4/b^3)
  poly<-1+0.196854*z+0.115194*z^2+0.000344*z^3+0.019527*z^4
  p<-0.5/poly^4
  if ((x<1 && nu1>1) || (nu1==1 && x<0.5)) p<-1-p
  p }
fisherQuantile <- function(nu1, nu2, p){
  x0<-1.5; p0<-fisherTail(x0,nu1,nu2); x1<-2; best<-x0; gap<-abs(p-p0)
  for (s in 1:500){ p1<-fisherTail(x1,nu1,nu2); d<-p0-p1; x2<- if (d!=0) x1+(p-p1)/d*(x0-x1) else x1
    x0<-x1; p0<-p1; x1<-x2; if (abs(p-p0)<1e-6 || d==0) return(x0)
    if (abs(p-p0)<gap){gap<-abs(p-p0); best<-x0} }
  best }
critical <- function(N, p, lost=2){ t<-fisherQuantile(1,N-lost,p); sqrt(t^2/(t^2+N-lost)) }

for (tt in list(c(-4.3224903164,23), c(8.749412,24), c(-2.56932422,23))) cat("p(t=",tt[1],")=", format(fisherTail(tt[1],1,tt[2]),digits=10), "\n")
cat("p(100, 3) =", fisherTail(100,1,3), "\n")
cat("crit 25 bonf10", format(critical(25,0.005),digits=10), " plain", format(critical(25,0.05),digits=10), " partial", format(critical(25,0.05,3),digits=10), " bonf3", format(critical(25,0.05/3),digits=10),"\n")

d <- read.table("corr.txt", header=TRUE, na.strings="?")
options(digits=7)
pear <- function(x,y){ ok <- complete.cases(x,y); x<-x[ok]; y<-y[ok]; n<-length(x); r<-cor(x,y); t<-r*sqrt((n-2)/(1-r^2)); ct<-cor.test(x,y); c(n=n,r=r,t=t,p=2*pt(-abs(t),n-2), p_ct=ct$p.value)}
print(pear(d$a,d$c))
print(pear(d$a,d$b))
print(pear(d$b,d$c))
print(pear(d$a,d$g))
cat("cor b g:", cor(d$b,d$g), "\n")
M <- cor(d[,c("a","b","c","g","k")], use="pairwise.complete.obs"); print(M, digits=5)
N <- 25; m <- 10
crit <- function(N,p,lost=2){t<-qt(1-p/2,N-lost); sqrt(t^2/(t^2+N-lost))}
cat("crit bonf:", crit(N,0.05/m), " plain:", crit(N,0.05), "\n")
print(sum(abs(M[lower.tri(M)])>=crit(N,0.05/m)))
# three variables a b c
R3 <- cor(d[,c("a","b","c")], use="pairwise.complete.obs")
pc <- function(rij,rik,rjk) (rij-rik*rjk)/sqrt((1-rik^2)*(1-rjk^2))
cat("partial ab.c", pc(R3[1,2],R3[1,3],R3[2,3]), " ac.b", pc(R3[1,3],R3[1,2],R3[3,2]), " bc.a", pc(R3[2,3],R3[2,1],R3[3,1]), "\n")
cat("crit3 bonf:", crit(25,0.05/3), " plain", crit(25,0.05), " partial crit", crit(25,0.05,3), "\n")
# kendall / spearman
ks <- function(x,y){ ok<-complete.cases(x,y); x<-x[ok]; y<-y[ok]; n<-length(x); S<-0
 for(i in 1:(n-1)) for(j in (i+1):n) S<-S+sign((x[i]-x[j])*(y[i]-y[j]))
 tau<-2*S/(n*(n-1)); z<-tau/sqrt((4*n+10)/(9*n*(n-1)))
 rho<-1-6*sum((rank(x)-rank(y))^2)/(n^3-n)
 z2<-1; repeat{ nz<-rho*sqrt(n-1)+0.19*z2*(z2^2-3)/(n-1); done<-abs(nz-z2)<0.001||abs(z2)>10; z2<-nz; if(done)break}
 c(n=n,S=S,tau=tau,z=z,p=pnorm(-abs(z)),rho=rho,zr=z2,pr=pnorm(-abs(z2)), rho_R=cor(x,y,method="spearman"))}
print(ks(d$a,d$b)); print(ks(d$a,d$c)); print(ks(d$b,d$c))

meas <- function(T, correct){
 s<-sum(T); K<-ncol(T); M<-nrow(T)
 cs <- suppressWarnings(chisq.test(T, correct=correct))
 P<-0;Q<-0
 for(r1 in 1:M) for(c1 in 1:K) for(r2 in 1:M) for(c2 in 1:K){ if(r2>r1 && c2>c1) P<-P+T[r1,c1]*T[r2,c2]; if(r2>r1 && c2<c1) Q<-Q+T[r1,c1]*T[r2,c2] }
 Trow<-sum((rowSums(T)^2-rowSums(T^2))/2); Tcol<-sum((colSums(T)^2-colSums(T^2))/2)
 a<-sum(apply(T,1,max)); b<-sum(apply(T,2,max)); Rmax<-max(rowSums(T)); Cmax<-max(colSums(T))
 m<-min(K,M); chi<-unname(cs$statistic)
 x <- rep(col(T), T); y <- rep(row(T), T)
 c(chi=chi, df=unname(cs$parameter), p=cs$p.value, phi=sqrt(chi/s), C=sqrt(chi/(s+chi)), V=sqrt(chi/s/min(K-1,M-1)),
   lsym=(a+b-Rmax-Cmax)/(2*s-Rmax-Cmax), lrow=(a-Cmax)/(s-Cmax), lcol=(b-Rmax)/(s-Rmax),
   P=P,Q=Q,Trow=Trow,Tcol=Tcol, taub=(P-Q)/sqrt((P+Q+Tcol)*(P+Q+Trow)), taub_R=cor(x,y,method="kendall"),
   tauc=2*m*(P-Q)/(s^2*(m-1)), gamma=(P-Q)/(P+Q), dA=(P-Q)/(P+Q+Tcol), dB=(P-Q)/(P+Q+Trow))
}
A <- matrix(c(12,5,3, 8,10,6, 4,9,11, 2,3,14), nrow=4, byrow=TRUE)
print(meas(A, FALSE), digits=7)
print(suppressWarnings(chisq.test(A))$expected)
B <- matrix(c(10,4, 3,12), nrow=2, byrow=TRUE)
print(meas(B, TRUE), digits=7)
cat("uncorrected B:", chisq.test(B, correct=FALSE)$statistic, "\n")
C <- matrix(c(5,5, 5,6), nrow=2, byrow=TRUE)
print(meas(C, TRUE), digits=7)
L <- matrix(c(6,0, 3,3), nrow=2, byrow=TRUE)
print(meas(L, TRUE), digits=7)
# homogeneity and goodness of fit
x <- c(12, 18, 25, 9, 6); y <- c(20, 15, 18, 14, 3)
print(chisq.test(rbind(x,y), correct=FALSE)$statistic); print(chisq.test(rbind(x,y), correct=FALSE)$p.value)
# gof expected 1,5,5 observed 2,4,6 -> merge first into second: (6,6),(6,5) df 1
o <- c(6,6); e <- c(6,5); chi <- sum((o-e)^2/e); cat("gof 1,5,5:", chi, pchisq(chi,1,lower.tail=FALSE), "\n")
# small last class: expected 6,5,4,1.5 observed 5,7,3,3 -> last merged backward: (5,6),(7,5),(6,5.5)
o <- c(5,7,6); e <- c(6,5,5.5); chi <- sum((o-e)^2/e); cat("gof tail:", chi, pchisq(chi,2,lower.tail=FALSE), "\n")
