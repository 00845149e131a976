// The leak test's trend fit (fitTrend in book/leaktest.h): generalised least squares of the
// cumulative over/short on a common slope, the errors' correlation chosen by restricted
// likelihood.

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "book/leaktest.h"

namespace brimwell::book {
namespace {

constexpr double kLargestCorrelation = 0.95;
constexpr int kCorrelationSteps = 95;  // the grid 0, 0.01, ..., 0.95
constexpr double kExact = 1e-24;       // a residual sum of squares this share of the total is 0

// A small symmetric positive definite system solved by Cholesky, in place; false when it is not
// positive definite.
bool choleskyFactor(std::vector<double>& a, int size) {
    for (int j = 0; j < size; ++j) {
        double diagonal = a[j * size + j];
        for (int k = 0; k < j; ++k) {
            diagonal -= a[j * size + k] * a[j * size + k];
        }
        if (!(diagonal > 0)) {
            return false;
        }
        a[j * size + j] = std::sqrt(diagonal);
        for (int i = j + 1; i < size; ++i) {
            double sum = a[i * size + j];
            for (int k = 0; k < j; ++k) {
                sum -= a[i * size + k] * a[j * size + k];
            }
            a[i * size + j] = sum / a[j * size + j];
        }
    }
    return true;
}

std::vector<double> choleskySolve(const std::vector<double>& factor, int size,
                                  std::vector<double> b) {
    for (int i = 0; i < size; ++i) {
        for (int k = 0; k < i; ++k) {
            b[i] -= factor[i * size + k] * b[k];
        }
        b[i] /= factor[i * size + i];
    }
    for (int i = size - 1; i >= 0; --i) {
        for (int k = i + 1; k < size; ++k) {
            b[i] -= factor[k * size + i] * b[k];
        }
        b[i] /= factor[i * size + i];
    }
    return b;
}

// One row of the whitened system. It is nonzero in the slope (column 0) and in the offsets of
// its point and the one before it (column 1 + segment).
struct Row {
    struct Entry {
        int column;
        double value;
    };
    std::array<Entry, 3> entries;
    int size = 2;
    double y = 0;
    double logR = 0;  // its share of the log-determinant of the errors' correlation
};

// Prais-Winsten over a gap of g days: e_j - φ^g e_(j-1) has variance 1 - φ^2g.
void whiten(Row& row, const TrendPoint& before, const TrendPoint& point, double phi) {
    const double r = std::pow(phi, point.days - before.days);
    const double scale = 1 / std::sqrt(1 - r * r);
    row.entries[0].value = (row.entries[0].value - r * before.days / before.weight) * scale;
    if (before.segment == point.segment) {
        row.entries[1].value = (row.entries[1].value - r / before.weight) * scale;
    } else {
        row.entries[1].value *= scale;
        row.entries[2] = {1 + before.segment, -r / before.weight * scale};
        row.size = 3;
    }
    row.y = (row.y - r * before.value / before.weight) * scale;
    row.logR = std::log(1 - r * r);
}

Row pointRow(const std::vector<TrendPoint>& points, std::size_t j, double phi) {
    const TrendPoint& point = points[j];
    Row row;
    row.entries = {{{0, point.days / point.weight},
                    {1 + point.segment, 1 / point.weight},
                    {1 + point.segment, 0}}};
    row.y = point.value / point.weight;
    if (j > 0 && phi > 0) {
        whiten(row, points[j - 1], point, phi);
    }
    return row;
}

// The normal equations of the slope and the offsets, gathered a row at a time.
struct NormalEquations {
    explicit NormalEquations(int columns)
        : size(columns),
          matrix(static_cast<std::size_t>(columns * columns), 0),
          right(static_cast<std::size_t>(columns), 0) {}

    void add(const Row& row) {
        for (int a = 0; a < row.size; ++a) {
            const Row::Entry& first = row.entries[a];
            right[first.column] += first.value * row.y;
            for (int b = 0; b < row.size; ++b) {
                matrix[first.column * size + row.entries[b].column] +=
                    first.value * row.entries[b].value;
            }
        }
        yy += row.y * row.y;
        logR += row.logR;
    }

    // A tie observes one offset less the one before it, apart from the closes' errors.
    void add(const TrendTie& tie) {
        const int high = 1 + tie.segment;
        const int low = tie.segment;
        const double a = 1 / tie.weight;
        const double y = tie.value / tie.weight;
        matrix[high * size + high] += a * a;
        matrix[low * size + low] += a * a;
        matrix[high * size + low] -= a * a;
        matrix[low * size + high] -= a * a;
        right[high] += a * y;
        right[low] -= a * y;
        yy += y * y;
    }

