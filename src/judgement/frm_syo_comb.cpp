#include "judgement/frm_syo_comb.h"

namespace qz {

ui::FormSlot<FrmSyoComb> frmSyoComb;

FrmSyoComb::FrmSyoComb() : Form("frmSyoComb") {
  caption = "所見ﾏｽﾀ検索";
  Move(0, 0, 9000, 7200);
}

}  // namespace qz
