// The text of the conversion definition (QZPCSV.INI) of an installation
// whose data folder holds the record-manager files of record_layouts.h:
// one section per file of the data folder (the preview work files aside),
// named by the file's name without ".BTR", with the record file and the
// CSV file the conversion programs read and write for it.
//
//   [SysInfo]          Version = 1
//   [QZKKKLF]          InFile = QZKKKLF.BTR, OutFile = QZKKKLF.CSV
//
// Sections in name order. Pure; ASCII text with CRLF line ends.
#ifndef QZ_DATA_CONVERSION_DEFINITION_TEXT_H_
#define QZ_DATA_CONVERSION_DEFINITION_TEXT_H_

#include <string>

namespace qz::data {

std::string ConversionDefinitionText();

}  // namespace qz::data

#endif  // QZ_DATA_CONVERSION_DEFINITION_TEXT_H_
