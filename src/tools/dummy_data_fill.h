// The dummy-data tool of the result screen: Alt+F4 opens frmDmyDataSet and,
// when the operator runs it, fills the current consultation with made-up
// results stamped with the updater "DEBUG".
//
// The filler changes only column 0 of frmResultIn.ResultMatrix (value,
// findings, judgement, measurement class and stamps; never the done-check,
// the stored standard range or the option flag), the result grid
// frmResultIn.sprResult and the group-jump list; it writes no file,
// recomputes no group judgement and sets no done-check. Whether the values
// are kept is up to the screen's save. Items only earlier consultations
// have are passed over. The settings record (basFileAccess.SysObj) and, for
// findings, the findings master (basFileAccess.QZSYO2LFObj) must be open.
// User-interface thread only.
#ifndef QZ_TOOLS_DUMMY_DATA_FILL_H_
#define QZ_TOOLS_DUMMY_DATA_FILL_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qz {

// The updater of the filled results, and its text in the updater column.
inline constexpr std::string_view kDummyUser = "DEBUG";
inline constexpr std::string_view kDummyUserText = "デバッグ";
// The length in code-page bytes of a made-up finding.
inline constexpr int kMadeUpFindingBytes = 200;

// Shows frmDmyDataSet modally, lets pending events run and, when the
// operator pressed 実行, calls Sub_FillDummyData with the choices of
// basPublic.DummyDataSettings.
void Sub_ShowDummyDataDialog();

// Fills every item of the item table in table order (see the header
// comment): numeric items by `num_type` (DummyNumType; items whose
// automatic-judgement class is not 1 always take running numbers from
// `start_no`), judged when their class is 1; findings items from the
// default finding (`syo_default`), the findings master (`syoken_use` 1) or
// a made-up text; judgement items with the codes of the judgement list in
// turn from position `han_start_index` (0, nothing chosen, counts as 1).
// Ends with "ダミーデータをセットしました。". A run-time error ends it with the
// error report "ダミーデータのセット処理でエラーが発生しました。"; the items
// filled so far keep their values.
void Sub_FillDummyData(std::int16_t num_type, double start_no, std::int16_t han_start_index,
                       std::int16_t syoken_use, bool syo_default);

// The value text of a numeric item before the digit edit: what `num_type`
// makes of the standard range (`std_low`, `std_high`) with `step`, or the
// next running number `running` (incremented) when `use_running`. Pure.
std::string Fnc_DummyNumericValue(bool use_running, std::int16_t num_type, std::string_view std_low,
                                  std::string_view std_high, double step, double& running);

// `value` laid out to the digit format `stype` (first character the
// integer digits L, last the decimals M): when L < 6, the last L integer
// digits of the value, ".", and its first M decimals ("00000.0000"
// pattern); otherwise `value` unchanged. Pure.
std::string Fnc_DummyFixedLayout(std::string_view value, std::string_view stype);

// `base` lengthened to kMadeUpFindingBytes code-page bytes: from its end
// on, every fifth byte position carries its own number right-aligned at it
// ("05", "10", ... "95", "100", ... "200") and the gaps are "+". A base of
// kMadeUpFindingBytes bytes or more is returned unchanged. Pure.
std::string Fnc_LengthenMadeUpFinding(std::string_view base);

}  // namespace qz

#endif  // QZ_TOOLS_DUMMY_DATA_FILL_H_
