#include "payable/Uclsfin_dalcontaspagar.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <set>
#include <utility>
#include <variant>

#include "oradb/TOraPipeline.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/fin/RFin_IncluirMovimentacaoNumerarios.h"

namespace {

using R = RFin_IncluirContasPagar;

// When a column of the insert is written.
enum class Quando {
  Sempre,
  DiferenteDeZero,
  MaiorQueZero,
  MaiorOuIgualUm,
  DataInformada,
  TextoInformado,  // not blank after trimming
  DtCotacao,       // with its own date or with a due date
  DtAgendamento,   // with its own date or with an accrual date
  NumNegociacao,   // NUMNEGOCIACAO or the older field that feeds the same column
  CodCobSefaz,     // CODCOBSEFAZ or the older field that feeds the same column
};

// Columns whose value is not simply the record's field of the same name.
enum class Valor {
  Nenhum,
  Indice,               // "A" when blank
  UtilizouRateioConta,  // "N" when empty
  Fornecedor,           // the first 60 characters
  RotinaCad,            // the running routine, as text
  RotinaBaixa,          // the running routine
  RotinaAlt,            // a new entry has not been changed by any routine yet
  DataOuNulo,           // the date, or NULL
  NumNegociacao,        // the column's own field wins over the older one
  CodCobSefaz,          // likewise
};

struct ColunaInsert {
  const char* Nome;
  Quando Condicao;
  Valor Especial;
  FieldDef<R>::Member Campo;
};

// The insert's columns in the order they are written: the fixed ones, the numbers, the dates, then
// card, SEFAZ and SPED data.
const ColunaInsert kColunasInsert[] = {
    {"RECNUM", Quando::Sempre, Valor::Nenhum, &R::RECNUM},
    {"DTLANC", Quando::Sempre, Valor::Nenhum, &R::DTLANC},
    {"HISTORICO", Quando::Sempre, Valor::Nenhum, &R::HISTORICO},
    {"DUPLIC", Quando::Sempre, Valor::Nenhum, &R::DUPLIC},
    {"LOCALIZACAO", Quando::Sempre, Valor::Nenhum, &R::LOCALIZACAO},
    {"CODFILIAL", Quando::Sempre, Valor::Nenhum, &R::CODFILIAL},
    {"INDICE", Quando::Sempre, Valor::Indice, &R::INDICE},
    {"NUMCHEQUE", Quando::Sempre, Valor::Nenhum, &R::NUMCHEQUE},
    {"TIPOLANC", Quando::Sempre, Valor::Nenhum, &R::TIPOLANC},
    {"TIPOPARCEIRO", Quando::Sempre, Valor::Nenhum, &R::TIPOPARCEIRO},
    {"NOMEFUNC", Quando::Sempre, Valor::Nenhum, &R::NOMEFUNC},
    {"ASSINATURA", Quando::Sempre, Valor::Nenhum, &R::ASSINATURA},
    {"TIPOPAGTO", Quando::Sempre, Valor::Nenhum, &R::TIPOPAGTO},
    {"NUMDVDESTDOC", Quando::Sempre, Valor::Nenhum, &R::NUMDVDESTDOC},
    {"NUMCODBARRA", Quando::Sempre, Valor::Nenhum, &R::NUMCODBARRA},
    {"HISTORICO2", Quando::Sempre, Valor::Nenhum, &R::HISTORICO2},
    {"MOEDA", Quando::Sempre, Valor::Nenhum, &R::MOEDA},
    {"DVAG", Quando::Sempre, Valor::Nenhum, &R::DVAG},
    {"PORTADORCHEQUE", Quando::Sempre, Valor::Nenhum, &R::PORTADORCHEQUE},
    {"NUMDIIMPORTACAO", Quando::Sempre, Valor::Nenhum, &R::NUMDIIMPORTACAO},
    {"ADIANTAMENTO", Quando::Sempre, Valor::Nenhum, &R::ADIANTAMENTO},
    {"NFSERVICO", Quando::Sempre, Valor::Nenhum, &R::NFSERVICO},
    {"PREST", Quando::Sempre, Valor::Nenhum, &R::PREST},
    {"BOLETO", Quando::Sempre, Valor::Nenhum, &R::BOLETO},
    {"PAGTONOMEDOCLIENTE", Quando::Sempre, Valor::Nenhum, &R::PAGTONOMEDOCLIENTE},
    {"OBSBLOQ", Quando::Sempre, Valor::Nenhum, &R::OBSBLOQ},
    {"AGENDAMENTO", Quando::Sempre, Valor::Nenhum, &R::AGENDAMENTO},
    {"NUMCONTRATOCAMBIO", Quando::Sempre, Valor::Nenhum, &R::NUMCONTRATOCAMBIO},
    {"IDCONTROLEEMBARQUE", Quando::Sempre, Valor::Nenhum, &R::IDCONTROLEEMBARQUE},
    {"FORMAPGTO", Quando::Sempre, Valor::Nenhum, &R::FORMAPGTO},
    {"CODROTINACAD", Quando::Sempre, Valor::RotinaCad, &R::CODROTINACAD},
    {"DTMOEDA", Quando::Sempre, Valor::Nenhum, &R::DTMOEDA},
    {"CODROTINAALT", Quando::Sempre, Valor::RotinaAlt, &R::CODROTINAALT},
    {"PARCELA", Quando::Sempre, Valor::Nenhum, &R::PARCELA},
    {"NUMNOTA", Quando::Sempre, Valor::Nenhum, &R::NUMNOTA},
    {"CODFORNEC", Quando::Sempre, Valor::Nenhum, &R::CODFORNEC},
    {"VLRUTILIZADOADIANTFORNEC", Quando::Sempre, Valor::Nenhum, &R::VLRUTILIZADOADIANTFORNEC},
    {"TIPOSERVICO", Quando::Sempre, Valor::Nenhum, &R::TIPOSERVICO},
    {"IDENTIFICADORFGTS", Quando::Sempre, Valor::Nenhum, &R::IDENTIFICADORFGTS},
    {"LACREDIGCONECSOCIAL", Quando::Sempre, Valor::Nenhum, &R::LACREDIGCONECSOCIAL},
    {"OPCAOPAGAMENTOIPVA", Quando::Sempre, Valor::Nenhum, &R::OPCAOPAGAMENTOIPVA},
    {"UTILIZOURATEIOCONTA", Quando::Sempre, Valor::UtilizouRateioConta, &R::UTILIZOURATEIOCONTA},
    {"PRCRATEIOUTILIZADO", Quando::Sempre, Valor::Nenhum, &R::PRCRATEIOUTILIZADO},
    {"VALOR", Quando::DiferenteDeZero, Valor::Nenhum, &R::VALOR},
    {"CODCONTA", Quando::MaiorQueZero, Valor::Nenhum, &R::CODCONTA},
    {"VPAGO", Quando::DiferenteDeZero, Valor::Nenhum, &R::VPAGO},
    {"NUMNOTADEV", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMNOTADEV},
    {"VALORDEV", Quando::DiferenteDeZero, Valor::Nenhum, &R::VALORDEV},
    {"PRORROG", Quando::MaiorQueZero, Valor::Nenhum, &R::PRORROG},
    {"NUMBORDERO", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMBORDERO},
    {"VPAGOBORDERO", Quando::DiferenteDeZero, Valor::Nenhum, &R::VPAGOBORDERO},
    {"NUMSEQBORDERO", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMSEQBORDERO},
    {"NUMCHEQUE2", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMCHEQUE2},
    {"NUMBANCO", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMBANCO},
    {"DESCONTOFIN", Quando::DiferenteDeZero, Valor::Nenhum, &R::DESCONTOFIN},
    {"TXPERM", Quando::DiferenteDeZero, Valor::Nenhum, &R::TXPERM},
    {"NUMVIA", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMVIA},
    {"NUMBCODESTDOC", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMBCODESTDOC},
    {"NUMAGDESTDOC", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMAGDESTDOC},
    {"NUMCCDESTDOC", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMCCDESTDOC},
    {"NUMTRANSENT", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMTRANSENT},
    {"NUMTAB", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMTAB},
    {"CODFORNECPRINC", Quando::MaiorQueZero, Valor::Nenhum, &R::CODFORNECPRINC},
    {"VLIRRF", Quando::MaiorQueZero, Valor::Nenhum, &R::VLIRRF},
    {"VLSESTSENAT", Quando::MaiorQueZero, Valor::Nenhum, &R::VLSESTSENAT},
    {"NUMTRANSADIANTFOR", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMTRANSADIANTFOR},
    {"CODFUNCBAIXA", Quando::MaiorQueZero, Valor::Nenhum, &R::CODFUNCBAIXA},
    {"NUMAGDESTDOC2", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMAGDESTDOC2},
    {"NUMVIASFICHACP", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMVIASFICHACP},
    {"CODFUNCAUTOR", Quando::MaiorQueZero, Valor::Nenhum, &R::CODFUNCAUTOR},
    {"NUMTRANS", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMTRANS},
    {"CODFUNCESTORNOBAIXA", Quando::MaiorQueZero, Valor::Nenhum, &R::CODFUNCESTORNOBAIXA},
    {"CODFUNCRECLASSIFIC", Quando::MaiorQueZero, Valor::Nenhum, &R::CODFUNCRECLASSIFIC},
    {"CODCOMPRADOR", Quando::MaiorQueZero, Valor::Nenhum, &R::CODCOMPRADOR},
    {"MOEDAESTRANGEIRA", Quando::MaiorQueZero, Valor::Nenhum, &R::MOEDAESTRANGEIRA},
    {"COTACAO", Quando::MaiorQueZero, Valor::Nenhum, &R::COTACAO},
    {"RECNUMPRINC", Quando::MaiorQueZero, Valor::Nenhum, &R::RECNUMPRINC},
    {"COTACAOBAIXA", Quando::MaiorQueZero, Valor::Nenhum, &R::COTACAOBAIXA},
    {"FROTA_QTLITROS", Quando::MaiorQueZero, Valor::Nenhum, &R::FROTA_QTLITROS},
    {"FROTA_CODPRACA", Quando::MaiorQueZero, Valor::Nenhum, &R::FROTA_CODPRACA},
    {"FROTA_NUMCAR", Quando::MaiorQueZero, Valor::Nenhum, &R::FROTA_NUMCAR},
    {"FROTA_CODVEICULO", Quando::MaiorQueZero, Valor::Nenhum, &R::FROTA_CODVEICULO},
    {"FROTA_COMISSAO", Quando::MaiorQueZero, Valor::Nenhum, &R::FROTA_COMISSAO},
    {"FROTA_KMABASTECE", Quando::MaiorQueZero, Valor::Nenhum, &R::FROTA_KMABASTECE},
    {"NUMTRANSVENDA", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMTRANSVENDA},
    {"NUMNEGOCIACAO", Quando::NumNegociacao, Valor::NumNegociacao, &R::NUMNEGOCIACAO},
    {"PERCDESCFINREAL", Quando::MaiorQueZero, Valor::Nenhum, &R::PERCDESCFINREAL},
    {"VALORMOEDAESTRANGEIRA", Quando::DiferenteDeZero, Valor::Nenhum, &R::VALORMOEDAESTRANGEIRA},
    {"FROTA_PESO", Quando::MaiorQueZero, Valor::Nenhum, &R::FROTA_PESO},
    {"CODFUNCULTALTER", Quando::MaiorQueZero, Valor::Nenhum, &R::CODFUNCULTALTER},
    {"CODPROJETO", Quando::MaiorQueZero, Valor::Nenhum, &R::CODPROJETO},
    {"VLISS", Quando::MaiorQueZero, Valor::Nenhum, &R::VLISS},
    {"VLINSS", Quando::MaiorQueZero, Valor::Nenhum, &R::VLINSS},
    {"VLCSRF", Quando::MaiorQueZero, Valor::Nenhum, &R::VLCSRF},
    {"FUNCBLOQ", Quando::MaiorQueZero, Valor::Nenhum, &R::FUNCBLOQ},
    {"VLPIS", Quando::MaiorQueZero, Valor::Nenhum, &R::VLPIS},
    {"VLCOFINS", Quando::MaiorQueZero, Valor::Nenhum, &R::VLCOFINS},
    {"VLVARIACAOCAMBIAL", Quando::DiferenteDeZero, Valor::Nenhum, &R::VLVARIACAOCAMBIAL},
    {"VLOUTRAS", Quando::MaiorQueZero, Valor::Nenhum, &R::VLOUTRAS},
    {"NUMTRANSENTNF", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMTRANSENTNF},
    {"CODRECEITA", Quando::MaiorQueZero, Valor::Nenhum, &R::CODRECEITA},
    {"VRECEITABRUTA", Quando::MaiorQueZero, Valor::Nenhum, &R::VRECEITABRUTA},
    {"PERCRECEITABRUTA", Quando::MaiorQueZero, Valor::Nenhum, &R::PERCRECEITABRUTA},
    {"NUMPARCELAMENTO", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMPARCELAMENTO},
    {"NUMSEQPARCELAMENTO", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMSEQPARCELAMENTO},
    {"VLRPARIDADEMOEDA", Quando::MaiorQueZero, Valor::Nenhum, &R::VLRPARIDADEMOEDA},
    {"MOEDAPARIDADE", Quando::MaiorQueZero, Valor::Nenhum, &R::MOEDAPARIDADE},
    {"NUMSEQCONTRATOEMPRESTIMO", Quando::MaiorQueZero, Valor::Nenhum, &R::NUMSEQCONTRATOEMPRESTIMO},
    {"CODROTINABAIXA", Quando::MaiorQueZero, Valor::RotinaBaixa, &R::CODROTINABAIXA},
    {"VLDESPFIN", Quando::MaiorQueZero, Valor::Nenhum, &R::VLDESPFIN},
    {"DTVENC", Quando::DataInformada, Valor::Nenhum, &R::DTVENC},
    {"DTPAGTO", Quando::DataInformada, Valor::Nenhum, &R::DTPAGTO},
    {"DTBORDER", Quando::DataInformada, Valor::Nenhum, &R::DTBORDER},
    {"DTEMISSAO", Quando::DataInformada, Valor::Nenhum, &R::DTEMISSAO},
    {"DTCHEQ", Quando::DataInformada, Valor::Nenhum, &R::DTCHEQ},
    {"DTASSINATURA", Quando::DataInformada, Valor::Nenhum, &R::DTASSINATURA},
    {"DTAUTOR", Quando::DataInformada, Valor::Nenhum, &R::DTAUTOR},
    {"DTESTORNOBAIXA", Quando::DataInformada, Valor::Nenhum, &R::DTESTORNOBAIXA},
    {"DTRECLASSIFIC", Quando::DataInformada, Valor::Nenhum, &R::DTRECLASSIFIC},
    {"DTPRORROG", Quando::DataInformada, Valor::Nenhum, &R::DTPRORROG},
    {"FROTA_DTABASTECE", Quando::DataInformada, Valor::Nenhum, &R::FROTA_DTABASTECE},
    {"DTCOTACAO", Quando::DtCotacao, Valor::DataOuNulo, &R::DTCOTACAO},
    {"DTPAGADIANTFOR", Quando::DataInformada, Valor::Nenhum, &R::DTPAGADIANTFOR},
    {"DTULTALTER", Quando::DataInformada, Valor::Nenhum, &R::DTULTALTER},
    {"DTCOMPETENCIA", Quando::DataInformada, Valor::Nenhum, &R::DTCOMPETENCIA},
    {"DTDESD", Quando::DataInformada, Valor::Nenhum, &R::DTDESD},
    {"DTBLOQ", Quando::DataInformada, Valor::Nenhum, &R::DTBLOQ},
    {"DTAGENDAMENTO", Quando::DtAgendamento, Valor::DataOuNulo, &R::DTAGENDAMENTO},
    {"DTCANCEL", Quando::DataInformada, Valor::Nenhum, &R::DTCANCEL},
    {"DTIMPRESSAO", Quando::DataInformada, Valor::Nenhum, &R::DTIMPRESSAO},
    {"CODLANCAMENTORM", Quando::TextoInformado, Valor::Nenhum, &R::CODLANCAMENTORM},
    {"FORNECEDOR", Quando::TextoInformado, Valor::Fornecedor, &R::FORNECEDOR},
    {"CODCOBSEFAZ", Quando::CodCobSefaz, Valor::CodCobSefaz, &R::CODCOBSEFAZ},
    {"CODSERVICOSPEDEFD", Quando::DiferenteDeZero, Valor::Nenhum, &R::CODSERVICOSPEDEFD},
    {"RECNUMBAIXA", Quando::DiferenteDeZero, Valor::Nenhum, &R::RECNUMBAIXA},
    {"RAZAOCREDENCCARTAO", Quando::TextoInformado, Valor::Nenhum, &R::RAZAOCREDENCCARTAO},
    {"CNPJCREDENCCARTAO", Quando::TextoInformado, Valor::Nenhum, &R::CNPJCREDENCCARTAO},
    {"NSUTEF", Quando::TextoInformado, Valor::Nenhum, &R::NSUTEF},
    {"BANDEIRACARTAO", Quando::MaiorOuIgualUm, Valor::Nenhum, &R::BANDEIRACARTAO},
};

[[nodiscard]] double Numero(const R& registro, const FieldDef<R>::Member& campo) {
  if (const auto* numero = std::get_if<double R::*>(&campo)) return registro.**numero;
  if (const auto* inteiro = std::get_if<int R::*>(&campo)) return registro.**inteiro;
  if (const auto* data = std::get_if<TDateTime R::*>(&campo)) return (registro.**data).Value();
  return 0;
}

[[nodiscard]] bool TextoInformado(const std::string& texto) {
  return !Trim(texto).empty();
}

[[nodiscard]] bool Presente(const ColunaInsert& coluna, const R& registro) {
  switch (coluna.Condicao) {
    case Quando::Sempre:
      return true;
    case Quando::DiferenteDeZero:
      return Numero(registro, coluna.Campo) != 0;
    case Quando::MaiorQueZero:
    case Quando::DataInformada:
      return Numero(registro, coluna.Campo) > 0;
    case Quando::MaiorOuIgualUm:
      return Numero(registro, coluna.Campo) >= 1;
    case Quando::TextoInformado:
      return TextoInformado(registro.*std::get<std::string R::*>(coluna.Campo));
    case Quando::DtCotacao:
      return registro.DTCOTACAO.Value() > 0 || registro.DTVENC.Value() > 0;
    case Quando::DtAgendamento:
      return registro.DTAGENDAMENTO.Value() > 0 || registro.DTCOMPETENCIA.Value() > 0;
    case Quando::NumNegociacao:
      return registro.NUMNEGOCIACAO > 0 || registro.NUMNEGOCIACAO2 > 0;
    case Quando::CodCobSefaz:
      return TextoInformado(registro.CODCOBSEFAZ) || TextoInformado(registro.CODCOBSEFAZ2);
  }
  return false;
}

[[nodiscard]] std::vector<const ColunaInsert*> ColunasPresentes(const R& registro) {
  std::vector<const ColunaInsert*> colunas;
  colunas.reserve(std::size(kColunasInsert));
  for (const ColunaInsert& coluna : kColunasInsert) {
    if (Presente(coluna, registro)) colunas.push_back(&coluna);
  }
  return colunas;
}

[[nodiscard]] std::string TextoInsert(const char* tabela, const std::vector<const ColunaInsert*>& colunas) {
  std::string nomes;
  std::string parametros;
  for (const ColunaInsert* coluna : colunas) {
    if (!nomes.empty()) {
      nomes += ", ";
      parametros += ", ";
    }
    nomes += coluna->Nome;
    parametros += ':';
    parametros += coluna->Nome;
  }
  return std::string("INSERT INTO ") + tabela + " (" + nomes + ") " + "VALUES(" + parametros + ") ";
}

void Vincular(TOraParam& parametro, const ColunaInsert& coluna, const R& registro, int rotina) {
  switch (coluna.Especial) {
    case Valor::Indice:
      parametro.SetAsString(TextoInformado(registro.INDICE) ? registro.INDICE : std::string("A"));
      return;
    case Valor::UtilizouRateioConta:
      parametro.SetAsString(TextoInformado(registro.UTILIZOURATEIOCONTA) ? registro.UTILIZOURATEIOCONTA
                                                                         : std::string("N"));
      return;
    case Valor::Fornecedor:
      parametro.SetAsString(Utf8Left(registro.FORNECEDOR, 60));
      return;
    case Valor::RotinaCad:
      parametro.SetAsString(std::to_string(rotina));
      return;
    case Valor::RotinaBaixa:
      parametro.SetAsInteger(rotina);
      return;
    case Valor::RotinaAlt:
      parametro.Clear();
      return;
    case Valor::DataOuNulo: {
      const TDateTime data = registro.*std::get<TDateTime R::*>(coluna.Campo);
      if (data.Value() > 0) {
        parametro.SetAsDateTime(data);
      } else {
        parametro.Clear();
      }
      return;
    }
    case Valor::NumNegociacao:
      parametro.SetAsFloat(registro.NUMNEGOCIACAO > 0 ? registro.NUMNEGOCIACAO : registro.NUMNEGOCIACAO2);
      return;
    case Valor::CodCobSefaz:
      parametro.SetAsString(TextoInformado(registro.CODCOBSEFAZ) ? registro.CODCOBSEFAZ : registro.CODCOBSEFAZ2);
      return;
    case Valor::Nenhum:
      break;
  }
  std::visit(
      [&](auto membro) {
        using Membro = std::remove_cvref_t<decltype(registro.*membro)>;
        if constexpr (std::is_same_v<Membro, std::string>) {
          parametro.SetAsString(registro.*membro);
        } else if constexpr (std::is_same_v<Membro, double>) {
          parametro.SetAsFloat(registro.*membro);
        } else if constexpr (std::is_same_v<Membro, int>) {
          parametro.SetAsInteger(registro.*membro);
        } else if constexpr (std::is_same_v<Membro, TDateTime>) {
          parametro.SetAsDateTime(registro.*membro);
        } else {
          parametro.SetAsString((registro.*membro) ? "S" : "N");
        }
      },
      coluna.Campo);
}

// A record's field read from a column of the current row.
struct CampoLido {
  const FieldDef<R>* Definicao;
  TField Coluna;
};

[[nodiscard]] std::vector<CampoLido> CamposDaConsulta(TDataSet& consulta) {
  std::vector<CampoLido> campos;
  for (const FieldDef<R>& definicao : ColunasZTLANC()) {
    if (auto coluna = consulta.FindField(definicao.Name)) campos.push_back({&definicao, *coluna});
  }
  return campos;
}

void PreencherRegistro(const std::vector<CampoLido>& campos, R& registro) {
  for (const CampoLido& campo : campos) {
    std::visit(
        [&](auto membro) {
          using Membro = std::remove_cvref_t<decltype(registro.*membro)>;
          if constexpr (std::is_same_v<Membro, std::string>) {
            registro.*membro = campo.Coluna.AsString();
          } else if constexpr (std::is_same_v<Membro, double>) {
            registro.*membro = campo.Coluna.AsFloat();
          } else if constexpr (std::is_same_v<Membro, int>) {
            registro.*membro = static_cast<int>(campo.Coluna.AsInteger());
          } else if constexpr (std::is_same_v<Membro, TDateTime>) {
            registro.*membro = campo.Coluna.AsDateTime();
          } else {
            registro.*membro = campo.Coluna.AsString() == "S";
          }
        },
        campo.Definicao->Pointer);
  }
}

// The first day of a month and of the next one: a month is the range [inicio, fim).
[[nodiscard]] std::pair<TDateTime, TDateTime> LimitesDoMes(int ano, int mes) {
  const TDateTime inicio = TDateTime::EncodeDate(ano, mes, 1);
  const TDateTime fim = mes == 12 ? TDateTime::EncodeDate(ano + 1, 1, 1) : TDateTime::EncodeDate(ano, mes + 1, 1);
  return {inicio, fim};
}

// The conditions of an invoice's open titles, shared by their total and their list.
void AdicionarCondicoesTitulosAbertos(TStringList& sql) {
  sql.Add(" WHERE DTPAGTO IS NULL");
  sql.Add("   AND NVL(VALORDEV,0) = 0");
  sql.Add("   AND DTBORDER IS NULL");
  sql.Add("   AND NVL(NUMBORDERO,0) = 0");
  sql.Add("   AND NUMTRANSENT IS NOT NULL");
  sql.Add("   AND NVL(ZTLANC.NUMTRANSENTNF, ZTLANC.NUMTRANSENT) = :NUMTRANSENT");
}

// The held apportionment moved with an approved entry.
constexpr const char* kColunasRateio =
    "RECNUM, CODCONTA, VALOR, PERCRATEIO, DTLANC, CONTRAPARTIDA, RECNUMPRINC, CODFILIAL, CODIGOCENTROCUSTO, "
    "CODCENTROCUSTO, CODFUNCAUTSUPLORC, DATAAUTSUPLORC, ORCAMENTOEXCEDIDO";

// Stamps who approved a supplementation, and when, on the rows of one entry in a table.
void RegistrarAprovacao(TOraSession& sessao, const char* tabela, double aprovador, TDateTime data, double recnum) {
  TOraQuery query(&sessao);
  query.SQL.Add(std::string("UPDATE ") + tabela +
                " SET CODFUNCAUTSUPLORC = :CODFUNCAUTSUPLORC, DATAAUTSUPLORC = :DATAAUTSUPLORC WHERE RECNUM = :RECNUM");
  query.ParamByName("CODFUNCAUTSUPLORC").SetAsFloat(aprovador);
  query.ParamByName("DATAAUTSUPLORC").SetAsDateTime(data);
  query.ParamByName("RECNUM").SetAsFloat(recnum);
  query.ExecSQL();
}

}  // namespace

