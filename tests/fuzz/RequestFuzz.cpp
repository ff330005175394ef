// Feeds arbitrary bytes to the command line's request decoding: the JSON text of a request, then
// its "record" read into the payable entry and the cash movement with their field tables, and the
// record written back. Any input must end in a decoded record or a UsageError (a mistake of the
// request, exit 2): a crash, a hang, another exception or a sanitizer report is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "RecordJson.h"
#include "rtl/Exception.h"
#include "sdk/fin/RFin_IncluirContasPagar.h"
#include "sdk/fin/RFin_IncluirMovimentacaoNumerarios.h"

namespace {

template <class R>
void Decode(const cli::Json& request, FieldTable<R> table) {
  R record;
  record.Inicializar();
  cli::ReadRecord(request.contains("record") ? request["record"] : request, record, table, "record");
  // What was accepted must be written back as JSON without failing.
  (void)cli::WriteRecord(record, table).dump();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  cli::Json request;
  try {
    request = cli::ParseRequestText(text);
  } catch (const cli::UsageError&) {
    return 0;
  }
  for (int kind = 0; kind < 2; ++kind) {
    try {
      if (kind == 0) Decode<RFin_IncluirContasPagar>(request, CamposIncluirContasPagar());
      if (kind == 1) Decode<RFin_IncluirMovimentacaoNumerarios>(request, CamposIncluirMovimentacaoNumerarios());
    } catch (const cli::UsageError&) {
    }
  }
  return 0;
}
