#include "examinee/save_fixture.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <stdexcept>

#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/save_screen.h"
#include "loading/load_state.h"
#include "loading/settings_master.h"
#include "platform/grid/spread.h"
#include "platform/record/definitions.h"
#include "platform/record/storage_location.h"
#include "platform/system/system_info.h"

namespace qz::testing {

namespace {

const data::FileLayout& LayoutOf(std::string_view name) {
  const data::FileLayout* l = data::FindLayout(name);
  if (l == nullptr) throw std::invalid_argument("no layout " + std::string(name));
  return *l;
}

std::unique_ptr<record::BtrAccess> OpenLayout(const data::FileLayout& l) {
  auto obj = std::make_unique<record::BtrAccess>();
  const std::string folder = l.folder == data::FileFolder::kWork ? basPublic.SvworkPath : basPublic.VlmfPath;
  if (!obj->OpenFile(l.file, l.definition, folder, basPublic.SpecPath)) throw std::runtime_error("cannot open " + l.file);
  DefineLayoutFields(*obj, l);
  return obj;
}

}  // namespace

KomInfo NumericItem(long long code, std::string name, std::string stype) {
  KomInfo k;
  k.KomCode = Currency(code);
  k.KomName = std::move(name);
  k.Ksyub = kKsyubNumeric;
  k.Stype = std::move(stype);
  k.Yuko = " ";
  k.Editable = true;
  return k;
}

SaveBed::SaveBed() {
  system::SetComputerNameForTest(kTerminal);
  frmResultInSave = FrmResultInSave{};
  frmGuide.Reset();
}

SaveBed::~SaveBed() {
  frmGuide.Reset();
  frmResultInSave = FrmResultInSave{};
  system::SetComputerNameForTest(std::nullopt);
}

void SaveBed::Open(int latest) {
  AddSystemRecords(bed.suite);
  bed.suite.Add("QZJSNLF", {{"CODE", std::string(kExaminee)}, {"NAME", "山田　花子"}, {"SEX", 2},
                            {"KDANID", 501}, {"ZNKDAT", latest}});
  bed.Open();
  if (!Sub_LoadSettingsMaster()) throw std::runtime_error("the settings record does not read");
  frmResultIn.HistoryDates = {JrkEntry{std::to_string(kToday), 0}};
  frmResultIn.ExamineeSex = 2;
  frmResultIn.UnloadHook = [this] { ++unloads; };
  basPublic.LogonUserId = "USER01";
}

void SaveBed::Show(const std::vector<ShownItem>& items) {
  frmResultIn.ItemTable.Clear();
  frmResultIn.RowItems.Clear();
  for (const ShownItem& s : items) frmResultIn.ItemTable.Append(s.item);
  frmResultIn.ResultMatrix.Create(static_cast<int>(items.size()), 0);
  for (int i = 1; i <= static_cast<int>(items.size()); ++i) {
    const ShownItem& s = items[static_cast<std::size_t>(i - 1)];
    frmResultIn.ResultMatrix(i, 0) = s.result;
    if (s.shown) frmResultIn.RowItems.Append(static_cast<std::int16_t>(i));
  }
  bed.spr->SetMaxRows(basPublic.DataRow - 1 + frmResultIn.RowCount());
}

std::unique_ptr<record::BtrAccess> SaveBed::Read(std::string_view layout, const testkit::RecordInit& key) const {
  const data::FileLayout& l = LayoutOf(layout);
  auto obj = OpenLayout(l);
  for (const testkit::FieldSet& f : key) {
    if (f.value.is_number()) {
      obj->SetField(f.name, f.value.number());
    } else {
      obj->SetField(f.name, f.value.text());
    }
  }
  if (obj->GetEqual(l.definition) != record::kStatusOk) return nullptr;
  return obj;
}

std::vector<std::string> SaveBed::Dump(std::string_view layout) const {
  const data::FileLayout& l = LayoutOf(layout);
  auto obj = OpenLayout(l);
  std::vector<std::string> records;
  for (int s = obj->GetFirst(l.definition); s == record::kStatusOk; s = obj->GetNext()) {
    records.push_back(obj->RecordBytes());
  }
  return records;
}

namespace {

// Where the record-manager file at `path` lives: the definitions file of
// the suite on view names the engine of its folder.
record::Location LocationOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string folder = path.substr(0, slash + 1), file = path.substr(slash + 1);
  if (auto defs = record::Definitions::Load(basPublic.SpecPath)) {
    if (auto l = record::LocateFile(*defs, folder, file)) return *l;
  }
  record::Location l;
  l.path = path;
  return l;
}

// Runs `sql` on the SQLite file at `path` from a connection of its own.
void ExecOnFile(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close_v2(db);
    throw std::runtime_error("cannot open " + path);
  }
  sqlite3_busy_timeout(db, 5000);
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close_v2(db);
  if (rc != SQLITE_OK) throw std::runtime_error("cannot change " + path);
}

