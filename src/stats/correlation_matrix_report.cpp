#include "stats/correlation_matrix_report.h"

#include <algorithm>
#include <cmath>

#include "core/number.h"
#include "core/workspace.h"
#include "dispatch/method_kit.h"

namespace dalvex {

void PrintCorrelationMatrix(Workspace& ws, const std::vector<std::string>& names,
                            const std::vector<double>& correlations, double threshold) {
    const int k = static_cast<int>(names.size());
    WriteResult(ws, "");
    WriteResult(ws, "                    Корреляционная матрица");
    for (int first = 0; first < k; first += 11) {
        const int last = std::min(k, first + 11);
        std::string header(9, ' ');
        for (int j = first; j < last; ++j)
            header += NameField(names[j]);
        WriteResult(ws, header);
        for (int i = first + 1; i < k; ++i) {
            std::string line = NameField(names[i]);
            for (int j = first; j < last && j < i; ++j) {
                const double r = correlations[i * k + j];
                line += std::fabs(r) > threshold ? Field(ws, r) : std::string(9, ' ');
            }
            WriteResult(ws, line);
        }
        WriteResult(ws, " ");
    }
}

void ReportCorrelationMatrix(Workspace& ws, const std::vector<std::string>& names,
                             const CorrelationMatrixFigures& f, double threshold) {
    switch (f.kind) {
        case MatrixKind::Given:
            return;
        case MatrixKind::Pearson:
        case MatrixKind::Covariance: {
            if (!AskYesNo(ws, MeansAndMatrixQuestion))
                return;
            WriteResult(ws, "Переменная   Среднее  Ст.отклон.");
            for (int i = 0; i < f.size; ++i)
                WriteFigureRow(ws, names[i], {f.means[i], f.deviations[i]});
            PrintCorrelationMatrix(ws, names, f.correlations, threshold);
            WriteResult(ws, " Критичeское значение=" +
                                FormatNumber(f.critical, ws.digits(), ws.decimalSeparator()));
            const int pairs = f.size * f.size - f.size;
            WriteResult(ws, " Число значимых коэффициентов=" + std::to_string(f.significant) +
                                " (" + std::to_string(200 * f.significant / pairs) + "%)");
            return;
        }
        default:
            if (AskYesNo(ws, MatrixQuestion))
                PrintCorrelationMatrix(ws, names, f.correlations, threshold);
    }
}

}  // namespace dalvex
