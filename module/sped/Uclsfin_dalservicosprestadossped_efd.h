#pragma once

#include <string>
#include <vector>

#include "rtl/TStringList.h"
#include "sdk/TBase.h"
#include "sdk/fin/RFin_IncluirServicosPrestadosSPED_EFD.h"

class TOraSession;

// One column of ZTSERVICOSPEDEFD as the statements see it: how it is bound and when the insert
// names it.
struct TColunaServicoSPED {
  enum class TTipo { Texto, Valor, Percentual, Codigo };
  enum class TQuando { Sempre, NaoVazio, Definido, MaiorQueZero };
  using Numero = double RFin_IncluirServicosPrestadosSPED_EFD::*;
  using Texto = std::string RFin_IncluirServicosPrestadosSPED_EFD::*;

  const char* Nome;
  TTipo Tipo;
  TQuando Quando;
  Numero CampoNumero = nullptr;  // numbers
  Texto CampoTexto = nullptr;    // texts
};

// Every column, in the table's order (CODSERVICO first).
[[nodiscard]] const std::vector<TColunaServicoSPED>& ColunasServicoSPED();

// Data access of the services-rendered rows and of the supplier's CPRB flag.
class TDALServicosPrestadosSPED_EFD : public TBaseSubModulo {
 public:
  explicit TDALServicosPrestadosSPED_EFD(TComponent* owner);
  ~TDALServicosPrestadosSPED_EFD() override;

  // Inserts the row naming only the columns the record sets; true.
  bool IncluirServicoPrestadoSPED_EFD(const RFin_IncluirServicosPrestadosSPED_EFD& Registro);
  // Rewrites every column but the key; false when no row has the record's CODSERVICO.
  bool AlterarServicoPrestadoSPED_EFD(const RFin_IncluirServicosPrestadosSPED_EFD& Registro);
  [[nodiscard]] std::string BuscarCONTRIBUINTEDOCPRB(double CodFornec);

  // Statement texts, as they are sent.
  [[nodiscard]] static std::string GetSQLInsertZTSERVICOSPEDEFD(const RFin_IncluirServicosPrestadosSPED_EFD& Registro);
  [[nodiscard]] static TStringList GetSQLUpdateZTSERVICOSPEDEFD();
  [[nodiscard]] static TStringList GetSQLContribuinteCPRB();

  // The columns the insert names for this record, in order.
  [[nodiscard]] static std::vector<const TColunaServicoSPED*> ColunasInseridas(
      const RFin_IncluirServicosPrestadosSPED_EFD& Registro);

 private:
  [[nodiscard]] TOraSession& Sessao();
};
