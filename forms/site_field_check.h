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

// Not TSiteFields: the core has a struct of that name, and two classes of
// one name break the program when it links both.
struct TEditorFields {
  QString site;
  QString url;
  QString user;
  QString pw;
};

// The first problem in the editor's tab order, or nothing when all fields
// can be written. Fields are checked as the record will hold them, trimmed
// at both ends: a tab pasted after a password is trimmed away, not refused.
std::optional<TFieldProblem> FindFieldProblem(const TEditorFields& fields);
