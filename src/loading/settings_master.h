// Sub_LoadSettingsMaster: the first loading step of every examinee load. It
// reads the judgement part of the settings record again and fills the
// judgement lists, the colour letters of the item kinds, the overall-
// judgement lock flag and the colour letter of judgement 1 of frmResultIn,
// and the colour table basPublic.ColorTable from the [COLOR] section of
// ./QZP140.INI.
#ifndef QZ_LOADING_SETTINGS_MASTER_H_
#define QZ_LOADING_SETTINGS_MASTER_H_

namespace qz {

// Reads the settings record (basFileAccess.SysObj, opened at start).
// Returns false when the record cannot be read: the warning "設定マスタの
// 読み込みに失敗しました。" with the status was shown and the result screen
// unloaded, so the load ends. A run-time error shows the report "設定情報の
// 取得処理でエラーが発生しました。" and returns true (the load goes on with
// what was set).
bool Sub_LoadSettingsMaster();

}  // namespace qz

#endif  // QZ_LOADING_SETTINGS_MASTER_H_
