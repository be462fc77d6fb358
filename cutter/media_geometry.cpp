#include "cutter/media_geometry.h"

namespace cutter {
namespace {

constexpr MediaGeometry row(const char* mediaLine, int sectorsPerTrack, int trackCount,
                            int sectorsPerCluster, int directoryTrack, int directorySectors,
                            int fatSector) {
  return MediaGeometry{mediaLine,      sectorsPerTrack,  trackCount, sectorsPerCluster,
                       directoryTrack, directorySectors, fatSector,
                       sectorsPerTrack * trackCount / sectorsPerCluster};
}

constexpr MediaGeometry media2D = row("MEDIA TYPE = 2D\n", 16, 80, 8, 37, 12, 14);
constexpr MediaGeometry media2DD = row("MEDIA TYPE = 2DD\n", 16, 160, 16, 80, 12, 14);
constexpr MediaGeometry media2HD = row("MEDIA TYPE = 2HD\n", 26, 154, 26, 70, 22, 24);

}  // namespace

const MediaGeometry* geometryForMedia(int mediaType) {
  switch (mediaType) {
    case 0x00: return &media2D;
    case 0x10: return &media2DD;
    case 0x20: return &media2HD;
    default: return nullptr;
  }
}

}  // namespace cutter
