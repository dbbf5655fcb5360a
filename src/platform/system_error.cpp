#include "platform/system_error.h"

#include <system_error>

namespace lorvex {

std::string errnoText(int error) {
    return std::generic_category().message(error);
}

}  // namespace lorvex
