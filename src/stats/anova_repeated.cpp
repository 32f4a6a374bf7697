#include "stats/anova_repeated.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "core/number.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "stats/anova.h"

namespace dalvex {

namespace {

// A residual this small beside the total is what rounding leaves of data the
// design fits exactly: no F can be formed against it.
constexpr double ExactFitShare = 1e-12;

constexpr unsigned Factor1 = 1, Factor2 = 2, Factor3 = 4;

// What a line of the table is.
enum class Kind {
    Subjects,         // "Групповая": between subjects
    Effect,           // a main effect or an interaction of the factors in `mask`
    WithinResidual,   // subjects (within their groups) x the within effect `mask`
    BetweenResidual,  // subjects within groups
    LastResidual,     // what the total leaves after every other line
    Total,
};

struct RowSpec {
    const char* label;
    Kind kind;
    unsigned mask = 0;
};

struct FSpec {
    const char* label;
    unsigned effect;
    const char* error;  // the label of the row it is tested against
};

struct DesignSpec {
    unsigned within = 0, between = 0;
    std::vector<RowSpec> rows;
    std::vector<FSpec> fs;
};

DesignSpec SpecOf(RepeatedDesign design) {
    const RowSpec subjects{"Групповая", Kind::Subjects};
    const RowSpec total{"Общая    ", Kind::Total};
    auto effect = [](const char* label, unsigned mask) {
        return RowSpec{label, Kind::Effect, mask};
    };
    auto residual = [](const char* label, unsigned mask) {
        return RowSpec{label, Kind::WithinResidual, mask};
    };
    switch (design) {
        case RepeatedDesign::WithinOne:
            return {
                Factor1,
                0,
                {subjects, effect("Факт.1   ", Factor1), {"Остаточн.", Kind::LastResidual}, total},
                {{"F(фактор1)=", Factor1, "Остаточн."}}};
        case RepeatedDesign::WithinOneBetweenOne:
            return {Factor1,
                    Factor2,
                    {subjects,
                     effect("Факт.1   ", Factor1),
                     effect("Межфакт. ", Factor1 | Factor2),
                     {"Остат.1  ", Kind::LastResidual},
                     effect("Факт.2   ", Factor2),
                     {"Остат.2  ", Kind::BetweenResidual},
                     total},
                    {{"F(фактор1)=", Factor1, "Остат.1  "},
                     {"F(фактор2)=", Factor2, "Остат.2  "},
                     {"F(межфатор.)=", Factor1 | Factor2, "Остат.1  "}}};
        case RepeatedDesign::WithinTwo:
            return {Factor1 | Factor2,
                    0,
                    {subjects,
                     effect("Факт.1   ", Factor1),
                     residual("Остат.1  ", Factor1),
                     effect("Факт.2   ", Factor2),
                     residual("Остат.2  ", Factor2),
                     effect("Межфакт12", Factor1 | Factor2),
                     {"Остат.12 ", Kind::LastResidual},
                     total},
                    {{"F(фактор1)=", Factor1, "Остат.1  "},
                     {"F(фактор2)=", Factor2, "Остат.2  "},
                     {"F(межфатор.12)=", Factor1 | Factor2, "Остат.12 "}}};
        case RepeatedDesign::WithinOneBetweenTwo:
            return {Factor1,
                    Factor2 | Factor3,
                    {subjects,
                     effect("Факт.1   ", Factor1),
                     effect("Межфакт12", Factor1 | Factor2),
                     effect("Межфакт13", Factor1 | Factor3),
                     effect("Межфак123", Factor1 | Factor2 | Factor3),
                     {"Остат.1  ", Kind::LastResidual},
                     effect("Факт.2   ", Factor2),
                     effect("Межфакт23", Factor2 | Factor3),
                     effect("Факт.3   ", Factor3),
                     {"Остат.2  ", Kind::BetweenResidual},
                     total},
                    {{"F(фактор1)=", Factor1, "Остат.1  "},
                     {"F(фактор2)=", Factor2, "Остат.2  "},
                     {"F(фактор3)=", Factor3, "Остат.2  "},
                     {"F(межфатор.12)=", Factor1 | Factor2, "Остат.1  "},
                     {"F(межфатор.13)=", Factor1 | Factor3, "Остат.1  "},
                     {"F(межфатор.23)=", Factor2 | Factor3, "Остат.2  "},
                     {"F(межфатор.123)=", Factor1 | Factor2 | Factor3, "Остат.1  "}}};
        case RepeatedDesign::WithinTwoBetweenOne:
            return {Factor1 | Factor2,
                    Factor3,
                    {subjects,
                     effect("Факт.1   ", Factor1),
                     effect("Межфакт13", Factor1 | Factor3),
                     residual("Остат.1  ", Factor1),
                     effect("Межфакт12", Factor1 | Factor2),
                     effect("Межфак123", Factor1 | Factor2 | Factor3),
                     {"Остат.1-3", Kind::LastResidual},
                     effect("Факт.2   ", Factor2),
                     effect("Межфакт23", Factor2 | Factor3),
                     residual("Остат.2  ", Factor2),
                     effect("Факт.3   ", Factor3),
                     {"Остат.3  ", Kind::BetweenResidual},
                     total},
                    {{"F(фактор1)=", Factor1, "Остат.1  "},
                     {"F(фактор2)=", Factor2, "Остат.2  "},
                     {"F(фактор3)=", Factor3, "Остат.3  "},
                     {"F(межфатор.12)=", Factor1 | Factor2, "Остат.1-3"},
                     {"F(межфатор.13)=", Factor1 | Factor3, "Остат.1  "},
                     {"F(межфатор.23)=", Factor2 | Factor3, "Остат.2  "},
                     {"F(межфатор.123)=", Factor1 | Factor2 | Factor3, "Остат.1-3"}}};
        case RepeatedDesign::WithinThree:
            break;
    }
    const unsigned all = Factor1 | Factor2 | Factor3;
    return {all,
            0,
            {subjects,
             effect("Факт.1   ", Factor1),
             residual("Остат.1  ", Factor1),
             effect("Факт.2   ", Factor2),
             residual("Остат.2  ", Factor2),
             effect("Факт.3   ", Factor3),
             residual("Остат.3  ", Factor3),
             effect("Межфакт12", Factor1 | Factor2),
             residual("Остат.12 ", Factor1 | Factor2),
             effect("Межфакт13", Factor1 | Factor3),
             residual("Остат.13 ", Factor1 | Factor3),
             effect("Межфакт23", Factor2 | Factor3),
             residual("Остат.23 ", Factor2 | Factor3),
             effect("Межфак123", all),
             {"Остат.123", Kind::LastResidual},
             total},
            {{"F(фактор1)=", Factor1, "Остат.1  "},
             {"F(фактор2)=", Factor2, "Остат.2  "},
             {"F(фактор3)=", Factor3, "Остат.3  "},
             {"F(межфатор.12)=", Factor1 | Factor2, "Остат.12 "},
             {"F(межфатор.13)=", Factor1 | Factor3, "Остат.13 "},
             {"F(межфатор.23)=", Factor2 | Factor3, "Остат.23 "},
             {"F(межфатор.123)=", all, "Остат.123"}}};
}

// The cells, the subjects and the brackets of the centred values.
class Brackets {
  public:
    Brackets(const std::vector<std::vector<double>>& cells, const int (&levels)[3],
             unsigned between)
        : x_(cells), between_(between) {
        for (int f = 0; f < 3; ++f)
            levels_[f] = levels[f];
        stride_[0] = 1;
        stride_[1] = levels_[0];
        stride_[2] = levels_[0] * levels_[1];
        n_ = static_cast<int>(x_[0].size());
        groups_ = 1;
        for (int f = 0; f < 3; ++f)
            if (between_ & (1u << f))
                groups_ *= levels_[f];
        // About the grand mean (two passes): the brackets of data near 1e7
        // then hold squares of the spread, not of the offset.
        double sum = 0;
        for (const auto& cell : x_)
            for (double v : cell)
                sum += v;
        const double mean = sum / (static_cast<double>(n_) * x_.size());
        for (auto& cell : x_)
            for (double& v : cell)
                v -= mean;
    }

