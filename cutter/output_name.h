// The host file name of a directory entry.
#pragma once

#include <optional>
#include <string>

#include "cutter/cutter_options.h"
#include "cutter/volume_buffers.h"

namespace cutter {

// The room of a finished name, as the host's file calls take it.
constexpr std::size_t maxOutputNameBytes = 259;

// Builds the name from the entry's nine name and extension bytes under the
// space and period switches; with "-f", appends "$" while a file of that name
// exists. Empty only when "-f" finds no free name within the room: the entry
// then has no file to go to, and nothing existing is written over.
std::optional<std::string> makeOutputName(const DirectoryEntry& entry, const CutterOptions& options);

}  // namespace cutter
