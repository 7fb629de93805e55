#include "kit/suite_builder.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <utility>

#include "data/define_fields.h"
#include "data/definitions_text.h"
#include "examinee/bas_public.h"
#include "kit/pg_server.h"
#include "platform/record/btr_access.h"
#include "platform/record/btr_file.h"
#include "platform/record/status.h"
#include "platform/text/cp932.h"
#include "tools/reservation_database.h"

namespace qz::testkit {

namespace fs = std::filesystem;

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string Folder(const fs::path& p) { return p.string() + "/"; }

}  // namespace

SuiteBuilder::SuiteBuilder(std::string root) {
  if (root.empty()) {
    std::string pattern = (fs::temp_directory_path() / "qzsuite-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    root = pattern;
    temporary_ = true;
  }
  fs::path r = fs::path(root).lexically_normal();
  if (!r.has_filename()) r = r.parent_path();  // "x/" names the folder x
  paths_.root = Folder(r);
  paths_.program = Folder(r / "QZP140");
  paths_.data = Folder(r / "DATA");
  paths_.work = Folder(r / "SVWORK");
  paths_.hope = Folder(r / "HOPE");
  paths_.reserve = (r / "RESERVE" / "RESERVE.MDB").string();
  paths_.spec_file = paths_.program + "CPFSPEC.INI";
  paths_.path_ini = paths_.program + "QZPPATH.ini";
  paths_.p140_ini = paths_.program + "QZP140.INI";
  path_keys_ = {{"HOPE", paths_.hope},         {"VLMP", paths_.program}, {"VLMF", paths_.data},
                {"CPFSPEC ", paths_.spec_file}, {"RESERVE", paths_.reserve}, {"SVWORK", paths_.work}};
  SetIni("SysInfo", "MenuCheck", "0");
  const char* engine = std::getenv("QZ_SUITE_ENGINE");
  if (engine && std::string_view(engine) == "postgres") {
    if (!PgServer()) throw std::runtime_error("QZ_SUITE_ENGINE=postgres needs QZ_TEST_PG");
    schemas_ = {NewPgSchema(), NewPgSchema()};
  }
}

SuiteBuilder::~SuiteBuilder() {
  if (temporary_ && !keep_) {
    std::error_code ec;
    fs::remove_all(paths_.root, ec);
    for (const std::string& schema : schemas_) DropPgSchema(schema);
  }
}

const data::FileLayout* SuiteBuilder::Resolve(std::string_view layout, const RecordInit& fields) const {
  bool known = false;
  for (const data::FileLayout* l : data::AllLayouts()) {
    if (l->name != layout && l->definition != layout) continue;
    known = true;
    bool all = true;
    for (const FieldSet& f : fields) all = all && l->Find(f.name) != nullptr;
    if (all) return l;
  }
  throw std::invalid_argument(std::string(known ? "a field is not in any layout of " : "no layout ") +
                              std::string(layout));
}

SuiteBuilder& SuiteBuilder::Add(std::string_view layout, std::initializer_list<FieldSet> fields) {
  return Add(layout, RecordInit(fields));
}

SuiteBuilder& SuiteBuilder::Add(std::string_view layout, const RecordInit& fields) {
  Pending p{Resolve(layout, fields), fields};
  if (omitted_.count(p.layout->file) != 0) return *this;
  if (built_) {
    WriteRecords({p});
  } else {
    pending_.push_back(std::move(p));
  }
  return *this;
}

SuiteBuilder& SuiteBuilder::SetIni(std::string_view section, std::string_view key, std::string_view value) {
  for (auto& [name, entries] : p140_) {
    if (name != section) continue;
    for (auto& [k, v] : entries) {
      if (k == key) {
        v = value;
        return *this;
      }
    }
    entries.emplace_back(key, value);
    return *this;
  }
  p140_.push_back({std::string(section), {{std::string(key), std::string(value)}}});
  return *this;
}

SuiteBuilder& SuiteBuilder::SetPathKey(std::string_view key, std::string_view value, bool present) {
  for (auto it = path_keys_.begin(); it != path_keys_.end(); ++it) {
    if (it->first == key) {
      if (present) {
        it->second = value;
      } else {
        path_keys_.erase(it);
      }
      return *this;
    }
  }
  if (present) path_keys_.emplace_back(key, value);
  return *this;
}

SuiteBuilder& SuiteBuilder::Omit(std::string_view file) {
  omitted_.insert(std::string(file));
  std::erase_if(pending_, [&](const Pending& p) { return p.layout->file == file; });
  return *this;
}

SuiteBuilder& SuiteBuilder::OnServer(std::string conninfo) {
  server_ = std::move(conninfo);
  if (schemas_.empty()) schemas_ = {NewPgSchema(), NewPgSchema()};
  return *this;
}

SuiteBuilder& SuiteBuilder::SetKwbDisp(std::string_view text) {
  kwbdisp_ = text;
  return *this;
}

void SuiteBuilder::WriteIniFiles() const {
  std::string path_ini = "[FILE_PATH]\r\n";
  for (const auto& [k, v] : path_keys_) path_ini += k + "=" + v + "\r\n";
  WriteFile(paths_.path_ini, text::ToCp932(path_ini));

  std::string p140;
  for (const auto& [section, entries] : p140_) {
    p140 += "[" + section + "]\r\n";
    for (const auto& [k, v] : entries) p140 += k + "=" + v + "\r\n";
    p140 += "\r\n";
  }
  WriteFile(paths_.p140_ini, text::ToCp932(p140));
  std::string spec = data::DefinitionsIniText();
  if (!schemas_.empty()) {
    const auto storage = [&](const std::string& schema) {
      return server_.empty() ? PgStorage(schema) : "POSTGRESQL " + server_ + " schema=" + schema;
    };
    spec += "\r\n[STORAGE]\r\n" + paths_.data + "=" + storage(schemas_[0]) + "\r\n" + paths_.work + "=" +
            storage(schemas_[1]) + "\r\n";
  }
  WriteFile(paths_.spec_file, spec);
  WriteFile(paths_.program + "KWBDISP.ENV", text::ToCp932(kwbdisp_ + "\r\n"));
}

void SuiteBuilder::CreateFiles() const {
  std::set<std::string> made;
  for (const data::FileLayout* l : data::AllLayouts()) {
    if (omitted_.count(l->file) != 0 || !made.insert(l->file).second) continue;
    const std::string& folder = l->folder == data::FileFolder::kWork ? paths_.work : paths_.data;
    if (record::CreateRecordFile(paths_.spec_file, l->file, folder, true) != record::kStatusOk) {
      throw std::runtime_error("cannot create " + folder + l->file);
    }
  }
}

void SuiteBuilder::WriteRecords(const std::vector<Pending>& records) const {
  if (records.empty()) return;
  // One object per layout, and one transaction for the whole batch.
  std::map<const data::FileLayout*, std::unique_ptr<record::BtrAccess>> open;
  for (const Pending& p : records) {
    const data::FileLayout& l = *p.layout;
    std::unique_ptr<record::BtrAccess>& obj = open[&l];
    if (obj) continue;
    obj = std::make_unique<record::BtrAccess>();
    const std::string& folder = l.folder == data::FileFolder::kWork ? paths_.work : paths_.data;
    if (!obj->OpenFile(l.file, l.definition, folder, paths_.spec_file)) {
      throw std::runtime_error("cannot open " + folder + l.file);
    }
    DefineLayoutFields(*obj, l);
  }
  record::BtrAccess& any = *open.begin()->second;
  if (any.BeginTrans() != record::kStatusOk) throw std::runtime_error("cannot begin a transaction");
  try {
    for (const Pending& p : records) InsertRecord(*open.at(p.layout), p);
  } catch (...) {
    any.AbortTrans();
    throw;
  }
  if (any.EndTrans() != record::kStatusOk) throw std::runtime_error("cannot end the transaction");
  for (auto& [layout, obj] : open) obj->CloseFile();
}

void SuiteBuilder::InsertRecord(record::BtrAccess& obj, const Pending& p) const {
  const data::FileLayout& l = *p.layout;
  for (const data::FieldDef& f : l.fields) {
    if (f.kind == data::FieldKind::kNumeric) {
      obj.SetField(f.name, std::int64_t{0});
    } else {
      obj.SetField(f.name, "");
    }
  }
  for (const FieldSet& f : p.fields) {
    try {
      if (f.value.is_number()) {
        obj.SetField(f.name, f.value.number());
      } else {
        obj.SetField(f.name, f.value.text());
      }
    } catch (const std::exception& e) {
      throw std::runtime_error(l.name + "." + f.name + ": " + e.what());
    }
  }
  const int status = obj.Insert(l.definition);
  if (status != record::kStatusOk) {
    throw std::runtime_error("insert into " + l.definition + " gave status " + std::to_string(status));
  }
}

const SuitePaths& SuiteBuilder::Build() {
  for (const std::string& f : {paths_.program, paths_.data, paths_.work, paths_.hope}) fs::create_directories(f);
  fs::create_directories(fs::path(paths_.reserve).parent_path());
  if (!fs::exists(paths_.reserve)) CreateReservationDatabase(paths_.reserve);  // no bookings
  WriteIniFiles();
  CreateFiles();
  WriteRecords(pending_);
  pending_.clear();
  built_ = true;
  return paths_;
}

void SuiteBuilder::ApplyPaths() const {
  basPublic.HopePath = paths_.hope;
  basPublic.VlmpPath = paths_.program;
  basPublic.VlmfPath = paths_.data;
  basPublic.SpecPath = paths_.spec_file;
  basPublic.ReservePath = paths_.reserve;
  basPublic.SvworkPath = paths_.work;
}

}  // namespace qz::testkit
