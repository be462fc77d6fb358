#include "tests/support/d88_builder.h"

#include <algorithm>
#include <stdexcept>

namespace testsupport {
namespace {

void putLe16(Bytes& out, std::size_t at, std::uint32_t value) {
  out[at] = static_cast<std::uint8_t>(value);
  out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putLe32(Bytes& out, std::size_t at, std::uint32_t value) {
  putLe16(out, at, value & 0xFFFF);
  putLe16(out, at + 2, value >> 16);
}

void putText(std::uint8_t* at, const std::string& text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    at[i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
  }
}

}  // namespace

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes joined(const std::vector<Bytes>& parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes ramp(std::size_t count, std::uint8_t first) {
  Bytes out(count);
  for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(first + i);
  return out;
}

Bytes Sector::serialized() const {
  Bytes out;
  out.reserve(16 + data.size());
  out.resize(16, 0);
  out[0] = c;
  out[1] = h;
  out[2] = r;
  out[3] = n;
  putLe16(out, 4, sectorCount);
  out[6] = density;
  out[7] = deleted;
  out[8] = status;
  putLe16(out, 14, dataSize ? *dataSize : static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

std::vector<Sector> formattedTrack(int track, int count, std::uint8_t fill) {
  std::vector<Sector> sectors;
  for (int r = 1; r <= count; ++r) {
    Sector sector;
    sector.c = static_cast<std::uint8_t>(track / 2);
    sector.h = static_cast<std::uint8_t>(track % 2);
    sector.r = static_cast<std::uint8_t>(r);
    sector.n = 1;
    sector.sectorCount = static_cast<std::uint16_t>(count);
    sector.data.assign(256, fill);
    sectors.push_back(sector);
  }
  return sectors;
}

ImageBuilder& ImageBuilder::name(const std::string& bytes) {
  name_ = bytes.substr(0, 17);
  return *this;
}

ImageBuilder& ImageBuilder::media(std::uint8_t mediaByte) {
  media_ = mediaByte;
  return *this;
}

ImageBuilder& ImageBuilder::diskSize(std::uint32_t size) {
  diskSize_ = size;
  return *this;
}

ImageBuilder& ImageBuilder::trackOffset(int index, std::uint32_t offset) {
  offsetOverrides_[index] = offset;
  return *this;
}

ImageBuilder& ImageBuilder::track(int index, std::vector<Sector> sectors) {
  tracks_[index] = std::move(sectors);
  return *this;
}

std::vector<Sector>& ImageBuilder::sectors(int index) { return tracks_.at(index); }

ImageBuilder& ImageBuilder::removeTrack(int index) {
  tracks_.erase(index);
  return *this;
}

ImageBuilder& ImageBuilder::trailer(Bytes bytes) {
  trailer_ = std::move(bytes);
  return *this;
}

Bytes ImageBuilder::build() const {
  Bytes out(688, 0);
  std::copy(name_.begin(), name_.end(), out.begin());
  out[0x1B] = media_;
  for (const auto& [index, sectors] : tracks_) {
    if (index >= 0 && index < 164) putLe32(out, 0x20 + 4 * static_cast<std::size_t>(index),
                                            static_cast<std::uint32_t>(out.size()));
    for (const Sector& sector : sectors) {
      const Bytes stored = sector.serialized();
      out.insert(out.end(), stored.begin(), stored.end());
    }
  }
  out.insert(out.end(), trailer_.begin(), trailer_.end());
  for (const auto& [index, offset] : offsetOverrides_) {
    putLe32(out, 0x20 + 4 * static_cast<std::size_t>(index), offset);
  }
  putLe32(out, 0x1C, diskSize_ ? *diskSize_ : static_cast<std::uint32_t>(out.size()));
  return out;
}

Bytes d88Of(const std::vector<ImageBuilder>& images) {
  std::vector<Bytes> parts;
  for (const ImageBuilder& image : images) parts.push_back(image.build());
  return joined(parts);
}

VolumeLayout layoutOf(Media media) {
  switch (media) {
    case Media::D2: return {0x00, 16, 80, 8, 37, 12, 14};
    case Media::DD: return {0x10, 16, 160, 16, 80, 12, 14};
    case Media::HD: return {0x20, 26, 154, 26, 70, 22, 24};
  }
  throw std::logic_error("unknown media");
}

VolumeBuilder::VolumeBuilder(Media media)
    : layout_(layoutOf(media)),
      volume_(static_cast<std::size_t>(layout_.trackCount * layout_.trackBytes()), 0xFF) {
  const int firstReserved = layout_.directoryTrack * layout_.sectorsPerTrack / layout_.sectorsPerCluster;
  const int reserved = std::max(1, layout_.sectorsPerTrack / layout_.sectorsPerCluster);
  for (int k = firstReserved; k < firstReserved + reserved; ++k) fat(k, 0xFE);
}

std::uint8_t* VolumeBuilder::directory() {
  return volume_.data() + layout_.directoryTrack * layout_.trackBytes();
}

std::uint8_t* VolumeBuilder::fatBytes() {
  return directory() + (layout_.fatSector - 1) * 256;
}

int VolumeBuilder::nextFreeSlot() const {
  const std::uint8_t* dir = volume_.data() + layout_.directoryTrack * layout_.trackBytes();
  for (int slot = 0; slot < layout_.directorySectors * 16; ++slot) {
    if (dir[16 * slot] == 0xFF) return slot;
  }
  throw std::logic_error("directory full");
}

int VolumeBuilder::addFile(const std::string& name6, const std::string& ext3,
                           std::uint8_t attribute, const Bytes& contents) {
  const std::size_t clusterBytes = static_cast<std::size_t>(layout_.clusterBytes());
  const std::size_t needed = std::max<std::size_t>(1, (contents.size() + clusterBytes - 1) / clusterBytes);
  std::vector<int> clusters;
  for (int k = nextCluster_; clusters.size() < needed; ++k) {
    if (k >= layout_.clusterCount()) throw std::logic_error("volume full");
    if (fatBytes()[k] == 0xFF) clusters.push_back(k);
  }
  nextCluster_ = clusters.back() + 1;
  return addFileAt(name6, ext3, attribute, contents, clusters);
}

int VolumeBuilder::addFileAt(const std::string& name6, const std::string& ext3,
                             std::uint8_t attribute, const Bytes& contents,
                             const std::vector<int>& clusters) {
  const std::size_t clusterBytes = static_cast<std::size_t>(layout_.clusterBytes());
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    const std::size_t from = std::min(contents.size(), i * clusterBytes);
    const std::size_t to = std::min(contents.size(), from + clusterBytes);
    clusterData(clusters[i], Bytes(contents.begin() + static_cast<std::ptrdiff_t>(from),
                                   contents.begin() + static_cast<std::ptrdiff_t>(to)));
    if (i + 1 < clusters.size()) {
      fat(clusters[i], static_cast<std::uint8_t>(clusters[i + 1]));
    } else {
      const std::size_t inLast = to - from;
      fat(clusters[i], static_cast<std::uint8_t>(0xC0 | ((inLast + 255) / 256)));
    }
  }
  entry(nextFreeSlot(), name6, ext3, attribute, static_cast<std::uint8_t>(clusters.front()));
  return clusters.front();
}

VolumeBuilder& VolumeBuilder::directorySlot(int slot, const Bytes& sixteenBytes) {
  std::copy(sixteenBytes.begin(), sixteenBytes.end(), directory() + 16 * slot);
  return *this;
}

VolumeBuilder& VolumeBuilder::entry(int slot, const std::string& name6, const std::string& ext3,
                                    std::uint8_t attribute, std::uint8_t startCluster) {
  Bytes raw(16, 0);
  putText(raw.data(), name6, 6);
  putText(raw.data() + 6, ext3, 3);
  raw[9] = attribute;
  raw[10] = startCluster;
  return directorySlot(slot, raw);
}

VolumeBuilder& VolumeBuilder::fat(int cluster, std::uint8_t value) {
  fatBytes()[cluster] = value;
  return *this;
}

VolumeBuilder& VolumeBuilder::clusterData(int cluster, const Bytes& bytes, int offset) {
  std::copy(bytes.begin(), bytes.end(),
            volume_.begin() + cluster * layout_.clusterBytes() + offset);
  return *this;
}

ImageBuilder VolumeBuilder::image(const std::string& diskName) const {
  ImageBuilder image;
  image.name(diskName).media(layout_.mediaByte);
  const std::size_t trackBytes = static_cast<std::size_t>(layout_.trackBytes());
  for (int t = 0; t < layout_.trackCount; ++t) {
    std::vector<Sector> sectors = formattedTrack(t, layout_.sectorsPerTrack);
    for (std::size_t s = 0; s < sectors.size(); ++s) {
      const auto from = volume_.begin() + static_cast<std::ptrdiff_t>(t * trackBytes + s * 256);
      sectors[s].data.assign(from, from + 256);
    }
    image.track(t, std::move(sectors));
  }
  return image;
}

}  // namespace testsupport
