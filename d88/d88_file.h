// One open D88 file: the images stored back to back in it, the header of the
// selected image, and reads of that image's sectors by C/H/R/N identity.
// Nothing here prints; every failure is a result (false, a short byte count,
// a media value of -1) for the caller to judge.
#pragma once

#include <array>
#include <cstdint>

#include "d88/disk_image_header.h"
#include "d88/image_stream.h"

namespace d88 {

class D88File {
 public:
  static constexpr int maxImages = 64;
  static constexpr int trackCount = DiskImageHeader::trackTableEntries;

  D88File() = default;
  ~D88File() = default;  // the stream closes itself
  D88File(const D88File&) = delete;
  D88File& operator=(const D88File&) = delete;

  // Opens the file and indexes its images. True even when no image is found.
  // A null path closes and answers true.
  bool open(const char* path);
  void close();

  int imageCount() const { return numImages; }
  bool selectImage(int index);
  int mediaType() const { return mediaByte; }
  // NUL-terminated, at most 16 bytes as stored; valid until the next selectImage.
  const char* diskName() const { return imageName.data(); }

  // The sector numbers a track runs from and to, for runs that move on to the
  // next track in readSectors.
  void setSectorRange(int first, int last);

  // Bytes placed in the buffer: the sector's data size or the length if
  // smaller, fewer when the file ends early; 0 when the sector isn't found.
  int readSector(int track, int c, int h, int r, int n, std::uint8_t* buffer, int length);
  // Bytes of the whole chunks read, 0 to length; stops at the first sector
  // that is missing or short.
  int readSectors(int track, int c, int h, int r, int n, std::uint8_t* buffer, int length);
  // Writes C, H, R, N of each sector in stored order; answers the bytes written.
  int listSectorIds(int track, std::uint8_t* buffer, int length);

 private:
  bool findTrack(int track);
  void clearSelection();

  ImageStream imageFile;
  int numImages = 0;
  int firstSector = 1;
  int lastSector = 16;
  std::array<std::int64_t, maxImages> imageOffsets{};
  std::int64_t diskSize = 0;  // 0 while no image is selected, so every read fails
  std::int64_t selectedOffset = -1;
  std::array<std::int64_t, trackCount> trackOffsets{};
  int mediaByte = -1;
  std::array<char, DiskImageHeader::nameBytes + 1> imageName{};
};

}  // namespace d88
