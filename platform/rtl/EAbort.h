#pragma once

#include "rtl/Exception.h"

// The runtime's silent exception: it ends an operation the user cancelled (a Cancel in a
// confirmation dialog). It carries no message and hosts show nothing for it; the caller's unit of
// work is rolled back as for any failure.
class EAbort : public Exception {
 public:
  EAbort() = default;
  ~EAbort() override = default;
  QUORVIN_EXCEPTION_NAME(EAbort)
};
