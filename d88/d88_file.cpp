#include "d88/d88_file.h"

#include <algorithm>

#include "d88/sector_header.h"

namespace d88 {

bool D88File::open(const char* path) {
  if (path == nullptr) {
    close();
    return true;
  }
  close();
  if (!imageFile.open(path)) return false;

  // Nothing in a header is validated: a disk size of 0 indexes the same
  // header again, and a size past the end of the file ends the walk there.
  std::array<std::uint8_t, DiskImageHeader::size> header{};
  std::int64_t offset = 0;
  while (numImages < maxImages) {
    if (!imageFile.seekTo(offset)) break;
    if (imageFile.read(header.data(), DiskImageHeader::size) != DiskImageHeader::size) break;
    imageOffsets[static_cast<std::size_t>(numImages++)] = offset;
    offset += DiskImageHeader::decode(header.data()).diskSize;
  }
  return true;
}

void D88File::close() {
  imageFile.close();
  numImages = 0;
  clearSelection();
}

void D88File::clearSelection() {
  selectedOffset = -1;
  mediaByte = -1;
  diskSize = 0;
  imageName.fill('\0');
}

bool D88File::selectImage(int index) {
  if (!imageFile.isOpen()) return false;
  clearSelection();
  if (index < 0 || index >= numImages) return false;

  const std::int64_t offset = imageOffsets[static_cast<std::size_t>(index)];
  std::array<std::uint8_t, DiskImageHeader::size> bytes{};
  // A file that shrank since it was indexed fails like a bad index: the
  // header is read from the file itself, not from what was read before.
  imageFile.discardWindow();
  if (!imageFile.seekTo(offset) ||
      imageFile.read(bytes.data(), DiskImageHeader::size) != DiskImageHeader::size) {
    return false;
  }
  const DiskImageHeader header = DiskImageHeader::decode(bytes.data());
  selectedOffset = offset;
  trackOffsets = header.trackOffsets;
  mediaByte = header.mediaType;
  diskSize = header.diskSize;
  imageName = header.name;
  return true;
}

void D88File::setSectorRange(int first, int last) {
  firstSector = first;
  lastSector = last;
}

bool D88File::findTrack(int track) {
  if (!imageFile.isOpen() || track < 0 || track >= trackCount) return false;
  const std::int64_t entry = trackOffsets[static_cast<std::size_t>(track)];
  if (entry == 0 || entry > diskSize) return false;
  return imageFile.seekTo(selectedOffset + entry);
}

int D88File::readSector(int track, int c, int h, int r, int n, std::uint8_t* buffer,
                        int length) {
  if (!findTrack(track)) return 0;
  std::array<std::uint8_t, SectorHeader::size> bytes{};
  for (int examined = 1;; ++examined) {
    if (imageFile.read(bytes.data(), SectorHeader::size) != SectorHeader::size) return 0;
    const SectorHeader header = SectorHeader::decode(bytes.data());
    if (header.sectorCount == 0) return 0;
    if (header.c == c && header.h == h && header.r == r && header.n == n) {
      const int wanted = std::min(header.dataSize, std::max(length, 0));
      // Report what the file really delivered, so a sector cut off by the
      // end of the file counts as short rather than as stale buffer bytes.
      return imageFile.read(buffer, wanted);
    }
    if (!imageFile.skip(header.dataSize)) return 0;
    // The count is at most 65535, so this scan always ends.
    if (examined == header.sectorCount) return 0;
  }
}

int D88File::readSectors(int track, int c, int h, int r, int n, std::uint8_t* buffer,
                         int length) {
  // A size code beyond any real sector still must not overflow the shift;
  // such a chunk is simply clipped to what is left.
  const std::int64_t sectorBytes =
      (n >= 0 && n < 24) ? (std::int64_t{128} << n) : std::int64_t{1} << 31;
  int total = 0;
  while (total < length) {
    const int chunk = static_cast<int>(std::min<std::int64_t>(sectorBytes, length - total));
    if (readSector(track, c, h, r, n, buffer + total, chunk) < chunk) return total;
    total += chunk;
    if (r == lastSector) {
      ++track;
      if (h == 0) {
        h = 1;
      } else {
        h = 0;
        ++c;
      }
      r = firstSector;
    } else {
      ++r;
    }
  }
  return total;
}

int D88File::listSectorIds(int track, std::uint8_t* buffer, int length) {
  if (!findTrack(track)) return 0;
  std::array<std::uint8_t, SectorHeader::size> bytes{};
  int written = 0;
  for (int listed = 1; length - written >= 4; ++listed) {
    if (imageFile.read(bytes.data(), SectorHeader::size) != SectorHeader::size) break;
    const SectorHeader header = SectorHeader::decode(bytes.data());
    buffer[written++] = bytes[0];
    buffer[written++] = bytes[1];
    buffer[written++] = bytes[2];
    buffer[written++] = bytes[3];
    if (!imageFile.skip(header.dataSize)) break;
    if (listed == header.sectorCount) break;
  }
  return written;
}

}  // namespace d88
