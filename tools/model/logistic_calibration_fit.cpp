// SPDX-License-Identifier: GPL-3.0-or-later
#include "logistic_calibration_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

namespace tarvelo::model {
namespace {

constexpr std::size_t kFeatures = 3;
constexpr double kRidge = 1e-6;
constexpr int kIterations = 100;

using Vector = std::array<double, kFeatures>;
using Matrix = std::array<Vector, kFeatures>;

Vector featuresOf(const desktop::LetterEvidence& evidence, const desktop::LetterModelCalibration& calibration) {
    const double ratio = calibration.logRatio(evidence);
    return {ratio, ratio / static_cast<double>(evidence.trigrams), 1.0};
}

// Solves m x = v by Gaussian elimination with partial pivoting; m is symmetric positive definite here.
Vector solve(Matrix m, Vector v) {
    for (std::size_t column = 0; column < kFeatures; ++column) {
        std::size_t pivot = column;
        for (std::size_t row = column + 1; row < kFeatures; ++row) {
            if (std::abs(m[row][column]) > std::abs(m[pivot][column])) pivot = row;
        }
        std::swap(m[column], m[pivot]);
        std::swap(v[column], v[pivot]);
        for (std::size_t row = column + 1; row < kFeatures; ++row) {
            const double factor = m[row][column] / m[column][column];
            for (std::size_t k = column; k < kFeatures; ++k) m[row][k] -= factor * m[column][k];
            v[row] -= factor * v[column];
        }
    }
    Vector x{};
    for (std::size_t row = kFeatures; row-- > 0;) {
        double sum = v[row];
        for (std::size_t k = row + 1; k < kFeatures; ++k) sum -= m[row][k] * x[k];
        x[row] = sum / m[row][row];
    }
    return x;
}

}  // namespace

desktop::LetterModelCalibration fitCalibration(const std::vector<CalibrationSample>& samples,
                                               double backgroundLogWeight) {
    desktop::LetterModelCalibration mixture;
    mixture.backgroundLogWeight = backgroundLogWeight;
    double real = 0.0;
    double wrong = 0.0;
    for (const CalibrationSample& sample : samples) (sample.realWord ? real : wrong) += sample.weight;
    if (real == 0.0 || wrong == 0.0) return mixture;
    const double realWeight = 0.5 / real;
    const double wrongWeight = 0.5 / wrong;

    Vector w{};
    for (int iteration = 0; iteration < kIterations; ++iteration) {
        Vector gradient{};
        Matrix hessian{};
        for (const CalibrationSample& sample : samples) {
            const Vector x = featuresOf(sample.evidence, mixture);
            double z = 0.0;
            for (std::size_t i = 0; i < kFeatures; ++i) z += w[i] * x[i];
            const double p = z >= 0.0 ? 1.0 / (1.0 + std::exp(-z)) : std::exp(z) / (1.0 + std::exp(z));
            const double weight = sample.weight * (sample.realWord ? realWeight : wrongWeight);
            const double residual = weight * ((sample.realWord ? 1.0 : 0.0) - p);
            const double curvature = weight * p * (1.0 - p);
            for (std::size_t i = 0; i < kFeatures; ++i) {
                gradient[i] += residual * x[i];
                for (std::size_t j = 0; j < kFeatures; ++j) hessian[i][j] += curvature * x[i] * x[j];
            }
        }
        for (std::size_t i = 0; i + 1 < kFeatures; ++i) {
            gradient[i] -= kRidge * w[i];
            hessian[i][i] += kRidge;
        }
        const Vector step = solve(hessian, gradient);
        double largest = 0.0;
        for (std::size_t i = 0; i < kFeatures; ++i) {
            w[i] += step[i];
            largest = std::max(largest, std::abs(step[i]));
        }
        if (largest < 1e-10) break;
    }
    return {w[0], w[1], w[2], backgroundLogWeight};
}

}  // namespace tarvelo::model
