#pragma once
// Benchmark inputs, generated in-process so that every run measures the same
// bytes without files in the repository.

#include <string>
#include <vector>

struct BenchInput {
  std::string name;
  std::string bytes;
};

// scale 1.0 gives the full sizes (100,000 site lines, ~4 MB text, 1 MB
// random, 2 MB repetitive); smaller scales shrink every input.
std::vector<BenchInput> MakeBenchInputs(double scale);
// A short record repeated to the given size: long matches at a short distance.
std::string Repetitive(std::size_t size);
