#include "clip/model/canned_file.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

std::size_t CannedItems::SameTextBefore(const std::u16string& text, std::size_t index) const {
  return static_cast<std::size_t>(
      std::count(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(index), text));
}

void CannedItems::Insert(std::size_t index, std::u16string text) {
  if (kept_.Holds(text)) kept_.Insert(text, SameTextBefore(text, index));
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(text));
}

void CannedItems::Remove(std::size_t index) {
  const std::u16string& text = lines_[index];
  if (kept_.Holds(text)) kept_.Remove(text, SameTextBefore(text, index));
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
}

void CannedItems::Replace(std::size_t index, std::u16string text) {
  Remove(index);
  Insert(index, std::move(text));
}

void CannedItems::Move(std::size_t from, std::size_t to) {
  std::u16string text = lines_[from];
  Remove(from);
  Insert(to, std::move(text));
}

// The reader and the writer fill in what the items remember of their file.
struct CannedFileAccess {
  static CannedItems FromBytes(std::string bytes, const CodePage& codePage) {
    CannedItems items;
    DecodedLines decoded = DecodeLines(bytes, codePage, items.kept_);
    items.lines_ = std::move(decoded.lines);
    items.encoding_ = decoded.encoding;
    items.disk_ = std::make_shared<const std::string>(std::move(bytes));
    return items;
  }

  static EncodedText ToBytes(const CannedItems& items, const CodePage& codePage) {
    const std::vector<std::u16string_view> lines(items.lines_.begin(), items.lines_.end());
    return EncodeLines(lines, items.encoding_, codePage, items.kept_);
  }

  static void Written(CannedItems& items, EncodedText written) {
    items.encoding_ = written.encoding;
    items.disk_ = std::make_shared<const std::string>(std::move(written.bytes));
  }

  // What the file holds now, against what the items remember of it; read while no other
  // program writes it, so that a file half saved by the user's editor is not taken as it is.
  static CannedFileStatus Compare(const FileSystem& fileSystem, const std::u16string& path,
                                  const CannedItems& items) {
    const FileContents now = fileSystem.ReadBeforeWrite(path);
    switch (now.status) {
      case ReadStatus::kMissing:
        return CannedFileStatus::kMissing;
      case ReadStatus::kUnreadable:
        return CannedFileStatus::kUnreadable;
      case ReadStatus::kRead:
        break;
    }
    return items.disk_ && *items.disk_ == now.bytes ? CannedFileStatus::kDone
                                                    : CannedFileStatus::kChanged;
  }
};

CannedFileRead ReadCannedFile(const FileSystem& fileSystem, const CodePage& codePage,
                              const std::u16string& path) {
  FileContents contents = fileSystem.Read(path);
  switch (contents.status) {
    case ReadStatus::kMissing:
      return {CannedFileStatus::kMissing, {}};
    case ReadStatus::kUnreadable:
      return {CannedFileStatus::kUnreadable, {}};
    case ReadStatus::kRead:
      break;
  }
  if (contents.bytes.size() > kMaxCannedFileBytes) return {CannedFileStatus::kTooLarge, {}};
  return {CannedFileStatus::kDone,
          CannedFileAccess::FromBytes(std::move(contents.bytes), codePage)};
}

CannedFileStatus WriteCannedFile(FileSystem& fileSystem, const CodePage& codePage,
                                 const std::u16string& path, CannedItems& items) {
  EncodedText encoded = CannedFileAccess::ToBytes(items, codePage);
  // What Kelvo writes it must be able to read again.
  if (encoded.bytes.size() > kMaxCannedFileBytes) return CannedFileStatus::kTooLarge;
  const CannedFileStatus before = CannedFileAccess::Compare(fileSystem, path, items);
  if (before != CannedFileStatus::kDone && before != CannedFileStatus::kMissing) return before;
  if (!fileSystem.WriteAtomically(path, encoded.bytes)) return CannedFileStatus::kWriteFailed;
  CannedFileAccess::Written(items, std::move(encoded));
  return CannedFileStatus::kDone;
}
