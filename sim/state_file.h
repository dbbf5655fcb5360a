#pragma once

#include <filesystem>
#include <string>

#include "sim/register_memory.h"

namespace lorvex::sim {

// The register's memory as a text file, one item a line, so that a simulated register keeps what
// was loaded into it across restarts. Texts are written with every byte outside '!'..'~' (and '%')
// as %XX, so the CP852 names survive any editor.
std::string stateText(const RegisterMemory& memory);

// Reads a state text into `memory`. False with a message naming the line when the text is not a
// state this program wrote; `memory` is then left as it was.
bool readStateText(const std::string& text, RegisterMemory& memory, std::string& error);

// Writes the state beside the file and renames it over the file, so a crash never leaves half a
// state. False with a message when it cannot.
bool saveState(const std::filesystem::path& file, const RegisterMemory& memory, std::string& error);
// Reads a state file. False with a message when it cannot be read or is not a state.
bool loadState(const std::filesystem::path& file, RegisterMemory& memory, std::string& error);

}  // namespace lorvex::sim
