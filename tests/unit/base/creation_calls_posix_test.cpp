// Every handle Kelvo makes goes through a creation helper that returns a counting owner
// (win32/owned_*_win, ui/owned_gdi_objects_win). This scans the sources for the system's
// creating functions called anywhere else: such a call makes a handle that no count sees. It
// reads the source tree, so it runs in the native build only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// Functions that make something Kelvo must give back. Names taking text are listed once; their
// W and A forms count too.
const std::set<std::string> kTextNamed = {"CreateFont",
                                          "CreateFontIndirect",
                                          "CreateFontIndirectEx",
                                          "CreateDC",
                                          "CreateIC",
                                          "LoadImage",
                                          "LoadBitmap",
                                          "LoadMenu",
                                          "ExtractIcon",
                                          "ExtractIconEx",
                                          "ExtractAssociatedIcon",
                                          "SHGetFileInfo",
                                          "CreateAcceleratorTable",
                                          "CreateFile",
                                          "CreateEvent",
                                          "CreateEventEx",
                                          "CreateMutex",
                                          "CreateMutexEx",
                                          "CreateSemaphore",
                                          "OpenEvent",
                                          "OpenMutex",
                                          "CreateProcess",
                                          "CreateFileMapping",
                                          "CreateWaitableTimer",
                                          "LoadLibrary",
                                          "LoadLibraryEx",
                                          "FindFirstFile",
                                          "FindFirstFileEx",
                                          "FindFirstChangeNotification"};
const std::set<std::string> kPlain = {"CreateSolidBrush",
                                      "CreateBrushIndirect",
                                      "CreateHatchBrush",
                                      "CreatePatternBrush",
                                      "CreatePen",
                                      "CreatePenIndirect",
                                      "ExtCreatePen",
                                      "CreateCompatibleBitmap",
                                      "CreateBitmap",
                                      "CreateBitmapIndirect",
                                      "CreateDIBSection",
                                      "CreateDIBitmap",
                                      "CreateRectRgn",
                                      "CreateRectRgnIndirect",
                                      "CreateRoundRectRgn",
                                      "CreateEllipticRgn",
                                      "CreatePolygonRgn",
                                      "CreateCompatibleDC",
                                      "GetDC",
                                      "GetDCEx",
                                      "GetWindowDC",
                                      "BeginPaint",
                                      "CreatePopupMenu",
                                      "CreateMenu",
                                      "CopyIcon",
                                      "CopyImage",
                                      "CreateIcon",
                                      "CreateIconIndirect",
                                      "CreateIconFromResourceEx",
                                      "CreateFile2",
                                      "OpenProcess",
                                      "OpenThread",
                                      "OpenProcessToken",
                                      "OpenThreadToken",
                                      "DuplicateHandle",
                                      "CreateThread",
                                      "_beginthreadex",
                                      "CreateToolhelp32Snapshot",
                                      "CreateTimerQueue",
                                      "CreateIoCompletionPort",
                                      "GlobalAlloc",
                                      "LocalAlloc",
                                      "HeapAlloc",
                                      "HeapCreate"};

bool IsCreationFunction(const std::string& name) {
  if (kPlain.count(name) || kTextNamed.count(name)) return true;
  const char last = name.empty() ? '\0' : name.back();
  return (last == 'W' || last == 'A') && kTextNamed.count(name.substr(0, name.size() - 1)) > 0;
}

bool IdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IdentifierPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The text with comments, string and character literals made blanks (line breaks kept, so that
// line numbers stay right).
std::string CodeOnly(const std::string& text) {
  std::string code = text;
  std::size_t i = 0;
  const auto blank = [&](std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to && k < code.size(); ++k) {
      if (code[k] != '\n') code[k] = ' ';
    }
  };
  while (i < code.size()) {
    if (code.compare(i, 2, "//") == 0) {
      const std::size_t end = code.find('\n', i);
      blank(i, end);
      i = end == std::string::npos ? code.size() : end;
    } else if (code.compare(i, 2, "/*") == 0) {
      const std::size_t end = code.find("*/", i + 2);
      const std::size_t stop = end == std::string::npos ? code.size() : end + 2;
      blank(i, stop);
      i = stop;
    } else if (code[i] == '"' || code[i] == '\'') {
      const char quote = code[i];
      std::size_t k = i + 1;
      while (k < code.size() && code[k] != quote && code[k] != '\n') k += code[k] == '\\' ? 2 : 1;
      blank(i, k + 1);
      i = k + 1;
    } else {
      ++i;
    }
  }
  return code;
}

