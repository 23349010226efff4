// A canned-text file as users keep it: any bytes in any encoding, edited by hand for years. The
// whole input is the file. Properties:
// - written back unchanged, it reads as the same items, and while it keeps its encoding every
//   line keeps its bytes (only line ends become CR LF);
// - after each change the page makes (register, separator, delete, move, edit), the file reads
//   back as the page's items; a refused change leaves the items and the file as they were;
// - a row's drawing pieces put together give its label again.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "clip/model/canned_page.h"
#include "fuzz_support.h"
#include "settings/settings_store.h"
#include "support/fake_locale.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"

namespace {

const std::u16string kExeDir = u"C:\\Kelvo\\";
const std::u16string kPath = u"C:\\Kelvo\\TEXTDATA.txt";

using Items = std::vector<std::u16string>;

std::string Difference(const Items& a, const Items& b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] != b[i]) return "item " + std::to_string(i) + ": " + Shown(a[i]) + " / " + Shown(b[i]);
  }
  if (a.size() != b.size())
    return std::to_string(a.size()) + " / " + std::to_string(b.size()) + " items";
  return {};
}

// A Shift_JIS file may hold lines that are valid UTF-8 but could not be read in the code page;
// they keep their bytes. When a change makes the file UTF-8 with a mark, such a line reads as the
// UTF-8 it is.
bool RereadMayDiffer(std::string_view original, TextEncoding readAs, TextEncoding written) {
  if (readAs != TextEncoding::Ansi || written == readAs) return false;
  const CodePage& codePage = SystemCodePage();
  for (std::string_view line : SplitByteLines(original)) {
    if (!IsUtf8WithMultibyte(line)) continue;
    if (codePage.FromUnicodeExact(codePage.ToUnicode(line)) != std::string(line)) return true;
  }
  return false;
}

void CheckPieces(const std::u16string& item) {
  const std::u16string_view label = CannedLabel(item);
  if (IsCannedSeparator(label)) return;
  std::u16string joined;
  for (const CannedRowPiece& piece : AllPieces(CannedRowPieces(label))) {
    switch (piece.kind) {
      case CannedRowPiece::Kind::kText:
        FUZZ_CHECK(!piece.text.empty() || label.empty(), "an empty text piece: " + Shown(label));
        joined += piece.text;
        break;
      case CannedRowPiece::Kind::kTabMark:
        joined += u"\\t";
        break;
      case CannedRowPiece::Kind::kLineBreakMark:
        joined += u"\\n";
        break;
    }
  }
  FUZZ_CHECK(joined == label, Shown(joined) + " / " + Shown(label));
}

std::u16string PickText(FuzzChoices& choices, const Items& items) {
  static const std::u16string kTexts[] = {
      u"ありがとうございます", u"\U0001F600",    u"a\r\nb\rc\nd", u"\tindented", u"ﾃｽﾄ", u"é", u"-",
      u"\uFEFF先頭",           u"\\Y/\\0m/\\0d", u"Label",        u"\x01",
  };
  if (!items.empty() && choices.OneIn(2)) {
    const std::u16string& line = items[choices.Below(items.size())];
    switch (choices.Below(3)) {
      case 0:
        return line;  // a duplicate
      case 1:
        return FakeLocale().ToUpper(line);  // a duplicate but for case
      default:
        return line + u"x";
    }
  }
  return kTexts[choices.Below(std::size(kTexts))];
}

// One change; true when the page says it changed the items.
bool Change(CannedTextPage& page, FuzzChoices& choices) {
  const int count = static_cast<int>(page.Count());
  page.Select(count == 0 ? -1 : static_cast<int>(choices.Below(count + 1)) - 1);
  CannedResult result;
  switch (choices.Below(5)) {
    case 0:
      result = page.AddTextItem(PickText(choices, page.Items()),
                                static_cast<int>(choices.Below(count + 2)) - 1);
      break;
    case 1:
      result = page.InsSepItem();
      break;
    case 2:
      result = page.DeleteSelected();
      break;
    case 3:
      result = page.MoveSelected(static_cast<int>(choices.Below(count + 1)) - 1);
      break;
    default:
      if (auto fields = page.BeginEdit()) {
        const std::u16string label = choices.OneIn(2) ? u"" : PickText(choices, page.Items());
        result =
            page.EditOk(label, choices.OneIn(2) ? fields->body : PickText(choices, page.Items()));
        page.CancelEdit();
      }
      break;
  }
  FUZZ_CHECK(!(result.changed && result.message), "a change with a message");
  return result.changed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string original(reinterpret_cast<const char*>(data), size);
  MemoryFileSystem files;
  files.files[kPath] = original;
  FakeClock clock;
  FakeLocale locale;
  UsrIniFile ini(kExeDir + u"Kelvo.INI", files, SystemCodePage());
  CannedTextPage page(files, SystemCodePage(), clock, locale);
  const CannedResult setUp = page.LoadSettings(ini, kExeDir);
  FUZZ_CHECK(!setUp.message, "set-up: " + Shown(setUp.message->text));
  const CannedFileRead first = ReadCannedFile(files, SystemCodePage(), kPath);
  const TextEncoding readAs = first.items.Encoding();
  FUZZ_CHECK(page.Items() == first.items.Lines(), "set-up / read");
  for (const std::u16string& item : page.Items()) {
    CheckPieces(item);
    (void)CannedPasteText(item, clock, locale);
  }

  // Written back unchanged.
  FUZZ_CHECK(!page.SaveTextData().message, "save");
  CannedFileRead again = ReadCannedFile(files, SystemCodePage(), kPath);
  FUZZ_CHECK(again.status == CannedFileStatus::kDone, "read after save");
  if (again.items.Encoding() == readAs) {
    std::string_view body = original;
    std::string expected;
    if (readAs == TextEncoding::Utf8Bom) {
      expected = "\xEF\xBB\xBF";
      body.remove_prefix(3);
    }
    if (readAs != TextEncoding::Utf16Le && readAs != TextEncoding::Utf16Be) {
      for (std::string_view line : SplitByteLines(body)) (expected += line) += "\r\n";
      FUZZ_CHECK(files.files[kPath] == expected,
                 ShownBytes(files.files[kPath]) + " / " + ShownBytes(expected));
    }
  }
  const bool mayDiffer = RereadMayDiffer(original, readAs, again.items.Encoding());
  if (!mayDiffer) {
    const std::string difference = Difference(page.Items(), again.items.Lines());
    FUZZ_CHECK(difference.empty(), "unchanged save: " + difference);
  }

  FuzzChoices choices(data, size);
  const std::size_t changes = 1 + choices.Below(6);
  for (std::size_t n = 0; n < changes; ++n) {
    const Items before = page.Items();
    const std::string bytesBefore = files.files[kPath];
    const bool changed = Change(page, choices);
    if (!changed) {
      FUZZ_CHECK(page.Items() == before, "items changed without saying so");
      FUZZ_CHECK(files.files[kPath] == bytesBefore, "file changed without saying so");
      continue;
    }
    const CannedFileRead read = ReadCannedFile(files, SystemCodePage(), kPath);
    FUZZ_CHECK(read.status == CannedFileStatus::kDone, "read after a change");
    if (RereadMayDiffer(original, readAs, read.items.Encoding())) {
      FUZZ_CHECK(read.items.Count() == page.Count(), "item count after a change");
    } else {
      const std::string difference = Difference(page.Items(), read.items.Lines());
      FUZZ_CHECK(difference.empty(), "after a change: " + difference);
    }
  }
  return 0;
}
