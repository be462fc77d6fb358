// Builds D88 files byte by byte for the tests, so that every fixture shows
// the bytes it depends on. Two levels: raw images (header fields, track
// table, sector headers with any values) and N88-Disk BASIC volumes (files
// laid out in clusters, FAT and directory), which turn into raw images.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& text);
Bytes joined(const std::vector<Bytes>& parts);
// count bytes running 0, 1, 2, ... from `first`, wrapping at 256: data whose
// every position is recognisable.
Bytes ramp(std::size_t count, std::uint8_t first = 0);

// One sector as stored in a track: its 16-byte header and its data.
struct Sector {
  std::uint8_t c = 0, h = 0, r = 1, n = 1;
  std::uint16_t sectorCount = 16;         // the header's sector count field
  Bytes data;                             // the bytes that follow the header
  std::optional<std::uint16_t> dataSize;  // the header's data size; data.size() if unset
  std::uint8_t density = 0, deleted = 0, status = 0;

  Bytes serialized() const;
};

// A track of sectors 1..count with N = 1, each 256 bytes of `fill`, all
// recording `count` as the sector count: a freshly formatted track.
std::vector<Sector> formattedTrack(int track, int count, std::uint8_t fill = 0xFF);

// One image: the 688-byte header followed by its tracks in index order.
class ImageBuilder {
 public:
  ImageBuilder& name(const std::string& bytes);  // stored at 0x00, up to 17 bytes
  ImageBuilder& media(std::uint8_t mediaByte);
  // Replaces what the header's fields would otherwise be computed as.
  ImageBuilder& diskSize(std::uint32_t size);
  ImageBuilder& trackOffset(int index, std::uint32_t offset);
  ImageBuilder& track(int index, std::vector<Sector> sectors);
  std::vector<Sector>& sectors(int index);  // a track's sectors, to damage them
  ImageBuilder& removeTrack(int index);
  // Bytes appended after the last track (counted in the computed disk size).
  ImageBuilder& trailer(Bytes bytes);

  Bytes build() const;

 private:
  std::string name_;
  std::uint8_t media_ = 0;
  std::optional<std::uint32_t> diskSize_;
  std::map<int, std::uint32_t> offsetOverrides_;
  std::map<int, std::vector<Sector>> tracks_;
  Bytes trailer_;
};

// A D88 file: the images back to back.
Bytes d88Of(const std::vector<ImageBuilder>& images);

enum class Media { D2, DD, HD };

struct VolumeLayout {
  std::uint8_t mediaByte;
  int sectorsPerTrack, trackCount, sectorsPerCluster, directoryTrack, directorySectors, fatSector;
  int clusterCount() const { return sectorsPerTrack * trackCount / sectorsPerCluster; }
  int clusterBytes() const { return sectorsPerCluster * 256; }
  int trackBytes() const { return sectorsPerTrack * 256; }
};
VolumeLayout layoutOf(Media media);

// An N88-Disk BASIC volume held as the flat bytes of all its tracks; the
// directory and the FAT live in those bytes on the directory track, as on a
// real disk. A fresh volume is all 0xFF (empty directory, free FAT) with the
// directory track's clusters marked 0xFE.
class VolumeBuilder {
 public:
  explicit VolumeBuilder(Media media);

  // Adds a file in the next free clusters: directory entry, FAT chain and
  // data. The last FAT byte counts the sectors the contents reach into.
  // Answers the start cluster.
  int addFile(const std::string& name6, const std::string& ext3, std::uint8_t attribute,
              const Bytes& contents);
  // The same in the given clusters, in chain order.
  int addFileAt(const std::string& name6, const std::string& ext3, std::uint8_t attribute,
                const Bytes& contents, const std::vector<int>& clusters);
  // Raw pieces, for damaged or unusual volumes.
  VolumeBuilder& directorySlot(int slot, const Bytes& sixteenBytes);
  VolumeBuilder& entry(int slot, const std::string& name6, const std::string& ext3,
                       std::uint8_t attribute, std::uint8_t startCluster);
  VolumeBuilder& fat(int cluster, std::uint8_t value);
  VolumeBuilder& clusterData(int cluster, const Bytes& bytes, int offset = 0);

  const VolumeLayout& layout() const { return layout_; }
  Bytes& bytes() { return volume_; }
  // Every track formatted with sectors 1..sectorsPerTrack of N = 1.
  ImageBuilder image(const std::string& diskName = "QUILLBOX") const;

 private:
  std::uint8_t* directory();
  std::uint8_t* fatBytes();
  int nextFreeSlot() const;

  VolumeLayout layout_;
  Bytes volume_;
  int nextCluster_ = 0;
};

}  // namespace testsupport
