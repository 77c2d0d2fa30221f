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

std::optional<TFieldProblem> Check(SiteField field, const QString& label, const QString& text) {
  // The record's setters trim the same way when the dialog writes it.
  for (const QChar c : ToQString(TrimControls(ToBytes(text)))) {
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
