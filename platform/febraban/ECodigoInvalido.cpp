#include "febraban/ECodigoInvalido.h"

namespace febraban {

ECodigoInvalido::~ECodigoInvalido() = default;

}  // namespace febraban
