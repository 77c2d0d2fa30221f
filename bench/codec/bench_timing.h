#pragma once
// Side-by-side timing: each run times our code and a peer back to back on
// the same buffers; a figure is the peer's time over ours, reported as the
// median of the runs with the lowest and the highest. Times are the thread's
// CPU time, so that other processes on a shared machine, which preempt the
// benchmark for whole milliseconds, do not land on one side only.

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

struct TRatio {
  double low, median, high;
};

inline double SecondsOf(const std::function<void()>& run) {
  auto now = [] {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
  };
  const double start = now();
  run();
  return now() - start;
}

// Above 1: ours is faster.
inline TRatio SideBySide(int runs, const std::function<void()>& ours,
                         const std::function<void()>& peer) {
  ours();  // warm caches and allocators on both sides first
  peer();
  std::vector<double> ratios;
  for (int i = 0; i < runs; ++i) {
    const double o = SecondsOf(ours);
    const double p = SecondsOf(peer);
    ratios.push_back(p / o);
  }
  std::sort(ratios.begin(), ratios.end());
  return {ratios.front(), ratios[ratios.size() / 2], ratios.back()};
}

// For throughput figures of our code alone.
inline double BestSeconds(int repeat, const std::function<void()>& run) {
  double best = 1e30;
  for (int i = 0; i < repeat; ++i) best = std::min(best, SecondsOf(run));
  return best;
}
