// The D88 file as a byte stream: open for reading as raw bytes, 64-bit
// absolute and relative seeks, and reads that tell how many bytes came.
//
// Every sector read scans its track from the start, skipping the data of the
// sectors before it, so the same few kilobytes are visited again and again.
// The stream keeps a window of the file in memory: seeks only move a
// position, and a read touches the file only when it leaves the window.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>

namespace d88 {

class ImageStream {
 public:
  static constexpr int windowBytes = 64 * 1024;  // several whole tracks of any media

  // False when the path can't be opened for reading or names a folder.
  bool open(const char* path);
  void close();
  bool isOpen() const { return file_.is_open(); }

  // Positions may lie past the end of the file; reads there deliver nothing.
  bool seekTo(std::int64_t offset);
  bool skip(std::int64_t count);
  // Bytes actually delivered, 0 to count.
  int read(std::uint8_t* buffer, int count);
  // The next read goes to the file again, which may have changed since.
  void discardWindow();

 private:
  bool refill();

  std::filebuf file_;
  std::unique_ptr<std::uint8_t[]> window_;
  std::int64_t windowStart_ = 0;
  std::int64_t windowLength_ = 0;
  std::int64_t position_ = 0;
};

}  // namespace d88
