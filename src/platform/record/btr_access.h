// BtrAccess (the program calls it clsBtrAccess): one data-access object over
// one record-manager file under one definition name.
//
// Each object has its own record buffer and its own position: reading with
// one object never moves another, even on the same file. Several objects and
// several processes may have one file open at once.
//
// Lifecycle: construct, OpenFile, one Define*Field per field in position
// order, then reads and writes, CloseFile. An object may be opened and
// declared again after CloseFile.
//
// A record-manager file is a database of fixed-length records; the
// definitions file (CPFSPEC.INI) gives each definition name its file, record
// length and key segments. Text fields hold CP932 bytes; the program's texts
// are UTF-8 and are converted at the buffer.
//
// A file is an SQLite database in the data folder, or a table of a
// PostgreSQL schema when the definitions file names one for the folder
// (storage_location.h); both engines keep the same order, duplicates and
// statuses. btr_file.h creates files. Statuses are those of status.h; every
// failure (a status other than 0, 4 and 9, or a file that does not open) is
// also noted with its file for the program's log (runtime/failure_note.h). A lock
// held by another process past the busy timeout gives kStatusBusy, a file
// fault or a lost connection kStatusIoError.
//
// Not thread-safe: the program uses its objects from one thread. Each thread
// has its own connections; a transaction covers the files of its thread.
#ifndef QZ_PLATFORM_RECORD_BTR_ACCESS_H_
#define QZ_PLATFORM_RECORD_BTR_ACCESS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/record/field_value.h"
#include "platform/record/status.h"
#include "platform/text/currency.h"

namespace qz::record {

class BtrAccess {
 public:
  BtrAccess();
  ~BtrAccess();

  BtrAccess(const BtrAccess&) = delete;
  BtrAccess& operator=(const BtrAccess&) = delete;

  // Opens `file_name` (e.g. "QZKKKLF.BTR") in `data_folder` under definition
  // `definition_name` (e.g. "QZKKKLF"). `definition_folder` names the
  // definitions file itself or the folder that holds it. Folders may be
  // written with backslashes and a drive letter. Returns false when the
  // file, the definitions or the definition is missing or they disagree;
  // never creates a file. A file that has the first keys of its definitions
  // but not the keys they add after those (made before the definitions
  // gained them) opens: reads by a definition of a key it lacks give
  // kStatusInvalidKey.
  bool OpenFile(std::string_view file_name, std::string_view definition_name,
                std::string_view data_folder, std::string_view definition_folder);

  // Declares one field. Positions count bytes from 1; the field must lie
  // inside the record. `decimals` is always 0 in this program. Throws
  // RunTimeError 5 when the object is not open, the field lies outside the
  // record, its name is declared already, or a numeric field is longer than
  // 18 bytes or has decimals.
  void DefineAlphaField(std::string_view name, int position, int length);
  void DefineNumericField(std::string_view name, int position, int length, int decimals);
  void DefineKanjiField(std::string_view name, int position, int length);

  // Closes the file; the object may be opened again. Closing an object that
  // is not open returns kStatusFileNotOpen.
  int CloseFile();

  // The field's value in the buffer: alpha and kanji fields as text at
  // their full width (trailing blanks kept), numeric fields as a number (an
  // all-blank numeric field reads 0; record_codec.h gives the forms read).
  // Throws RunTimeError 5 for an unknown field name, 13 for a numeric field
  // that holds a byte that is no digit ("1 2", "12A4"), 6 for a number
  // beyond the currency range.
  FieldValue GetField(std::string_view name) const;

  // Stores a value in the buffer. Text for a numeric field must be a number
  // (blanks around it allowed, "" is 0); integers and currency for an alpha
  // field are stored as their decimal text. Text is cut to the field's width
  // at a character boundary and padded with blanks. Throws RunTimeError 6
  // when a number has more digits than the field holds, 13 when a text for a
  // numeric field is not a number, 5 for an unknown field name.
  void SetField(std::string_view name, std::string_view text);
  void SetField(std::string_view name, const char* text) { SetField(name, std::string_view(text)); }
  void SetField(std::string_view name, const std::string& text) { SetField(name, std::string_view(text)); }
  void SetField(std::string_view name, std::int64_t number);
  void SetField(std::string_view name, int number) { SetField(name, static_cast<std::int64_t>(number)); }
  void SetField(std::string_view name, Currency number);

