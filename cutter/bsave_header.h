// The load-address header of machine-language (BSAVE) files: which form it
// takes, what its listing shows, and how much of the file it says to write.
#pragma once

#include <string>

#include "cutter/cutter_options.h"
#include "cutter/header_plan.h"
#include "cutter/media_geometry.h"
#include "cutter/volume_buffers.h"

namespace cutter {

// Output names whose files carry the 6-byte big-endian header; the last slot
// holds the sentinel that ends the table.
extern const char longHeaderNames[21][10];

// Prints the header part of the listing line and answers the plan. Files
// that aren't machine-language, or all files under "-b-", get the empty plan.
HeaderPlan planBsaveHeader(const std::string& name, const DirectoryEntry& entry,
                           const CutterOptions& options, const MediaGeometry& geometry,
                           const VolumeBuffers& buffers);

}  // namespace cutter
