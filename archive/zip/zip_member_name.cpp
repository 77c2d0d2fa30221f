#include "archive/zip/zip_member_name.h"

#include <algorithm>
#include <cctype>

std::string NormaliseMemberName(const std::string& name) {
  std::string result = name;
  if (result.size() >= 2 && result[1] == ':' &&
      std::isalpha(static_cast<unsigned char>(result[0]))) {
    result.erase(0, 2);
  }
  if (!result.empty() && result.front() == '\\') result.erase(0, 1);
  while (result.rfind("..\\", 0) == 0) result.erase(0, 3);
  std::replace(result.begin(), result.end(), '\\', '/');
  return result;
}
