#include "support/desktop_exec.h"

#include "support/shortcut.h"

namespace {

// Characters that make an Exec argument need quotes.
const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
// Characters escaped with a backslash inside a quoted Exec argument.
const QString kEscapedInQuotes = QStringLiteral("\"`$\\");

bool NeedsQuotes(const QString& arg) {
  if (arg.isEmpty()) return true;
  for (QChar c : arg) {
    if (kReserved.contains(c)) return true;
  }
  return false;
}

bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }

// Collects the arguments of a command line as a tokenizer reads it. An
// argument exists once anything of it was seen, so "" is an empty argument
// while blanks between arguments make none.
class TArgCollector {
 public:
  void Append(QChar c) { Append(QString(c)); }
  void Append(const QString& text) {
    current_ += text;
    started_ = true;
  }
  // A quote opens or closes a quoted run; the argument exists from here on.
  void MarkStarted() { started_ = true; }
  void EndArgument() {
    if (started_) args_ << current_;
    current_.clear();
    started_ = false;
  }
  QStringList Finish() {
    EndArgument();
    return args_;
  }

 private:
  QStringList args_;
  QString current_;
  bool started_ = false;
};

}  // namespace

QString EscapeDesktopString(const QString& value) {
  QString out;
  out.reserve(value.size());
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (c == u'\\') {
      out += QStringLiteral("\\\\");
    } else if (c == u'\n') {
      out += QStringLiteral("\\n");
    } else if (c == u'\t') {
      out += QStringLiteral("\\t");
    } else if (c == u'\r') {
      out += QStringLiteral("\\r");
    } else if (c == u' ' && i == 0) {
      out += QStringLiteral("\\s");
    } else {
      out += c;
    }
  }
  return out;
}

QString UnescapeDesktopString(const QString& value) {
  QString out;
  out.reserve(value.size());
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != u'\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const QChar next = value[++i];
    if (next == u's') {
      out += u' ';
    } else if (next == u'n') {
      out += u'\n';
    } else if (next == u't') {
      out += u'\t';
    } else if (next == u'r') {
      out += u'\r';
    } else if (next == u'\\') {
      out += u'\\';
    } else {  // not an escape of the string level: kept for the Exec level
      out += u'\\';
      out += next;
    }
  }
  return out;
}

QStringList SplitQuotedParameters(const QString& parameters) {
  TArgCollector args;
  bool quoted = false;
  for (qsizetype i = 0; i < parameters.size(); ++i) {
    const QChar c = parameters[i];
    if (c == u'"') {
      if (quoted && i + 1 < parameters.size() && parameters[i + 1] == u'"') {
        args.Append(u'"');
        ++i;
      } else {
        quoted = !quoted;
        args.MarkStarted();
      }
    } else if (c == u' ' && !quoted) {
      args.EndArgument();
    } else {
      args.Append(c);
    }
  }
  return args.Finish();
}

QString QuoteDesktopExecArg(const QString& arg) {
  QString quoted;
  if (NeedsQuotes(arg)) {
    quoted += u'"';
    for (QChar c : arg) {
      if (kEscapedInQuotes.contains(c)) quoted += u'\\';
      quoted += c;
    }
    quoted += u'"';
  } else {
    quoted = arg;
  }
  quoted.replace(u'%', QStringLiteral("%%"));
  return EscapeDesktopString(quoted);
}

QStringList ParseDesktopExec(const QString& exec) {
  const QString line = UnescapeDesktopString(exec);
  TArgCollector args;
  bool quoted = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    const bool hasNext = i + 1 < line.size();
    if (c == u'%' && hasNext) {
      // "%%" is a percent sign; other field codes are left to the launcher.
      ++i;
      args.Append(line[i] == u'%' ? QString(u'%') : QString(u'%') + line[i]);
    } else if (quoted && c == u'\\' && hasNext && kEscapedInQuotes.contains(line[i + 1])) {
      args.Append(line[++i]);
    } else if (c == u'"') {
      quoted = !quoted;
      args.MarkStarted();
    } else if (!quoted && IsBlank(c)) {
      args.EndArgument();
    } else {
      args.Append(c);
    }
  }
  return args.Finish();
}
