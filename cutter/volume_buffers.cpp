#include "cutter/volume_buffers.h"

#include <algorithm>

namespace cutter {

void VolumeBuffers::clear() {
  directory.fill(0);
  fat.fill(0);
  dataArea.fill(0);
}

DirectoryEntry DirectoryEntry::fromSlot(const std::uint8_t* slot) {
  DirectoryEntry entry;
  std::copy(slot, slot + 6, entry.name.begin());
  std::copy(slot + 6, slot + 9, entry.extension.begin());
  entry.attribute = slot[9];
  entry.startCluster = slot[10];
  return entry;
}

}  // namespace cutter
