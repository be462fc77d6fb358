// The 16-byte header stored in front of every sector's data in a track.
#pragma once

#include <cstdint>

namespace d88 {

struct SectorHeader {
  static constexpr int size = 16;

  int c = 0;            // cylinder
  int h = 0;            // head
  int r = 0;            // sector number
  int n = 0;            // size code: 128 << n bytes
  int sectorCount = 0;  // sectors in this track, bounds a scan
  int dataSize = 0;     // bytes of data that follow this header

  static SectorHeader decode(const std::uint8_t* bytes);  // bytes holds `size` bytes
};

}  // namespace d88
