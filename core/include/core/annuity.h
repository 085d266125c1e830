#pragma once

namespace ratalia {

// The installment C × i ÷ (1 − (1 + i)^−N) at a monthly rate i so small that
// 1 + i in double precision keeps only a few of i's digits, worked out exactly
// in i and correctly rounded to the nearest double. The capital and i are
// positive, N a whole number of at least one. Throws ArithmeticFailure where
// (1 + i)^N or the installment lies beyond the double range.
double smallRateInstallment(double capital, double monthlyRate, double count);

// base^count for a positive finite base and a whole count of at least one:
// the exact power, rounded once to the nearest double, the same on every
// platform whatever its math library. Throws ArithmeticFailure where the power
// rounds beyond the double range.
double exactPower(double base, double count);

} // namespace ratalia
