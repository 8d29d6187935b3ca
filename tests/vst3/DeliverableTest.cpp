// The deliverables as files: what the Windows module imports and exports,
// and what the Linux module exports. Runs natively, where the binary tools
// are; the module itself is exercised by the other tests on each target.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

#if !defined(_WIN32)
std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
  pclose(pipe);
  return out;
}

bool Exists(const std::string& path) { return std::ifstream(path).good(); }

const std::string kDist = std::string(TORVA_SOURCE_DIR) + "/dist";

TEST(Vst3Deliverables, LinuxModuleExportsOnlyItsEntryPoints) {
  const std::string so = std::string(TORVA_DIST_PLATFORM_DIR) +
                         "/TORVA.vst3/Contents/x86_64-linux/TORVA.so";
  ASSERT_TRUE(Exists(so)) << so;
  std::istringstream lines(RunCommand("nm -D --defined-only '" + so + "'"));
  std::set<std::string> names;
  std::string address, type, name;
  while (lines >> address >> type >> name) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"GetPluginFactory", "ModuleEntry", "ModuleExit"}));
}

TEST(Vst3Deliverables, WindowsModuleImportsOnlySystemLibraries) {
  const std::string dll = kDist + "/windows/TORVA.vst3";
  if (!Exists(dll)) GTEST_SKIP() << "no Windows build in " << dll;
  const std::string dump = RunCommand("x86_64-w64-mingw32-objdump -p '" + dll + "'");
  ASSERT_FALSE(dump.empty());
  std::istringstream lines(dump);
  std::string line;
  std::set<std::string> imports, exports;
  const std::set<std::string> system = {"KERNEL32.dll", "msvcrt.dll", "USER32.dll", "GDI32.dll",
                                        "ADVAPI32.dll", "SHELL32.dll", "COMCTL32.dll",
                                        "COMDLG32.dll", "ole32.dll", "WININET.dll"};
  bool inNames = false;
  while (std::getline(lines, line)) {
    const auto at = line.find("DLL Name: ");
    if (at != std::string::npos) imports.insert(line.substr(at + 10));
    if (line.find("[Ordinal/Name Pointer] Table") != std::string::npos) {
      inNames = true;
      continue;
    }
    if (inNames) {
      const auto close = line.find(']');
      if (close == std::string::npos || line.find('[') == std::string::npos) {
        inNames = false;
        continue;
      }
      exports.insert(line.substr(close + 2));
    }
  }
  EXPECT_FALSE(imports.empty());
  for (const std::string& dllName : imports) EXPECT_TRUE(system.count(dllName)) << dllName;
  EXPECT_EQ(exports, (std::set<std::string>{"ExitDll", "GetPluginFactory", "InitDll"}));
}
#endif

}  // namespace
