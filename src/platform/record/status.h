// Status codes of the record manager, as every read and write returns them.
// 0, 4 and 9 are ordinary answers; every other value is a failure that the
// callers report with "ステータス : " and the number.
#ifndef QZ_PLATFORM_RECORD_STATUS_H_
#define QZ_PLATFORM_RECORD_STATUS_H_

namespace qz::record {

inline constexpr int kStatusOk = 0;
inline constexpr int kStatusIoError = 2;          // the file could not be read or written
inline constexpr int kStatusFileNotOpen = 3;      // the object has no open file
inline constexpr int kStatusNotFound = 4;         // GetEqual found no record with the key
inline constexpr int kStatusDuplicateKey = 5;     // Insert/Update would duplicate a unique key
inline constexpr int kStatusInvalidKey = 6;       // the definition named is not one of the file's
inline constexpr int kStatusNoCurrentRecord = 8;  // Update/Delete/GetNext without a record read
inline constexpr int kStatusEndOfFile = 9;        // nothing in the direction asked
inline constexpr int kStatusFileNotFound = 12;    // the file or its definition is missing
inline constexpr int kStatusTransactionActive = 37;  // BeginTrans inside a transaction
inline constexpr int kStatusNoTransaction = 39;   // EndTrans without BeginTrans
inline constexpr int kStatusWriteRefused = 46;    // the file, its folder or the server refuses this user the write
inline constexpr int kStatusFileExists = 59;      // creating a file that is already there
inline constexpr int kStatusChanged = 80;         // changed by another object or process since read
inline constexpr int kStatusBusy = 84;            // locked by another process after the timeout

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_STATUS_H_
