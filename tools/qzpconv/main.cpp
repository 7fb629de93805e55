// qzpconv: stand-ins of the suite's five conversion programs, built on the
// record manager, for the version-up program to run as real processes.
// Install one copy under each program's name in the program folder
// (QZPCSV.EXE, QZPCBR85.EXE, QZPCLR.EXE, QZPGENCNV.EXE, QZPCNV.EXE; the
// name tells the program), or call it as "qzpconv PROGRAM ARGUMENTS".
//
// Each runs in the program folder (the current folder), finds the data
// folder (VLMF), the CSV folder (CSV) and the definitions file (CPFSPEC) in
// QZPPATH.ini of that folder, and the files of a file ID in QZPCSV.INI of
// that folder (section ID: InFile, the record-manager file in the data
// folder; OutFile, the CSV file in the CSV folder; Numeric, see QZPCNV):
//
//   QZPCSV ID[,ID...]    writes each file out as CSV: the header RECORD,
//                        then one row per record in the order of its first
//                        key, the record's bytes in hexadecimal.
//   QZPCBR85             checks that the definitions file can be read.
//   QZPCLR ID[,ID...]    creates each file anew and empty as the
//                        definitions describe it now (an existing file is
//                        replaced).
//   QZPGENCNV IDMODE     reads the CSV of ID (the ID immediately followed by
//                        the mode) into its file in one transaction: mode ""
//                        or "1" adds the records (a key already there fails
//                        the import); "2" replaces a record of the same key.
//                        A record of another length is cut or blank-padded
//                        to the file's record length, so a widened layout
//                        takes the old records with blanks at the end.
//   QZPCNV ID[,ID...]    numeric initialisation: in every record of each
//                        file, every byte range of Numeric=POS:LEN,... (POS
//                        counted from 1) that holds only blanks becomes
//                        zeros.
//
// Exit status 0 done, 1 usage, 2 failure (the reason on standard error).
// QZ_STANDIN_FAIL=PROGRAM[:ID] makes PROGRAM fail as a broken program would:
// for ID (every ID when none is named; for QZPGENCNV the ID with its mode)
// it does and keeps half of its work, and exits with status 3.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "data/ini_access.h"
#include "platform/path/host_path.h"
#include "platform/path/no_case.h"
#include "platform/record/btr_access.h"
#include "platform/record/btr_file.h"
#include "platform/record/definitions.h"
#include "platform/record/status.h"
#include "platform/text/hex.h"

