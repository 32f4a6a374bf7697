#include "stats/correlation_matrix.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "core/sheet_bridge.h"
#include "core/text.h"
#include "core/workspace.h"
#include "numeric/moments.h"
#include "stats/correlation.h"

namespace dalvex {

std::string ConstantVariableNotice(const std::string& name) {
    return "!ПЕРЕМЕННАЯ " + name + " ПОСТОЯННА - МАТРИЦА КОРРЕЛЯЦИЙ НЕ ОПРЕДЕЛЕНА!";
}

int MatrixInput::count() const {
    if (!values.empty())
        return static_cast<int>(values[0].size());
    if (!texts.empty())
        return static_cast<int>(texts[0].size());
    return 0;
}

namespace {

bool Nominal(MatrixKind kind) {
    return kind == MatrixKind::Cramer || kind == MatrixKind::Binary;
}

// Every variable, observations with a missing cell in any of them left
// out: as texts (an empty cell is missing) or as numbers (a cell that is not
// a number is missing).
MatrixInput LoadListwise(Workspace& ws, bool texts, bool keepMissing) {
    MatrixInput input;
    const int variables = std::min(ws.sheet.VariableCount(), MaxVariables);
    int longest = 0;
    for (int c = 1; c <= variables; ++c) {
        input.names.push_back(VariableName(ws, c - 1));
        longest = std::max(longest, ws.sheet.ColumnLength(c));
    }
    if (texts)
        input.texts.resize(variables);
    else
        input.values.resize(variables);
    std::vector<std::string> cells(variables);
    std::vector<double> numbers(variables);
    for (int row = 1; row <= longest; ++row) {
        bool complete = true;
        for (int c = 0; c < variables && complete; ++c) {
            if (texts) {
                cells[c] = Trim(ws.sheet.Cell(c + 1, row));
                complete = !cells[c].empty();
            } else {
                numbers[c] = SheetValue(ws, c + 1, row - 1);
                complete = keepMissing || numbers[c] != MissingValue;
            }
        }
        if (!complete)
            continue;
        input.rows.push_back(row);
        for (int c = 0; c < variables; ++c)
            if (texts)
                input.texts[c].push_back(cells[c]);
            else
                input.values[c].push_back(numbers[c]);
    }
    return input;
}

bool Constant(const std::vector<double>& v) {
    return std::all_of(v.begin(), v.end(), [&](double x) { return x == v.front(); });
}

// Each variable's deviations from its mean, divided by the largest of them:
// centring first keeps data with a large common offset exact (1e7 plus noise
// of 1e-3), scaling afterwards keeps squares of 1e200 or 1e-200 finite and
// non-zero.
std::vector<std::vector<double>> ScaledDeviations(const CorrelationMatrixFigures& f) {
    std::vector<std::vector<double>> deviates;
    for (std::size_t q = 0; q < f.analysed.size(); ++q) {
        std::vector<double> d = f.analysed[q];
        double largest = 0;
        for (double& x : d) {
            x -= f.means[q];
            largest = std::max(largest, std::fabs(x));
        }
        for (double& x : d)
            x /= largest;
        deviates.push_back(std::move(d));
    }
    return deviates;
}

double CentredCorrelation(const std::vector<double>& x, const std::vector<double>& y) {
    double sxx = 0, syy = 0, sxy = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxx += x[i] * x[i];
        syy += y[i] * y[i];
        sxy += x[i] * y[i];
    }
    return std::clamp(sxy / std::sqrt(sxx * syy), -1.0, 1.0);
}

double Kendall(const std::vector<double>& x, const std::vector<double>& y) {
    const double n = static_cast<double>(x.size());
    return 2.0 * static_cast<double>(KendallS(x, y)) / (n * (n - 1));
}

// The table of two code columns with only the categories that occur.
std::vector<std::vector<double>> CodeTable(const std::vector<double>& x,
                                           const std::vector<double>& y) {
    std::map<double, int> rows, columns;
    for (double v : x)
        rows.emplace(v, 0);
    for (double v : y)
        columns.emplace(v, 0);
    int index = 0;
    for (auto& [code, at] : rows)
        at = index++;
    index = 0;
    for (auto& [code, at] : columns)
        at = index++;
    std::vector<std::vector<double>> table(rows.size(), std::vector<double>(columns.size(), 0.0));
    for (std::size_t i = 0; i < x.size(); ++i)
        table[rows[x[i]]][columns[y[i]]] += 1;
    return table;
}

}  // namespace

