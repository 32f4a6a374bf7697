// Method 25, cluster analysis: its dialogs (the kind of data, the distance
// measure, the strategy, the projection of the clusters) as forms, and the
// run that asks them, writes the merge list or the clusters, draws the
// dendrogram or the clusters' scatter and saves the cluster numbers. The
// figures come from cluster_analysis.h.
#pragma once

#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "stats/cluster_analysis.h"

namespace dalvex {

struct Workspace;

inline constexpr const char* ClusterDataCaption = "Кластерный анализ";
inline constexpr const char* MeasureCaption = "Мера расстояния";
inline constexpr const char* StrategyCaption = "Стратегия классификации";
inline constexpr const char* ClusterProjectionCaption = "Проекция кластеров";

inline constexpr const char* TooManyItemsNotice = "!МНОГО ПЕРЕМЕННЫХ ИЛИ ИЗМЕРЕНИЙ!";
inline constexpr const char* ZeroVarianceNotice = "!ДИСПЕРСИЯ=0 ДЛЯ НЕКОТОРОЙ ПЕРЕМЕННОЙ!";
inline constexpr const char* BetaNotice = "!BETA НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* ClusterCountNotice = "!ЧИСЛО КЛАСТЕРОВ НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* ClusteringStoppedNotice = "!ВЫЧИСЛЕНИЯ ПРЕРВАНЫ!";

// The most items a triangle of distances holds in the store's 65 000 cells.
inline constexpr int MaxClusterItems = 361;
// The most attributes an item may have.
inline constexpr int MaxClusterAttributes = 256;

// `Tqq78`: raw data (1), a distance matrix (2), a similarity matrix (3).
FormDialog ClusterDataForm();
// `Tqq79`: the thirteen measures (answers as DistanceMeasure) and the
// binary formula, remembered in "q79.ini".
FormDialog MeasureForm();
// `Tqq76`: the strategies (answers as Strategy), β and the number of
// clusters, remembered in "q76.ini".
FormDialog StrategyForm();

// The measure's caption in the report's title line ("Эвклид").
std::string MeasureTitle(DistanceMeasure measure);
// The strategy's caption ("+Ближ.сосед").
std::string StrategyTitle(Strategy strategy);

// The number of clusters a person asked for: |value| cut to at most half
// the items (and at least 2).
int ClusterCount(double asked, int items);

// The whole method from its first dialog.
void ClusterAnalysis(Workspace& ws);

}  // namespace dalvex
