// The clipboard history file as Kelvo finds it: its own files, old ones, files of another locale
// and whatever a user or a broken disk left. The whole input is the file, read in one of two date
// layouts. Properties:
// - reading any bytes ends with records or a refusal, never a fault;
// - the records read, written and read again come back with the same texts, line counts and
//   times (to the second), and writing those gives the same bytes again;
// - an empty history writes a file that reads as an empty history.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "clip/model/history_file.h"
#include "fuzz_support.h"
#include "support/fake_locale.h"
#include "support/system_code_page.h"

namespace {

// Noon of 1 June 2025: a whole second, as every time read from a file.
const double kNow = DaysFromDateTime({2025, 6, 1, 0, 12, 0, 0});

std::string Second(double days) {
  const LocalDateTime t = DateTimeFromDays(days);
  char text[48];
  std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

void CheckSameRecords(const std::vector<HistoryRec>& first, const std::vector<HistoryRec>& again,
                      const std::string& written) {
  FUZZ_CHECK(again.size() == first.size(), std::to_string(first.size()) + " records came back as " +
                                               std::to_string(again.size()) + " from " +
                                               ShownBytes(written));
  for (std::size_t i = 0; i < first.size(); ++i) {
    FUZZ_CHECK(again[i].Text() == first[i].Text(),
               "record " + std::to_string(i) + ": " + Shown(std::u16string(first[i].Text())) +
                   " came back as " + Shown(std::u16string(again[i].Text())));
    FUZZ_CHECK(again[i].LineCount == first[i].LineCount,
               "line count of record " + std::to_string(i));
    FUZZ_CHECK(Second(again[i].CreTime) == Second(first[i].CreTime),
               "record " + std::to_string(i) + ": " + Second(first[i].CreTime) + " came back as " +
                   Second(again[i].CreTime));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FakeLocale slashes;
  static const DotDateLocale dots;
  FuzzChoices choices(data, size);
  const Locale& locale = choices.OneIn(2) ? static_cast<const Locale&>(dots) : slashes;
  const CodePage& codePage = SystemCodePage();

  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const HistoryRead first = ParseHistoryFile(bytes, codePage, locale, kNow);
  FUZZ_CHECK(first.status != HistoryReadStatus::kMissing, "a read of bytes found no file");
  if (first.status == HistoryReadStatus::kUnreadable) {
    FUZZ_CHECK(first.items.empty(), "a refused file gave records");
    return 0;
  }
  const std::string written = HistoryFileBytes(first.items, locale);
  const HistoryRead again = ParseHistoryFile(written, codePage, locale, kNow);
  FUZZ_CHECK(again.status == HistoryReadStatus::kLoaded,
             "Kelvo's own file was refused: " + ShownBytes(written));
  CheckSameRecords(first.items, again.items, written);
  FUZZ_CHECK(HistoryFileBytes(again.items, locale) == written, "a second write changed the bytes");
  return 0;
}
