// Method 16, the spectral analysis: the amplitude and phase spectrum of one
// series, or the cross-spectral characteristics of two (cross-amplitude,
// phase, coherence, the two transfer functions, real and imaginary part),
// each segment tapered by one of eleven windows and the spectra of shifted
// segments averaged.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* SpectralCaption = "Спектральный анализ";
inline constexpr const char* SpectralMemory = "q38.ini";
inline constexpr const char* GraphChoiceCaption = "График";
inline constexpr const char* SpectralStepNotice =
    "!ШАГ ВРЕМЕНИ ДОЛЖЕН БЫТЬ ЧИСЛОМ ОТ 1E-290 ДО 1E290!";
inline constexpr const char* SegmentLengthNotice = "!ДЛИНА НЕ ЯВЛЯЕТСЯ ЦЕЛЫМ ЧИСЛОМ!";
inline constexpr const char* SegmentShiftNotice = "!СДВИГ НЕ ЯВЛЯЕТСЯ ЦЕЛЫМ ЧИСЛОМ!";
inline constexpr const char* NoSuchWindowNotice = "!НЕТ ТАКОГО ОКНА!";
inline constexpr const char* NoSuchAveragingNotice = "!НЕТ ТАКОГО УСРЕДНЕНИЯ!";

inline constexpr std::array<const char*, 11> WindowItems = {
    "Нет",           "Ханн      -32дБ", "Хемминг-43дБ", "Блекман-58дБ",
    "Блекман-61дБ",  "Блекман-74дБ",    "Блекман-92дБ", "Кайзер  -46дБ",
    "Кайзер  -57дБ", "Кайзер  -69дБ",   "Кайзер  -82дБ"};
inline constexpr std::array<const char*, 4> AveragingItems = {"Нет", "Линейное", "Экспонен",
                                                              "Пиковое"};

// "Спектральный анализ" with the remembered field texts.
FormDialog SpectralForm(const std::vector<std::string>& remembered);
// "График": the characteristic to draw; the three that need two series are
// disabled for one.
FormDialog GraphChoiceForm(bool twoSeries);

// The power series of the modified Bessel function I0, summed until a term
// falls below 0.001.
double BesselI0(double x);

// The weights of window `window` (0 .. 10) over a segment of `count` values.
std::vector<double> TaperingWindow(int window, int count);

// Where the segments lie in a series of last index N: each holds 2K values
// (last index M = 2K - 1) and they start at the offsets.
struct SegmentPlan {
    int harmonics = 0;  // K
    int step = 0;       // S
    std::vector<int> offsets;
};
SegmentPlan PlanSegments(int lastIndex, int length, int shift);

enum class Averaging { None = 0, Linear = 1, Exponential = 2, Peak = 3 };

// The spectra j = 0 .. K at the frequencies j / (2K·Δ). One series:
// amplitude and phase (degrees). Two series: the amplitudes of X and Y,
// the cross-amplitude C, its phase and the coherence C / (A_X·A_Y) (0
// where an amplitude is 0).
struct SpectrumFigures {
    bool twoSeries = false;
    bool stopped = false;  // the person stopped the segments' work
    int segments = 0;
    std::vector<double> frequencies;
    std::vector<double> amplitude, phase;  // one series: A, P; two: C, Φ
    std::vector<double> amplitudeX, amplitudeY, coherence;
};

// `progress(done, total)` is told about the segments now and then; false
// stops the work.
SpectrumFigures ComputeSpectrum(const std::vector<double>& x, const std::vector<double>& y,
                                bool twoSeries, int window, Averaging averaging, int length,
                                int shift, double step,
                                const std::function<bool(int, int)>& progress = {});

// The characteristic drawn for graph choice 1 .. 7, and its caption.
std::vector<double> Characteristic(const SpectrumFigures& s, int choice);
std::string CharacteristicCaption(int choice);

void SpectralAnalysis(Workspace& ws);

}  // namespace dalvex
