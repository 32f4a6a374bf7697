// The exact laws behind the distribution routines when the person has chosen
// "Точные вероятности": the same arguments and meanings as the approximate
// routines of distributions.h, computed by Boost.Math's normal, Student,
// Fisher and chi-square distributions. Arguments outside a law's domain raise
// an invalid-operation fault, as the approximations' arithmetic does.
#pragma once

namespace dalvex::exact {

double NormalCdf(double x, double mean, double sd);
double NormalDensity(double x, double mean, double sd);
double NormalTail(double z);
double NormalQuantile(double p);
double FisherTail(double x, double nu1, double nu2);
double FisherQuantile(int nu1, int nu2, double p);
double ChiSquareTail(double x, double nu);
double ChiSquareQuantile(double p, double nu);

}  // namespace dalvex::exact
