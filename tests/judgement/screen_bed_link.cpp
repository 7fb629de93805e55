// The result-screen test bed (the program started on the demo data), built
// into this test program too: the summary findings and the external
// automatic judgement are tried on a loaded screen.
#include "examinee/screen_fixture.cpp"  // NOLINT(bugprone-suspicious-include)
#include "examinee/start_fixture.cpp"   // NOLINT(bugprone-suspicious-include)
