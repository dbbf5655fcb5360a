#pragma once

#include <filesystem>

namespace lorvex {

// Ctrl-C, SIGINT, SIGTERM, SIGHUP, SIGQUIT and an abort end the program at once, as they always
// did, but first remove the one temporary file a dump is writing, so an interrupted run leaves the
// old exchange file in place and nothing beside it. SIGPIPE is ignored: a closed console pipe only
// fails the console's writes (see StreamConsole). The program installs this once; tests never do.
void installInterruptCleanup();

// The temporary file to remove when the run is interrupted; an empty path when there is none.
void setInterruptCleanupPath(const std::filesystem::path& path);

}  // namespace lorvex