TDALContasPagar::TDALContasPagar(TComponent* owner) : TBaseSubModulo(owner) {}
TDALContasPagar::~TDALContasPagar() = default;

const char* TDALContasPagar::TabelaDestino(const RFin_IncluirContasPagar& registro, bool trabalhaSuplementacao,
                                           bool suplementacao) noexcept {
  return trabalhaSuplementacao && suplementacao && !registro.DENTROAPROVACAOORCAMENTO ? "ZTLANCBLOQ" : "ZTLANC";
}

std::string TDALContasPagar::GetSQLInsertZTLANC(const RFin_IncluirContasPagar& registro, bool trabalhaSuplementacao,
                                                bool suplementacao) {
  return TextoInsert(TabelaDestino(registro, trabalhaSuplementacao, suplementacao), ColunasPresentes(registro));
}

bool TDALContasPagar::IncluirLancamento(const RFin_IncluirContasPagar& registro, bool trabalhaSuplementacao,
                                        bool suplementacao) {
  try {
    const auto colunas = ColunasPresentes(registro);
    const int rotina = Quorvin().SessaoAtual().Usuario().CodigoRotina();
    TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
    consulta.SQL.Add(TextoInsert(TabelaDestino(registro, trabalhaSuplementacao, suplementacao), colunas));
    for (const ColunaInsert* coluna : colunas) Vincular(consulta.ParamByName(coluna->Nome), *coluna, registro, rotina);
    consulta.ExecSQL();
    return true;
  } catch (const std::exception& erro) {
    std::throw_with_nested(Exception(erro.what()));
  }
}

