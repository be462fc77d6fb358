#include "d88/sector_header.h"

#include "d88/byte_fields.h"

namespace d88 {

SectorHeader SectorHeader::decode(const std::uint8_t* bytes) {
  SectorHeader header;
  header.c = bytes[0x00];
  header.h = bytes[0x01];
  header.r = bytes[0x02];
  header.n = bytes[0x03];
  header.sectorCount = readLe16(bytes + 0x04);
  header.dataSize = readLe16(bytes + 0x0E);
  return header;
}

}  // namespace d88
