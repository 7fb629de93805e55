// The text of the definitions file (CPFSPEC.INI) that describes every file
// of record_layouts.h to the record manager: each file with its record
// length and its keys, each definition with its file and key number.
//
//   [FILES]            file = record length
//   [<file>]           KEY<n> = segments "position:length:kind" joined by
//                      ",", then ";UNIQUE" or ";DUP"
//   [DEFINITIONS]      definition = file,key number
//
// Layouts that share a definition (the record kinds of the settings master)
// give it one key. Pure; ASCII text with CRLF line ends.
#ifndef QZ_DATA_DEFINITIONS_TEXT_H_
#define QZ_DATA_DEFINITIONS_TEXT_H_

#include <string>

namespace qz::data {

std::string DefinitionsIniText();

}  // namespace qz::data

#endif  // QZ_DATA_DEFINITIONS_TEXT_H_