namespace qz::qzpconv {
namespace {

constexpr int kUsage = 1;
constexpr int kFailure = 2;
constexpr int kBroken = 3;

struct Failure {
  std::string text;
};

[[noreturn]] void Fail(const std::string& text) { throw Failure{text}; }

// A failure asked for by QZ_STANDIN_FAIL: the work done so far stays, the
// files are closed on the way out.
struct BrokenExit {};

std::string Upper(std::string s) { return record::AsciiUpper(s); }

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (true) {
    const std::size_t at = text.find(separator, pos);
    parts.push_back(text.substr(pos, at == std::string::npos ? std::string::npos : at - pos));
    if (at == std::string::npos) return parts;
    pos = at + 1;
  }
}

// The folders and files of the installation, as paths of this machine.
struct Installation {
  std::string program;  // the current folder, closing "/"
  std::string data;
  std::string csv;
  std::string spec;
  std::string csv_ini;
};

std::string Cwd() {
  std::vector<char> buffer(4096);
  if (getcwd(buffer.data(), buffer.size()) == nullptr) Fail("cannot tell the current folder");
  return std::string(buffer.data()) + "/";
}

// A FILE_PATH value of QZPPATH.ini as a path of this machine (relative
// values count from the program folder); "" when missing.
std::string PathKey(const Installation& in, const std::string& key) {
  const std::string ini = in.program + "QZPPATH.INI";
  std::string value = Fnc_GetIni("FILE_PATH", key, "", ini);
  if (value.empty()) value = Fnc_GetIni("FILE_PATH", key + " ", "", ini);
  if (value.empty()) return {};
  std::string host = path::ToHostPath(value);
  if (host.empty() || host[0] != '/') host = in.program + host;
  return path::ResolveNoCase(host);
}

std::string Folder(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

Installation Find() {
  Installation in;
  in.program = Cwd();
  in.data = Folder(PathKey(in, "VLMF"));
  in.csv = Folder(PathKey(in, "CSV"));
  in.spec = record::FindDefinitionsFile(PathKey(in, "CPFSPEC"));
  in.csv_ini = path::ResolveNoCase(in.program + "QZPCSV.INI");
  if (in.data.empty()) Fail("QZPPATH.ini names no data folder (VLMF)");
  if (in.spec.empty()) Fail("no definitions file (CPFSPEC)");
  return in;
}

record::Definitions LoadDefinitions(const Installation& in) {
  std::string error;
  auto defs = record::Definitions::Load(in.spec, &error);
  if (!defs) Fail("the definitions file cannot be read: " + in.spec + (error.empty() ? "" : ": " + error));
  return *defs;
}

// One file ID of QZPCSV.INI.
struct Entry {
  std::string id;
  std::string file;        // InFile
  std::string csv;         // CSV file, a path of this machine ("" without OutFile)
  std::string definition;  // a definition of the file (its key 0 when there)
};

Entry EntryOf(const Installation& in, const record::Definitions& defs, const std::string& id) {
  Entry e;
  e.id = id;
  e.file = Fnc_GetIni(id, "InFile", "", in.csv_ini);
  if (e.file.empty()) Fail("QZPCSV.INI names no InFile for " + id);
  const std::string out = Fnc_GetIni(id, "OutFile", "", in.csv_ini);
  if (!out.empty()) e.csv = path::JoinPath(in.csv, path::ToHostPath(out));
  int best = -1;
  for (const auto& [name, d] : defs.definitions()) {
    if (Upper(d.file) != Upper(e.file)) continue;
    if (best < 0 || d.key < best) {
      best = d.key;
      e.definition = name;
    }
  }
  if (e.definition.empty()) Fail("the definitions name no definition of " + e.file);
  return e;
}

// Whether QZ_STANDIN_FAIL asks `program` to break on `id`.
bool Broken(const std::string& program, const std::string& id) {
  const char* fail = std::getenv("QZ_STANDIN_FAIL");
  if (fail == nullptr) return false;
  const std::vector<std::string> parts = Split(fail, ':');
  if (Upper(parts[0]) != program) return false;
  return parts.size() < 2 || parts[1] == id;
}

void Open(record::BtrAccess& file, const Installation& in, const Entry& e) {
  if (!file.OpenFile(e.file, e.definition, in.data, in.spec)) Fail("cannot open " + in.data + e.file);
}

std::string Unhex(const std::string& hex, int line) {
  std::optional<std::string> bytes = text::FromHex(hex);
  if (!bytes) Fail("line " + std::to_string(line) + ": not a record in hexadecimal");
  return *bytes;
}

std::vector<std::string> ReadRecords(const std::string& csv) {
  std::ifstream in(csv, std::ios::binary);
  if (!in) Fail("cannot read " + csv);
  std::vector<std::string> rows;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1) {
      if (line != "RECORD") Fail(csv + ": the header is not RECORD");
      continue;
    }
    if (!line.empty()) rows.push_back(Unhex(line, number));
  }
  if (number == 0) Fail(csv + ": no header");
  return rows;
}

// QZPCSV: each file as CSV.
void Export(const Installation& in, const record::Definitions& defs, const std::string& ids) {
  for (const std::string& id : Split(ids, ',')) {
    const Entry e = EntryOf(in, defs, id);
    if (e.csv.empty()) Fail("QZPCSV.INI names no OutFile for " + id);
    record::BtrAccess file;
    Open(file, in, e);
    std::vector<std::string> rows;
    int status = file.GetFirst(e.definition);
    for (; status == record::kStatusOk; status = file.GetNext()) rows.push_back(text::ToHex(file.RecordBytes()));
    if (status != record::kStatusEndOfFile) Fail("reading " + e.file + ": status " + std::to_string(status));
    const bool broken = Broken("QZPCSV", id);
    std::ofstream out(e.csv, std::ios::binary | std::ios::trunc);
    out << "RECORD\r\n";
    const std::size_t n = broken ? rows.size() / 2 : rows.size();
    for (std::size_t i = 0; i < n; ++i) out << rows[i] << "\r\n";
    out.close();
    if (!out) Fail("cannot write " + e.csv);
    if (broken) throw BrokenExit{};
    std::cerr << id << ": " << rows.size() << " records to " << e.csv << "\n";
  }
}

