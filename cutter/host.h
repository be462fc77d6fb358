// Everything that depends on the host: folders, file identity, and the byte
// files the tool writes. Names are narrow byte strings relative to the current
// folder, handed to the host unchanged; every name goes through the same host
// calls here so that a test for a file and the open for writing agree.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace cutter::host {

// Creates a folder in the current folder; false if it exists or can't be made.
bool makeFolder(const std::string& name);
// Makes the named folder current; false (and nothing changed) if it can't be.
bool enterFolder(const std::filesystem::path& folder);
// The current folder as an absolute path, to come back to.
std::filesystem::path currentFolder();

// True when the name opens for reading as a byte file; a folder never does.
bool fileExists(const std::string& name);

// One existing file, recognised under any name that reaches it: another
// relative path, a link, or a different letter case on hosts that ignore it.
class FileIdentity {
 public:
  explicit FileIdentity(const std::string& path);
  bool isNamedBy(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// Opens the name for writing as raw bytes, creating or emptying it, with no
// stream buffer so that each write reaches the host before its error is
// tested. Null when it can't be opened, or when it names the protected file.
std::FILE* createOutputFile(const std::string& name, const FileIdentity& protectedFile);

}  // namespace cutter::host
