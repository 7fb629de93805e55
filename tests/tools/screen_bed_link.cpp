// The result-screen test bed (the program started on the demo data), built
// into this test program too: the tools are tried on the screen as the
// operator reaches them.
#include "examinee/screen_fixture.cpp"  // NOLINT(bugprone-suspicious-include)
#include "examinee/start_fixture.cpp"   // NOLINT(bugprone-suspicious-include)
