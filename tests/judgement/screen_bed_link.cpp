// The result-screen test bed, built into this test program too: the
// external automatic judgement is tried on the started program with the
// demo data.
#include "examinee/screen_fixture.cpp"  // NOLINT(bugprone-suspicious-include)
#include "examinee/start_fixture.cpp"   // NOLINT(bugprone-suspicious-include)
