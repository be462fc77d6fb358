// Reads one image's volume into memory: the directory and the FAT first,
// then every track in order, so that files are cut from memory afterwards.
#pragma once

#include "cutter/media_geometry.h"
#include "cutter/volume_buffers.h"
#include "d88/d88_file.h"

namespace cutter {

// Sets the sector range that runs of sectors move on by.
void applySectorRange(d88::D88File& image, const MediaGeometry& geometry);

// False when the directory or the FAT can't be read in full; the data area
// is then left untouched. Tracks that come up short keep their zero bytes.
bool loadVolume(d88::D88File& image, const MediaGeometry& geometry, VolumeBuffers& buffers);

}  // namespace cutter
