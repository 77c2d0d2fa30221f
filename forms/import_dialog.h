#pragma once
// Choosing sites of another archive. On OK the list holds the chosen lines.

class QString;
class TqelPwList;

int ExecuteImport(TqelPwList& list);
// The same for sites read from another keeper's export: the title names the
// file, the note (when not empty) what was left out.
int ExecuteImport(TqelPwList& list, const QString& title, const QString& note);
