#pragma once

#include <string>
#include <string_view>

namespace lorvex::sim {

// The register keeps its texts in code page 852. The simulator writes its demo content in UTF-8
// source text and shows wire bytes readably; only the 18 Polish letters matter for either.

// UTF-8 text to CP852 bytes: ASCII stays, the Polish letters become their CP852 bytes, any other
// character becomes '?'.
std::string cp852FromUtf8(std::string_view utf8);

// CP852 bytes to UTF-8: ASCII stays, the Polish letters become UTF-8, other bytes are left out
// and replaced by '?'.
std::string utf8FromCp852(std::string_view cp852);

// True for a byte that is one of the 18 Polish letters of CP852.
bool isCp852PolishLetter(unsigned char byte);

}  // namespace lorvex::sim
