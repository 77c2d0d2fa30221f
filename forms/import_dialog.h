#pragma once
// Choosing sites of another archive. On OK the list holds the chosen lines.

class TqelPwList;

int ExecuteImport(TqelPwList& list);
