#include "d88/image_stream.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace d88 {

bool ImageStream::open(const char* path) {
  close();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return false;
  if (file_.open(path, std::ios::in | std::ios::binary) == nullptr) return false;
  if (!window_) window_ = std::make_unique<std::uint8_t[]>(windowBytes);
  return true;
}

void ImageStream::close() {
  if (file_.is_open()) file_.close();
  discardWindow();
  position_ = 0;
}

void ImageStream::discardWindow() {
  windowStart_ = 0;
  windowLength_ = 0;
}

bool ImageStream::seekTo(std::int64_t offset) {
  if (!file_.is_open() || offset < 0) return false;
  position_ = offset;
  return true;
}

bool ImageStream::skip(std::int64_t count) {
  if (!file_.is_open() || count < -position_) return false;
  position_ += count;
  return true;
}

// Loads the window from the current position; false at the end of the file.
bool ImageStream::refill() {
  windowStart_ = position_;
  windowLength_ = 0;
  if (file_.pubseekpos(static_cast<std::streamoff>(position_), std::ios::in) ==
      std::streampos(std::streamoff(-1))) {
    return false;
  }
  windowLength_ = file_.sgetn(reinterpret_cast<char*>(window_.get()), windowBytes);
  return windowLength_ > 0;
}

int ImageStream::read(std::uint8_t* buffer, int count) {
  if (!file_.is_open() || count <= 0) return 0;
  int delivered = 0;
  while (delivered < count) {
    const bool inWindow = position_ >= windowStart_ && position_ < windowStart_ + windowLength_;
    if (!inWindow && !refill()) break;
    const std::int64_t available = windowStart_ + windowLength_ - position_;
    const int chunk = static_cast<int>(std::min<std::int64_t>(available, count - delivered));
    std::memcpy(buffer + delivered, window_.get() + (position_ - windowStart_),
                static_cast<std::size_t>(chunk));
    delivered += chunk;
    position_ += chunk;
  }
  return delivered;
}

}  // namespace d88
