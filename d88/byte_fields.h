// Little-endian field readers for the D88 format. Fields are assembled byte
// by byte so that the result never depends on the host's byte order, and the
// results are unsigned so that a value of 2^31 or more stays positive.
#pragma once

#include <cstdint>

namespace d88 {

inline std::uint16_t readLe16(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::uint32_t readLe32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) |
         (static_cast<std::uint32_t>(bytes[3]) << 24);
}

}  // namespace d88
