// The two phases of a conversion section of Update.INI ("Convert",
// "Convert_001" …), which carry record-manager files across a change of
// record layout.
//
// Phase one swaps in the section's export definition for the suite's
// QZPCSV.INI, checks and backs up every file it names, sets any old CSV
// aside and has QZPCSV.EXE write each file out as CSV. Phase two swaps in
// the import definition, deletes the files, has QZPCBR85.EXE and
// QZPCLR.EXE recreate them empty, and has QZPGENCNV.EXE read each CSV back.
// Both phases put the suite's QZPCSV.INI back on every path. The files of
// the section are kept in basPublic.RenameBackList (cleared by the caller
// for each section), whose moved-aside CSVs the caller puts back at the
// section's end.
//
// Every failure shows a critical box, is logged and stops its phase.
// Single-threaded, like the program.
#ifndef QZ_UPDATE_CONVERT_STEP_H_
#define QZ_UPDATE_CONVERT_STEP_H_

#include <cstdint>
#include <string_view>

namespace qz::update {

// Phase one of `section`. True when done (also when the section names no
// export definition, which exports nothing).
bool Fnc_Convert1(std::string_view section);

// Appends the entry of file ID `id` to basPublic.RenameBackList, checks
// that its record-manager file exists, backs it up and sets an existing
// CSV aside. The suite's QZPCSV.INI (now the export definition) names the
// files.
bool Fnc_FileCheck(std::string_view id);

// Runs QZPCSV.EXE with every listed ID ("A,B,C") and checks that each CSV
// is there afterwards.
bool Fnc_MakeCSV();

// Phase two of `section`. True when done (also when phase one listed
// nothing).
bool Fnc_Convert2(std::string_view section);

// Deletes the listed record-manager files, has them recreated and checks
// that each is there again.
bool Fnc_MasterClear();

// Runs QZPGENCNV.EXE for entry `index` (1-based) of the list.
bool Fnc_ConvertImport(std::int32_t index);

}  // namespace qz::update

#endif  // QZ_UPDATE_CONVERT_STEP_H_
