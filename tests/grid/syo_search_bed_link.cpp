// The findings-search test suite (findings master, tabs, judgement codes),
// built into this test program too: the launch from the grid opens the
// real dialog on it.
#include "judgement/syo_search_fixture.cpp"  // NOLINT(bugprone-suspicious-include)
