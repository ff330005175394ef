#include "sdk/fin/TCancDesdQry.h"

#include <fstream>
#include <optional>

#include "rtl/Exception.h"

void TCancDesdQry::OpenSaveOrLoad() {
  Open();
  if (ArquivoCopia.empty()) return;
  std::ofstream copia(ArquivoCopia, std::ios::binary | std::ios::trunc);
  if (!copia) throw Exception("Não foi possível gravar a cópia dos registros em '" + ArquivoCopia + "'.");
  for (First(); !Eof(); Next()) {
    for (std::size_t i = 0; i < FieldCount(); ++i) {
      const std::optional<std::string>& valor = Fields(i).RawValue();
      copia << (i > 0 ? "\t" : "") << (valor ? *valor : "\\N");
    }
    copia << '\n';
  }
  First();
}