// QZPCLR: each file anew and empty.
void Clear(const Installation& in, const record::Definitions& defs, const std::string& ids) {
  for (const std::string& id : Split(ids, ',')) {
    const Entry e = EntryOf(in, defs, id);
    const int status = record::CreateRecordFile(in.spec, e.file, in.data, true);
    if (status != record::kStatusOk) Fail("cannot create " + e.file + ": status " + std::to_string(status));
    if (Broken("QZPCLR", id)) throw BrokenExit{};
  }
}

// QZPGENCNV: the CSV of one ID into its file.
void Import(const Installation& in, const record::Definitions& defs, const std::string& parameter) {
  // The ID is the longest start of the parameter that QZPCSV.INI knows.
  std::string id, mode;
  for (std::size_t n = parameter.size(); n > 0; --n) {
    if (!Fnc_GetIni(parameter.substr(0, n), "InFile", "", in.csv_ini).empty()) {
      id = parameter.substr(0, n);
      mode = parameter.substr(n);
      break;
    }
  }
  if (id.empty()) Fail("QZPCSV.INI knows no file ID in " + parameter);
  if (!mode.empty() && mode != "1" && mode != "2") Fail("unknown mode " + mode);
  const Entry e = EntryOf(in, defs, id);
  if (e.csv.empty()) Fail("QZPCSV.INI names no OutFile for " + id);
  const std::vector<std::string> rows = ReadRecords(e.csv);
  record::BtrAccess file;
  Open(file, in, e);
  const bool broken = Broken("QZPGENCNV", parameter);
  if (file.BeginTrans() != record::kStatusOk) Fail("cannot begin a transaction");
  const std::size_t n = broken ? rows.size() / 2 : rows.size();
  for (std::size_t i = 0; i < n; ++i) {
    file.SetRecordBytes(rows[i]);
    int status = file.Insert(e.definition);
    if (status == record::kStatusDuplicateKey && mode == "2") {
      status = file.GetEqual(e.definition);
      if (status == record::kStatusOk) {
        file.SetRecordBytes(rows[i]);
        status = file.Update();
      }
    }
    if (status != record::kStatusOk) {
      file.AbortTrans();
      Fail("record " + std::to_string(i + 1) + " of " + e.csv + ": status " + std::to_string(status) +
           "; nothing was stored");
    }
  }
  if (file.EndTrans() != record::kStatusOk) {
    file.AbortTrans();
    Fail("the commit failed; nothing was stored");
  }
  if (broken) throw BrokenExit{};
  std::cerr << id << ": " << rows.size() << " records from " << e.csv << "\n";
}

struct Range {
  int position;
  int length;
};

std::vector<Range> NumericRanges(const Installation& in, const std::string& id, int record_length) {
  std::vector<Range> ranges;
  const std::string spec = Fnc_GetIni(id, "Numeric", "", in.csv_ini);
  if (spec.empty()) return ranges;
  for (const std::string& part : Split(spec, ',')) {
    const std::vector<std::string> pl = Split(part, ':');
    Range r{0, 0};
    try {
      if (pl.size() == 2) r = Range{std::stoi(pl[0]), std::stoi(pl[1])};
    } catch (const std::exception&) {
    }
    if (r.position < 1 || r.length < 1 || r.position + r.length - 1 > record_length) {
      Fail("Numeric of " + id + ": " + part + " lies outside the record");
    }
    ranges.push_back(r);
  }
  return ranges;
}

