#pragma once

#include <string>

#include "platform/console.h"

namespace lorvex {

// The three information screens, as Mazovia bytes (box rules of 0xCD, 0xFE before the version).
std::string bannerScreen();
std::string helpScreen();
std::string programInfoScreen();

void printBanner(Console& console);
void printHelp(Console& console);
void printProgramInfo(Console& console);

}  // namespace lorvex
