#pragma once
// The About box.

int ExecuteAbout();
