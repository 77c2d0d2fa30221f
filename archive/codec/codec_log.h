#pragma once
// The optional log file of one codec call: when a log file name is set, the
// file is created with the call's heading and a note that detailed logging is
// not built in.

#include <string>

// heading: "INFLATING STREAM..." or "DEFLATING STREAM...". Does nothing for
// an empty name; a file that cannot be created is not an error of the call.
void WriteCodecLog(const std::string& fileName, const char* heading);
