#include "d88/image_stream.h"

#include <filesystem>
#include <system_error>

namespace d88 {

bool ImageStream::open(const char* path) {
  close();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return false;
  file_.open(path, std::ios::in | std::ios::binary);
  return file_.is_open();
}

void ImageStream::close() {
  if (file_.is_open()) file_.close();
  file_.clear();
}

bool ImageStream::seekTo(std::int64_t offset) {
  if (!file_.is_open() || offset < 0) return false;
  file_.clear();  // an earlier short read must not block this seek
  file_.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
  return !file_.fail();
}

bool ImageStream::skip(std::int64_t count) {
  if (!file_.is_open()) return false;
  file_.clear();
  file_.seekg(static_cast<std::streamoff>(count), std::ios::cur);
  return !file_.fail();
}

int ImageStream::read(std::uint8_t* buffer, int count) {
  if (!file_.is_open() || count <= 0) return 0;
  file_.read(reinterpret_cast<char*>(buffer), count);
  const auto delivered = static_cast<int>(file_.gcount());
  file_.clear();
  return delivered;
}

}  // namespace d88
