// Method 18, ARIMA models: the order scan's graphs, the parameter dialog
// `Tqq251`, the search's lines, the coefficients, the forecast table, the
// Durbin-Watson line and the graphs offered along the way. The figures come
// from arima.h.
#pragma once

#include "core/form_dialog.h"
#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* ArimaNotApplicableNotice = "!МЕТОД НЕПРИМЕНИМ ПРИ ТАКИХ ПАРАМЕТРАХ!";
inline constexpr const char* ArimaLongSeriesNotice =
    "ВНИМАНИЕ! Длинный временной ряд, число шагов прогноза не более ";
inline constexpr const char* ArimaIterationLimitNotice = "!ПРЕВЫШЕН ЛИМИТ ИТЕРАЦИЙ!";
// The time fields must be numbers whose times stay finite.
inline constexpr const char* ArimaTimeNotice =
    "!НАЧАЛЬНОЕ ВРЕМЯ И ВРЕМЕННОЙ ШАГ - ЧИСЛА НЕ БОЛЕЕ 1E100 ПО МОДУЛЮ!";
inline constexpr const char* ArimaConstantNotice =
    "!ВРЕМЕННОЙ РЯД ПОСТОЯНЕН - ARIMA-МОДЕЛЬ НЕ ОПРЕДЕЛЕНА!";
inline constexpr const char* ArimaNoModelNotice = "!НИ ОДНУ МОДЕЛЬ ОКРЕСТНОСТИ НЕ УДАЛОСЬ ОЦЕНИТЬ!";
inline constexpr const char* ArimaConstantResidualsNotice =
    "!ОСТАТКИ ПОСТОЯННЫ - КРИТЕРИЙ ДУРБИНА-ВАТСОНА НЕ ОПРЕДЕЛЕН!";
inline constexpr const char* ArimaSearchProgress = "Поиск ARIMA-модели";
inline constexpr const char* ArimaRefinementProgress = "Уточнение коэффициентов ARIMA-модели";

inline constexpr const char* PredictionErrorQuestion =
    "Выдать график ошибки прогноза от числа параметров AR-модели?";
inline constexpr const char* PartialAutocorrelationQuestion =
    "Выдать график частной автокорреляционной функции?";
inline constexpr const char* ForecastBandQuestion =
    "Выдать график врем.ряда с зоной ARIMA-прогнозa?";
inline constexpr const char* ForecastPathsQuestion = "Выдать график врем.ряда с тремя прогнозами?";
inline constexpr const char* ArimaResidualsQuestion = "Выдать график распределения ARIMA-остатков?";

inline constexpr const char* ArHeading =
    "       а0       a1       a2       a3       a4       a5       a6       a7";
inline constexpr const char* MaHeading =
    "      Шум       b1       b2       b3       b4       b5       b6       b7";
inline constexpr const char* ForecastHeading =
    "    Время Ср.прогн  Ст.ошиб Довер.инт  Прогн1   Прогн2   Прогн3";

// `Tqq251`: p, q, d, the forecast steps, the start time and the time step,
// remembered in "q251.ini".
FormDialog Tqq251Form();

// Method 18 on DataMatrix row 0 as the dispatcher loaded it.
void ArimaModel(Workspace& ws);

}  // namespace dalvex
