#include "forms/site_field_check.h"

#include "core/pw_rec.h"
#include "support/text_convert.h"

namespace {

// What the character is called in a message, or empty when the field may
// hold it.
QString Forbidden(QChar c, bool isSiteName) {
  if (c == u'\t') return QStringLiteral("a tab character");
  if (c == u'\r' || c == u'\n') return QStringLiteral("a line break");
  if (isSiteName && c == u'=') return QStringLiteral("\"=\"");
  return {};
}

// The text as the record will hold it: its setters trim every field but
// the password, which is stored exactly.
QString Stored(SiteField field, const QString& text) {
  return field == SiteField::PW ? text : ToQString(TrimControls(ToBytes(text)));
}

std::optional<TFieldProblem> Check(SiteField field, const QString& label, const QString& text) {
  for (const QChar c : Stored(field, text)) {
    const QString what = Forbidden(c, field == SiteField::Site);
    if (!what.isEmpty())
      return TFieldProblem{field, QStringLiteral("The %1 cannot contain %2.").arg(label, what)};
  }
  return std::nullopt;
}

}  // namespace

std::optional<TFieldProblem> FindFieldProblem(const TEditorFields& fields) {
  if (auto problem = Check(SiteField::Site, QStringLiteral("site name"), fields.site))
    return problem;
  if (auto problem = Check(SiteField::URL, QStringLiteral("URL"), fields.url)) return problem;
  if (auto problem = Check(SiteField::User, QStringLiteral("user name"), fields.user))
    return problem;
  if (auto problem = Check(SiteField::PW, QStringLiteral("password"), fields.pw)) return problem;
  return std::nullopt;
}
