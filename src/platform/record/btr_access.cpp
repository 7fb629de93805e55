#include "platform/record/btr_access.h"

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <limits>
#include <unordered_map>

#include "platform/record/definitions.h"
#include "platform/record/record_codec.h"
#include "platform/record/record_store.h"
#include "platform/record/storage_location.h"
#include "platform/runtime/failure_note.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"

namespace qz::record {

namespace {

namespace fs = std::filesystem;
using internal::Row;
using internal::Seek;

// Field and definition names are short and looked up at every access: a
// hash that costs a few steps a byte.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const {
    std::uint64_t h = 14695981039346656037ULL;  // FNV-1a
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ULL;
    return static_cast<std::size_t>(h);
  }
};

// True for the shape of a decimal number: blanks, a sign, digits with at
// most one point, blanks.
bool NumberSyntax(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) t.remove_prefix(1);
  bool digit = false, point = false;
  for (char c : t) {
    if (c >= '0' && c <= '9') digit = true;
    else if (c == '.' && !point) point = true;
    else return false;
  }
  return digit;
}

}  // namespace

struct BtrAccess::Impl {
  std::shared_ptr<internal::StoreFile> file;
  std::unordered_map<std::string, int, NameHash, std::equal_to<>> keys_by_definition;  // upper name -> key
  std::string buffer;
  std::vector<FieldInfo> fields;
  std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> by_name;

  // The file as a failure names it: the last one this object opened or
  // tried to open.
  std::string where;

  // `status`, noted when it is a failure.
  int Noted(int status) const {
    if (status != kStatusOk && status != kStatusNotFound && status != kStatusEndOfFile) {
      failure_note::NoteStatus(status, where);
    }
    return status;
  }

  Row row;  // the last read's record (kept to spare its allocations)
  bool positioned = false;  // a record was read: GetNext/GetPrevious go on from it
  int position_key = 0;
  std::string position_bytes;
  std::int64_t position_id = 0;

  bool current = false;  // the record last read, for Update/Delete
  std::int64_t current_id = 0;
  std::int64_t current_version = 0;
  // The current record as it was before this object's first write of it
  // inside a transaction: when that transaction is rolled back, the record
  // is again as it was read, and so is the object's view of it.
  std::uint64_t undo_tx = 0;  // 0: nothing to undo
  bool undo_current = false;
  std::int64_t undo_version = 0;

  // Before a write of the current record: remembers how it stood, or takes
  // back the view of a write that a rollback has undone.
  void BeforeWrite() {
    if (undo_tx != 0 && internal::TransactionRolledBack(undo_tx)) {
      current = undo_current;
      current_version = undo_version;
      undo_tx = 0;
    }
    const std::uint64_t tx = internal::CurrentTransaction();
    if (tx != 0 && undo_tx != tx) {
      undo_tx = tx;
      undo_current = current;
      undo_version = current_version;
    }
  }

  const FieldInfo& Field(std::string_view name) const {
    auto it = by_name.find(name);
    if (it == by_name.end()) it = by_name.find(AsciiUpper(name));
    if (it == by_name.end()) throw RunTimeError(kErrInvalidCall);
    return fields[it->second];
  }

  char* Bytes(const FieldInfo& f) { return buffer.data() + (f.position - 1); }

  void Define(std::string_view name, int position, int length, FieldKind kind) {
    if (!file || position < 1 || length < 1 ||
        static_cast<long long>(position) + length - 1 > static_cast<long long>(buffer.size()) ||
        (kind == FieldKind::kNumeric && length > kMaxNumericKeyLength)) {
      throw RunTimeError(kErrInvalidCall);
    }
    std::string upper = AsciiUpper(name);
    if (by_name.count(upper)) throw RunTimeError(kErrInvalidCall);
    by_name.emplace(upper, fields.size());
    fields.push_back(FieldInfo{std::string(name), kind, position, length});
  }

