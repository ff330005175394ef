#pragma once

#include "support/Failure.h"

// The translator's tests name the shared failure text under their own namespace.
namespace oradbtest {
using testsupport::Failure;
}  // namespace oradbtest