std::vector<RFin_IncluirContasPagar> TDALContasPagar::GetListaLancamento(const std::string& psListaRecNum) {
  std::vector<RFin_IncluirContasPagar> lancamentos;
  const std::string condicao = MontaClausulaIN("ZTLANC.RECNUM", psListaRecNum, false, false);
  if (condicao.empty()) return lancamentos;  // "WHERE 1 = 1 AND" with nothing after it is no statement
  TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
  consulta.SQL.SetText(GetSQLSelectZTLANC());
  consulta.SQL.Add("  AND " + condicao);
  consulta.Open();
  const auto campos = CamposDaConsulta(consulta);
  for (consulta.First(); !consulta.Eof(); consulta.Next()) {
    RFin_IncluirContasPagar& registro = lancamentos.emplace_back();
    registro.Inicializar();
    PreencherRegistro(campos, registro);
  }
  return lancamentos;
}

std::string TDALContasPagar::GetListaRecNum(double prNumTransEnt) {
  TOraSession& sessao = Quorvin().SessaoAtual().BancoDados().Sessao();

  TOraQuery total(&sessao);
  total.SQL.Add("SELECT SUM(VALOR) as TOTALNOTA");
  total.SQL.Add("  FROM ZTLANC");
  total.SQL.Add(" WHERE NVL(ZTLANC.NUMTRANSENTNF, ZTLANC.NUMTRANSENT) = :NUMTRANSENT");
  total.SQL.Add("   AND CODROTINACAD LIKE '%1301%'");
  total.ParamByName("NUMTRANSENT").SetAsFloat(prNumTransEnt);
  total.Open();
  const double total_nota = total.FieldByName("TOTALNOTA").AsFloat();

  TOraQuery titulos(&sessao);
  titulos.SQL.Add("SELECT NVL(SUM(ZTLANC.VALOR),0) as TOTALTITULOS");
  titulos.SQL.Add("  FROM ZTLANC");
  AdicionarCondicoesTitulosAbertos(titulos.SQL);
  titulos.ParamByName("NUMTRANSENT").SetAsFloat(prNumTransEnt);
  titulos.Open();
  const double total_titulos = titulos.FieldByName("TOTALTITULOS").AsFloat();

  if (RoundTo(total_nota, 2) != RoundTo(total_titulos, 2)) return {};

  TOraQuery recnums(&sessao);
  recnums.SQL.Add("SELECT RECNUM");
  recnums.SQL.Add("  FROM ZTLANC");
  AdicionarCondicoesTitulosAbertos(recnums.SQL);
  recnums.SQL.Add(" ORDER BY RECNUM");
  recnums.ParamByName("NUMTRANSENT").SetAsFloat(prNumTransEnt);
  recnums.Open();
  std::string lista;
  for (recnums.First(); !recnums.Eof(); recnums.Next()) {
    if (!lista.empty()) lista += ',';
    lista += recnums.FieldByName("RECNUM").AsString();
  }
  return lista;
}

