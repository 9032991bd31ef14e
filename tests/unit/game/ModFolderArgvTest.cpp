// The command-line split against the system's own CommandLineToArgvW, on
// lines where the quote and backslash rules meet.

#include <windows.h>

#include <shellapi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/ModFolder.h"

namespace vireo::test {
namespace {

std::vector<std::string> systemSplit(const std::string& line) {
    std::wstring wide(line.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, wide.data(),
                                    static_cast<int>(wide.size())) -
                1);
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> args;
    for (int i = 0; argv && i < count; ++i) {
        std::string utf8(4 * lstrlenW(argv[i]) + 1, '\0');
        utf8.resize(WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, utf8.data(),
                                        static_cast<int>(utf8.size()), nullptr, nullptr) -
                    1);
        args.push_back(utf8);
    }
    LocalFree(argv);
    return args;
}

TEST(ModFolderArgvTest, SplitsAsTheSystemDoes) {
    for (const char* line :
         {"hl.exe", "\"C:\\Program Files\\hl.exe\" -game \"Counter Strike\"", "C:\\a\\\"b c\" d",
          "x a\\\\b \\\\\\\\\"c d\" \\\"e", "x \"a\\\\\" b", "x \"\" \"a\"\"b\" \"\"\"\"",
          "x \"\"\"a b\"\"\" c\"\"\"\"\"d", "x ab\"c d\"ef \"\xc3\xa9\" \\\\\\\"", "\"x\"y z\t"})
        EXPECT_EQ(splitCommandLine(line), systemSplit(line)) << line;
}

}  // namespace
}  // namespace vireo::test
