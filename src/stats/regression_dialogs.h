// The dialogs and questions of simple and stepwise regression, apart from their
// computations, so that a view can show them on their own.
#pragma once

#include "core/form_dialog.h"

namespace dalvex {

inline constexpr const char* ModelDialogCaption = "Регрессия";
inline constexpr const char* ModelDialogMemory = "q33.ini";
inline constexpr const char* InterceptQuestion =
    "Рассчитать модель c свободнsv членом (нет - модель проходит через начало координат)?";
inline constexpr const char* ExcludedNoticeStart = "Исключено наблюдений=";
inline constexpr const char* RegressionForecastHeading = "   Xпрогн   Yпрогн   Ст.ошиб  Довер.инт";
inline constexpr const char* ResidualsOnXQuestion =
    "Выдать график регресс.остатков от независимой переменной?";
inline constexpr const char* ResidualsOnFitQuestion =
    "Выдать график регресс.остатков от регрессионной функции?";
inline constexpr const char* ConstantResponseNotice =
    "!ЗАВИСИМАЯ ПЕРЕМЕННАЯ ПОСТОЯННА - РЕГРЕССИЯ НЕ ОПРЕДЕЛЕНА!";
inline constexpr const char* BadWidthNotice = "!ШИРИНА ОКНА ДОЛЖНА БЫТЬ БОЛЬШЕ НУЛЯ!";
inline constexpr const char* BadConstantNotice = "!КОНСТАНТА НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* BadDegreeNotice = "!СТЕПЕНЬ ПОЛИНОМА - ЦЕЛОЕ ЧИСЛО ОТ 1 ДО 20!";
inline constexpr int MostDegree = 20;
inline constexpr const char* TooLargeNotice = "!ЗНАЧЕНИЯ СЛИШКОМ ВЕЛИКИ ДЛЯ ЭТОЙ МОДЕЛИ!";
inline constexpr const char* SmoothingCaption = "Сглаживание";
inline constexpr const char* SmoothingMemory = "q175.ini";
inline constexpr int SmoothingCode = 24;

// The model dialog "Регрессия": the code pressed (0 cancel) and the degree.
FormDialog ModelDialogForm();

// Stepwise regression's dialog "Селекция переменных" as first shown: the
// thresholds, the tolerance limit, the criterion and the three ways.
inline constexpr const char* SelectionCaption = "Селекция переменных";
inline constexpr const char* SelectionMemory = "q87.ini";
FormDialog SelectionForm();

}  // namespace dalvex
