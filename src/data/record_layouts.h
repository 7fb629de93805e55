// The record layouts of every record-manager file the result-input program
// reads or writes: for each definition its file, its fields (name, 1-based
// byte position, length, kind) in declaration order and its key fields.
//
// This table is the one source of the layouts: the open procedures declare
// their fields from it, the fixture kit and the demo data write records with
// it, and the definitions file (CPFSPEC.INI) of a new suite folder is made
// from it. The tables are built once, are immutable and may be read from any
// thread.
//
// A file read under several definitions (the examinee master, the findings
// master) has one layout per definition; the settings master QZSYSLF has one
// definition and several record kinds told apart by KBN, each with a layout
// of its own.
#ifndef QZ_DATA_RECORD_LAYOUTS_H_
#define QZ_DATA_RECORD_LAYOUTS_H_

#include <string>
#include <string_view>
#include <vector>

namespace qz::data {

enum class FieldKind { kAlpha, kNumeric, kKanji };

struct FieldDef {
  std::string name;
  int pos = 0;  // 1-based byte position
  int len = 0;  // bytes (CP932)
  FieldKind kind = FieldKind::kAlpha;

  int end() const { return pos + len - 1; }  // last byte
};

// Where a file lives: the data folder (QZPPATH.ini VLMF) or the preview work
// folder (SVWORK).
enum class FileFolder { kData, kWork };

struct FileLayout {
  std::string name;        // unique name of the layout, e.g. "QZSYSLF.ERA"
  std::string file;        // e.g. "QZJSNLF.BTR"
  std::string definition;  // definition name, e.g. "QZJSNLF"
  FileFolder folder = FileFolder::kData;
  std::vector<FieldDef> fields;         // in declaration (position) order
  std::vector<std::string> key_fields;  // in key order
  bool duplicates = false;              // the key may repeat
  int fixed_length = 0;                 // the record length when the suite fixes it, else 0

  // The field called `name`, or nullptr.
  const FieldDef* Find(std::string_view field_name) const;
  // The byte after the last field (the shortest record that holds them all).
  int MinRecordLength() const;
};

// Record classes (KBN) of the settings master QZSYSLF. Every reader of the
// settings record uses kSysKbnSettings.
inline constexpr int kSysKbnInstitution = 1;
inline constexpr int kSysKbnEra = 2;
inline constexpr int kSysKbnSettings = 3;
inline constexpr int kSysKbnReport = 9;

// --- Examinee, consultation and result files --------------------------------
const FileLayout& QzjsnlfLayout();   // examinee master
const FileLayout& Qzjsn2lfLayout();  // examinee master by patient ID
const FileLayout& QzdanlfLayout();   // organisation master
const FileLayout& QzjkolfLayout();   // consultation-items master
const FileLayout& QzjrklfLayout();   // consultation history
const FileLayout& Qzjrk2lfLayout();  // consultation history by date
const FileLayout& QzkkklfLayout();   // examination results
const FileLayout& QzcarlfLayout();   // insurer reception-number history
const FileLayout& QzjkrlfLayout();   // exam-ticket history
const FileLayout& QjjrklfLayout();   // preview work file: consultation history
const FileLayout& QjkkklfLayout();   // preview work file: examination results

// --- Masters ----------------------------------------------------------------
const FileLayout& QzkoslfLayout();   // course master
const FileLayout& QzksklfLayout();  // course-items master
const FileLayout& QzkomlfLayout();   // examination-item master
const FileLayout& QzgrplfLayout();   // input-group master
const FileLayout& QzhatlfLayout();   // judgement (standard-range) master
const FileLayout& QzsyolfLayout();   // findings master, by tab
const FileLayout& Qzsyo2lfLayout();  // findings master, by typed code
const FileLayout& Qzsyo3lfLayout();  // findings master, by findings code
const FileLayout& Qzsyo4lfLayout();  // findings master, combo rows
const FileLayout& SysSettingsLayout();     // QZSYSLF settings record (KBN 3)
const FileLayout& SysChohyoLayout();       // QZSYSLF report records (KBN 9)
const FileLayout& SysEraLayout();          // QZSYSLF era record (KBN 2)
const FileLayout& SysInstitutionLayout();  // QZSYSLF institution record (KBN 1)
const FileLayout& Qzocl2lfLayout();  // findings-tab master
const FileLayout& QzusrlfLayout();   // user master
const FileLayout& Qzsyn2lfLayout();  // diagnosis-item master

// --- Shared tables of the suite -----------------------------------------------
const FileLayout& QzloglfLayout();   // log-on table
const FileLayout& QzonllfLayout();   // on-line table

// Every layout above, in this order.
const std::vector<const FileLayout*>& AllLayouts();

// The layout called `name` (FileLayout::name), or nullptr.
const FileLayout* FindLayout(std::string_view name);

// The record length of `file` (e.g. "QZSYSLF.BTR"): the fixed length of a
// layout that has one, else the longest MinRecordLength of its layouts
// rounded up to a multiple of 16. 0 for a file no layout names.
int RecordLengthOf(std::string_view file);

}  // namespace qz::data

#endif  // QZ_DATA_RECORD_LAYOUTS_H_
