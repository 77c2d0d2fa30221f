#include "archive/codec/codec_log.h"

#include <fstream>

void WriteCodecLog(const std::string& fileName, const char* heading) {
  if (fileName.empty()) return;
  std::ofstream log(fileName, std::ios::binary | std::ios::trunc);
  log << heading << "\r\n"
      << "Need to recompile the app with UseLogging turned on"
      << "\r\n";
}