// "line: Name" for each call of a creation function that is not qualified by a namespace other
// than the global one (owned::CreatePen is the helper) and is no member call.
std::vector<std::string> RawCreationCalls(const std::string& text) {
  const std::string code = CodeOnly(text);
  std::vector<std::string> calls;
  int line = 1;
  for (std::size_t i = 0; i < code.size();) {
    if (code[i] == '\n') ++line;
    if (!IdentifierStart(code[i]) || (i > 0 && IdentifierPart(code[i - 1]))) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < code.size() && IdentifierPart(code[end])) ++end;
    const std::string name = code.substr(i, end - i);
    std::size_t next = end;
    while (next < code.size() && (code[next] == ' ' || code[next] == '\t')) ++next;
    std::size_t before = i;
    while (before > 0 && (code[before - 1] == ' ' || code[before - 1] == '\t')) --before;
    const bool member = before > 0 && (code[before - 1] == '.' || code[before - 1] == '>');
    const bool qualified = before > 1 && code.compare(before - 2, 2, "::") == 0 && before > 2 &&
                           IdentifierPart(code[before - 3]);
    if (next < code.size() && code[next] == '(' && !member && !qualified &&
        IsCreationFunction(name)) {
      calls.push_back(std::to_string(line) + ": " + name);
    }
    i = end;
  }
  return calls;
}

// Where the raw calls belong: the creation helpers, and the owners of a window's and a paint's
// device context.
bool MayCallRaw(const std::string& relative, const std::string& call) {
  static const std::set<std::string> kHelpers = {
      "win32/owned_kernel_objects_win.h", "win32/owned_kernel_objects_win.cpp",
      "win32/owned_icons_win.h",          "win32/owned_icons_win.cpp",
      "ui/owned_gdi_objects_win.h",       "ui/owned_gdi_objects_win.cpp"};
  if (kHelpers.count(relative)) return true;
  const std::string name = call.substr(call.find(' ') + 1);
  return relative == "ui/gdi_win.h" && (name == "GetDC" || name == "BeginPaint");
}

std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(CreationCallScanTest, FindsRawCallsButNotHelpersCommentsTextsOrOtherNames) {
  const std::string planted =
      "HFONT a = CreateFontIndirectW(&lf);\n"
      "FontHandle b = owned::CreateFontIndirectW(&lf);\n"
      "// CreatePen(PS_SOLID, 1, 0) in a comment\n"
      "/* GetDC(nullptr)\n   CopyIcon(icon) */ const auto c = L\"CreateMenu()\";\n"
      "HDC d = ::GetDC (nullptr);\n"
      "bool e = LoadImageToBitmap(path, bitmap, 1);\n"
      "dc.GetDC(); p->CreatePen(); auto f = decltype(&SHGetFileInfoW){};\n"
      "HANDLE g = FindFirstFileExW(\n    pattern);\n"
      "HMODULE h = LoadLibraryA(\"x\"); char q = '\"'; HGLOBAL i = GlobalAlloc(0, 1);\n";
  EXPECT_EQ(RawCreationCalls(planted),
            (std::vector<std::string>{"1: CreateFontIndirectW", "6: GetDC", "9: FindFirstFileExW",
                                      "11: LoadLibraryA", "11: GlobalAlloc"}));
}

TEST(CreationCallScanTest, OnlyTheHelpersAndTheDcOwnersCallTheSystemDirectly) {
  EXPECT_TRUE(MayCallRaw("ui/owned_gdi_objects_win.cpp", "3: CreatePen"));
  EXPECT_TRUE(MayCallRaw("ui/gdi_win.h", "40: GetDC"));
  EXPECT_FALSE(MayCallRaw("ui/gdi_win.h", "41: CreatePen"));
  EXPECT_FALSE(MayCallRaw("clip/window/clip_window_win.cpp", "9: CreateSolidBrush"));
}

TEST(CreationCallScanTest, NoSourceOfKelvoMakesAHandleOutsideTheHelpers) {
  const std::filesystem::path root = KELVO_SOURCE_DIR;
  std::vector<std::string> found;
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
    ++files;
    const std::string relative = entry.path().lexically_relative(root).generic_string();
    for (const std::string& call : RawCreationCalls(Read(entry.path()))) {
      if (!MayCallRaw(relative, call)) found.push_back(relative + ":" + call);
    }
  }
  EXPECT_GT(files, 100) << "the source tree was not found at " << root;
  std::sort(found.begin(), found.end());
  for (const std::string& call : found) {
    ADD_FAILURE() << call << " makes a handle outside the creation helpers; call owned::…";
  }
}

}  // namespace
