// Small reads of the consultation on the result screen, each looking up one
// value for the examinee cycle, and the normalisation of the payment-
// category flags.
//
// The examinee and consultation are basPublic.ExamineeNo and
// basPublic.ConsultDate. Every read goes through the objects of
// basFileAccess. A run-time error shows the error report with the
// function's job text and gives the empty value (the two reads of the save:
// nothing, as for a failed read).
#ifndef QZ_LOADING_CONSULT_READS_H_
#define QZ_LOADING_CONSULT_READS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qz {

// The examinee number (CODE as read) of hospital patient ID `patient_id`
// (examinee master by patient ID); empty when there is none. A failed read
// shows "受診者マスタの読み込みに失敗しました。", unloads the result screen
// and gives empty.
std::string Fnc_GetExamineeByPatientId(std::string_view patient_id);

// The examinee's newest consultation date (yyyymmdd) in the consultation-
// items master, 0 when the examinee has none. A failed read shows
// "受診項目マスタの読み込みに失敗しました。", unloads the result screen and
// gives 0.
std::int32_t Fnc_GetLastExamDate();

// Normalises basPublic.JkoFlags (a self-pay flag clears its plain flag,
// "Sagaku" sets "Ippan" and clears "Fuka") and derives basPublic.JkoKbn:
// 2 Fuka, else 1 Ippan, else 3 Sikyu, else 4 Foro, else 5 Kanen or RNA,
// else 0.
void Sub_AdjustOptionFlags();

// The insurer reception number (SEIKAN, trimmed) of the newest reception
// record dated on or before the consultation, when that record lies in the
// consultation's fiscal year (from 1 April); else empty. A failed read (a
// status other than found, not found and end of file) shows
// "政管受付番号履歴マスタの読み込みに失敗しました。" (no icon) and gives
// nothing: the save that asked must not write an empty number over the
// stored one.
std::optional<std::string> Fnc_GetInsurerReceptionNo();

// The examination-ticket number (JSNO, trimmed) of the newest ticket record
// dated on or before the consultation whose JSDATE is on or after the
// consultation date; else empty. A failed read shows "受診券履歴マスタの
// 読み込みに失敗しました。" (no icon) and gives nothing, as above.
std::optional<std::string> Fnc_GetTicketReferenceNo();

}  // namespace qz

#endif  // QZ_LOADING_CONSULT_READS_H_