void TDALContasPagar::TravarOrcamento(double codconta, const std::string& codfilial, int ano) {
  TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
  consulta.SQL.Add(GetSQLTravarOrcamento());
  consulta.ParamByName("CODCONTA").SetAsFloat(codconta);
  consulta.ParamByName("CODFILIAL").SetAsString(codfilial);
  consulta.ParamByName("ANO").SetAsInteger(ano);
  consulta.Open();
}

double TDALContasPagar::ObterValorOrcado(double codconta, const std::string& codfilial, int ano, int mes) {
  TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
  consulta.SQL.Add(GetSQLValorOrcado(mes));
  consulta.ParamByName("CODCONTA").SetAsFloat(codconta);
  consulta.ParamByName("CODFILIAL").SetAsString(codfilial);
  consulta.ParamByName("ANO").SetAsInteger(ano);
  consulta.Open();
  return consulta.IsEmpty() ? 0.0 : consulta.FieldByName("VALOR").AsFloat();
}

double TDALContasPagar::ObterValorLancado(const std::string& tabela, bool pago, bool porCompetencia, double codconta,
                                          const std::string& codfilial, double recnum, int ano, int mes) {
  const auto [inicio, fim] = LimitesDoMes(ano, mes);
  TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
  consulta.SQL.SetText(GetSQLValorLancado(tabela, pago, porCompetencia));
  consulta.ParamByName("CODCONTA").SetAsFloat(codconta);
  consulta.ParamByName("CODFILIAL").SetAsString(codfilial);
  consulta.ParamByName("RECNUM").SetAsFloat(recnum);
  consulta.ParamByName("DTINICIO").SetAsDate(inicio);
  consulta.ParamByName("DTFIM").SetAsDate(fim);
  consulta.Open();
  return consulta.FieldByName("VALOR").AsFloat();
}

