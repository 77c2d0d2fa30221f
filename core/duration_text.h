#pragma once
// A length of time as a person says it: "3 hours", "2,000 years",
// "centuries", "more than a million years". Rounded, since the figures it
// shows are estimates.

#include <string>

std::string HumanDuration(double seconds);
