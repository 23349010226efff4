#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "check/settings_checker.h"
#include "settings/settings_schema.h"
#include "settings/settings_store.h"

// One key line of the settings file, as the store reads it.
struct FileEntry {
  std::u16string key;
  std::u16string value;  // after one pair of enclosing quotes is removed, as Kelvo reads it
  int line = 0;
};

// One section of the settings file with the line of its header and its key lines; the lines
// before the first header form a section with no name at line 0.
struct FileSection {
  std::u16string name;
  int line = 0;
  std::vector<FileEntry> entries;
  std::optional<KnownSection> known;  // what Kelvo reads it as; nothing when Kelvo never does
  bool read = false;                  // the first section of its name, which Kelvo reads
  // The entry Kelvo reads for a key (the first of its name), or nothing.
  const FileEntry* Find(std::u16string_view key) const;
};

// What the checks share: the services, the findings, the file as lines and as Kelvo's store.
struct CheckContext {
  const CheckServices& services;
  CheckReport& report;
  std::u16string settingsPath;
  std::u16string exeDir;  // the settings file's folder with its separator: Kelvo's folder
  std::vector<FileSection> sections;
  std::unique_ptr<UsrIniFile> ini;

  // The name a file is shown by: alone when it lies beside the settings file.
  std::u16string Shown(const std::u16string& path) const;
  void Error(int line, std::u16string problem, std::u16string fix = {});
  void Warning(int line, std::u16string problem, std::u16string fix = {});
  void Add(const std::u16string& path, int line, Severity severity, std::u16string problem,
           std::u16string fix = {});
  // "[HotKey3] Execute1" for messages.
  static std::u16string Where(const FileSection& section, const FileEntry& entry);
  // The sections Kelvo reads, by their known name.
  std::vector<const FileSection*> ReadSections() const;
};

void CheckHotKeys(CheckContext& context);
void CheckNamedFiles(CheckContext& context);
void CheckPath(CheckContext& context, const FileSection& section, const FileEntry& entry,
               SettingType type);

// Whether the section has a command, so that Kelvo reads none of its action keys.
bool HasCommand(const CheckContext& c, const std::u16string& section);