    int Level(int cell, int f) const { return cell / stride_[f] % levels_[f]; }
    int groups() const { return groups_; }
    int n() const { return n_; }
    const std::vector<std::vector<double>>& values() const { return x_; }

    // Σ (class total)² / class size over the classes of the factors in `mask`,
    // and with `subject` of the subjects as well.
    double Of(unsigned mask, bool subject) {
        const auto key = std::make_pair(mask, subject);
        const auto found = memo_.find(key);
        if (found != memo_.end())
            return found->second;
        std::size_t classes = 1;
        for (int f = 0; f < 3; ++f)
            if (mask & (1u << f))
                classes *= levels_[f];
        const std::size_t factorClasses = classes;
        if (subject)
            classes *= static_cast<std::size_t>(n_) * groups_;
        std::vector<double> total(classes, 0.0);
        std::vector<int> count(classes, 0);
        for (int c = 0; c < static_cast<int>(x_.size()); ++c) {
            std::size_t key0 = 0, mult = 1, group = 0, groupMult = 1;
            for (int f = 0; f < 3; ++f) {
                if (mask & (1u << f)) {
                    key0 += Level(c, f) * mult;
                    mult *= levels_[f];
                }
                if (between_ & (1u << f)) {
                    group += Level(c, f) * groupMult;
                    groupMult *= levels_[f];
                }
            }
            for (int i = 0; i < n_; ++i) {
                const std::size_t key =
                    key0 +
                    (subject ? (i + static_cast<std::size_t>(n_) * group) * factorClasses : 0);
                total[key] += x_[c][i];
                ++count[key];
            }
        }
        double bracket = 0;
        for (std::size_t k = 0; k < classes; ++k)
            if (count[k] > 0)
                bracket += total[k] * total[k] / count[k];
        memo_[key] = bracket;
        return bracket;
    }

