// Method 27, multidimensional scaling: its dialogs (the method with the
// dimension, the metric of the non-metric solutions) as forms, and the run
// that reads the distance matrix, writes the classical solution and, method
// after method, the coordinates, stresses and correlations with the
// configuration graph. The figures come from scaling.h.
#pragma once

#include <string>

#include "core/form_dialog.h"
#include "stats/scaling.h"

namespace dalvex {

struct Workspace;

inline constexpr const char* ScalingMethodCaption = "Методы шкалирования";
inline constexpr const char* ScalingMetricCaption = "Метрика";
inline constexpr const char* ScalingStoppedNotice = "!ВЫЧИСЛЕНИЯ ПРЕРВАНЫ!";
inline constexpr const char* NegativeEigenvaluesNotice =
    "!ОТРИЦАТЕЛЬНЫЕ СОБСТВЕННЫЕ ЗНАЧЕНИЯ ЗАМЕНЕНЫ НУЛЯМИ!";
inline constexpr const char* ZeroDistancesNotice = "!ВСЕ РАССТОЯНИЯ РАВНЫ 0!";
inline constexpr const char* ExponentNotice = "!ПОКАЗАТЕЛЬ СТЕПЕНИ МЕТРИКИ НЕ ЧИСЛО ОТ 1 ДО 100!";
inline constexpr const char* WeightsNotice = "!ВЕСА МЕТРИКИ НЕ ЯВЛЯЮТСЯ НЕОТРИЦАТЕЛЬНЫМИ ЧИСЛАМИ!";
std::string IterationCapNotice(int cap);
// "!2 > ПЕРЕМЕННЫХ > 126!"
std::string ScalingSizeNotice();

// The most objects a run takes: half the side of the square matrices.
inline constexpr int MaxScalingObjects = 126;

// `Tqq171`: Torgerson (1), the Kruskal stresses (2 .. 4), Gower's (5), the
// end (0); the dimension of the space.
FormDialog ScalingMethodForm();
// `Tqq170`: the four metrics (answers as Metric), the exponent and the
// weights.
FormDialog ScalingMetricForm();

// The dimension asked: a whole number 1 .. objects, anything else 2.
int ScalingDimension(const std::string& text, int objects);

void MultidimensionalScaling(Workspace& ws);

}  // namespace dalvex