  // Positioning reads by the key of `definition_name` (the definition this
  // object was opened with, or another definition of the same file; else
  // kStatusInvalidKey), taken from the key fields in the buffer. On success
  // the buffer holds the record read, which becomes the current record and
  // the position. A failed read leaves the buffer as it was; after a failed
  // positioning read there is no current record and no position (Update,
  // Delete, GetNext and GetPrevious give kStatusNoCurrentRecord). Duplicate
  // keys read in insertion order.
  int GetEqual(std::string_view definition_name);            // 0 / 4
  int GetGreater(std::string_view definition_name);          // 0 / 9
  int GetGreaterOrEqual(std::string_view definition_name);   // 0 / 9
  int GetLess(std::string_view definition_name);             // 0 / 9
  int GetLessOrEqual(std::string_view definition_name);      // 0 / 9
  // The first / last record in the key of `definition_name`.  0 / 9
  int GetFirst(std::string_view definition_name);
  int GetLast(std::string_view definition_name);
  // One record on from the position, in the key order of the last
  // positioning read. 0 / 9 (the position stays), 8 without a position.
  int GetNext();
  int GetPrevious();

  // Adds the buffer as a new record, which becomes the current record and
  // the position. 0, or 5 for a duplicate unique key.
  int Insert(std::string_view definition_name);
  // Rewrites or deletes the record last read. 80 when another object or
  // process changed or deleted it since; 8 when no record was read. After
  // Delete, GetNext gives the record after the deleted one. When AbortTrans
  // undoes this object's Update or Delete, the record is again the one it
  // read, and the next Update or Delete acts on it as read.
  int Update();
  int Delete();

  // Transactions span every file this process has open (on this thread),
  // also files opened inside the transaction. On PostgreSQL the commit is
  // one server transaction; on SQLite it is atomic over every file too,
  // whatever their number, also when the process dies in the middle of it
  // (sqlite_journals.h). A file's first read or write inside a
  // transaction takes its write lock, waiting up to the busy timeout for
  // another process's transaction on it to end (84 after that). An
  // AbortTrans also undoes this object's Updates in it: its next Update or
  // Delete of the record it read is no false 80. BeginTrans
  // inside a transaction gives
  // kStatusTransactionActive; EndTrans without one kStatusNoTransaction; a
  // failed EndTrans leaves the transaction for AbortTrans. AbortTrans
  // without a transaction does nothing and returns 0.
  int BeginTrans();
  int EndTrans();
  int AbortTrans();
  // Inside a transaction on PostgreSQL, inserts and rewrites whose status is
  // known before the server answers (a duplicate key, a changed record and
  // a lock not had never are) report it at once and reach the server
  // together, at the next statement or the commit. SendHeldWrites sends
  // them now: 0 (also without a transaction, and always on SQLite), or the
  // status of the server's refusal (a full disk), after which the
  // transaction can only be aborted. A refusal met by a later statement
  // (whose own status is then that failure) is given too, so that a caller
  // can tell its write's failure from its read's; a transaction lost by
  // another failure gives 0 here.
  int SendHeldWrites();

  // The whole record buffer as CP932 bytes (record length).
  const std::string& RecordBytes() const;
  // Replaces the whole buffer; `bytes` is cut or blank-padded to the record
  // length.
  void SetRecordBytes(std::string_view bytes);

  // The fields declared since OpenFile, in declaration order.
  const std::vector<FieldInfo>& Fields() const;
  // True between a successful OpenFile and CloseFile.
  bool IsOpen() const;
  // True when the buffer holds the record last read or inserted: false
  // before the first read, after a failed positioning read and after Delete.
  bool HasCurrentRecord() const;
  // The record length of the open file; 0 when not open.
  int RecordLength() const;

 private:
  int InsertRecord(std::string_view definition_name);
  int UpdateRecord();
  int DeleteRecord();

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_BTR_ACCESS_H_