  private:
    std::vector<std::vector<double>> x_;
    unsigned between_;
    int levels_[3] = {1, 1, 1};
    int stride_[3] = {1, 1, 1};
    int n_ = 0, groups_ = 1;
    std::map<std::pair<unsigned, bool>, double> memo_;
};

int Bits(unsigned mask) {
    int bits = 0;
    for (; mask != 0; mask &= mask - 1)
        ++bits;
    return bits;
}

// Σ over the subsets U of `mask` of ± term(U), the sign (-1)^(|mask| - |U|):
// an interaction is its bracket less every lower term it contains.
template <class Term>
double Alternating(unsigned mask, Term term) {
    double sum = 0;
    for (unsigned u = mask;; u = (u - 1) & mask) {
        sum += ((Bits(mask) - Bits(u)) % 2 == 0 ? 1 : -1) * term(u);
        if (u == 0)
            break;
    }
    return sum;
}

double DfOf(unsigned mask, const int (&levels)[3]) {
    double df = 1;
    for (int f = 0; f < 3; ++f)
        if (mask & (1u << f))
            df *= levels[f] - 1;
    return df;
}

// The covariance matrix of factor f's levels over the subjects, averaged over
// every combination of the other factors' levels; `combinations` their count.
std::vector<std::vector<double>> LevelCovariance(const Brackets& b, int f, const int (&levels)[3],
                                                 int& combinations) {
    const int k = levels[f];
    const auto& x = b.values();
    const int n = b.n();
    // The cells of each combination, by the level of f.
    std::map<int, std::vector<int>> combos;
    const int stride = f == 0 ? 1 : f == 1 ? levels[0] : levels[0] * levels[1];
    for (int c = 0; c < static_cast<int>(x.size()); ++c) {
        auto& cells = combos[c - b.Level(c, f) * stride];
        cells.resize(k);
        cells[b.Level(c, f)] = c;
    }
    combinations = static_cast<int>(combos.size());
    std::vector<std::vector<double>> s(k, std::vector<double>(k, 0.0));
    std::vector<std::vector<double>> dev(k, std::vector<double>(n));
    for (const auto& [key, cells] : combos) {
        for (int a = 0; a < k; ++a) {
            double mean = 0;
            for (double v : x[cells[a]])
                mean += v;
            mean /= n;
            for (int i = 0; i < n; ++i)
                dev[a][i] = x[cells[a]][i] - mean;
        }
        for (int a = 0; a < k; ++a)
            for (int c = a; c < k; ++c) {
                double sum = 0;
                for (int i = 0; i < n; ++i)
                    sum += dev[a][i] * dev[c][i];
                s[a][c] += sum / (n - 1);
            }
    }
    for (int a = 0; a < k; ++a)
        for (int c = a; c < k; ++c) {
            s[a][c] /= combinations;
            s[c][a] = s[a][c];
        }
    return s;
}

// Greenhouse-Geisser's epsilon of a covariance matrix.
double GreenhouseGeisser(const std::vector<std::vector<double>>& s) {
    const int k = static_cast<int>(s.size());
    double diagonal = 0, all = 0, squares = 0, rowMeans = 0;
    for (int i = 0; i < k; ++i) {
        diagonal += s[i][i];
        double row = 0;
        for (int j = 0; j < k; ++j) {
            row += s[i][j];
            squares += s[i][j] * s[i][j];
        }
        all += row;
        rowMeans += (row / k) * (row / k);
    }
    const double dBar = diagonal / k, sBar = all / (static_cast<double>(k) * k);
    const double numerator = k * k * (dBar - sBar) * (dBar - sBar);
    const double denominator = (k - 1) * (squares - 2.0 * k * rowMeans + k * k * sBar * sBar);
    // A matrix without spread about its row and column means leaves nothing
    // to correct (the table has refused such data before).
    return denominator > 0 ? numerator / denominator : 1;
}

// Huynh-Feldt's epsilon from Greenhouse-Geisser's, held to at most 1; with as
// few subjects as levels it cannot be estimated and stays 1.
double HuynhFeldt(double epsilon, int k, double subjects, double groups) {
    const double denominator = (k - 1) * (subjects - groups - (k - 1) * epsilon);
    if (!(denominator > 0))
        return 1;
    return std::min(1.0, (subjects * (k - 1) * epsilon - 2) / denominator);
}

SphericityFigures Sphericity(const Brackets& b, int f, const int (&levels)[3], const char* title) {
    SphericityFigures s;
    s.title = title;
    int combinations = 1;
    s.matrix = LevelCovariance(b, f, levels, combinations);
    s.epsilon = GreenhouseGeisser(s.matrix);
    s.huynhFeldt =
        HuynhFeldt(s.epsilon, levels[f], static_cast<double>(b.n()) * combinations, combinations);
    return s;
}

RepeatedFLine Corrected(const RepeatedFLine& line, const char* label, double c) {
    RepeatedFLine out = line;
    out.label = label;
    out.df1 *= c;
    out.df2 *= c;
    out.p = FSignificance(out.f, out.df1, out.df2);
    return out;
}

}  // namespace

std::string CellMeanSeriesNotice(int drawn, int all) {
    return "!НА ГРАФИКЕ ЛИШЬ " + std::to_string(drawn) + " ПЕРВЫХ ЛИНИЙ ИЗ " + std::to_string(all) +
           "!";
}

RepeatedFigures ComputeRepeated(const std::vector<std::vector<double>>& cells,
                                RepeatedDesign design, int levels1, int levels2) {
    RepeatedFigures r;
    const int rows = static_cast<int>(cells.size());
    const int n = rows == 0 ? 0 : static_cast<int>(cells[0].size());
    int* L = r.levels;
    switch (design) {
        case RepeatedDesign::WithinOne:
            L[0] = rows;
            break;
        case RepeatedDesign::WithinOneBetweenOne:
        case RepeatedDesign::WithinTwo:
            L[0] = levels1;
            L[1] = levels1 >= 1 ? rows / levels1 : 0;
            break;
        default:
            L[0] = levels1;
            L[1] = levels2;
            L[2] = levels1 >= 1 && levels2 >= 1 ? rows / (levels1 * levels2) : 0;
            break;
    }
    const int factors =
        design == RepeatedDesign::WithinOne                                                    ? 1
        : design == RepeatedDesign::WithinOneBetweenOne || design == RepeatedDesign::WithinTwo ? 2
                                                                                               : 3;
    bool fits = L[0] * L[1] * L[2] == rows;
    for (int f = 0; f < factors; ++f)
        fits = fits && L[f] >= 2;
    for (const auto& cell : cells)
        fits = fits && static_cast<int>(cell.size()) == n;
    if (design == RepeatedDesign::WithinOne && (rows < 2 || n < 2)) {
        r.notice = TooFewValuesNotice;
        return r;
    }
    if (!fits || n < 2) {
        r.notice = RepeatedLevelsNotice;
        return r;
    }

    const DesignSpec spec = SpecOf(design);
    Brackets b(cells, r.levels, spec.between);
    const double groups = b.groups();
    const double w = b.Of(0, false);
    double squares = 0;
    for (const auto& cell : b.values())
        for (double v : cell)
            squares += v * v;
    const double sst = squares - w;
    if (!(sst > 0)) {
        r.notice = ConstantDataNotice;
        return r;
    }

    // Every line but the last residual, which takes what the total leaves
    // after the between-subjects sum and every other within-subject line.
    int last = -1;
    double withinSs = 0, withinDf = 0;
    for (const RowSpec& row : spec.rows) {
        RepeatedSource s{row.label};
        switch (row.kind) {
            case Kind::Subjects:
                s = {row.label, b.Of(0, true) - w, n * groups - 1, false};
                break;
            case Kind::Effect:
                s.ss = Alternating(row.mask, [&](unsigned u) { return b.Of(u, false); });
                s.df = DfOf(row.mask, r.levels);
                break;
            case Kind::WithinResidual:
                s.ss = Alternating(row.mask, [&](unsigned u) {
                    return b.Of(u, true) - b.Of(u | spec.between, false);
                });
                s.df = DfOf(row.mask, r.levels) * (n - 1) * groups;
                break;
            case Kind::BetweenResidual:
                s.ss = b.Of(0, true) - b.Of(spec.between, false);
                s.df = (n - 1) * groups;
                break;
            case Kind::LastResidual:
                last = static_cast<int>(r.sources.size());
                break;
            case Kind::Total:
                s = {row.label, sst, static_cast<double>(rows) * n - 1, false};
                break;
        }
        const bool within = row.kind == Kind::WithinResidual ||
                            (row.kind == Kind::Effect && (row.mask & spec.within) != 0);
        if (within) {
            withinSs += s.ss;
            withinDf += s.df;
        }
        r.sources.push_back(s);
    }
    const RepeatedSource& subjects = r.sources.front();
    const RepeatedSource& total = r.sources.back();
    r.sources[last].ss = std::max(total.ss - subjects.ss - withinSs, 0.0);
    r.sources[last].df = total.df - subjects.df - withinDf;

    auto source = [&](const char* label) -> const RepeatedSource& {
        for (const RepeatedSource& s : r.sources)
            if (std::string(s.label) == label)
                return s;
        return r.sources.front();
    };
    auto effectOf = [&](unsigned mask) -> const RepeatedSource& {
        for (std::size_t i = 0; i < spec.rows.size(); ++i)
            if (spec.rows[i].kind == Kind::Effect && spec.rows[i].mask == mask)
                return r.sources[i];
        return r.sources.front();
    };
    for (const FSpec& fs : spec.fs) {
        const RepeatedSource& error = source(fs.error);
        if (!(error.ss > ExactFitShare * sst) || !(error.df > 0)) {
            r.notice = error.df > 0 ? ZeroErrorNotice : NoErrorDfNotice;
            r.sources.clear();
            r.fLines.clear();
            return r;
        }
        const RepeatedSource& e = effectOf(fs.effect);
        RepeatedFLine line{fs.label};
        line.f = (e.ss / e.df) / (error.ss / error.df);
        line.df1 = e.df;
        line.df2 = error.df;
        line.p = FSignificance(line.f, line.df1, line.df2);
        r.fLines.push_back(line);
    }

    // The cells' means, for the graph.
    const auto& x = b.values();
    double mean = 0;
    for (const auto& cell : cells)
        for (double v : cell)
            mean += v;
    mean /= static_cast<double>(rows) * n;
    for (const auto& cell : x) {
        double sum = 0;
        for (double v : cell)
            sum += v;
        r.cellMeans.push_back(mean + sum / n);
    }

    // Sphericity of factor 1 (and in two within factors, of factor 2 too).
    if (design == RepeatedDesign::WithinThree || L[0] <= 3)
        return r;
    if (design == RepeatedDesign::WithinTwo) {
        r.sphericity.push_back(Sphericity(b, 0, r.levels, "  Матрица ковариаций первого фактора"));
        if (L[1] > 3)
            r.sphericity.push_back(
                Sphericity(b, 1, r.levels, "  Матрица ковариаций второго фактора"));
    } else {
        r.sphericity.push_back(Sphericity(b, 0, r.levels, "  Матрица ковариаций"));
    }
    const SphericityFigures& first = r.sphericity.front();
    double c1 = 0;
    if (first.epsilon <= 0.75)
        c1 = first.epsilon;
    else if (first.huynhFeldt < 0.98)
        c1 = first.huynhFeldt;
    else
        return r;
    r.coefficients.push_back(c1);
    if (design == RepeatedDesign::WithinTwo) {
        double c2 = 1;
        if (r.sphericity.size() > 1) {
            const SphericityFigures& second = r.sphericity[1];
            c2 = second.epsilon <= 0.75 ? second.epsilon : second.huynhFeldt;
        }
        r.coefficients.push_back(c2);
        r.corrected = {Corrected(r.fLines[0], "F(фактор1)=", c1),
                       Corrected(r.fLines[1], "F(фактор2)=", c2),
                       Corrected(r.fLines[2], "F(межфатор.)=", c1 * c2)};
        return r;
    }
    for (std::size_t i = 0; i < spec.fs.size(); ++i)
        r.corrected.push_back(
            Corrected(r.fLines[i], spec.fs[i].label, (spec.fs[i].effect & Factor1) ? c1 : 1));
    return r;
}

void WriteRepeated(Workspace& ws, const RepeatedFigures& f) {
    WriteResult(ws, "");
    WriteResult(ws, RepeatedHeading);
    for (const RepeatedSource& s : f.sources) {
        std::vector<double> figures{s.ss, s.df};
        if (s.meanSquare)
            figures.push_back(s.ss / s.df);
        WriteResult(ws, s.label + Fields(ws, figures));
    }
    WriteResult(ws, "");
    for (const RepeatedFLine& line : f.fLines)
        WriteStatistic(ws, line.label, line.f, line.p, line.df2, line.df1);
    auto number = [&](double x) { return FormatNumber(x, ws.digits(), ws.decimalSeparator()); };
    for (const SphericityFigures& s : f.sphericity) {
        WriteResult(ws, "");
        WriteResult(ws, s.title);
        for (const auto& row : s.matrix) {
            std::string line;
            for (double v : row)
                line += Field(ws, v) + " ";
            WriteResult(ws, line);
        }
        WriteResult(ws, "");
        WriteResult(ws, "Поправочные коэффициенты: e=" + number(s.epsilon) +
                            "  e\"=" + number(s.huynhFeldt));
    }
    if (f.corrected.empty())
        return;
    WriteResult(ws, "");
    if (f.coefficients.size() > 1)
        WriteResult(ws, "  С учетом поправочных коэффициентов=" + number(f.coefficients[0]) + ", " +
                            number(f.coefficients[1]));
    else
        WriteResult(ws, "  С учетом поправочного коэффициента=" + number(f.coefficients[0]));
    for (const RepeatedFLine& line : f.corrected)
        WriteStatistic(ws, line.label, line.f, line.p, line.df2, line.df1);
}

void DrawCellMeans(Workspace& ws, const RepeatedFigures& f, RepeatedDesign design) {
    if (design == RepeatedDesign::WithinOne || f.cellMeans.empty())
        return;
    const int l1 = f.levels[0], l2 = f.levels[1], l3 = f.levels[2];
    const bool twoFactors =
        design == RepeatedDesign::WithinOneBetweenOne || design == RepeatedDesign::WithinTwo;
    const int all = twoFactors ? l2 : l2 * l3;
    const int drawn = std::min(all, MostCellMeanSeries);
    if (drawn < all)
        ShowNotice(ws, CellMeanSeriesNotice(drawn, all));
    GraphOrder graph(ws, GraphKind::Described);
    for (int s = 0; s < drawn; ++s) {
        // Factor 1 along X; one line per level of factor 2, or in three
        // factors per pair of levels of factors 2 and 3, the factor-1
        // positions of successive factor-2 levels side by side.
        const int j2 = twoFactors ? s : s / l3;
        const int j3 = twoFactors ? 0 : s % l3;
        std::vector<double> x, y;
        for (int j1 = 0; j1 < l1; ++j1) {
            x.push_back(twoFactors ? j1 + 1 : j1 + l1 * j2);
            y.push_back(f.cellMeans[j1 + l1 * (j2 + l2 * j3)]);
        }
        const std::string name =
            twoFactors ? "2-" + std::to_string(j2 + 1)
                       : "2-" + std::to_string(j2 + 1) + ", 3-" + std::to_string(j3 + 1);
        graph.Described(std::move(x), std::move(y), twoFactors ? s : j3, 1, name);
    }
    graph.Title(CellMeansTitle).Show();
}

FormDialog GroupDesignForm() {
    FormDialog form;
    form.caption = "Метод";
    form.Group("")
        .Field("Градаций фактора1=", "5", "Введите число градаций первого фактора")
        .Field("Градаций фактора2=", "3", "Введите число градаций второго фактора");
    const std::pair<const char*, const char*> buttons[] = {
        {"&1 = однофакторный                   ", "Однофакторая схема"},
        {"&2 = 1-внутри+1-меж-групповой",
         "Схема с одним внутригрупповым фактором и одним межгрупповым"},
        {"&3 = 2-внутригрупповой            ", "Схема с lдвумя внутригрупповыми факторами"},
        {"&4 = 1-внутри+2-меж-групповой",
         "Схема с одним внутригрупповым и двумя межгрупповыми факторами"},
        {"&5 = 2-внутри+1-меж-групповой",
         "Схема с двумя внутригрупповыми и одним межгрупповым факторами"},
        {"&6 = 3-внутри-групповой           ", "Схема с тремя внутригрупповыми факторами"},
    };
    // The captions are numbered in the order shown; the answers are the
    // designs' own numbers.
    const int answers[] = {1, 2, 6, 3, 4, 5};
    for (int i = 0; i < 6; ++i) {
        form.GroupButton("Групповой", buttons[i].first, answers[i]);
        form.buttons.back().hint = buttons[i].second;
    }
    form.Button("Отменить", 0).RememberIn(GroupDesignMemory);
    return form;
}

int GroupDesignChoice(Workspace& ws) {
    FormReader read(ws, GroupDesignForm());
    const int design = read.button();
    if (design == 0 || design == static_cast<int>(RepeatedDesign::WithinOne)) {
        ws.AnswerNumber = 0;
        return design;
    }
    // Each count below 64 keeps the two apart in L1 + 64 L2.
    const int l1 = read.Integer(0, 2, 63, RepeatedLevelsNotice);
    const bool three = design >= 3 && design <= 5;
    const int l2 = three ? read.Integer(1, 2, 63, RepeatedLevelsNotice) : 0;
    if (!read.ok())
        return 0;
    ws.AnswerNumber = l1 + 64 * l2;
    return design;
}

void GroupAnalysisMethod(Workspace& ws, int choice) {
    if (choice < 1 || choice > 6)
        return;
    const auto design = static_cast<RepeatedDesign>(choice);
    std::vector<std::vector<double>> cells;
    for (const LoadedRow& row : LoadedRows(ws))
        cells.push_back(row.values);
    const RepeatedFigures f =
        ComputeRepeated(cells, design, ws.AnswerNumber % 64, ws.AnswerNumber / 64);
    if (!f.notice.empty()) {
        ShowNotice(ws, f.notice);
        return;
    }
    WriteRepeated(ws, f);
    DrawCellMeans(ws, f, design);
}

}  // namespace dalvex
