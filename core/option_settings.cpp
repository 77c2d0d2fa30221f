#include "core/option_settings.h"

#include <charconv>

std::optional<int> ParseSettingCount(std::string_view text, int max) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (text.front() == '+') text.remove_prefix(1);  // as the window always read it
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < 0 || value > max) return std::nullopt;
  return value;
}