TDALContasPagar::TValoresOrcamento TDALContasPagar::LerOrcamento(double codconta, const std::string& codfilial,
                                                                 double recnum, int ano, int mes, bool porCompetencia,
                                                                 bool comRetidos) {
  TOraSession& sessao = Quorvin().SessaoAtual().BancoDados().Sessao();
  const auto ano_da_conta = [&](TOraQuery& consulta, const std::string& sql) {
    consulta.SQL.Add(sql);
    consulta.ParamByName("CODCONTA").SetAsFloat(codconta);
    consulta.ParamByName("CODFILIAL").SetAsString(codfilial);
    consulta.ParamByName("ANO").SetAsInteger(ano);
  };
  TOraQuery trava(&sessao);
  ano_da_conta(trava, GetSQLTravarOrcamento());
  TOraQuery orcado(&sessao);
  ano_da_conta(orcado, GetSQLValorOrcado(mes));
  const auto [inicio, fim] = LimitesDoMes(ano, mes);
  // Paid then open of ZTLANC, then the same of ZTLANCBLOQ.
  TOraQuery lancados[4] = {TOraQuery(&sessao), TOraQuery(&sessao), TOraQuery(&sessao), TOraQuery(&sessao)};
  const std::size_t quantos = comRetidos ? 4 : 2;
  TOraPipeline lote(&sessao);
  lote.Open(trava);
  lote.Open(orcado);
  for (std::size_t indice = 0; indice < quantos; ++indice) {
    TOraQuery& consulta = lancados[indice];
    consulta.SQL.SetText(GetSQLValorLancado(indice < 2 ? "ZTLANC" : "ZTLANCBLOQ", indice % 2 == 0, porCompetencia));
    consulta.ParamByName("CODCONTA").SetAsFloat(codconta);
    consulta.ParamByName("CODFILIAL").SetAsString(codfilial);
    consulta.ParamByName("RECNUM").SetAsFloat(recnum);
    consulta.ParamByName("DTINICIO").SetAsDate(inicio);
    consulta.ParamByName("DTFIM").SetAsDate(fim);
    lote.Open(consulta);
  }
  lote.Execute();
  TValoresOrcamento valores;
  valores.Orcado = orcado.IsEmpty() ? 0.0 : orcado.FieldByName("VALOR").AsFloat();
  for (std::size_t indice = 0; indice < quantos; ++indice) {
    (indice % 2 == 0 ? valores.Pago : valores.Aberto) += lancados[indice].FieldByName("VALOR").AsFloat();
  }
  return valores;
}

