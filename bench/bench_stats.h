#pragma once
// Timing and reporting helpers shared by the bench programs: a millisecond
// clock from the performance counter, quantiles, and one-line goal verdicts
// that scripts/bench.sh gathers into its summary.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

inline double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / perMs;
}

struct Summary {
  int n = 0;
  double min = 0, p10 = 0, median = 0, p90 = 0, max = 0;
};

// Linear interpolation between the closest ranks.
inline double Quantile(const std::vector<double>& sorted, double q) {
  if (sorted.empty()) return 0;
  const double pos = q * static_cast<double>(sorted.size() - 1);
  const size_t lo = static_cast<size_t>(pos);
  const size_t hi = std::min(lo + 1, sorted.size() - 1);
  return sorted[lo] + (sorted[hi] - sorted[lo]) * (pos - static_cast<double>(lo));
}

inline Summary Summarize(std::vector<double> v) {
  Summary s;
  if (v.empty()) return s;
  std::sort(v.begin(), v.end());
  s.n = static_cast<int>(v.size());
  s.min = v.front();
  s.p10 = Quantile(v, 0.10);
  s.median = Quantile(v, 0.50);
  s.p90 = Quantile(v, 0.90);
  s.max = v.back();
  return s;
}

// "label   min  p10  median  p90  max  unit (n=..)", values scaled by `scale`.
inline void PrintRow(const char* label, const Summary& s, double scale, const char* unit) {
  std::printf("  %-34s %9.3f %9.3f %9.3f %9.3f %9.3f  %s (n=%d)\n", label, s.min * scale,
              s.p10 * scale, s.median * scale, s.p90 * scale, s.max * scale, unit, s.n);
}

inline void PrintHeader() {
  std::printf("  %-34s %9s %9s %9s %9s %9s\n", "", "min", "p10", "median", "p90", "max");
}

// One verdict line; bench.sh collects every line that starts with "goal".
inline void PrintGoal(const std::string& name, double value, bool lessOrEqual, double limit,
                      const char* unit) {
  const bool met = lessOrEqual ? value <= limit : value < limit;
  std::printf("goal  %-44s %10.3f %-2s %8g %-5s %s\n", name.c_str(), value,
              lessOrEqual ? "<=" : "<", limit, unit, met ? "met" : "MISSED");
}

inline void Flush() { std::fflush(stdout); }

}  // namespace bench