  void StoreNumber(const FieldInfo& f, std::int64_t value) {
    if (f.kind == FieldKind::kNumeric) {
      if (!EncodeZoned(value, f.length, Bytes(f))) throw RunTimeError(kErrOverflow);
      return;
    }
    StoreText(f, std::to_string(value), true);
  }

  void StoreText(const FieldInfo& f, std::string_view utf8, bool whole) {
    std::string bytes = text::ToCp932(utf8);
    if (whole && bytes.size() > static_cast<std::size_t>(f.length)) throw RunTimeError(kErrOverflow);
    std::string_view cut = text::CutCp932Bytes(bytes, static_cast<std::size_t>(f.length));
    char* out = Bytes(f);
    std::fill(out, out + f.length, ' ');
    std::copy(cut.begin(), cut.end(), out);
  }

  void Close() {
    if (file) internal::ReleaseFile(std::move(file));
    file.reset();
    keys_by_definition.clear();
    buffer.clear();
    fields.clear();
    by_name.clear();
    positioned = current = false;
    undo_tx = 0;
  }

  // The key of `definition` on this file; -1 when it is not one of its.
  int KeyOf(std::string_view definition) const {
    auto it = keys_by_definition.find(definition);
    if (it == keys_by_definition.end()) it = keys_by_definition.find(AsciiUpper(definition));
    return it == keys_by_definition.end() ? -1 : it->second;
  }

  // Takes `row` (its bytes are swapped in, not copied) as the current
  // record and the position in key `k`.
  void Take(Row& row, int k) {
    buffer.swap(row.data);
    buffer.resize(static_cast<std::size_t>(file->def().record_length), ' ');
    positioned = true;
    position_key = k;
    position_bytes.swap(row.key);
    position_id = row.id;
    current = true;
    current_id = row.id;
    current_version = row.version;
    undo_tx = 0;
  }

  int Positioning(std::string_view definition, Seek seek) {
    if (!file) return kStatusFileNotOpen;
    const int k = KeyOf(definition);
    const int status = k < 0 ? kStatusInvalidKey
                             : file->Read(k, seek, BuildKey(buffer, file->def().keys[static_cast<std::size_t>(k)]), 0, &row);
    if (status == kStatusOk) {
      Take(row, k);
    } else {
      // Not found, end of file, a busy or failed file, a key the file has
      // not: nothing was read, so nothing is current and nothing goes on
      // from here.
      positioned = current = false;
      undo_tx = 0;
    }
    return status;
  }

  int Step(Seek seek) {
    if (!file) return kStatusFileNotOpen;
    if (!positioned) return kStatusNoCurrentRecord;
    int status = file->Read(position_key, seek, position_bytes, position_id, &row);
    if (status == kStatusOk) Take(row, position_key);
    return status;
  }
};

BtrAccess::BtrAccess() : impl_(std::make_unique<Impl>()) {}

BtrAccess::~BtrAccess() { impl_->Close(); }

bool BtrAccess::OpenFile(std::string_view file_name, std::string_view definition_name,
                         std::string_view data_folder, std::string_view definition_folder) {
  impl_->Close();
  // Why the file cannot be opened, noted for the program's log.
  auto fail = [&](int status, const std::string& where) {
    impl_->where = where;
    impl_->Noted(status);
    return false;
  };
  std::string defs_path = FindDefinitionsFile(definition_folder);
  if (defs_path.empty()) return fail(kStatusFileNotFound, std::string(definition_folder));
  std::string error;
  auto defs = Definitions::Load(defs_path, &error);
  if (!defs) {
    // The start shows only that a file could not be opened: say why here.
    std::cerr << "record manager: definitions file " << defs_path << ": " << error << "\n";
    return fail(kStatusIoError, defs_path);
  }
  const DefinitionEntry* def = defs->FindDefinition(definition_name);
  if (!def || AsciiUpper(def->file) != AsciiUpper(file_name)) {
    return fail(kStatusInvalidKey, defs_path + " [" + std::string(definition_name) + "]");
  }
  const FileDef* file_def = defs->FindFile(def->file);
  if (!file_def) return fail(kStatusInvalidKey, defs_path + " [" + def->file + "]");
  const auto location = LocateFile(*defs, data_folder, file_name);
  if (!location) return fail(kStatusIoError, defs_path + " [STORAGE]");
  impl_->where = DescribeLocation(*location);
  int status = kStatusOk;
  auto file = internal::AcquireFile(*location, *file_def, &status);
  if (!file) return fail(status == kStatusOk ? kStatusIoError : status, impl_->where);
  impl_->file = std::move(file);
  // A key that the definitions add after the file's own (a file not rebuilt
  // since) is no key of the file: reads by it give kStatusInvalidKey.
  const int keys = static_cast<int>(impl_->file->def().keys.size());
  for (const auto& [name, d] : defs->definitions()) {
    if (AsciiUpper(d.file) == AsciiUpper(file_def->name) && d.key < keys) impl_->keys_by_definition[name] = d.key;
  }
  impl_->buffer.assign(static_cast<std::size_t>(file_def->record_length), ' ');
  return true;
}

