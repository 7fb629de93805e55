// btrutil: creates, dumps, loads and shows record-manager files.
//
//   btrutil info   DEFS
//   btrutil create DEFS DATA FILE [--replace]
//   btrutil dump   DEFS DATA DEFINITION [--layout F] [--cp932] [--out F]
//   btrutil load   DEFS DATA DEFINITION [--layout F] [--cp932] [--in F]
//   btrutil show   DEFS DATA DEFINITION [--layout F] FIELD=VALUE ...
//   btrutil copy   DEFS FROM TO [--replace]
//
// DEFS is the definitions file or its folder, DATA the data folder. The
// fields come from --layout (a field list, see layout_file.h), else from a
// registered layout of the definition, else the record is one column RECORD
// in hexadecimal. CSV is UTF-8 unless --cp932; its first row names the
// fields. `copy` copies every file of DEFS found in the data folder FROM to
// the data folder TO, each folder on the engine DEFS gives it (so a folder
// moves from SQLite files to a PostgreSQL schema or back). Exit status 0, 1
// for a usage error, 2 for a failure.
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "csv.h"
#include "layout_file.h"
#include "data/layout_registration.h"
#include "platform/record/btr_access.h"
#include "platform/record/btr_file.h"
#include "platform/record/definitions.h"
#include "platform/record/layout_registry.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"
#include "platform/text/hex.h"

