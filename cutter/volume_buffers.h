// The directory, FAT and data area of the current image, one fixed set for
// the whole run, and the directory entry read from them.
#pragma once

#include <array>
#include <cstdint>

namespace cutter {

struct VolumeBuffers {
  // Sized for the largest media, 2HD; smaller media fill the front.
  static constexpr int directoryBytes = 22 * 256;
  static constexpr int directorySlots = directoryBytes / 16;
  static constexpr int fatBytes = 256;
  static constexpr int dataAreaBytes = 154 * 26 * 256;

  std::array<std::uint8_t, directoryBytes> directory{};
  std::array<std::uint8_t, fatBytes> fat{};
  std::array<std::uint8_t, dataAreaBytes> dataArea{};

  void clear();
};

struct DirectoryEntry {
  static constexpr std::uint8_t unusedSlot = 0x00;
  static constexpr std::uint8_t endOfDirectory = 0xFF;

  std::array<std::uint8_t, 6> name{};
  std::array<std::uint8_t, 3> extension{};
  std::uint8_t attribute = 0;
  std::uint8_t startCluster = 0;

  bool isMachineLanguage() const { return (attribute & 0x01) != 0; }

  static DirectoryEntry fromSlot(const std::uint8_t* slot);  // slot holds 16 bytes
};

}  // namespace cutter