const std::vector<std::string>& TDALContasPagar::ColunasTabelaZTLANC() {
  if (FColunasZTLANC.empty()) {
    TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
    consulta.SQL.Add("SELECT COLUMN_NAME FROM USER_TAB_COLUMNS WHERE UPPER(TABLE_NAME) = 'ZTLANC' ORDER BY COLUMN_ID");
    consulta.Open();
    std::vector<std::string> colunas;
    std::set<std::string> vistas;  // the dictionary may list a same-named table of another schema too
    for (consulta.First(); !consulta.Eof(); consulta.Next()) {
      std::string coluna = UpperAscii(consulta.FieldByName("COLUMN_NAME").AsString());
      if (vistas.insert(coluna).second) colunas.push_back(std::move(coluna));
    }
    if (colunas.empty()) throw Exception("A tabela ZTLANC não foi encontrada no dicionário de dados.");
    FColunasZTLANC = std::move(colunas);
  }
  return FColunasZTLANC;
}

void TDALContasPagar::InserirRecado(double codfuncdest, const std::string& assunto, const std::string& texto) {
  TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
  consulta.SQL.Add(
      "INSERT INTO ZTRECFUNC (CODFUNCAB, DTAB, CODSETORORIG, CODSETORDEST, CODFUNCDEST, ASSUNTO, TEXTORECADO, "
      "NUMRECADO) VALUES (:CODFUNCAB, SYSDATE, 0, 0, :CODFUNCDEST, :ASSUNTO, :TEXTORECADO, DFSEQ_ZTRECFUNC.NEXTVAL)");
  consulta.ParamByName("CODFUNCAB").SetAsInteger(Quorvin().SessaoAtual().Usuario().Matricula());
  if (codfuncdest > 0) {
    consulta.ParamByName("CODFUNCDEST").SetAsFloat(codfuncdest);
  } else {
    consulta.ParamByName("CODFUNCDEST").Clear();
  }
  consulta.ParamByName("ASSUNTO").SetAsString(assunto);
  consulta.ParamByName("TEXTORECADO").SetAsString(texto);
  consulta.ExecSQL();
}