MatrixInput LoadAllVariables(Workspace& ws, MatrixKind kind) {
    const int variables = std::min(ws.sheet.VariableCount(), MaxVariables);
    ws.SelectedColumns[0] = variables;
    for (int c = 1; c <= variables; ++c)
        ws.SelectedColumns[c] = c;
    // A given matrix is used by its triangle: the cells outside it may be empty.
    return LoadListwise(ws, Nominal(kind), kind == MatrixKind::Given);
}

std::vector<std::vector<double>> CategoryCodes(const std::vector<std::vector<std::string>>& texts) {
    std::map<std::string, double> codes;
    std::vector<std::vector<double>> result;
    for (const std::vector<std::string>& column : texts) {
        std::vector<double> coded;
        coded.reserve(column.size());
        for (const std::string& text : column) {
            const auto [it, added] = codes.emplace(text, static_cast<double>(codes.size() + 1));
            coded.push_back(it->second);
        }
        result.push_back(std::move(coded));
    }
    return result;
}

double CramerV(const std::vector<double>& x, const std::vector<double>& y) {
    const std::vector<std::vector<double>> table = CodeTable(x, y);
    const std::size_t r = table.size(), c = table.empty() ? 0 : table[0].size();
    if (r < 2 || c < 2)
        return 0;
    std::vector<double> rowTotals(r, 0.0), columnTotals(c, 0.0);
    double n = 0;
    for (std::size_t i = 0; i < r; ++i)
        for (std::size_t j = 0; j < c; ++j) {
            rowTotals[i] += table[i][j];
            columnTotals[j] += table[i][j];
            n += table[i][j];
        }
    const bool yates = r == 2 && c == 2;
    double chi2 = 0;
    for (std::size_t i = 0; i < r; ++i)
        for (std::size_t j = 0; j < c; ++j) {
            const double e = rowTotals[i] * columnTotals[j] / n;
            double d = std::fabs(table[i][j] - e);
            // The correction never takes a difference past zero.
            if (yates)
                d -= std::min(0.5, d);
            chi2 += d * d / e;
        }
    return std::sqrt(chi2 / n / static_cast<double>(std::min(r, c) - 1));
}

SimilarityCounts BinaryCounts(const std::vector<double>& x, const std::vector<double>& y) {
    const std::vector<std::vector<double>> t = CodeTable(x, y);
    auto cell = [&](std::size_t i, std::size_t j) {
        return i < t.size() && j < t[i].size() ? t[i][j] : 0.0;
    };
    return {cell(0, 0), cell(0, 1), cell(1, 0), cell(1, 1)};
}

namespace {

void FillMoments(CorrelationMatrixFigures& f) {
    for (const std::vector<double>& column : f.analysed) {
        const RowMomentsResult m = MomentsOf(column);
        f.means.push_back(m.mean);
        // Taken relative to the largest deviation: values near 1e-300 keep
        // a deviation their squares would lose.
        f.deviations.push_back(m.deviation);
    }
}

MatrixOutcome GivenMatrix(const MatrixInput& input) {
    CorrelationMatrixFigures f;
    f.kind = MatrixKind::Given;
    f.size = input.size();
    f.count = input.count();
    if (f.count != f.size)
        return {std::nullopt, NotSquareNotice};
    const int k = f.size;
    f.matrix.assign(static_cast<std::size_t>(k) * k, 1.0);
    for (int i = 0; i < k; ++i)
        for (int j = i + 1; j < k; ++j) {
            const double r = input.values[i][j];
            if (r == MissingValue)
                return {std::nullopt, IncompleteMatrixNotice};
            f.matrix[i * k + j] = f.matrix[j * k + i] = r;
        }
    f.correlations = f.matrix;
    f.means.assign(k, 0.0);
    f.deviations.assign(k, 1.0);
    return {std::move(f), {}};
}

}  // namespace

