// A form description as the page's form renderer reads it: one JSON object with the form's
// frame and its parts (texts in UTF-8, colours as "#rrggbb", pictures as file names).
#pragma once

#include <string>

#include "util/form.h"

namespace lumera::web {

std::string FormJson(const Form& form);

}  // namespace lumera::web
