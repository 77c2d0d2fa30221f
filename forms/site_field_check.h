#pragma once
// Which site editor input the one-line site form cannot carry. A site line
// is  Site "=" User TAB PW TAB URL TAB Note : an "=" in the site name, or a
// tab or line break in one of the first four fields, would come back from
// the file with its fields shifted or split, so the editor refuses them.

#include <QString>
#include <optional>

enum class SiteField { Site, URL, User, PW };

struct TFieldProblem {
  SiteField field;
  QString message;
};

// Named apart from core's TSiteFields: two classes of one name break the
// program once both are linked in.
struct TEditorFields {
  QString site;
  QString url;
  QString user;
  QString pw;
};

// The first problem in the editor's tab order, or nothing when all fields
// can be written. Fields are checked as the record will hold them: a tab
// pasted after a user name is trimmed away, not refused, but one after a
// password is refused, since the password is stored exactly.
std::optional<TFieldProblem> FindFieldProblem(const TEditorFields& fields);
