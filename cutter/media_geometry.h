// The N88-Disk BASIC volume layout of each known media type.
#pragma once

namespace cutter {

struct MediaGeometry {
  const char* mediaLine;
  int sectorsPerTrack;
  int trackCount;
  int sectorsPerCluster;
  int directoryTrack;
  int directorySectors;
  int fatSector;
  int clusterCount;  // sectorsPerTrack * trackCount / sectorsPerCluster

  int clusterBytes() const { return sectorsPerCluster * 256; }
};

// The row for media byte 0x00 (2D), 0x10 (2DD) or 0x20 (2HD); null for any
// other value, -1 included.
const MediaGeometry* geometryForMedia(int mediaType);

// Where cluster k begins in the loaded data area.
inline int clusterOffset(const MediaGeometry& geometry, int k) {
  return k * geometry.clusterBytes();
}

}  // namespace cutter
