// The 688-byte header that begins every image in a D88 file.
#pragma once

#include <array>
#include <cstdint>

namespace d88 {

struct DiskImageHeader {
  static constexpr int size = 688;
  static constexpr int trackTableEntries = 164;
  static constexpr int nameBytes = 16;

  // Up to 16 name bytes as stored, NUL-padded; the 17th byte is always NUL.
  std::array<char, nameBytes + 1> name{};
  int mediaType = 0;           // 0 to 255, handed on unchanged
  // Sizes and offsets are 0 to 2^32 - 1 and held wider, so that a large or
  // hostile value can never turn into a negative offset.
  std::int64_t diskSize = 0;
  std::array<std::int64_t, trackTableEntries> trackOffsets{};

  static DiskImageHeader decode(const std::uint8_t* bytes);  // bytes holds `size` bytes
};

}  // namespace d88
