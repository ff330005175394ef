#include "sped/Uclsfin_dalservicosprestadossped_efd.h"

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"

namespace {

using C = TColunaServicoSPED;
using R = RFin_IncluirServicosPrestadosSPED_EFD;

// The value bound for a numeric column: amounts to cents and the rate to the column's four
// places, once, here; codes as they are.
[[nodiscard]] double ValorNumerico(const C& coluna, const R& registro) {
  const double valor = registro.*coluna.CampoNumero;
  switch (coluna.Tipo) {
    case C::TTipo::Valor:
      return RoundTo(valor, 2);
    case C::TTipo::Percentual:
      return RoundTo(valor, 4);
    default:
      return valor;
  }
}

[[nodiscard]] bool Incluida(const C& coluna, const R& registro) {
  switch (coluna.Quando) {
    case C::TQuando::Sempre:
      return true;
    case C::TQuando::NaoVazio:
    case C::TQuando::Definido:
      if (coluna.CampoTexto != nullptr) return !(registro.*coluna.CampoTexto).empty();
      return ValorNumerico(coluna, registro) != 0;
    case C::TQuando::MaiorQueZero:
      return ValorNumerico(coluna, registro) > 0;
  }
  return false;
}

void Bind(TOraQuery& query, const C& coluna, const R& registro) {
  if (coluna.CampoTexto != nullptr) {
    query.ParamByName(coluna.Nome).SetAsString(registro.*coluna.CampoTexto);
  } else {
    query.ParamByName(coluna.Nome).SetAsFloat(ValorNumerico(coluna, registro));
  }
}

}  // namespace

const std::vector<TColunaServicoSPED>& ColunasServicoSPED() {
  using T = C::TTipo;
  using Q = C::TQuando;
  static const std::vector<C> kColunas = {
      {"CODSERVICO", T::Codigo, Q::Sempre, &R::CODSERVICO},
      {"CODCONSTCIVIL", T::Codigo, Q::Sempre, &R::CODCONSTCIVIL},
      {"CODTIPOSERVICO", T::Codigo, Q::Sempre, &R::CODTIPOSERVICO},
      {"SERIENF", T::Texto, Q::Sempre, nullptr, &R::SERIENF},
      {"CODCNAE", T::Texto, Q::NaoVazio, nullptr, &R::CODCNAE},
      {"VALORBRUTONF", T::Valor, Q::Definido, &R::VALORBRUTONF},
      {"VALORMATERIAL", T::Valor, Q::MaiorQueZero, &R::VALORMATERIAL},
      {"VALORALIMENTACAO", T::Valor, Q::MaiorQueZero, &R::VALORALIMENTACAO},
      {"VALORTRANSPORTE", T::Valor, Q::MaiorQueZero, &R::VALORTRANSPORTE},
      {"VALORBASERETENCAO", T::Valor, Q::MaiorQueZero, &R::VALORBASERETENCAO},
      {"PERCRETENCAO", T::Percentual, Q::MaiorQueZero, &R::PERCRETENCAO},
      {"VALORRETEMPSUBCONTRA", T::Valor, Q::MaiorQueZero, &R::VALORRETEMPSUBCONTRA},
      {"VALORADICIONAL", T::Valor, Q::MaiorQueZero, &R::VALORADICIONAL},
      {"VALORSERVAPOS15ANOS", T::Valor, Q::MaiorQueZero, &R::VALORSERVAPOS15ANOS},
      {"VALORSERVAPOS20ANOS", T::Valor, Q::MaiorQueZero, &R::VALORSERVAPOS20ANOS},
      {"VALORSERVAPOS25ANOS", T::Valor, Q::MaiorQueZero, &R::VALORSERVAPOS25ANOS},
      {"VALORRETNAOEFETCONTRATANTE", T::Valor, Q::MaiorQueZero, &R::VALORRETNAOEFETCONTRATANTE},
      {"VALORRETADINAOEFETCONTRATANTE", T::Valor, Q::MaiorQueZero, &R::VALORRETADINAOEFETCONTRATANTE},
      {"TIPOPROCESSO", T::Codigo, Q::Definido, &R::TIPOPROCESSO},
      {"NUMPROCESSO", T::Texto, Q::NaoVazio, nullptr, &R::NUMPROCESSO},
      {"CODINDICSUSPENSAO", T::Codigo, Q::Definido, nullptr, &R::CODINDICSUSPENSAO},
      {"TIPOPROCESSOADIC", T::Codigo, Q::Definido, &R::TIPOPROCESSOADIC},
      {"NUMPROCESSOADIC", T::Texto, Q::NaoVazio, nullptr, &R::NUMPROCESSOADIC},
      {"CODINDICSUSPENSAOADIC", T::Codigo, Q::Definido, nullptr, &R::CODINDICSUSPENSAOADIC},
      {"VALORRETENCAO", T::Valor, Q::MaiorQueZero, &R::VALORRETENCAO},
      {"HOUVEVALORRETENCAOINSS", T::Texto, Q::Sempre, nullptr, &R::HOUVEVALORRETENCAOINSS},
      {"CODIGONACIONALDEOBRAS", T::Texto, Q::NaoVazio, nullptr, &R::CODIGONACIONALDEOBRAS},
  };
  return kColunas;
}

