// Sub_AutoSetSummaryFindings: the summary-findings auto-set that follows a
// changed judgement or finding of an item: the rules of the settings
// (basPublic.AutoSougouSyoken) that have the item as their source write
// their finding into the item's summary-findings item.
//
// NOT YET BUILT: this is its least form, which changes nothing. The
// judgement routines already call it at every point where the auto-set
// runs, so the rules take effect once it is written.
#ifndef QZ_JUDGEMENT_SUMMARY_AUTO_SET_H_
#define QZ_JUDGEMENT_SUMMARY_AUTO_SET_H_

#include <cstdint>

namespace qz {

// Applies the auto-set rules whose source is item `item` (an item-table
// index). At present: no effect.
void Sub_AutoSetSummaryFindings(std::int16_t item);

}  // namespace qz

#endif  // QZ_JUDGEMENT_SUMMARY_AUTO_SET_H_