std::optional<TDALContasPagar::TLancamentoRetido> TDALContasPagar::LerLancamentoRetido(double recnum) {
  std::string colunas;
  for (const std::string& coluna : ColunasTabelaZTLANC()) {
    if (!colunas.empty()) colunas += ", ";
    colunas += coluna;
  }
  TOraQuery retido(&Quorvin().SessaoAtual().BancoDados().Sessao());
  retido.SQL.SetText(GetSQLLancamentoRetido(colunas));
  retido.ParamByName("RECNUM").SetAsFloat(recnum);
  retido.Open();
  if (retido.IsEmpty()) return std::nullopt;
  TLancamentoRetido lido;
  lido.Lancamento.Inicializar();
  PreencherRegistro(CamposDaConsulta(retido), lido.Lancamento);
  lido.CODMOEDABAIXA = retido.FieldByName("CODMOEDABAIXA").AsString();
  lido.Rejeitado = !retido.FieldByName("DTREJEICAOSUPLORC").IsNull();
  return lido;
}

void TDALContasPagar::AprovarSuplementacao(const TLancamentoRetido& retido, double recnum, double aprovador) {
  TOraSession& sessao = Quorvin().SessaoAtual().BancoDados().Sessao();
  std::string colunas;
  for (const std::string& coluna : ColunasTabelaZTLANC()) {
    if (!colunas.empty()) colunas += ", ";
    colunas += coluna;
  }
  try {
    TOraQuery copia(&sessao);
    copia.SQL.Add("INSERT INTO ZTLANC (" + colunas + ")");
    copia.SQL.Add("SELECT " + colunas);
    copia.SQL.Add("  FROM ZTLANCBLOQ");
    copia.SQL.Add(" WHERE RECNUM = :RECNUM");
    copia.ParamByName("RECNUM").SetAsFloat(recnum);
    copia.ExecSQL();
  } catch (const std::exception& erro) {
    std::throw_with_nested(Exception(std::string("Erro ao tentar Inserir ZTLANC da suplementação. \r") + erro.what()));
  }
  const TDateTime hoje = Quorvin().SessaoAtual().BancoDados().DataServidor();
  RegistrarAprovacao(sessao, "ZTLANC", aprovador, hoje, recnum);
  if (retido.Rejeitado) {
    TOraQuery revogar(&sessao);
    revogar.SQL.Add("UPDATE ZTLANC SET DTREJEICAOSUPLORC = NULL WHERE RECNUM = :RECNUM");
    revogar.ParamByName("RECNUM").SetAsFloat(recnum);
    revogar.ExecSQL();
  }
  TOraQuery rateio(&sessao);
  rateio.SQL.Add(std::string("INSERT INTO ZTRATEIOCENTROCUSTO (") + kColunasRateio + ")");
  rateio.SQL.Add(std::string("SELECT ") + kColunasRateio);
  rateio.SQL.Add("  FROM ZTRATEIOCENTROCUSTOBLOQ");
  rateio.SQL.Add(" WHERE RECNUM = :RECNUM");
  rateio.ParamByName("RECNUM").SetAsFloat(recnum);
  rateio.ExecSQL();
  RegistrarAprovacao(sessao, "ZTRATEIOCENTROCUSTO", aprovador, hoje, recnum);
}

