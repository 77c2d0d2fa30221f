#include "interchange/csv_formats.h"

#include <algorithm>

namespace interchange {

namespace {

// Checked against each program's exports: the header line, lower-cased.
constexpr std::array kCsvFormats = {
    TCsvFormat{.format = TFormat::Vornix,
               .required = {"site", "user", "password", "url", "notes"},
               .optional = {},
               .site = "site",
               .user = "user",
               .password = "password",
               .url = "url",
               .notes = "notes"},
    // Group,Title,Username,Password,URL,Notes,TOTP,Icon,Last Modified,Created
    TCsvFormat{.format = TFormat::KeePassXc,
               .required = {"group", "title", "username", "password", "url", "notes"},
               .optional = {"totp", "icon", "last modified", "created", "tags"},
               .site = "title",
               .user = "username",
               .password = "password",
               .url = "url",
               .notes = "notes",
               .folder = "group",
               .folderHasRoot = true,
               .totp = "totp"},
    // folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,
    // login_password,login_totp; an organisation's export has collections
    // in place of folder.
    TCsvFormat{.format = TFormat::Bitwarden,
               .required = {"type", "name", "notes", "login_uri", "login_username",
                            "login_password"},
               .optional = {"folder", "collections", "favorite", "fields", "reprompt",
                            "login_totp"},
               .site = "name",
               .user = "login_username",
               .password = "login_password",
               .url = "login_uri",
               .notes = "notes",
               .folder = "folder",
               .totp = "login_totp",
               .noteColumns = {{{"fields", ""}, {"collections", "Collections"}}}},
    // name,url,username,password[,note]
    TCsvFormat{.format = TFormat::Chromium,
               .required = {"name", "url", "username", "password"},
               .optional = {"note"},
               .site = "name",
               .user = "username",
               .password = "password",
               .url = "url",
               .notes = "note"},
    // url,username,password,httpRealm,formActionOrigin,guid,timeCreated,
    // timeLastUsed,timePasswordChanged
    TCsvFormat{.format = TFormat::Firefox,
               .required = {"url", "username", "password"},
               .optional = {"httprealm", "formactionorigin", "guid", "timecreated",
                            "timelastused", "timepasswordchanged"},
               .user = "username",
               .password = "password",
               .url = "url",
               .noteColumns = {{{"httprealm", "HTTP realm"}}}},
    // url,username,password,totp,extra,name,grouping,fav; secure notes have
    // the URL http://sn, nested folders are joined by backslashes.
    TCsvFormat{.format = TFormat::LastPass,
               .required = {"url", "username", "password", "extra", "name", "grouping"},
               .optional = {"totp", "fav"},
               .site = "name",
               .user = "username",
               .password = "password",
               .url = "url",
               .notes = "extra",
               .folder = "grouping",
               .folderSeparator = '\\',
               .totp = "totp",
               .urlForNone = "http://sn"},
    // type,name,url,email,username,password,note,totp,createTime,modifyTime,
    // vault
    TCsvFormat{.format = TFormat::ProtonPass,
               .required = {"type", "name", "url", "username", "password", "note"},
               .optional = {"email", "totp", "createtime", "modifytime", "vault"},
               .site = "name",
               .user = "username",
               .password = "password",
               .url = "url",
               .notes = "note",
               .folder = "vault",
               .totp = "totp",
               .otherUser = {"email", "E-mail"}},
    // Title,Url,Username,Password,OTPAuth,Favorite,Archived,Tags,Notes
    TCsvFormat{.format = TFormat::OnePassword,
               .required = {"title", "url", "username", "password"},
               .optional = {"otpauth", "favorite", "archived", "tags", "notes"},
               .site = "title",
               .user = "username",
               .password = "password",
               .url = "url",
               .notes = "notes",
               .totp = "otpauth",
               .noteColumns = {{{"tags", "Tags"}}}},
    // username,username2,username3,title,password,note,url,category,otpSecret
    TCsvFormat{.format = TFormat::Dashlane,
               .required = {"username", "title", "password", "url"},
               .optional = {"username2", "username3", "note", "category", "otpsecret"},
               .site = "title",
               .user = "username",
               .password = "password",
               .url = "url",
               .notes = "note",
               .folder = "category",
               .totp = "otpsecret",
               .noteColumns = {{{"username2", "User name"}, {"username3", "User name"}}}},
};

}  // namespace

std::span<const TCsvFormat> CsvFormats() { return kCsvFormats; }

bool Lists(const TColumnList& columns, std::string_view name) {
  return !name.empty() && std::find(columns.begin(), columns.end(), name) != columns.end();
}

}  // namespace interchange
