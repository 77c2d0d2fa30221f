#include "archive/zip/change_records_member.h"

#include "archive/codec/crc32.h"

bool CarriesChangeRecords(TEncryption encryption, const std::string& password) {
  return IsAes(encryption) && !password.empty();
}

std::string ChangeRecordsText(TChangeRecords records, const std::string& data) {
  records.dataCrc = Crc32(data.data(), data.size());
  records.dataSize = data.size();
  return FormatChangeRecords(records);
}

std::optional<TChangeRecords> ChangeRecordsFor(const std::string& text, const std::string& data) {
  std::optional<TChangeRecords> records = ParseChangeRecords(text);
  if (!records || records->dataSize != data.size() ||
      records->dataCrc != Crc32(data.data(), data.size())) {
    return std::nullopt;
  }
  return records;
}