MatrixOutcome BuildCorrelationMatrix(MatrixKind kind, const MatrixInput& input, double alpha,
                                     const SimilarityFormula& similarity) {
    if (kind == MatrixKind::Given)
        return GivenMatrix(input);
    CorrelationMatrixFigures f;
    f.kind = kind;
    f.size = input.size();
    f.count = input.count();
    const int k = f.size;
    if (f.count < 3)
        return {std::nullopt, FewMeasurementsNotice};

    if (Nominal(kind)) {
        f.analysed = CategoryCodes(input.texts);
        if (kind == MatrixKind::Binary)
            for (const std::vector<double>& codes : f.analysed) {
                std::vector<double> distinct = codes;
                std::sort(distinct.begin(), distinct.end());
                if (std::unique(distinct.begin(), distinct.end()) - distinct.begin() > 2) {
                    f.kind = MatrixKind::Cramer;
                    f.switchedToCramer = true;
                    break;
                }
            }
    } else if (kind == MatrixKind::Spearman) {
        for (const std::vector<double>& column : input.values)
            f.analysed.push_back(MidRanks(column));
    } else {
        f.analysed = input.values;
    }
    for (int i = 0; i < k; ++i)
        if (Constant(f.analysed[i]))
            return {std::nullopt, ConstantVariableNotice(input.names[i])};
    FillMoments(f);
    for (int i = 0; i < k; ++i)
        if (!(f.deviations[i] > 0) || !std::isfinite(f.deviations[i]))
            return {std::nullopt, ConstantVariableNotice(input.names[i])};

    f.correlations.assign(static_cast<std::size_t>(k) * k, 1.0);
    const std::vector<std::vector<double>> deviates =
        Nominal(f.kind) || f.kind == MatrixKind::Kendall ? std::vector<std::vector<double>>{}
                                                         : ScaledDeviations(f);
    for (int i = 0; i < k; ++i)
        for (int j = i + 1; j < k; ++j) {
            const std::vector<double>& x = f.analysed[i];
            const std::vector<double>& y = f.analysed[j];
            double r = 0;
            switch (f.kind) {
                case MatrixKind::Pearson:
                case MatrixKind::Covariance:
                case MatrixKind::Spearman:
                    r = CentredCorrelation(deviates[i], deviates[j]);
                    break;
                case MatrixKind::Kendall:
                    r = Kendall(x, y);
                    break;
                case MatrixKind::Cramer:
                    r = CramerV(x, y);
                    break;
                case MatrixKind::Binary:
                    r = similarity ? similarity(BinaryCounts(x, y)) : 0.0;
                    break;
                case MatrixKind::Given:
                    break;
            }
            f.correlations[i * k + j] = f.correlations[j * k + i] = r;
        }
    f.matrix = f.correlations;
    if (kind == MatrixKind::Covariance)
        for (int i = 0; i < k; ++i)
            for (int j = i; j < k; ++j)
                f.matrix[i * k + j] = f.matrix[j * k + i] =
                    i == j ? f.deviations[i] * f.deviations[i]
                           : f.correlations[i * k + j] * f.deviations[i] * f.deviations[j];
    if (kind == MatrixKind::Pearson || kind == MatrixKind::Covariance) {
        f.critical = CriticalCoefficient(f.count, alpha);
        for (int i = 0; i < k; ++i)
            for (int j = i + 1; j < k; ++j)
                if (std::fabs(f.correlations[i * k + j]) >= f.critical)
                    ++f.significant;
    }
    return {std::move(f), {}};
}

}  // namespace dalvex
