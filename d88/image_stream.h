// The D88 file as a byte stream: open for reading as raw bytes, 64-bit
// absolute and relative seeks, and reads that tell how many bytes came.
#pragma once

#include <cstdint>
#include <fstream>

namespace d88 {

class ImageStream {
 public:
  // False when the path can't be opened for reading or names a folder.
  bool open(const char* path);
  void close();
  bool isOpen() const { return file_.is_open(); }

  bool seekTo(std::int64_t offset);
  bool skip(std::int64_t count);
  // Bytes actually delivered, 0 to count.
  int read(std::uint8_t* buffer, int count);

 private:
  std::ifstream file_;
};

}  // namespace d88
