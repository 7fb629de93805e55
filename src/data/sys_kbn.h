// Record classes (field KBN) of the settings master QZSYSLF. The file holds
// records of several kinds under one key (KBN, CODE); every reader names the
// class it wants through these constants, never through a bare number.
#ifndef QZ_DATA_SYS_KBN_H_
#define QZ_DATA_SYS_KBN_H_

namespace qz {

inline constexpr int kSysKbnInstitution = 1;  // the institution record
inline constexpr int kSysKbnEra = 2;          // the era table
inline constexpr int kSysKbnSettings = 3;     // the settings record (judgements, colours)

// CODE of the era record and of the settings record: six blanks.
inline constexpr const char* kSysBlankCode = "      ";

}  // namespace qz

#endif  // QZ_DATA_SYS_KBN_H_
