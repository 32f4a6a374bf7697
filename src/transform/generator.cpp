#include "transform/generator.h"

#include <array>
#include <cmath>

#include "core/workspace.h"
#include "numeric/basic.h"
#include "numeric/progression.h"

namespace dalvex {

double NextUniform(Workspace& ws) {
    ws.RandomSeed = ws.RandomSeed * 134775813u + 1u;
    return ws.RandomSeed * (1.0 / 4294967296.0);
}

double NextOpenUniform(Workspace& ws) {
    double u = 0.0;
    while (u == 0.0)
        u = NextUniform(ws);
    return u;
}

double NextNormal(Workspace& ws) {
    double v1 = 0.0;
    double s = 1.0;
    while (s >= 1.0 || s == 0.0) {
        NextUniform(ws);  // the first of three draws is not used
        v1 = 2.0 * NextUniform(ws) - 1.0;
        const double v2 = 2.0 * NextUniform(ws) - 1.0;
        s = v1 * v1 + v2 * v2;
    }
    return v1 * std::sqrt(-2.0 * std::log(s) / s);
}

const std::string& GeneratorLawButton(int number) {
    static const std::array<std::string, GeneratorLawCount> buttons = {
        "&1=арифм.прогрессия", "&2=по формуле", "&3=равномерное",   "&4=нормальное",
        "&5=экспоненциальное", "&6=Релея",      "&7=Вейбулла",      "&8=логистическое",
        "&9=экстрем.значений", "&A=Эрланга",    "&B=логнормальное",
    };
    static const std::string none;
    if (number < 1 || number > GeneratorLawCount)
        return none;
    return buttons[static_cast<std::size_t>(number - 1)];
}

std::vector<double> GenerateValues(Workspace& ws, GeneratorLaw law, int n, double a, double b) {
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(n > 0 ? n : 0));
    const long erlangOrder = static_cast<long>(std::trunc(b));
    for (int i = 0; i < n; ++i) {
        double v = 0.0;
        switch (law) {
            case GeneratorLaw::Progression:
            case GeneratorLaw::Formula:
                v = ProgressionTerm(a, b, i);
                break;
            case GeneratorLaw::Uniform:
                v = a + NextUniform(ws) * (b - a);
                break;
            case GeneratorLaw::Normal:
                v = NextNormal(ws) * b + a;
                break;
            case GeneratorLaw::Exponential:
                v = -std::log(NextOpenUniform(ws)) * a;
                break;
            case GeneratorLaw::Rayleigh:
                v = a * std::sqrt(-std::log(NextOpenUniform(ws)));
                break;
            case GeneratorLaw::Weibull:
                v = a * Power(-std::log(NextOpenUniform(ws)), 1.0 / b);
                break;
            case GeneratorLaw::Logistic: {
                const double u = NextOpenUniform(ws);
                v = std::log(u / (1.0 - u)) * b + a;
                break;
            }
            case GeneratorLaw::ExtremeValue:
                v = std::log(std::fabs(std::log(NextOpenUniform(ws)))) * b + a;
                break;
            case GeneratorLaw::Erlang: {
                // A sum of logarithms: a product of many draws would underflow to 0.
                double sum = 0.0;
                for (long k = 0; k < erlangOrder; ++k)
                    sum += std::log(NextOpenUniform(ws));
                v = -sum * a;
                if (v == 0.0)
                    v = 0.0;  // no negative zero
                break;
            }
            case GeneratorLaw::Lognormal:
                v = std::exp(NextNormal(ws) * b) * a;
                break;
        }
        values.push_back(v);
    }
    return values;
}

}  // namespace dalvex
