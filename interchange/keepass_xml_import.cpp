#include "interchange/keepass_xml_import.h"

#include <algorithm>
#include <pugixml.hpp>
#include <span>

#include "interchange/note_lines.h"
#include "interchange/site_path.h"
#include "interchange/url_host.h"

namespace interchange {

namespace {

// Line numbers of byte offsets into the text.
class TLineIndex {
 public:
  explicit TLineIndex(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') breaks_.push_back(i);
    }
  }
  int LineOf(std::ptrdiff_t offset) const {
    const auto before = std::lower_bound(breaks_.begin(), breaks_.end(),
                                         static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0)));
    return 1 + static_cast<int>(before - breaks_.begin());
  }

 private:
  std::vector<std::size_t> breaks_;
};

// The strings every entry has; any other string is kept in the notes.
constexpr std::string_view kStandardKeys[] = {"Title", "UserName", "Password", "URL", "Notes"};
// Where KeePassXC keeps the one-time password: "otp" now, the seed and
// settings pair in older databases.
constexpr std::string_view kTotpKeys[] = {"otp", "TOTP Seed"};
constexpr std::string_view kTotpSettings = "TOTP Settings";

bool IsOneOf(std::string_view key, std::span<const std::string_view> keys) {
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

class TXmlReader {
 public:
  TXmlReader(std::string_view text, pugi::xml_node file, TSiteImport& result)
      : lines_(text), result_(result) {
    recycleBin_ = file.child("Meta").child_value("RecycleBinUUID");
  }

  void ReadGroup(pugi::xml_node group, const std::string& path) {
    for (pugi::xml_node entry : group.children("Entry")) ReadEntry(entry, path);
    for (pugi::xml_node child : group.children("Group")) {
      if (!recycleBin_.empty() && recycleBin_ == child.child_value("UUID")) continue;
      ReadGroup(child, PrefixedName(path, child.child_value("Name")));
    }
  }

 private:
  int LineOf(pugi::xml_node node) const { return lines_.LineOf(node.offset_debug()); }

  void ReadEntry(pugi::xml_node entry, const std::string& path) {
    const int line = LineOf(entry);
    TSiteFields fields;
    std::string name, totp, extra;
    for (pugi::xml_node string : entry.children("String")) {
      const std::string_view key = string.child_value("Key");
      pugi::xml_node value = string.child("Value");
      if (value.attribute("Protected").as_bool()) {
        throw EFormatError(LineOf(value),
                           "the value of \"" + std::string(key) +
                               "\" is encrypted; export the database as XML without protection");
      }
      const std::string text = value.text().get();
      if (key == "Title") name = text;
      else if (key == "UserName") fields.user = text;
      else if (key == "Password") fields.password = text;
      else if (key == "URL") fields.url = text;
      else if (key == "Notes") fields.notes = text;
      else if (IsOneOf(key, kTotpKeys)) totp = text;
      else if (key != kTotpSettings) AppendNoteLine(extra, key, text);
    }
    AppendNoteLine(fields.notes, "Tags", entry.child_value("Tags"));
    AppendNoteLine(fields.notes, "", extra);
    fields.notes = NotesWithTotp(fields.notes, totp);
    for (pugi::xml_node binary : entry.children("Binary")) {
      result_.notices.push_back("line " + std::to_string(LineOf(binary)) + ": the attachment \"" +
                                binary.child_value("Key") + "\" is left out");
    }
    if (name.empty()) name = UrlHost(fields.url);
    if (name.empty()) throw EFormatError(line, "the entry has neither a title nor a URL");
    fields.site = PrefixedName(path, name);
    result_.sites.push_back({.fields = std::move(fields), .line = line});
  }

  TLineIndex lines_;
  TSiteImport& result_;
  std::string recycleBin_;
};

}  // namespace

TSiteImport ReadKeePassXml(std::string_view text) {
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed =
      doc.load_buffer(text.data(), text.size(),
                    // A password of blanks only is a value too.
                    pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
  if (!parsed) {
    throw EFormatError(TLineIndex(text).LineOf(parsed.offset),
                       std::string("the XML is malformed: ") + parsed.description());
  }
  pugi::xml_node file = doc.child("KeePassFile");
  pugi::xml_node root = file.child("Root").child("Group");
  if (!root) throw EFormatError(1, "the XML is not a KeePass 2 export");
  TSiteImport result;
  result.format = TFormat::KeePassXml;
  // The root group is the database itself: its name is no prefix.
  TXmlReader(text, file, result).ReadGroup(root, {});
  return result;
}

}  // namespace interchange
