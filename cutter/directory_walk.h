// The walk over all directory slots of the loaded volume.
#pragma once

#include "cutter/volume_buffers.h"

namespace cutter {

// Calls action(entry) for each live entry in slot order, over all 352 slots
// whatever the media (slots a smaller directory leaves are zero, so unused).
// A slot starting 0x00 is unused; one starting 0xFF ends the walk, and so
// does an action that answers false.
template <typename Action>
void walkDirectory(const VolumeBuffers& buffers, Action&& action) {
  for (int slot = 0; slot < VolumeBuffers::directorySlots; ++slot) {
    const std::uint8_t* bytes = buffers.directory.data() + 16 * slot;
    if (bytes[0] == DirectoryEntry::unusedSlot) continue;
    if (bytes[0] == DirectoryEntry::endOfDirectory) return;
    if (!action(DirectoryEntry::fromSlot(bytes))) return;
  }
}

}  // namespace cutter
