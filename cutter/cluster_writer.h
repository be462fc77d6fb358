// Turns one directory entry into a host file: creates it, prints its listing
// line, and copies its clusters out of the loaded data area along the FAT.
#pragma once

#include <cstdio>
#include <string>

#include "cutter/cutter_options.h"
#include "cutter/header_plan.h"
#include "cutter/host.h"
#include "cutter/media_geometry.h"
#include "cutter/volume_buffers.h"

namespace cutter {

enum class EntryOutcome { NextEntry, EndOfDirectory, RunFailed };
enum class ChainResult { Written, BrokenLink, WriteFailed };

// The D88 file being read is never opened for writing: an output name that
// reaches it is skipped like a name that can't be created.
EntryOutcome writeEntryFile(const std::string& name, const DirectoryEntry& entry,
                            const CutterOptions& options, const MediaGeometry& geometry,
                            const VolumeBuffers& buffers, const host::FileIdentity& inputFile);

// Expects a start cluster below the geometry's cluster count.
ChainResult writeClusterChain(std::FILE* output, int startCluster, HeaderPlan plan,
                              const MediaGeometry& geometry, const VolumeBuffers& buffers);

}  // namespace cutter
