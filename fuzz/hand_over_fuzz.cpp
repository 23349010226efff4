// What a second start hands to the resident Kelvo: the tail of its command line, sent as a
// copy-data record that another process fills. The input is the record's bytes (its first byte
// also picks the data kind and an odd start address) and, read as text, a command line.
// Properties:
// - the record is read only within its byte count (the copy ASan watches has exactly that many
//   bytes, at an odd address half the time), and the text is the units before the first NUL;
//   another data kind gives nothing;
// - the command-line tail is what follows the program path and the blanks after it: for any
//   arguments behind a quoted or plain path the tail is those arguments, and a tail of a tail is
//   never longer than the tail.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "core/hand_over.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const bool odd = size > 0 && (data[0] & 1) != 0;
  const std::uintptr_t kind = size > 0 && (data[0] & 0x80) != 0 ? 2 : kHandOverKind;
  // The record in a buffer of its own size, so that any read beyond the count is seen.
  std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[size + 1]);
  std::uint8_t* record = buffer.get() + (odd ? 1 : 0);
  if (size > 0) std::memcpy(record, data, size);
  const std::u16string text = ReadHandOverText(kind, size > 0 ? record : nullptr, size);
  if (kind != kHandOverKind || size == 0) {
    FUZZ_CHECK(text.empty(), "text from another kind or an empty record");
  } else {
    std::u16string expected;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
      const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
      if (unit == 0) break;
      expected.push_back(unit);
    }
    FUZZ_CHECK(text == expected, Shown(text) + " / " + Shown(expected));
  }

  const std::u16string line = FuzzText(data, size);
  const std::u16string tail = CommandLineTail(line);
  FUZZ_CHECK(tail.size() <= line.size() && line.ends_with(tail), Shown(line));
  FUZZ_CHECK(CommandLineTail(tail).size() <= tail.size(), Shown(line));
  if (!tail.empty()) FUZZ_CHECK(tail.front() != u' ' && tail.front() != u'\t', Shown(line));
  if (line.empty() || line.front() == u' ' || line.front() == u'\t') return 0;
  for (const std::u16string program :
       {u"\"C:\\Program Files\\Kelvo\\Kelvo.exe\"", u"C:\\Kelvo\\Kelvo.exe", u"Kelvo.exe"}) {
    for (const char16_t* blanks : {u" ", u"\t ", u"  "}) {
      const std::u16string whole = program + blanks + line;
      FUZZ_CHECK(CommandLineTail(whole) == line,
                 Shown(whole) + " gives " + Shown(CommandLineTail(whole)));
    }
  }
  return 0;
}
