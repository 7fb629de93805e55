#include "kit/history_without_date_key.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/record/btr_access.h"
#include "platform/record/btr_file.h"
#include "platform/record/status.h"

namespace qz::testkit {

std::string MakeHistoryWithoutDateKey(const std::string& spec_file, const std::string& data_folder,
                                      bool keep_definitions) {
  std::vector<std::string> records;
  {
    record::BtrAccess obj;
    if (!obj.OpenFile("QZJRKLF.BTR", "QZJRKLF", data_folder, spec_file)) return "the history does not open";
    for (int s = obj.GetFirst("QZJRKLF"); s == record::kStatusOk; s = obj.GetNext()) records.push_back(obj.RecordBytes());
  }
  std::ifstream in(spec_file, std::ios::binary);
  const std::string with_key((std::istreambuf_iterator<char>(in)), {});
  in.close();
  std::string without = with_key;
  for (const std::string line : {"KEY1=11:8:N,1:10:A;UNIQUE\r\n", "QZJRK2LF=QZJRKLF.BTR,1\r\n"}) {
    const auto at = without.find(line, without.find("[QZJRKLF.BTR]"));
    if (at == std::string::npos) return "the definitions have no line " + line;
    without.erase(at, line.size());
  }
  std::ofstream(spec_file, std::ios::binary | std::ios::trunc) << without;
  if (record::CreateRecordFile(spec_file, "QZJRKLF.BTR", data_folder, true) != record::kStatusOk) {
    return "the history cannot be made anew";
  }
  {
    record::BtrAccess obj;
    if (!obj.OpenFile("QZJRKLF.BTR", "QZJRKLF", data_folder, spec_file)) return "the new history does not open";
    for (const std::string& r : records) {
      obj.SetRecordBytes(r);
      if (obj.Insert("QZJRKLF") != record::kStatusOk) return "a record does not go back";
    }
  }
  if (keep_definitions) std::ofstream(spec_file, std::ios::binary | std::ios::trunc) << with_key;
  return "";
}

}  // namespace qz::testkit
