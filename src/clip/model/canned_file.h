#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "util/text_file.h"

// Canned-text files are read whole into the list; a larger file is refused rather than read.
inline constexpr std::size_t kMaxCannedFileBytes = 16u * 1024 * 1024;

// The items of one canned-text file, one per line, with how the file stores them: the encoding
// it was found in and the bytes of lines whose text would not give them back. A write keeps the
// encoding (an ANSI file that gains a character the code page lacks becomes UTF-8 with a
// byte-order mark) and every line Kelvo did not change byte for byte, so that a file whose lines
// mix encodings survives. The items also remember the bytes the file held when they were read
// or last written, so that a write never replaces what another program (the user's editor) saved
// meanwhile. A value: a change is made on a copy and kept only when it was written.
class CannedItems {
 public:
  const std::vector<std::u16string>& Lines() const { return lines_; }
  std::size_t Count() const { return lines_.size(); }
  const std::u16string& operator[](std::size_t index) const { return lines_[index]; }
  // The encoding of the file read or last written; ANSI without a mark for a file never read.
  TextEncoding Encoding() const { return encoding_; }

  // index <= Count() for Insert, < Count() for the others.
  void Insert(std::size_t index, std::u16string text);
  void Remove(std::size_t index);
  void Replace(std::size_t index, std::u16string text);
  // Removes the item and inserts it again at `to`.
  void Move(std::size_t from, std::size_t to);

 private:
  friend struct CannedFileAccess;
  // The number of lines of this text before the index, as KeptLineBytes counts them.
  std::size_t SameTextBefore(const std::u16string& text, std::size_t index) const;

  std::vector<std::u16string> lines_;
  TextEncoding encoding_ = TextEncoding::Ansi;
  KeptLineBytes kept_;
  // Shared, so that copies for a change do not copy the file; empty for items never read from
  // or written to a file.
  std::shared_ptr<const std::string> disk_;
};

enum class CannedFileStatus {
  kDone,        // read, or written
  kMissing,     // no such file
  kUnreadable,  // the file exists but cannot be read (locked, access denied, a folder)
  kTooLarge,    // the file, or what a write would make of it, exceeds kMaxCannedFileBytes
  kWriteFailed,
  kChanged,  // another program changed the file since the items were read or written
};

struct CannedFileRead {
  CannedFileStatus status = CannedFileStatus::kMissing;
  CannedItems items;  // only with kDone
};

// Reads the whole file: a byte-order mark selects UTF-8 or UTF-16, otherwise valid UTF-8 or the
// ANSI code page, line by line; lines end at CR LF, CR or LF, and a final line end gives no
// empty item.
CannedFileRead ReadCannedFile(const FileSystem& fileSystem, const CodePage& codePage,
                              const std::u16string& path);

// Writes every item followed by CR LF and replaces the file atomically; on success the items
// remember the encoding and the bytes written. The file is left as it was when the write fails
// (kWriteFailed, kTooLarge), and is not written at all when it exists but cannot be read
// (kUnreadable) or no longer holds what the items remember (kChanged; for items that remember no
// file, any file there). A missing file is created.
CannedFileStatus WriteCannedFile(FileSystem& fileSystem, const CodePage& codePage,
                                 const std::u16string& path, CannedItems& items);
