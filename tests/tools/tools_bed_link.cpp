// The loading and save test beds, built into this test program too: the
// tools stand on the same suite folder, masters, shell and screen tables.
#include "examinee/save_fixture.cpp"  // NOLINT(bugprone-suspicious-include)
#include "loading/load_fixture.cpp"   // NOLINT(bugprone-suspicious-include)
