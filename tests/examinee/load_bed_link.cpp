// The loading test bed, built into this test program too: the save tests
// stand on the same suite folder, masters and shell as the loading tests.
#include "loading/load_fixture.cpp"  // NOLINT(bugprone-suspicious-include)
