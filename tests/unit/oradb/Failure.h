#pragma once

#include <functional>
#include <string>

#include "rtl/Exception.h"

namespace oradbtest {

// "Class: message" of what `action` throws, so one assertion pins both; "(no exception)" otherwise.
inline std::string Failure(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& error) {
    return std::string(error.ClassName()) + ": " + error.Message();
  }
  return "(no exception)";
}

}  // namespace oradbtest
