// Feeds arbitrary bytes to the report template reader. Every call must answer a template or raise
// report::EModeloInvalido: a crash, another exception or a sanitizer report is a fault. A template
// read must also list its fields and pipelines without failing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "report/ERelatorio.h"
#include "report/TModeloRelatorio.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view texto(reinterpret_cast<const char*>(data), size);
  try {
    const report::TModeloRelatorio modelo = report::LerModelo(texto, "fuzz.rtm");
    if (modelo.Pipelines().empty()) std::abort();
    (void)modelo.Campos();
  } catch (const report::EModeloInvalido& erro) {
    if (erro.Message().empty()) std::abort();
  }
  return 0;
}
