#include "cutter/volume_loader.h"

namespace cutter {
namespace {
constexpr int sectorBytes = 256;
constexpr int sizeCode = 1;  // every sector of these volumes is 256 bytes

int readTrackSectors(d88::D88File& image, int track, int firstSector, std::uint8_t* destination,
                     int length) {
  return image.readSectors(track, track / 2, track % 2, firstSector, sizeCode, destination,
                           length);
}
}  // namespace

void applySectorRange(d88::D88File& image, const MediaGeometry& geometry) {
  image.setSectorRange(1, geometry.sectorsPerTrack);
}

bool loadVolume(d88::D88File& image, const MediaGeometry& geometry, VolumeBuffers& buffers) {
  const int directoryLength = geometry.directorySectors * sectorBytes;
  if (readTrackSectors(image, geometry.directoryTrack, 1, buffers.directory.data(),
                       directoryLength) != directoryLength) {
    return false;
  }
  if (readTrackSectors(image, geometry.directoryTrack, geometry.fatSector, buffers.fat.data(),
                       VolumeBuffers::fatBytes) != VolumeBuffers::fatBytes) {
    return false;
  }
  const int trackLength = geometry.sectorsPerTrack * sectorBytes;
  for (int track = 0; track < geometry.trackCount; ++track) {
    readTrackSectors(image, track, 1, buffers.dataArea.data() + track * trackLength, trackLength);
  }
  return true;
}

}  // namespace cutter
