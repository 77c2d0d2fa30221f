#include "interchange/keepass_xml.h"

#include <array>
#include <pugixml.hpp>
#include <sstream>

#include "core/secure_random.h"

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

void AddEntry(pugi::xml_node group, const TSiteFields& site) {
  pugi::xml_node entry = group.append_child("Entry");
  entry.append_child("UUID").text().set(NewUuid().c_str());
  AddString(entry, "Title", site.site);
  AddString(entry, "UserName", site.user);
  AddString(entry, "Password", site.password, true);
  AddString(entry, "URL", site.url);
  AddString(entry, "Notes", site.notes);
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
  pugi::xml_node group = file.append_child("Root").append_child("Group");
  group.append_child("UUID").text().set(NewUuid().c_str());
  group.append_child("Name").text().set("Vornix");
  for (const TSiteFields& site : sites) AddEntry(group, site);
  std::ostringstream out;
  doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  return out.str();
}

}  // namespace interchange
