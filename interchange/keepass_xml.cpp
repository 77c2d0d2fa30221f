#include "interchange/keepass_xml.h"

#include <array>
#include <map>
#include <pugixml.hpp>
#include <sstream>

#include "core/secure_random.h"
#include "interchange/note_lines.h"
#include "interchange/site_path.h"

namespace interchange {

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string Base64(const std::array<unsigned char, 16>& bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t left = bytes.size() - i;
    unsigned value = bytes[i] << 16;
    if (left > 1) value |= bytes[i + 1] << 8;
    if (left > 2) value |= bytes[i + 2];
    text += kBase64[(value >> 18) & 63];
    text += kBase64[(value >> 12) & 63];
    text += left > 1 ? kBase64[(value >> 6) & 63] : '=';
    text += left > 2 ? kBase64[value & 63] : '=';
  }
  return text;
}

// Entries and groups are told apart by random 16-byte identifiers.
std::string NewUuid() {
  std::array<unsigned char, 16> bytes{};
  SecureRandomBytes(bytes.data(), bytes.size());
  return Base64(bytes);
}

void AddString(pugi::xml_node entry, const char* key, const std::string& value,
               bool protect = false) {
  pugi::xml_node field = entry.append_child("String");
  field.append_child("Key").text().set(key);
  pugi::xml_node node = field.append_child("Value");
  if (protect) node.append_attribute("ProtectInMemory").set_value("True");
  node.text().set(value.c_str());
}

pugi::xml_node AddGroup(pugi::xml_node parent, const std::string& name) {
  pugi::xml_node group = parent.append_child("Group");
  group.append_child("UUID").text().set(NewUuid().c_str());
  group.append_child("Name").text().set(name.c_str());
  return group;
}

// The group tree below the root, made as the sites' folders ask for it.
class TGroupTree {
 public:
  explicit TGroupTree(pugi::xml_node root) : root_(root) {}

  // The group of a folder path "A/B", made with its parents where missing.
  pugi::xml_node GroupOf(const std::string& folder) {
    if (folder.empty()) return root_;
    if (auto found = groups_.find(folder); found != groups_.end()) return found->second;
    const TSitePath parent = SplitSitePath(folder);
    const pugi::xml_node group =
        parent.folder.empty() ? AddGroup(root_, folder) : AddGroup(GroupOf(parent.folder), parent.name);
    groups_.emplace(folder, group);
    return group;
  }

 private:
  pugi::xml_node root_;
  std::map<std::string, pugi::xml_node> groups_;
};

void AddEntry(TGroupTree& groups, const TSiteFields& site) {
  const TSitePath path = SplitSitePath(site.site);
  const TNotesTotp notes = SplitTotp(site.notes);
  pugi::xml_node entry = groups.GroupOf(path.folder).append_child("Entry");
  entry.append_child("UUID").text().set(NewUuid().c_str());
  AddString(entry, "Title", path.name);
  AddString(entry, "UserName", site.user);
  AddString(entry, "Password", site.password, true);
  AddString(entry, "URL", site.url);
  AddString(entry, "Notes", notes.notes);
  if (!notes.totp.empty()) AddString(entry, "otp", TotpUri(notes.totp, path.name), true);
}

}  // namespace

std::string KeePassXml(const std::vector<TSiteFields>& sites) {
  pugi::xml_document doc;
  pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
  declaration.append_attribute("version").set_value("1.0");
  declaration.append_attribute("encoding").set_value("UTF-8");
  declaration.append_attribute("standalone").set_value("yes");
  pugi::xml_node file = doc.append_child("KeePassFile");
  file.append_child("Meta").append_child("Generator").text().set("Vornix");
  TGroupTree groups(AddGroup(file.append_child("Root"), "Vornix"));
  for (const TSiteFields& site : sites) AddEntry(groups, site);
  std::ostringstream out;
  doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  return out.str();
}

}  // namespace interchange
