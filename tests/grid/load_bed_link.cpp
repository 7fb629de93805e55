// The loading test beds, built into this test program too: the screen
// reload stands on the same suite folder, masters, shell and consultation
// as the loading tests.
#include "loading/item_fixture.cpp"  // NOLINT(bugprone-suspicious-include)
#include "loading/load_fixture.cpp"  // NOLINT(bugprone-suspicious-include)