namespace qz::btrutil {
namespace {

using record::BtrAccess;

constexpr const char* kUsage =
    "usage: btrutil info   DEFS\n"
    "       btrutil create DEFS DATA FILE [--replace]\n"
    "       btrutil dump   DEFS DATA DEFINITION [--layout FILE] [--cp932] [--out FILE]\n"
    "       btrutil load   DEFS DATA DEFINITION [--layout FILE] [--cp932] [--in FILE]\n"
    "       btrutil show   DEFS DATA DEFINITION [--layout FILE] FIELD=VALUE ...\n"
    "       btrutil copy   DEFS FROM TO [--replace]\n";

struct Args {
  std::vector<std::string> words;
  std::map<std::string, std::string> options;  // --name value, or "1" for flags
};

std::optional<Args> ParseArgs(int argc, char** argv) {
  Args a;
  for (int i = 1; i < argc; ++i) {
    std::string w = argv[i];
    if (w == "--replace" || w == "--cp932") {
      a.options[w] = "1";
    } else if (w == "--layout" || w == "--in" || w == "--out") {
      if (i + 1 >= argc) return std::nullopt;
      a.options[w] = argv[++i];
    } else if (w.rfind("--", 0) == 0) {
      return std::nullopt;
    } else {
      a.words.push_back(w);
    }
  }
  return a;
}

int Fail(const std::string& text) {
  std::cerr << "btrutil: " << text << "\n";
  return 2;
}

// The definitions named by `defs`, or nullopt after a message.
std::optional<record::Definitions> LoadDefinitions(const std::string& defs) {
  std::string path = record::FindDefinitionsFile(defs);
  std::string error;
  auto d = path.empty() ? std::nullopt : record::Definitions::Load(path, &error);
  if (!d) Fail("no definitions in " + defs + (error.empty() ? "" : ": " + error));
  return d;
}

// An open object with its fields declared; `hex` when the record is one
// hexadecimal column.
struct Opened {
  BtrAccess file;
  bool hex = false;
};

bool Open(const Args& a, Opened* o) {
  auto defs = LoadDefinitions(a.words[1]);
  if (!defs) return false;
  const record::DefinitionEntry* def = defs->FindDefinition(a.words[3]);
  if (!def) return Fail("no definition " + a.words[3]) == 0;
  if (!o->file.OpenFile(def->file, a.words[3], a.words[2], a.words[1])) {
    return Fail("cannot open " + def->file + " under " + a.words[3]) == 0;
  }
  record::LayoutProvider layout;
  if (auto it = a.options.find("--layout"); it != a.options.end()) {
    std::string error;
    layout = ReadLayoutFile(it->second, &error);
    if (!layout) return Fail(error) == 0;
  } else if (const record::LayoutProvider* found = record::FindLayout(a.words[3])) {
    layout = *found;
  }
  if (!layout) {
    o->hex = true;
    return true;
  }
  try {
    layout(o->file);
  } catch (const RunTimeError& e) {
    return Fail("the layout does not fit the file: " + e.description()) == 0;
  }
  return true;
}

std::vector<std::string> Header(const Opened& o) {
  if (o.hex) return {"RECORD"};
  std::vector<std::string> names;
  for (const record::FieldInfo& f : o.file.Fields()) names.push_back(f.name);
  return names;
}

std::vector<std::string> Values(const Opened& o) {
  if (o.hex) return {text::ToHex(o.file.RecordBytes())};
  std::vector<std::string> values;
  for (const record::FieldInfo& f : o.file.Fields()) values.push_back(o.file.GetField(f.name).ToText());
  return values;
}

// Sets `name` to `value` (RECORD: hexadecimal bytes); false after a message.
bool Set(Opened& o, const std::string& name, const std::string& value) {
  if (name == "RECORD") {
    auto bytes = text::FromHex(value);
    if (!bytes) return Fail("RECORD is not hexadecimal") == 0;
    if (bytes->size() > static_cast<std::size_t>(o.file.RecordLength())) {
      return Fail("RECORD is longer than the record length " + std::to_string(o.file.RecordLength())) == 0;
    }
    o.file.SetRecordBytes(*bytes);
    return true;
  }
  // A text field would cut a longer value quietly: a load must not lose it.
  for (const record::FieldInfo& f : o.file.Fields()) {
    if (f.kind != record::FieldKind::kNumeric && record::AsciiUpper(f.name) == record::AsciiUpper(name) &&
        text::ToCp932(value).size() > static_cast<std::size_t>(f.length)) {
      return Fail(name + "=" + value + ": longer than the field's " + std::to_string(f.length) + " bytes") == 0;
    }
  }
  try {
    o.file.SetField(name, value);
  } catch (const RunTimeError& e) {
    return Fail(name + "=" + value + ": " + e.description()) == 0;
  }
  return true;
}

int Info(const Args& a) {
  auto defs = LoadDefinitions(a.words[1]);
  if (!defs) return 2;
  for (const auto& [name, f] : defs->files()) {
    std::cout << f.name << " record length " << f.record_length << "\n";
    for (std::size_t k = 0; k < f.keys.size(); ++k) {
      std::cout << "  KEY" << k << " " << record::FormatKey(f.keys[k]) << "\n";
    }
  }
  for (const auto& [name, d] : defs->definitions()) {
    std::cout << name << " = " << d.file << " key " << d.key << "\n";
  }
  return 0;
}

int Create(const Args& a) {
  int status = record::CreateRecordFile(a.words[1], a.words[3], a.words[2], a.options.count("--replace") > 0);
  if (status != 0) return Fail("cannot create " + a.words[3] + ": status " + std::to_string(status));
  return 0;
}

int Dump(const Args& a) {
  Opened o;
  if (!Open(a, &o)) return 2;
  std::ofstream file;
  if (auto it = a.options.find("--out"); it != a.options.end()) {
    file.open(it->second, std::ios::binary);
    if (!file) return Fail("cannot write " + it->second);
  }
  std::ostream& out = file.is_open() ? file : std::cout;
  const bool cp932 = a.options.count("--cp932") > 0;
  auto emit = [&](const std::vector<std::string>& row) {
    std::string line = CsvLine(row);
    out << (cp932 ? text::ToCp932(line) : line) << "\r\n";
  };
  emit(Header(o));
  int status = o.file.GetFirst(a.words[3]);
  int rows = 0;
  for (; status == 0; status = o.file.GetNext(), ++rows) emit(Values(o));
  if (status != 9) return Fail("read failed: status " + std::to_string(status));
  std::cerr << rows << " records\n";
  return 0;
}

int Load(const Args& a) {
  Opened o;
  if (!Open(a, &o)) return 2;
  std::ifstream file;
  if (auto it = a.options.find("--in"); it != a.options.end()) {
    file.open(it->second, std::ios::binary);
    if (!file) return Fail("cannot read " + it->second);
  }
  std::istream& in = file.is_open() ? file : std::cin;
  const bool cp932 = a.options.count("--cp932") > 0;
  bool unterminated = false;
  auto row = [&]() -> std::optional<std::vector<std::string>> {
    auto r = ReadCsvRow(in, &unterminated);
    if (r && cp932) {
      for (std::string& f : *r) f = text::FromCp932(f);
    }
    return r;
  };
  auto header = row();
  if (!header || unterminated) return Fail("no header row");
  // A file saved with a UTF-8 byte-order mark names its first field after it.
  if (!cp932 && (*header)[0].rfind("\xEF\xBB\xBF", 0) == 0) (*header)[0].erase(0, 3);
  if (o.file.BeginTrans() != 0) return Fail("cannot begin a transaction");
  int line = 1, rows = 0;
  while (auto r = row()) {
    ++line;
    if (unterminated) {
      o.file.AbortTrans();
      return Fail("line " + std::to_string(line) + ": a quoted field is not closed; nothing was stored");
    }
    if (r->size() == 1 && (*r)[0].empty()) continue;
    if (r->size() != header->size()) {
      o.file.AbortTrans();
      return Fail("line " + std::to_string(line) + ": " + std::to_string(r->size()) + " fields, header has " +
                  std::to_string(header->size()));
    }
    o.file.SetRecordBytes("");
    for (std::size_t i = 0; i < r->size(); ++i) {
      if (!Set(o, (*header)[i], (*r)[i])) {
        o.file.AbortTrans();
        return Fail("line " + std::to_string(line) + " not loaded; nothing was stored");
      }
    }
    int status = o.file.Insert(a.words[3]);
    if (status != 0) {
      o.file.AbortTrans();
      return Fail("line " + std::to_string(line) + ": insert status " + std::to_string(status) +
                  "; nothing was stored");
    }
    ++rows;
  }
  int status = o.file.EndTrans();
  if (status != 0) {
    o.file.AbortTrans();
    return Fail("commit failed: status " + std::to_string(status));
  }
  std::cerr << rows << " records loaded\n";
  return 0;
}

int Show(const Args& a) {
  Opened o;
  if (!Open(a, &o)) return 2;
  for (std::size_t i = 4; i < a.words.size(); ++i) {
    std::size_t eq = a.words[i].find('=');
    if (eq == std::string::npos) return Fail("expected FIELD=VALUE: " + a.words[i]);
    if (!Set(o, a.words[i].substr(0, eq), a.words[i].substr(eq + 1))) return 2;
  }
  int status = o.file.GetEqual(a.words[3]);
  if (status != 0) return Fail("no record: status " + std::to_string(status));
  std::vector<std::string> names = Header(o), values = Values(o);
  for (std::size_t i = 0; i < names.size(); ++i) std::cout << names[i] << "=" << values[i] << "\n";
  return 0;
}

// copy DEFS FROM TO: every file of the definitions that FROM holds.
int Copy(const Args& a) {
  auto defs = LoadDefinitions(a.words[1]);
  if (!defs) return 2;
  const bool replace = a.options.count("--replace") > 0;
  int result = 0;
  for (const auto& [name, file] : defs->files()) {
    long long copied = 0;
    const int status = record::CopyRecordFile(*defs, file.name, a.words[2], a.words[3], replace, &copied);
    if (status == record::kStatusOk) {
      std::cout << file.name << ": " << copied << " records\n";
    } else if (status == record::kStatusFileNotFound) {
      std::cout << file.name << ": not in " << a.words[2] << "\n";
    } else {
      result = Fail(file.name + ": status " + std::to_string(status) +
                    (status == record::kStatusFileExists ? " (already there; --replace to overwrite)" : ""));
    }
  }
  return result;
}

int Run(int argc, char** argv) {
  auto a = ParseArgs(argc, argv);
  if (!a || a->words.empty()) {
    std::cerr << kUsage;
    return 1;
  }
  const std::string& cmd = a->words[0];
  const std::size_t n = a->words.size();
  if (cmd == "info" && n == 2) return Info(*a);
  if (cmd == "create" && n == 4) return Create(*a);
  if (cmd == "dump" && n == 4) return Dump(*a);
  if (cmd == "load" && n == 4) return Load(*a);
  if (cmd == "show" && n >= 4) return Show(*a);
  if (cmd == "copy" && n == 4) return Copy(*a);
  std::cerr << kUsage;
  return 1;
}

}  // namespace
}  // namespace qz::btrutil

int main(int argc, char** argv) {
  qz::data::RegisterRecordLayouts();  // the program's files dump with their fields
  try {
    return qz::btrutil::Run(argc, argv);
  } catch (const std::exception& e) {  // a record no field conversion can show
    std::cerr << "btrutil: " << e.what() << "\n";
    return 2;
  }
}
