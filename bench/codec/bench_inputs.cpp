#include "bench_inputs.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace {

std::size_t Scaled(std::size_t n, double scale) {
  auto v = static_cast<std::size_t>(static_cast<double>(n) * scale);
  return v < 64 ? 64 : v;
}

// Lines as the program stores them: site=user TAB password TAB url TAB note.
std::string SiteList(std::size_t lines) {
  static const char* kWords[] = {"bank",   "mail",  "shop",  "forum", "news",   "cloud",  "photo",
                                 "travel", "music", "games", "work",  "school", "health", "tax"};
  static const char* kTlds[] = {".com", ".org", ".net", ".de", ".co.uk", ".io"};
  std::mt19937 rng(42);
  std::string pwChars = "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789!#%&*+-=?";
  std::string out;
  for (std::size_t i = 0; i < lines; ++i) {
    std::string a = kWords[rng() % 14], b = kWords[rng() % 14];
    std::string site = a + " " + b + " " + std::to_string(i % 977);
    std::string user = "user." + a + std::to_string(rng() % 100) + "@example.com";
    std::string pw;
    for (int k = 0; k < 12 + static_cast<int>(rng() % 8); ++k)
      pw += pwChars[rng() % pwChars.size()];
    std::string url = "https://www." + a + b + kTlds[rng() % 6] + "/login";
    std::string note = (rng() % 3 == 0) ? "security question: first pet\\nPIN changed" : "";
    out += site + "=" + user + "\t" + pw + "\t" + url + "\t" + note + "\r\n";
  }
  return out;
}

std::string LicenseText(std::size_t size) {
  std::string all;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/share/common-licenses")) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    all.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (all.empty()) all = "no license texts found on this machine ";
  std::string out;
  while (out.size() < size) out += all;
  out.resize(size);
  return out;
}

std::string Random(std::size_t size) {
  std::mt19937_64 rng(7);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(rng());
  return out;
}

}  // namespace

std::string Repetitive(std::size_t size) {
  std::string out;
  while (out.size() < size) out += "0123456789abcdef-repeated-record;";
  out.resize(size);
  return out;
}

std::vector<BenchInput> MakeBenchInputs(double scale) {
  return {
      {"site list", SiteList(Scaled(100000, scale))},
      {"text", LicenseText(Scaled(4u << 20, scale))},
      {"random", Random(Scaled(1u << 20, scale))},
      {"repetitive", Repetitive(Scaled(2u << 20, scale))},
  };
}
