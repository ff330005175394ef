#include "report/ERelatorio.h"

namespace report {

ERelatorio::~ERelatorio() = default;
EModeloInvalido::~EModeloInvalido() = default;
EDadosRelatorio::~EDadosRelatorio() = default;
EDispositivoRelatorio::~EDispositivoRelatorio() = default;

}  // namespace report
