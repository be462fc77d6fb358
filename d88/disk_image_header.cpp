#include "d88/disk_image_header.h"

#include "d88/byte_fields.h"

namespace d88 {
namespace {
constexpr int mediaTypeAt = 0x1B;
constexpr int diskSizeAt = 0x1C;
constexpr int trackTableAt = 0x20;
}  // namespace

DiskImageHeader DiskImageHeader::decode(const std::uint8_t* bytes) {
  DiskImageHeader header;
  // The name ends at the first NUL within 16 bytes; byte 0x10 is never part of it.
  for (int i = 0; i < nameBytes && bytes[i] != 0; ++i) {
    header.name[static_cast<std::size_t>(i)] = static_cast<char>(bytes[i]);
  }
  header.mediaType = bytes[mediaTypeAt];
  header.diskSize = readLe32(bytes + diskSizeAt);
  for (int k = 0; k < trackTableEntries; ++k) {
    header.trackOffsets[static_cast<std::size_t>(k)] = readLe32(bytes + trackTableAt + 4 * k);
  }
  return header;
}

}  // namespace d88
