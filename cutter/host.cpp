#include "cutter/host.h"

#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace cutter::host {
namespace fs = std::filesystem;

bool makeFolder(const std::string& name) {
  std::error_code error;
  return fs::create_directory(fs::path(name), error);
}

bool enterFolder(const fs::path& folder) {
  std::error_code error;
  fs::current_path(folder, error);
  return !error;
}

fs::path currentFolder() {
  std::error_code error;
  return fs::current_path(error);
}

namespace {
bool isFolder(std::FILE* file) {
#ifdef _WIN32
  (void)file;  // Windows refuses to open a folder as a byte file at all
  return false;
#else
  struct stat status {};
  return fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode);
#endif
}
}  // namespace

bool fileExists(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return false;
  const bool folder = isFolder(file);
  std::fclose(file);
  return !folder;
}

FileIdentity::FileIdentity(const std::string& path) {
  std::error_code error;
  path_ = fs::absolute(fs::path(path), error);
}

bool FileIdentity::isNamedBy(const std::string& name) const {
  std::error_code error;
  return !path_.empty() && fs::equivalent(path_, fs::path(name), error) && !error;
}

std::FILE* createOutputFile(const std::string& name, const FileIdentity& protectedFile) {
  if (protectedFile.isNamedBy(name)) return nullptr;
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (file != nullptr) std::setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

}  // namespace cutter::host
