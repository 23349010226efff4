#include "util/path_text.h"

#include "base/number_text.h"

namespace {

std::size_t NameStart(std::u16string_view path) {
  const std::size_t at = path.find_last_of(u"\\/:");
  return at == std::u16string_view::npos ? 0 : at + 1;
}

}  // namespace

std::u16string_view FileNamePart(std::u16string_view path) { return path.substr(NameStart(path)); }

std::u16string_view DirectoryPart(std::u16string_view path) {
  return path.substr(0, NameStart(path));
}

std::u16string_view FileExtension(std::u16string_view path) {
  const std::u16string_view name = FileNamePart(path);
  const std::size_t dot = name.rfind(u'.');
  return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
}

std::u16string_view FileStem(std::u16string_view path) {
  const std::u16string_view name = FileNamePart(path);
  return name.substr(0, name.size() - FileExtension(name).size());
}

std::u16string WithExtension(std::u16string_view path, std::u16string_view extension) {
  return std::u16string(path.substr(0, path.size() - FileExtension(path).size())) +
         std::u16string(extension);
}

std::u16string NumberedName(std::u16string_view word, int n) {
  return std::u16string(word) + IntToText(n);
}