void BtrAccess::DefineAlphaField(std::string_view name, int position, int length) {
  impl_->Define(name, position, length, FieldKind::kAlpha);
}

void BtrAccess::DefineNumericField(std::string_view name, int position, int length, int decimals) {
  if (decimals != 0) throw RunTimeError(kErrInvalidCall);
  impl_->Define(name, position, length, FieldKind::kNumeric);
}

void BtrAccess::DefineKanjiField(std::string_view name, int position, int length) {
  impl_->Define(name, position, length, FieldKind::kKanji);
}

int BtrAccess::CloseFile() {
  if (!impl_->file) return kStatusFileNotOpen;
  impl_->Close();
  return kStatusOk;
}

FieldValue BtrAccess::GetField(std::string_view name) const {
  const FieldInfo& f = impl_->Field(name);
  std::string_view bytes(impl_->buffer.data() + (f.position - 1), static_cast<std::size_t>(f.length));
  if (f.kind == FieldKind::kNumeric) {
    // Currency holds whole numbers up to 922337203685477: a wider field's
    // value beyond that overflows as the runtime's conversion does.
    constexpr std::int64_t kMaxWhole = std::numeric_limits<std::int64_t>::max() / 10000;
    bool digits = true;
    const std::int64_t value = DecodeZoned(bytes, &digits);
    if (!digits) throw RunTimeError(kErrTypeMismatch);
    if (value > kMaxWhole || value < -kMaxWhole) throw RunTimeError(kErrOverflow);
    return FieldValue::Number(Currency(value));
  }
  return FieldValue::Text(text::FromCp932(bytes));
}

void BtrAccess::SetField(std::string_view name, std::string_view text) {
  const FieldInfo& f = impl_->Field(name);
  if (f.kind != FieldKind::kNumeric) {
    impl_->StoreText(f, text, false);
    return;
  }
  std::string_view t = text;
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  if (t.empty()) {
    impl_->StoreNumber(f, 0);
    return;
  }
  auto value = Currency::Parse(t);
  if (!value) throw RunTimeError(NumberSyntax(t) ? kErrOverflow : kErrTypeMismatch);
  impl_->StoreNumber(f, RoundHalfEven(*value));
}

void BtrAccess::SetField(std::string_view name, std::int64_t number) {
  impl_->StoreNumber(impl_->Field(name), number);
}

void BtrAccess::SetField(std::string_view name, Currency number) {
  const FieldInfo& f = impl_->Field(name);
  if (f.kind == FieldKind::kNumeric) {
    impl_->StoreNumber(f, RoundHalfEven(number));
  } else {
    impl_->StoreText(f, number.ToString(), true);
  }
}

