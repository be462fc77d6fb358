// Runs the built quillbox binary as its users do: in a fresh folder of its
// own, capturing the exit status, both console streams and every file left.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/d88_builder.h"

namespace testsupport {

struct ToolResult {
  int status = -1;
  std::string out;  // standard output, byte for byte
  std::string err;  // standard error, byte for byte
};

// A fresh temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  void write(const std::string& name, const Bytes& bytes) const;
  Bytes read(const std::string& name) const;
  // Every entry below the folder by relative path: files with their bytes,
  // folders as "name/" with no bytes.
  std::map<std::string, Bytes> tree() const;

 private:
  std::filesystem::path path_;
};

// Runs quillbox with these arguments (program name excluded), in `folder`.
ToolResult runTool(const TempFolder& folder, const std::vector<std::string>& arguments);

// The standard texts, in the Shift_JIS bytes the tool writes.
extern const std::string bannerText;
extern const std::string usageText;
extern const std::string openFailedText;
extern const std::string writeFailedText;
// "クラスタ破損"; inline so that other files' constants may be built from it.
inline const std::string brokenClusterText = "\x83N\x83\x89\x83X\x83^\x94j\x91\xb9";

}  // namespace testsupport
