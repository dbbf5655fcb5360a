#pragma once

#include <string>

#include "link/serial_port.h"

namespace lorvex {

// Why the device at `path` could not be opened, from the errno of the step that failed: the
// system's reason and a hint where one helps (who holds a busy device, the group that may use it,
// which serial devices there are). Leaves failure.device to the caller.
void explainOpenFailure(const std::string& path, int error, PortFailure& failure);

}  // namespace lorvex
