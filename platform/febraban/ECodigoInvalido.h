#pragma once

#include <stdexcept>

namespace febraban {

// The one failure of the library: a code, a part of it or a value that cannot be read or built. The
// message says in Portuguese what is wrong, ready to be shown to the user.
class ECodigoInvalido : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  ~ECodigoInvalido() override;
};

}  // namespace febraban
