#include "interchange/bitwarden_json.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>

#include "interchange/note_lines.h"
#include "interchange/site_path.h"
#include "interchange/url_host.h"

namespace interchange {

namespace {

using nlohmann::json;

// A member's text: strings as they are, numbers and booleans written out,
// nothing for null or a missing member.
std::string Text(const json& object, const char* key) {
  if (!object.is_object()) return {};
  const auto found = object.find(key);
  if (found == object.end() || found->is_null() || found->is_structured()) return {};
  return found->is_string() ? found->get<std::string>() : found->dump();
}

// Identifier -> name of the export's folders (or an organisation's
// collections).
std::map<std::string, std::string> NamesById(const json& file, const char* key) {
  std::map<std::string, std::string> names;
  const auto list = file.find(key);
  if (list == file.end() || !list->is_array()) return names;
  for (const json& entry : *list) names[Text(entry, "id")] = Text(entry, "name");
  return names;
}

// Cards, identities and keys: each filled member as a "name: value" line.
void AppendMembers(std::string& notes, const json& object) {
  if (!object.is_object()) return;
  for (const auto& [key, value] : object.items()) AppendNoteLine(notes, key, Text(object, key.c_str()));
}

class TJsonReader {
 public:
  explicit TJsonReader(const json& file)
      : folders_(NamesById(file, "folders")), collections_(NamesById(file, "collections")) {}

  TSiteFields FieldsOf(const json& item, int number) const {
    TSiteFields fields;
    fields.notes = Text(item, "notes");
    const json empty = json::object();
    const json& login = item.contains("login") && item["login"].is_object() ? item["login"] : empty;
    fields.user = Text(login, "username");
    fields.password = Text(login, "password");
    if (login.contains("uris") && login["uris"].is_array()) {
      for (const json& uri : login["uris"]) {
        if (fields.url.empty()) fields.url = Text(uri, "uri");
        else AppendNoteLine(fields.notes, "URL", Text(uri, "uri"));
      }
    }
    if (item.contains("fields") && item["fields"].is_array()) {
      for (const json& field : item["fields"]) {
        AppendNoteLine(fields.notes, Text(field, "name"), Text(field, "value"));
      }
    }
    for (const char* part : {"card", "identity", "sshKey"}) {
      if (item.contains(part)) AppendMembers(fields.notes, item[part]);
    }
    AppendNoteLine(fields.notes, "Collections", CollectionNames(item));
    fields.notes = NotesWithTotp(fields.notes, Text(login, "totp"));
    std::string name = Text(item, "name");
    if (name.empty()) name = UrlHost(fields.url);
    if (name.empty()) {
      throw EFormatError(0, "item " + std::to_string(number) + " has neither a name nor a URL");
    }
    const auto folder = folders_.find(Text(item, "folderId"));
    fields.site = PrefixedName(folder == folders_.end() ? "" : folder->second, name);
    return fields;
  }

 private:
  std::string CollectionNames(const json& item) const {
    std::string names;
    if (!item.contains("collectionIds") || !item["collectionIds"].is_array()) return names;
    for (const json& id : item["collectionIds"]) {
      const auto found = id.is_string() ? collections_.find(id.get<std::string>()) : collections_.end();
      if (found != collections_.end()) names += (names.empty() ? "" : ", ") + found->second;
    }
    return names;
  }

  std::map<std::string, std::string> folders_, collections_;
};

json Parsed(std::string_view text) {
  try {
    return json::parse(text);
  } catch (const json::parse_error& e) {
    const auto end = text.begin() + static_cast<std::ptrdiff_t>(std::min(e.byte, text.size()));
    throw EFormatError(1 + static_cast<int>(std::count(text.begin(), end, '\n')),
                       "the JSON is malformed");
  }
}

}  // namespace

TSiteImport ReadBitwardenJson(std::string_view text) {
  const json file = Parsed(text);
  if (!file.is_object() || !file.contains("items") || !file["items"].is_array()) {
    throw EFormatError(1, "the JSON is not a Bitwarden export (it has no items)");
  }
  if (Text(file, "encrypted") == "true") {
    throw EFormatError(1, "the export is encrypted; export the vault as unencrypted JSON");
  }
  TSiteImport result;
  result.format = TFormat::BitwardenJson;
  const TJsonReader reader(file);
  int number = 0;
  for (const json& item : file["items"]) {
    ++number;
    result.sites.push_back({.fields = reader.FieldsOf(item, number), .item = number});
  }
  return result;
}

}  // namespace interchange