TDALServicosPrestadosSPED_EFD::TDALServicosPrestadosSPED_EFD(TComponent* owner) : TBaseSubModulo(owner) {}

TDALServicosPrestadosSPED_EFD::~TDALServicosPrestadosSPED_EFD() = default;

TOraSession& TDALServicosPrestadosSPED_EFD::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

std::vector<const TColunaServicoSPED*> TDALServicosPrestadosSPED_EFD::ColunasInseridas(const R& Registro) {
  std::vector<const C*> colunas;
  for (const C& coluna : ColunasServicoSPED()) {
    if (Incluida(coluna, Registro)) colunas.push_back(&coluna);
  }
  return colunas;
}

// The four leading columns open both lists; each further column follows as ", NAME" and
// ", :NAME" when the record sets it.
std::string TDALServicosPrestadosSPED_EFD::GetSQLInsertZTSERVICOSPEDEFD(const R& Registro) {
  const std::vector<const C*> colunas = ColunasInseridas(Registro);
  std::string nomes = "INSERT INTO ZTSERVICOSPEDEFD( CODSERVICO ,CODCONSTCIVIL,CODTIPOSERVICO,SERIENF";
  std::string valores = ") VALUES(:CODSERVICO, :CODCONSTCIVIL, :CODTIPOSERVICO, :SERIENF";
  for (std::size_t i = 4; i < colunas.size(); ++i) {
    nomes += std::string(", ") + colunas[i]->Nome;
    valores += std::string(", :") + colunas[i]->Nome;
  }
  return nomes + valores + ") ";
}

TStringList TDALServicosPrestadosSPED_EFD::GetSQLUpdateZTSERVICOSPEDEFD() {
  TStringList sql;
  sql.Add("UPDATE ZTSERVICOSPEDEFD SET");
  const std::vector<C>& colunas = ColunasServicoSPED();
  for (std::size_t i = 1; i < colunas.size(); ++i) {
    const bool ultima = i + 1 == colunas.size();
    sql.Add(std::string("  ") + colunas[i].Nome + " = :" + colunas[i].Nome + (ultima ? "" : ","));
  }
  sql.Add("WHERE CODSERVICO = :CODSERVICO");
  return sql;
}

TStringList TDALServicosPrestadosSPED_EFD::GetSQLContribuinteCPRB() {
  TStringList sql;
  sql.Add("SELECT CONTRIBUINTEDOCPRB FROM ZTFORNEC WHERE CODFORNEC = :CODFORNEC");
  return sql;
}

bool TDALServicosPrestadosSPED_EFD::IncluirServicoPrestadoSPED_EFD(const R& Registro) {
  TOraQuery query(&Sessao());
  query.SQL.Add(GetSQLInsertZTSERVICOSPEDEFD(Registro));
  for (const C* coluna : ColunasInseridas(Registro)) Bind(query, *coluna, Registro);
  query.ExecSQL();
  return true;
}

bool TDALServicosPrestadosSPED_EFD::AlterarServicoPrestadoSPED_EFD(const R& Registro) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLUpdateZTSERVICOSPEDEFD();
  for (const C& coluna : ColunasServicoSPED()) Bind(query, coluna, Registro);
  query.ExecSQL();
  return query.RowsAffected() == 1;
}

std::string TDALServicosPrestadosSPED_EFD::BuscarCONTRIBUINTEDOCPRB(double CodFornec) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLContribuinteCPRB();
  query.ParamByName("CODFORNEC").SetAsFloat(CodFornec);
  query.Open();
  if (query.Eof()) return {};
  return query.FieldByName("CONTRIBUINTEDOCPRB").AsString();
}