// QZPCNV: blank numeric ranges become zeros.
void NumInit(const Installation& in, const record::Definitions& defs, const std::string& ids) {
  for (const std::string& id : Split(ids, ',')) {
    const Entry e = EntryOf(in, defs, id);
    record::BtrAccess file;
    Open(file, in, e);
    const std::vector<Range> ranges = NumericRanges(in, id, file.RecordLength());
    const bool broken = Broken("QZPCNV", id);
    if (file.BeginTrans() != record::kStatusOk) Fail("cannot begin a transaction");
    int count = 0;
    int status = file.GetFirst(e.definition);
    for (; status == record::kStatusOk; status = file.GetNext()) {
      if (broken && count >= 1) break;
      std::string bytes = file.RecordBytes();
      bool changed = false;
      for (const Range& r : ranges) {
        std::string_view part(bytes.data() + r.position - 1, static_cast<std::size_t>(r.length));
        if (part.find_first_not_of(' ') != std::string_view::npos) continue;
        bytes.replace(static_cast<std::size_t>(r.position - 1), static_cast<std::size_t>(r.length),
                      static_cast<std::size_t>(r.length), '0');
        changed = true;
      }
      if (!changed) continue;
      file.SetRecordBytes(bytes);
      if (file.Update() != record::kStatusOk) {
        file.AbortTrans();
        Fail("cannot rewrite a record of " + e.file + "; nothing was changed");
      }
      ++count;
    }
    if (status != record::kStatusEndOfFile && !broken) {
      file.AbortTrans();
      Fail("reading " + e.file + ": status " + std::to_string(status));
    }
    if (file.EndTrans() != record::kStatusOk) {
      file.AbortTrans();
      Fail("the commit failed; nothing was changed");
    }
    if (broken) throw BrokenExit{};
    std::cerr << id << ": " << count << " records initialised\n";
  }
}

std::string ProgramName(std::string name) {
  const std::size_t slash = name.find_last_of('/');
  if (slash != std::string::npos) name = name.substr(slash + 1);
  name = Upper(name);
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".EXE") == 0) name.resize(name.size() - 4);
  return name;
}

int Run(std::vector<std::string> args) {
  std::string program = ProgramName(args.empty() ? "" : args[0]);
  args.erase(args.begin());
  if (program == "QZPCONV") {
    if (args.empty()) return kUsage;
    program = ProgramName(args[0]);
    args.erase(args.begin());
  }
  const std::string parameter = args.empty() ? "" : args[0];
  const bool needs_ids = program != "QZPCBR85";
  if (args.size() > 1 || (needs_ids && parameter.empty())) {
    std::cerr << program << ": usage: " << program << (needs_ids ? " ID[,ID...]\n" : "\n");
    return kUsage;
  }
  const Installation in = Find();
  const record::Definitions defs = LoadDefinitions(in);
  if (program == "QZPCSV") {
    Export(in, defs, parameter);
  } else if (program == "QZPCBR85") {
    if (Broken("QZPCBR85", "")) throw BrokenExit{};
  } else if (program == "QZPCLR") {
    Clear(in, defs, parameter);
  } else if (program == "QZPGENCNV") {
    Import(in, defs, parameter);
  } else if (program == "QZPCNV") {
    NumInit(in, defs, parameter);
  } else {
    std::cerr << "qzpconv: unknown program " << program
              << " (QZPCSV, QZPCBR85, QZPCLR, QZPGENCNV or QZPCNV)\n";
    return kUsage;
  }
  return 0;
}

}  // namespace
}  // namespace qz::qzpconv

int main(int argc, char** argv) {
  try {
    return qz::qzpconv::Run(std::vector<std::string>(argv, argv + argc));
  } catch (const qz::qzpconv::BrokenExit&) {
    return qz::qzpconv::kBroken;
  } catch (const qz::qzpconv::Failure& f) {
    std::cerr << qz::qzpconv::ProgramName(argv[0]) << ": " << f.text << "\n";
    return qz::qzpconv::kFailure;
  } catch (const std::exception& e) {
    std::cerr << qz::qzpconv::ProgramName(argv[0]) << ": " << e.what() << "\n";
    return qz::qzpconv::kFailure;
  }
}
