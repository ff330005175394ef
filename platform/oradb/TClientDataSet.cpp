#include "oradb/TClientDataSet.h"

#include <algorithm>

#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

void TClientDataSet::AddFieldDef(const std::string& name, TFieldType type, int size, bool required) {
  const std::string upper = UpperAscii(Trim(name));
  if (upper.empty()) throw Exception("Nome de campo vazio na definição do conjunto de dados.");
  if (size < 0) throw Exception("Tamanho inválido para o campo '" + upper + "': " + std::to_string(size) + ".");
  const bool duplicate =
      std::any_of(FDefs.begin(), FDefs.end(), [&](const TFieldDef& def) { return def.Name == upper; });
  if (duplicate) throw Exception("Campo '" + upper + "' definido mais de uma vez.");
  FDefs.push_back(TFieldDef{upper, type, size, required});
}

void TClientDataSet::CreateDataSet() {
  if (FDefs.empty()) throw Exception("Nenhum campo definido para o conjunto de dados.");
  Load(FDefs, {});
  FSnapshot.clear();
  FChanged = false;
}

void TClientDataSet::EmptyDataSet() {
  if (!Active()) throw Exception("O conjunto de dados está fechado.");
  Cancel();
  Load(FieldDefs(), {});
  FSnapshot.clear();
  FChanged = false;
}

void TClientDataSet::CopyFrom(TDataSet& source) {
  if (&source == this) throw Exception("Um conjunto de dados não pode ser copiado sobre si mesmo.");
  if (!source.Active()) throw Exception("O conjunto de dados de origem está fechado.");
  std::vector<TFieldDef> defs = source.FieldDefs();
  std::vector<TRow> rows;
  source.First();
  while (!source.Eof()) {
    TRow row;
    row.reserve(defs.size());
    for (std::size_t index = 0; index < defs.size(); ++index) row.push_back(source.Fields(index).RawValue());
    rows.push_back(std::move(row));
    source.Next();
  }
  FDefs = defs;
  FSnapshot = rows;
  Load(std::move(defs), std::move(rows));
  FChanged = false;
}

void TClientDataSet::CancelUpdates() {
  if (!Active()) return;
  Cancel();
  Load(FieldDefs(), FSnapshot);
  FChanged = false;
}

void TClientDataSet::MergeChangeLog() {
  if (!Active()) return;
  FSnapshot = Rows();
  FChanged = false;
}

void TClientDataSet::DoPostEdit(const TRow& /*old_row*/, const TRow& /*new_row*/) {
  FChanged = true;
}
void TClientDataSet::DoPostInsert(const TRow& /*new_row*/) {
  FChanged = true;
}
void TClientDataSet::DoDelete(const TRow& /*row*/) {
  FChanged = true;
}