// Runs `sql` on the server of `l` from a connection of its own.
void ExecOnServer(const record::Location& l, const std::string& sql) {
  PGconn* c = PQconnectdb(l.conninfo.c_str());
  PGresult* r = PQexec(c, ("SET client_min_messages = warning; " + sql).c_str());
  const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
  PQclear(r);
  PQfinish(c);
  if (!ok) throw std::runtime_error("cannot change " + l.schema + "." + l.table);
}

std::string Quoted(const std::string& name) { return '"' + name + '"'; }

// The name of the budget table of `operations`.
std::string BudgetOf(const std::vector<std::string>& operations) {
  std::string name = "budget";
  for (const std::string& op : operations) name += "_" + op;
  return name;
}

}  // namespace

void FailWritesAfter(const std::string& path, const std::vector<std::string>& operations, int allowed) {
  // The budget is part of each transaction: an aborted one gives it back.
  const std::string budget = BudgetOf(operations);
  const record::Location l = LocationOf(path);
  if (l.engine == record::Engine::kPostgres) {
    const std::string schema = Quoted(l.schema) + ".", table = schema + Quoted(l.table);
    const std::string fn = schema + Quoted("fail_" + l.table);
    std::string sql = "CREATE TABLE " + schema + budget + "(n INTEGER); INSERT INTO " + schema + budget +
                      " VALUES(" + std::to_string(allowed) + "); CREATE FUNCTION " + fn +
                      "() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF (SELECT n FROM " + schema + budget +
                      ") <= 0 THEN RAISE EXCEPTION 'refused'; END IF; UPDATE " + schema + budget +
                      " SET n = n - 1; RETURN COALESCE(NEW, OLD); END $$;";
    for (const std::string& op : operations) {
      sql += "CREATE TRIGGER fail_" + op + " BEFORE " + op + " ON " + table + " FOR EACH ROW EXECUTE FUNCTION " +
             fn + "();";
    }
    ExecOnServer(l, sql);
    return;
  }
  std::string sql = "CREATE TABLE " + budget + "(n INTEGER); INSERT INTO " + budget + " VALUES(" +
                    std::to_string(allowed) + ");";
  for (const std::string& op : operations) {
    sql += "CREATE TRIGGER fail_" + op + " BEFORE " + op + " ON records BEGIN SELECT RAISE(ABORT, 'refused') " +
           "WHERE (SELECT n FROM " + budget + ") <= 0; UPDATE " + budget + " SET n = n - 1; END;";
  }
  ExecOnFile(path, sql);
}

void HealWrites(const std::string& path, const std::vector<std::string>& operations) {
  const record::Location l = LocationOf(path);
  const bool server = l.engine == record::Engine::kPostgres;
  const std::string schema = server ? Quoted(l.schema) + "." : "";
  std::string sql;
  for (const std::string& op : operations) {
    sql += "DROP TRIGGER IF EXISTS fail_" + op + (server ? " ON " + schema + Quoted(l.table) : "") + ";";
  }
  sql += "DROP TABLE IF EXISTS " + schema + BudgetOf(operations) + ";";
  if (!server) return ExecOnFile(path, sql);
  ExecOnServer(l, sql + "DROP FUNCTION IF EXISTS " + schema + Quoted("fail_" + l.table) + "();");
}

namespace {

// Renames the records table of the record-manager file at `path` from
// `from` to `to` (PostgreSQL: the file's table, "damaged" standing for its
// name followed by "_damaged"). A superuser's reads pass every grant: only a
// table that is not there makes them fail on either engine.
void RenameRecords(const std::string& path, const std::string& from, const std::string& to) {
  const record::Location l = LocationOf(path);
  if (l.engine != record::Engine::kPostgres) return ExecOnFile(path, "ALTER TABLE " + from + " RENAME TO " + to + ";");
  const auto name = [&](const std::string& n) { return n == "records" ? l.table : l.table + "_" + n; };
  ExecOnServer(l, "ALTER TABLE " + Quoted(l.schema) + "." + Quoted(name(from)) + " RENAME TO " + Quoted(name(to)) + ";");
}

}  // namespace

void FailReads(const std::string& path) { RenameRecords(path, "records", "damaged"); }

void HealReads(const std::string& path) { RenameRecords(path, "damaged", "records"); }

void SaveBed::FailInsertsAfter(std::string_view file, int allowed) const {
  FailWritesAfter(bed.suite.paths().data + std::string(file), {"INSERT"}, allowed);
}

void SaveBed::FailDeletesAfter(std::string_view file, int allowed) const {
  FailWritesAfter(bed.suite.paths().data + std::string(file), {"DELETE"}, allowed);
}

}  // namespace qz::testing
