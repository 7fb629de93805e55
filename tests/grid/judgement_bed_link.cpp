// The judgement test bed, built into this test program too: the entry of a
// typed value judges against the same masters and settings record.
#include "judgement/judgement_bed.cpp"  // NOLINT(bugprone-suspicious-include)