void TDALContasPagar::ExcluirLancamentoRetido(double recnum) {
  TOraSession& sessao = Quorvin().SessaoAtual().BancoDados().Sessao();
  TOraQuery exclusao(&sessao);
  exclusao.SQL.Add("DELETE FROM ZTLANCBLOQ WHERE RECNUM = :RECNUM");
  exclusao.ParamByName("RECNUM").SetAsFloat(recnum);
  exclusao.ExecSQL();
  TOraQuery exclusao_rateio(&sessao);
  exclusao_rateio.SQL.Add("DELETE FROM ZTRATEIOCENTROCUSTOBLOQ WHERE RECNUM = :RECNUM");
  exclusao_rateio.ParamByName("RECNUM").SetAsFloat(recnum);
  exclusao_rateio.ExecSQL();
}

double TDALContasPagar::MatriculaPorNomeGuerra(const std::string& nome_guerra) {
  TOraQuery requisitante(&Quorvin().SessaoAtual().BancoDados().Sessao());
  requisitante.SQL.Add("SELECT MATRICULA FROM ZTEMPR WHERE NOME_GUERRA = :NOME_GUERRA");
  requisitante.ParamByName("NOME_GUERRA").SetAsString(nome_guerra);
  requisitante.Open();
  return requisitante.IsEmpty() ? 0.0 : requisitante.FieldByName("MATRICULA").AsFloat();
}

TDALContasPagar::TSituacaoRetido TDALContasPagar::TravarLancamentoRetido(double recnum) {
  TOraQuery retido(&Quorvin().SessaoAtual().BancoDados().Sessao());
  retido.SQL.SetText(GetSQLTravarLancamentoRetido());
  retido.ParamByName("RECNUM").SetAsFloat(recnum);
  retido.Open();
  if (retido.IsEmpty()) return TSituacaoRetido::Ausente;
  return retido.FieldByName("DTREJEICAOSUPLORC").IsNull() ? TSituacaoRetido::Retido : TSituacaoRetido::Rejeitado;
}

bool TDALContasPagar::ExisteNotaEntrada(double numtransent) {
  try {
    TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
    consulta.SQL.Add("SELECT NUMTRANSENT FROM ZTNFENT WHERE NUMTRANSENT = :NUMTRANSENT");
    consulta.ParamByName("NUMTRANSENT").SetAsFloat(numtransent);
    consulta.Open();
    return !consulta.IsEmpty();
  } catch (const std::exception& erro) {
    std::throw_with_nested(Exception(std::string("Erro ao consultar ZTNFENT \r") + erro.what()));
  }
}

void TDALContasPagar::RejeitarSuplementacao(const RFin_RejeitarSuplementacao& registro) {
  try {
    IQuorvinSessao& sessao_host = Quorvin().SessaoAtual();
    TOraSession& sessao = sessao_host.BancoDados().Sessao();
    const int usuario = sessao_host.Usuario().Matricula();

    TOraQuery rejeicao(&sessao);
    rejeicao.SQL.Add(
        "UPDATE ZTLANCBLOQ SET DTREJEICAOSUPLORC = :DTREJEICAOSUPLORC, CODFUNCREJEICAOSUPLORC = "
        ":CODFUNCREJEICAOSUPLORC, HISTORICOREJEICAOSUPLORC = :HISTORICOREJEICAOSUPLORC WHERE RECNUM = :RECNUM");
    rejeicao.ParamByName("DTREJEICAOSUPLORC").SetAsDateTime(sessao_host.BancoDados().DataServidor());
    rejeicao.ParamByName("CODFUNCREJEICAOSUPLORC").SetAsInteger(usuario);
    rejeicao.ParamByName("HISTORICOREJEICAOSUPLORC").SetAsString(registro.HISTORICOREJEICAO);
    rejeicao.ParamByName("RECNUM").SetAsFloat(registro.RECNUM);
    rejeicao.ExecSQL();

    if (registro.CODSERVICO > 0) {
      TOraQuery servico(&sessao);
      servico.SQL.Add("DELETE FROM ZTSERVICOSPEDEFD WHERE CODSERVICO = :CODSERVICO");
      servico.ParamByName("CODSERVICO").SetAsFloat(registro.CODSERVICO);
      servico.ExecSQL();
    }

    InserirRecado(
        usuario, "Rejeição de suplementação",
        "Lançamento RecNum: " + ShortestDecimal(registro.RECNUM) + " rejeitado. " + "\r" + registro.HISTORICOREJEICAO);
  } catch (const std::exception& erro) {
    std::throw_with_nested(Exception(std::string("Erro ao rejeitar a suplementação\r") + erro.what()));
  }
}
