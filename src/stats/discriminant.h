// Method 24, linear discriminant analysis: the last sheet variable holds the
// class numbers 1, 2, ...; the others are the features. The figures (class
// means, the pooled within-class matrix, the Mahalanobis separation, the
// discriminant functions and the classification of every observation) are
// computed from plain vectors; the run writes them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/form_dialog.h"

namespace dalvex {

struct Workspace;

inline constexpr const char* ClassNumberingNotice = "!НЕВЕРНАЯ НУМЕРАЦИЯ КЛАССОВ ИЛИ КЛАССОВ<2!";
inline constexpr const char* FewVariablesNotice = "!ПЕРЕМЕННЫХ < 3!";
inline constexpr const char* ManyVariablesNotice = "!МНОГО ПЕРЕМЕННЫХ!";
inline constexpr const char* TableQuestion =
    "Выдать сокращенную таблицу результатов? Cancel=краткую";

// The classes found: class g + 1 holds the observations whose class value is
// exactly g + 1; counting stops at the first number without members.
std::vector<std::vector<int>> CollectClasses(const std::vector<double>& classValues);

struct ObjectClassification {
    int predicted = 0;        // 1-based class with the largest score
    double distance = 0;      // D² from that class's mean
    double significance = 1;  // ChiSquareTail(D², p)
    double posterior = 0;
};

struct DiscriminantFigures {
    int features = 0;    // p
    int classes = 0;     // G
    int classified = 0;  // n_c
    std::vector<int> sizes;
    std::vector<std::vector<double>> means;  // per class, per feature
    std::vector<double> grandMean;
    std::vector<double> inverse;  // p x p: the pooled covariance inverted
    double separation = 0;        // Q
    double significance = 1;
    // Per class: a0, b1 .. bp.
    std::vector<std::vector<double>> coefficients;
    std::vector<ObjectClassification> objects;  // every observation given
};

// `features[q][i]`: feature q of observation i; `classValues[i]` its class
// value. Nothing when the pooled within-class matrix is singular.
std::optional<DiscriminantFigures> ComputeDiscriminant(
    const std::vector<std::vector<double>>& features, const std::vector<double>& classValues);

// The three-way question of the classification table: short (1), full (2),
// brief (0).
FormDialog TableForm();

void DiscriminantAnalysis(Workspace& ws);

}  // namespace dalvex
