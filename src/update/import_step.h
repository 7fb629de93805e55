// The import and numeric-initialisation sections of Update.INI, run by the
// master edit of the version-up after the conversion and copy steps.
//
// An import section ("Import", "Import_001" …) loads CSV files shipped with
// the release into record-manager files through QZPGENCNV.EXE: every key
// but INI, TargetMin and TargetMax is a file ID whose value is the CSV's
// path, optionally followed by ";" and a mode. A numeric-initialisation
// section ("QZPCNV", "QZPCNV_001" …) has QZPCNV.EXE initialise numeric
// items in the files listed by its key File ("A,B"). Both swap in the
// conversion definition named by their key INI for the suite's QZPCSV.INI
// for the duration of the section and put it back on every path, and both
// back up every record-manager file they touch first.
//
// Single-threaded, like the program.
#ifndef QZ_UPDATE_IMPORT_STEP_H_
#define QZ_UPDATE_IMPORT_STEP_H_

#include <cstdint>
#include <string_view>

namespace qz::update {

// Import section `n`. True when done, not applicable or absent; false when
// its definition could not be swapped in, a failed import was not passed
// over ("続行しますか？" answered No, or the file could not be put back as it
// was before the import), or QZPCSV.INI could not be put back. A failed
// import passed over (Yes) leaves its file as it was before it and is
// noted for the end of the run (NoteFailurePassedOver, frm_main.h).
bool Fnc_ImportSection(std::int32_t n);

// Imports file ID `id` from the CSV named by `value` ("data\A.csv" or
// "data\A.csv;1"): backs up the record-manager file, copies the CSV to the
// definition's CSV name (an existing CSV there is set aside and put back
// afterwards) and runs QZPGENCNV.EXE with the ID followed by the mode.
// True when the converter ran and the copied CSV was removed. Before the
// converter runs, the record file is copied to the run folder's Import
// folder; a failed import puts it back from there (a converter that fails
// may have written part of it).
bool Fnc_Import(std::string_view id, std::string_view value);

// Numeric-initialisation section `n`. True when done, not applicable,
// absent or without File.
bool Fnc_NumInit(std::int32_t n);

// Reads File of `section` into the section's file list. True when given.
bool Fnc_NumInitFile(std::string_view section);

// Checks and backs up every record-manager file of the section's file list,
// as the suite's own QZPCSV.INI names them.
bool Fnc_NumInitCheck();

}  // namespace qz::update

#endif  // QZ_UPDATE_IMPORT_STEP_H_