    int size;
    std::vector<double> matrix;  // size × size, row by row
    std::vector<double> right;
    double yy = 0;  // the sum of squares fitted
    double logR = 0;
};

// The fit at one correlation. Column 0 is the slope, column 1 + s the offset of segment s.
struct Solved {
    std::vector<double> coefficients;
    double rss = 0;
    double slopeVariance = 0;  // of the slope, per unit of the errors' variance
    double restricted = 0;     // the restricted log-likelihood, up to a constant
    double total = 0;          // the sum of squares fitted
};

// The equations solved, with the likelihood of `points` closes; none when they are singular.
std::optional<Solved> solve(const NormalEquations& equations, int points) {
    const int p = equations.size;
    std::vector<double> factor = equations.matrix;
    if (!choleskyFactor(factor, p)) {
        return std::nullopt;
    }
    Solved solved;
    solved.coefficients = choleskySolve(factor, p, equations.right);
    double explained = 0;
    double logDet = 0;
    for (int a = 0; a < p; ++a) {
        explained += solved.coefficients[a] * equations.right[a];
        logDet += 2 * std::log(factor[a * p + a]);
    }
    solved.rss = std::max(equations.yy - explained, 0.0);
    std::vector<double> unit(static_cast<std::size_t>(p), 0);
    unit[0] = 1;
    solved.slopeVariance = choleskySolve(factor, p, unit)[0];
    solved.total = equations.yy;
    const double tiny = std::numeric_limits<double>::min();
    solved.restricted =
        -0.5 * ((points - p) * std::log(std::max(solved.rss, tiny)) + equations.logR + logDet);
    return solved;
}

std::optional<Solved> solveAt(const std::vector<TrendPoint>& points,
                              const std::vector<TrendTie>& ties, int segments, double phi) {
    NormalEquations equations(segments + 1);
    for (std::size_t j = 0; j < points.size(); ++j) {
        equations.add(pointRow(points, j, phi));
    }
    for (const TrendTie& tie : ties) {
        equations.add(tie);
    }
    return solve(equations, static_cast<int>(points.size()));
}

}  // namespace

std::optional<TrendFit> fitTrend(const std::vector<TrendPoint>& points,
                                 const std::vector<TrendTie>& ties,
                                 std::optional<double> correlation, double scatterFloor) {
    int segments = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const int step = points[i].segment - (i == 0 ? 0 : points[i - 1].segment);
        if (step < 0 || step > 1 || (i > 0 && points[i].days <= points[i - 1].days)) {
            return std::nullopt;
        }
        segments = points[i].segment + 1;
    }
    for (const TrendTie& tie : ties) {
        if (tie.segment < 1 || tie.segment >= segments || !(tie.weight > 0)) {
            return std::nullopt;
        }
    }
    const int freedom = static_cast<int>(points.size() + ties.size()) - (segments + 1);
    if (freedom < 1) {
        return std::nullopt;
    }
    // The correlation is the closes' own: it is estimated with the offsets left free, since the
    // ties, whose errors follow no day-to-day pattern, would only blur it.
    double phi = correlation.value_or(0);
    if (!correlation && freedom - static_cast<int>(ties.size()) >= 1) {
        std::optional<Solved> free = solveAt(points, {}, segments, 0);
        // An exact fit has no scatter to tell its correlation from.
        if (free && free->rss > kExact * free->total) {
            for (int step = 1; step <= kCorrelationSteps; ++step) {
                const double candidate = kLargestCorrelation * step / kCorrelationSteps;
                auto solved = solveAt(points, {}, segments, candidate);
                if (solved && solved->restricted > free->restricted) {
                    free = std::move(solved);
                    phi = candidate;
                }
            }
        }
    }
    const std::optional<Solved> best = solveAt(points, ties, segments, phi);
    if (!best) {
        return std::nullopt;
    }
    TrendFit fit;
    fit.correlation = phi;
    fit.freedom = freedom;
    fit.slope = best->coefficients[0];
    fit.scatter = std::max(std::sqrt(best->rss / freedom), scatterFloor);
    fit.standardError = fit.scatter * std::sqrt(best->slopeVariance);
    for (const TrendPoint& point : points) {
        fit.fitted.push_back(best->coefficients[1 + point.segment] + fit.slope * point.days);
    }
    return fit;
}

}  // namespace brimwell::book
