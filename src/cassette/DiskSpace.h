// Free space on the volume that holds a path, and that volume's name as a person knows it, for
// the disk-space guards of a recording or an import and for the texts that name the volume.
// One implementation per platform, beside the platform's FileSystem.
#pragma once

#include <string>

namespace kiv {

// Space this user may still write on the volume holding `path`, in MiB (bytes / 1024 / 1024).
// `path` need not exist yet: its nearest existing folder is measured. Negative when unknown.
double FreeMiBOn(const std::string& path);

// The volume holding `path`: "C:" on Windows (a network share keeps "\\server\share"), the
// mount point elsewhere. "" when it cannot be found.
std::string VolumeNameOf(const std::string& path);

// A volume's root as the system gives it ("c:\", "\\server\share\", "/media/tape/") turned into
// the name the texts show ("C:", "\\server\share", "/media/tape"). Plain text work, the same on
// every platform.
std::string VolumeNameOfRoot(std::string root);

}  // namespace kiv
