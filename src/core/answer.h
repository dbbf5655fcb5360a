#pragma once

#include <string_view>

#include "link/register_link.h"

namespace lorvex {

// The text of an answer frame without the ETX or ETB that closed it.
std::string_view answerText(std::string_view buffer);

// A data answer begins with 'D'; an error answer with 'E' and carries its status as two
// hexadecimal digits at positions 3 and 4.
bool isDataAnswer(std::string_view answer);
bool isErrorAnswer(std::string_view answer);
StatusCode errorAnswerStatus(std::string_view answer);

}  // namespace lorvex
