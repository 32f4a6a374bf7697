#include "stats/statistics_methods.h"

#include <memory>

#include "stats/anova.h"
#include "stats/anova_multi_factor.h"
#include "stats/anova_repeated.h"
#include "stats/arima_report.h"
#include "stats/cluster_report.h"
#include "stats/correlation_report.h"
#include "stats/covariance_analysis.h"
#include "stats/cross_tabulation.h"
#include "stats/descriptive.h"
#include "stats/discriminant.h"
#include "stats/factor_report.h"
#include "stats/fourier_model.h"
#include "stats/frequencies.h"
#include "stats/goodness_of_fit.h"
#include "stats/multiple_regression.h"
#include "stats/nonlinear_regression.h"
#include "stats/pairwise_run.h"
#include "stats/probability_calculator.h"
#include "stats/quality_control.h"
#include "stats/scaling_report.h"
#include "stats/simple_regression.h"
#include "stats/smoothing.h"
#include "stats/spectral_analysis.h"
#include "stats/stepwise_regression.h"
#include "stats/survival.h"
#include "stats/time_series_correlation.h"
#include "stats/two_regressions.h"
#include "stats/two_sample_report.h"

namespace dalvex {

namespace {

// The pairwise runs load each pair as the method table says.
Missing PairMissing(const MethodRun& run) {
    return run.listwise ? Missing::Listwise : Missing::PerRow;
}

}  // namespace

void RegisterStatisticsMethods(MethodRegistry& registry) {
    // Methods 11, 12, 17 and 36 also pass their choice dialog.
    registry.Add(1, [](MethodRun& run) { DescriptiveStatistics(run.ws); });
    registry.Add(2, [](MethodRun& run) { HistogramNormality(run.ws); });
    registry.Add(3, [](MethodRun& run) { CorrelationMethod(run.ws, PairMissing(run)); });
    registry.Add(4, [](MethodRun& run) {
        PairwiseRun(run.ws, run.mode, PairMissing(run), StudentFisherPair);
    });
    for (int method : {6, 7, 8})
        registry.Add(method, [](MethodRun& run) {
            PairwiseRun(run.ws, run.mode, PairMissing(run), RankTestsPair);
        });
    registry.Add(5, [](MethodRun& run) { ChiSquareMethod(run.ws, PairMissing(run)); });
    registry.Add(9, [](MethodRun& run) { RankCorrelationMethod(run.ws, PairMissing(run)); });
    registry.Add(10, [](MethodRun& run) { CrossTabulation(run.ws); });
    registry.Add(
        11, [](MethodRun& run) { OneFactorAnalysis(run.ws, run.answer); }, OneFactorChoice);
    registry.Add(
        12, [](MethodRun& run) { TwoFactorAnalysis(run.ws, run.answer); }, TwoFactorChoice);
    registry.Add(13, [](MethodRun& run) { MultiFactorAnova(run.ws); });
    registry.Add(14, [](MethodRun& run) { CovarianceAnalysis(run.ws); });
    registry.Add(
        36, [](MethodRun& run) { GroupAnalysisMethod(run.ws, run.answer); }, GroupDesignChoice);
    registry.Add(
        20, [](MethodRun& run) { SimpleRegressionMethod(run.ws, run.mode, PairMissing(run)); });
    registry.Add(19, [](MethodRun& run) { TwoRegressions(run.ws); });
    registry.Add(21, [](MethodRun& run) { MultipleRegression(run.ws); });
    registry.Add(22, [](MethodRun& run) { StepwiseRegression(run.ws); });
    registry.Add(23, [](MethodRun& run) { GeneralModel(run.ws); });
    registry.Add(24, [](MethodRun& run) { DiscriminantAnalysis(run.ws); });
    registry.Add(25, [](MethodRun& run) { ClusterAnalysis(run.ws); });
    registry.Add(26, [](MethodRun& run) { FactorAnalysis(run.ws); });
    registry.Add(15, [](MethodRun& run) { CorrelationFunction(run.ws); });
    registry.Add(16, [](MethodRun& run) { SpectralAnalysis(run.ws); });
    // The smoothing dialog's answer and fields pass from its choice to the routine.
    auto smoothing = std::make_shared<SmoothingOptions>();
    registry.Add(
        17, [smoothing](MethodRun& run) { SmoothSeriesMethod(run.ws, *smoothing); },
        [smoothing](Workspace& ws) { return AskSmoothing(ws, *smoothing); });
    registry.Add(35, [](MethodRun& run) { FourierModel(run.ws); });
    registry.Add(18, [](MethodRun& run) { ArimaModel(run.ws); });
    registry.Add(27, [](MethodRun& run) { MultidimensionalScaling(run.ws); });
    registry.Add(28, [](MethodRun& run) { ProbabilityCalculator(run.ws); });
    registry.Add(29, [](MethodRun& run) { GoodnessOfFit(run.ws); });
    registry.Add(30, [](MethodRun& run) { CompareFrequencies(run.ws); });
    registry.Add(31, [](MethodRun& run) { SequentialAnalysis(run.ws); });
    for (int method : {32, 33, 34})
        registry.Add(method, [](MethodRun& run) { QualityControl(run.ws, run.mode); });
    registry.Add(37, [](MethodRun& run) { SurvivalAnalysis(run.ws, run.dataFile); });
}

MethodRegistry BuiltStatisticsMethods() {
    MethodRegistry registry;
    RegisterStatisticsMethods(registry);
    return registry;
}

}  // namespace dalvex