int BtrAccess::GetEqual(std::string_view d) { return impl_->Noted(impl_->Positioning(d, Seek::kEqual)); }
int BtrAccess::GetGreater(std::string_view d) { return impl_->Noted(impl_->Positioning(d, Seek::kGreater)); }
int BtrAccess::GetGreaterOrEqual(std::string_view d) {
  return impl_->Noted(impl_->Positioning(d, Seek::kGreaterOrEqual));
}
int BtrAccess::GetLess(std::string_view d) { return impl_->Noted(impl_->Positioning(d, Seek::kLess)); }
int BtrAccess::GetLessOrEqual(std::string_view d) { return impl_->Noted(impl_->Positioning(d, Seek::kLessOrEqual)); }
int BtrAccess::GetFirst(std::string_view d) { return impl_->Noted(impl_->Positioning(d, Seek::kFirst)); }
int BtrAccess::GetLast(std::string_view d) { return impl_->Noted(impl_->Positioning(d, Seek::kLast)); }
int BtrAccess::GetNext() { return impl_->Noted(impl_->Step(Seek::kNext)); }
int BtrAccess::GetPrevious() { return impl_->Noted(impl_->Step(Seek::kPrevious)); }

int BtrAccess::Insert(std::string_view definition_name) { return impl_->Noted(InsertRecord(definition_name)); }

int BtrAccess::InsertRecord(std::string_view definition_name) {
  Impl& m = *impl_;
  if (!m.file) return kStatusFileNotOpen;
  int k = m.KeyOf(definition_name);
  if (k < 0) return kStatusInvalidKey;
  Row& row = m.row;
  int status = m.file->Insert(m.buffer, &row);
  if (status != kStatusOk) return status;
  row.key = BuildKey(m.buffer, m.file->def().keys[static_cast<std::size_t>(k)]);
  m.Take(row, k);
  return kStatusOk;
}

int BtrAccess::Update() { return impl_->Noted(UpdateRecord()); }

int BtrAccess::UpdateRecord() {
  Impl& m = *impl_;
  if (!m.file) return kStatusFileNotOpen;
  m.BeforeWrite();
  if (!m.current) return kStatusNoCurrentRecord;
  int status = m.file->Update(m.current_id, m.current_version, m.buffer);
  if (status != kStatusOk) return status;
  ++m.current_version;
  m.position_bytes = BuildKey(m.buffer, m.file->def().keys[static_cast<std::size_t>(m.position_key)]);
  return kStatusOk;
}

int BtrAccess::Delete() { return impl_->Noted(DeleteRecord()); }

int BtrAccess::DeleteRecord() {
  Impl& m = *impl_;
  if (!m.file) return kStatusFileNotOpen;
  m.BeforeWrite();
  if (!m.current) return kStatusNoCurrentRecord;
  int status = m.file->Delete(m.current_id, m.current_version);
  if (status == kStatusOk) m.current = false;  // the position stays for GetNext
  return status;
}

namespace {

// A transaction's status, noted when it is a failure: it concerns every
// file of the transaction.
int TransactionNoted(int status) {
  if (status != kStatusOk) failure_note::NoteStatus(status, "(the transaction's files)");
  return status;
}

}  // namespace

int BtrAccess::BeginTrans() { return TransactionNoted(internal::BeginTransaction()); }
int BtrAccess::EndTrans() { return TransactionNoted(internal::CommitTransaction()); }
int BtrAccess::AbortTrans() { return TransactionNoted(internal::RollbackTransaction()); }
int BtrAccess::SendHeldWrites() { return internal::SendHeldWrites(); }

const std::string& BtrAccess::RecordBytes() const { return impl_->buffer; }

void BtrAccess::SetRecordBytes(std::string_view bytes) {
  std::size_t n = impl_->buffer.size();
  impl_->buffer.assign(bytes.substr(0, n));
  impl_->buffer.resize(n, ' ');
}

const std::vector<FieldInfo>& BtrAccess::Fields() const { return impl_->fields; }
bool BtrAccess::IsOpen() const { return impl_->file != nullptr; }
bool BtrAccess::HasCurrentRecord() const { return impl_->current; }
int BtrAccess::RecordLength() const { return impl_->file ? impl_->file->def().record_length : 0; }

}  // namespace qz::record
