// demodata <folder> [computer-name]
//
// Makes a complete suite folder tree with the demo data set in <folder>:
// the program folder with its INI files and definitions, the data folder
// with every master and the five demo examinees, and the work folder. The
// log-on rows name this machine (or the computer name given) and today.
// QZP140.INI fits the main form to the screen's height (FormHeight=1).
// QZP149D.INI names the two items the specific-checkup judgement sets.
// The tree is also an installation that Update can bring to a release:
// QZPPATH.ini names the program folder as VLMP_MASTER and <folder>/CSV/ as
// CSV, Version.ini says 1.0.0 and QZPCSV.INI names every data file; the
// conversion programs are the caller's (the launcher links the stand-ins).
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "kit/demo_catalog.h"
#include "kit/demo_data.h"
#include "kit/suite_builder.h"
#include "data/conversion_definition_text.h"
#include "platform/clock/clock.h"
#include "platform/system/system_info.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: demodata <folder> [computer-name]\n");
    return 2;
  }
  try {
    qz::testkit::DemoOptions options;
    options.computer_name = argc == 3 ? argv[2] : qz::system::ComputerName();
    options.today = qz::Today();
    qz::testkit::SuiteBuilder builder(argv[1]);
    qz::testkit::AddDemoData(builder, options);
    // The terminal's main form takes the work area's height, so a laptop's
    // screen shows the whole result screen with its status line.
    builder.SetIni("SysInfo", "FormHeight", "1");
    const std::string csv = builder.paths().root + "CSV/";
    builder.SetPathKey("VLMP_MASTER", builder.paths().program).SetPathKey("CSV", csv);
    const qz::testkit::SuitePaths& p = builder.Build();
    std::filesystem::create_directories(csv);
    std::ofstream(p.program + "Version.ini", std::ios::binary) << "[Version]\r\nNow=1.0.0\r\n";
    std::ofstream(p.program + "QZPCSV.INI", std::ios::binary) << qz::data::ConversionDefinitionText();
    std::ofstream(p.program + "QZP149D.INI")
        << "[KENSA_NO]\r\nHOKENSIDOU=" << qz::testkit::demo::kHokenSidouItem
        << "\r\nMETABO=" << qz::testkit::demo::kMetaboItem << "\r\n";
    std::printf("demo suite written to %s\n  program folder %s\n  data folder    %s\n  work folder    %s\n",
                p.root.c_str(), p.program.c_str(), p.data.c_str(), p.work.c_str());
    std::printf("  terminal %s, consultations of %d\n", options.computer_name.c_str(), options.today);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "demodata: %s\n", e.what());
    return 1;
  }
}
