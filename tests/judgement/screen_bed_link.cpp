// The result-screen test bed (the program started on the demo data), built
// into this test program too: the summary findings are tried on a loaded
// screen with the settings read from the program's INI file.
#include "examinee/screen_fixture.cpp"  // NOLINT(bugprone-suspicious-include)
#include "examinee/start_fixture.cpp"   // NOLINT(bugprone-suspicious-include)
