// Data access of bordero settlement, slip-free reversal and closed periods: the statements of the
// payable area that pay, copy and reverse entries, and the lock check run before a settlement.
#include <cmath>
#include <exception>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "oradb/EOraError.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "payable/Uclsfin_dalcontaspagar.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

namespace {

// A table name pasted into the lock statements: letters, digits, "_", "$" and "#" only.
[[nodiscard]] bool NomeDeTabela(const std::string& tabela) {
  if (tabela.empty() || tabela.size() > 128) return false;
  for (char c : tabela) {
    const bool valido = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                        c == '$' || c == '#' || c == '.';
    if (!valido) return false;
  }
  return true;
}

constexpr const char* kHistoricoDesconto = "DESCONTO FINANC. PAG. DUPLICATA";
constexpr const char* kHistoricoJuros = "JUROS PAG. DUPLICATA";
constexpr const char* kHistoricoAgio = "VARIACAO CAMBIAL AGIO";
constexpr const char* kHistoricoDesagio = "VARIACAO CAMBIAL DESAGIO";

void ExigirConta(double conta, const char* parametro, const char* uso) {
  if (conta <= 0) {
    throw Exception(std::string("O parâmetro ") + parametro + " (conta do lançamento de " + uso +
                    ") não está informado: não é possível gerar o lançamento adicional.");
  }
}

// One side entry to post: value, account, history.
struct LancamentoAdicional {
  double Valor;
  double Conta;
  const char* Historico;
};

}  // namespace

bool TDALContasPagar::QuitarContasPagarBordero(const RFin_IncluirContasPagar& registro,
                                               const TContasLancamentoAdicional& contas, TDateTime hoje) {
  IQuorvinSessao& sessao_host = Quorvin().SessaoAtual();
  const double recnum = registro.RECNUM;

  // What the side entries will be, from the record's values and the entry's allowances, decided
  // before anything is written: an account they need that is not set refuses the whole entry.
  std::vector<LancamentoAdicional> adicionais;
  double devolucao_verbas = 0;
  if (registro.VALORDEV > 0) devolucao_verbas = RoundTo(ObterDevolucaoVerbas(recnum), 2);
  double desconto_verbas = 0;
  if (registro.DESCONTOFIN > 0) {
    for (const auto& [conta, valor] : ObterDescontoVerbas(recnum)) {
      const double lancado = RoundTo(-valor, 2);
      adicionais.push_back({lancado, conta, kHistoricoDesconto});
      desconto_verbas += lancado;
    }
  }
  const double desconto = RoundTo(devolucao_verbas + desconto_verbas + RoundTo(registro.DESCONTOFIN, 2), 2);
  if (desconto > 0) {
    ExigirConta(contas.CodContaDesconto, "CON_CODCONTANTPAG", "desconto");
    adicionais.push_back({-desconto, contas.CodContaDesconto, kHistoricoDesconto});
  }
  const double juros = RoundTo(registro.TXPERM, 2);
  if (juros > 0) {
    ExigirConta(contas.CodContaJuros, "CON_CODCONTPAGJUR", "juros");
    adicionais.push_back({juros, contas.CodContaJuros, kHistoricoJuros});
  }
  const double variacao = RoundTo(registro.VLVARIACAOCAMBIAL, 2);
  if (variacao != 0) {
    ExigirConta(contas.CodContaCambial, "CON_CODCONTACAMBIAL", "variação cambial");
    adicionais.push_back({variacao, contas.CodContaCambial, variacao > 0 ? kHistoricoAgio : kHistoricoDesagio});
  }

  TOraQuery quitacao(&sessao_host.BancoDados().Sessao());
  quitacao.SQL.SetText(GetSQLUpdateZTLANC(""));
  quitacao.ParamByName("RECNUM").SetAsFloat(recnum);
  if (registro.NUMTRANS > 0) {
    quitacao.ParamByName("NUMTRANS").SetAsFloat(registro.NUMTRANS);
  } else {
    quitacao.ParamByName("NUMTRANS").Clear();
  }
  if (registro.NUMBANCO > 0) {
    quitacao.ParamByName("NUMBANCO").SetAsFloat(registro.NUMBANCO);
  } else {
    quitacao.ParamByName("NUMBANCO").Clear();
  }
  quitacao.ParamByName("CODFUNCBAIXA").SetAsInteger(sessao_host.Usuario().Matricula());
  quitacao.ParamByName("CODROTINABAIXA").SetAsInteger(sessao_host.Usuario().CodigoRotina());
  quitacao.ParamByName("DTPAGTO").SetAsDateTime(registro.DTPAGTO.Value() > 0 ? registro.DTPAGTO.DateOnly() : hoje);
  quitacao.ParamByName("AUTENTICACAO").SetAsString(registro.AUTENTICACAO);
  quitacao.ExecSQL();
  // Paid already (by an earlier settlement or a session that got there first): its side entries
  // exist already, or never belonged to this payment.
  if (quitacao.RowsAffected() != 1) return false;

  for (const LancamentoAdicional& adicional : adicionais) {
    IncluirLancamentoAdicional(recnum, adicional.Valor, adicional.Conta, adicional.Historico);
  }
  return true;
}

double TDALContasPagar::IncluirLancamentoAdicional(double recnum, double valor, double codconta,
                                                   const std::string& historico) {
  const double novo = Quorvin().Numeracao().ProximoRecNum();
  TOraQuery copia(&Quorvin().SessaoAtual().BancoDados().Sessao());
  if (FSQLLancamentoAdicional.empty())
    FSQLLancamentoAdicional = GetSQLIncluirLancamentoAdicional(ColunasTabelaZTLANC());
  copia.SQL.SetText(FSQLLancamentoAdicional);
  copia.ParamByName("RECNUMNOVO").SetAsFloat(novo);
  copia.ParamByName("VALOR").SetAsFloat(RoundTo(valor, 2));
  copia.ParamByName("CODCONTA").SetAsFloat(codconta);
  copia.ParamByName("HISTORICO").SetAsString(Utf8Left(historico, 40));
  copia.ParamByName("RECNUM").SetAsFloat(recnum);
  copia.ExecSQL();
  if (copia.RowsAffected() != 1) {
    throw Exception("O lançamento RECNUM " + ShortestDecimal(recnum) +
                    " não foi encontrado para gerar o lançamento adicional.");
  }
  return novo;
}

std::vector<TDALContasPagar::TLancamentoAdicional> TDALContasPagar::ObterLancamentosAdicionais(double numbordero) {
  TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
  consulta.SQL.SetText(GetSQLLancamentosAdicionais());
  consulta.ParamByName("NUMBORDERO").SetAsFloat(numbordero);
  consulta.Open();
  std::vector<TLancamentoAdicional> lancamentos;
  for (consulta.First(); !consulta.Eof(); consulta.Next()) {
    lancamentos.push_back({consulta.FieldByName("CODFILIAL").AsString(), consulta.FieldByName("CODCONTA").AsFloat(),
                           consulta.FieldByName("RECNUM").AsFloat(), consulta.FieldByName("VALOR").AsFloat(),
                           consulta.FieldByName("DTLANC").AsDateTime()});
  }
  return lancamentos;
}

double TDALContasPagar::ObterDevolucaoVerbas(double recnum) {
  TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
  consulta.SQL.SetText(GetSQLDevolucaoVerbas());
  consulta.ParamByName("RECNUM").SetAsFloat(recnum);
  consulta.Open();
  return consulta.FieldByName("VALORDEV").AsFloat();
}

std::vector<std::pair<double, double>> TDALContasPagar::ObterDescontoVerbas(double recnum) {
  TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
  consulta.SQL.SetText(GetSQLDescontoVerbas());
  consulta.ParamByName("RECNUM").SetAsFloat(recnum);
  consulta.Open();
  std::vector<std::pair<double, double>> descontos;
  for (consulta.First(); !consulta.Eof(); consulta.Next()) {
    descontos.emplace_back(consulta.FieldByName("CODCONTA").AsFloat(), consulta.FieldByName("VLDESCVERBA").AsFloat());
  }
  return descontos;
}

bool TDALContasPagar::UpdateZTLancParaAtenderProcesso1804(double recnum, double numbordero, double numbanco,
                                                          const std::string& assinatura, const std::string& historico,
                                                          double descontofin, double txperm) {
  TOraQuery atualizacao(&Quorvin().SessaoAtual().BancoDados().Sessao());
  atualizacao.SQL.SetText(GetSQLUpdateProcesso1804());
  atualizacao.ParamByName("NUMBORDERO").SetAsFloat(numbordero);
  atualizacao.ParamByName("NUMBANCO").SetAsFloat(numbanco);
  atualizacao.ParamByName("ASSINATURA").SetAsString(assinatura);
  atualizacao.ParamByName("DESCONTOFIN").SetAsFloat(RoundTo(descontofin, 2));
  atualizacao.ParamByName("TXPERM").SetAsFloat(RoundTo(txperm, 2));
  atualizacao.ParamByName("HISTORICO").SetAsString(Utf8Left(historico, 200));
  atualizacao.ParamByName("RECNUM").SetAsFloat(recnum);
  atualizacao.ExecSQL();
  return atualizacao.RowsAffected() > 0;
}

bool TDALContasPagar::ValidarLockRegistro(const std::string& tabela, const std::string& filtro,
                                          const std::string& operacao, TOraQuery* consulta) {
  // The name reaches the holders' query too, whichever statement takes the lock.
  if (!NomeDeTabela(tabela)) throw Exception("Nome de tabela inválido: \"" + tabela + "\".");
  TOraSession& sessao = Quorvin().SessaoAtual().BancoDados().Sessao();
  const auto travar = [&] {
    TOraQuery propria(&sessao);
    TOraQuery& trava = consulta != nullptr ? *consulta : propria;
    if (consulta != nullptr) {
      std::string texto = UpperAscii(consulta->SQL.Text());
      if (texto.find("FOR UPDATE") == std::string::npos) {
        consulta->SQL.Add("FOR UPDATE");
        texto += "FOR UPDATE";
      }
      if (texto.find("NOWAIT") == std::string::npos) consulta->SQL.Add("NOWAIT");
    } else {
      propria.SQL.SetText(GetSQLTravarRegistros(tabela, filtro));
    }
    // The failure of a busy row must leave the transaction usable for the holders' query.
    trava.SetStatementSavepoint(true);
    try {
      trava.Open();
    } catch (const EOraBusy&) {
      trava.SetStatementSavepoint(false);
      return false;
    }
    trava.SetStatementSavepoint(false);
    return true;
  };
  if (travar()) return true;
  std::string blocos = BlocosDetentoresLock(tabela);
  // A holder that ended between the failure and the look-up leaves no trace: one more try decides.
  if (blocos.empty()) {
    if (travar()) return true;
    blocos = BlocosDetentoresLock(tabela);
  }
  throw Exception(MensagemLock(tabela, filtro, operacao, blocos));
}

std::string TDALContasPagar::BlocosDetentoresLock(const std::string& tabela) {
  TOraQuery detentores(&Quorvin().SessaoAtual().BancoDados().Sessao());
  detentores.SQL.SetText(GetSQLDetentoresLock(tabela));
  detentores.Open();
  std::string blocos;
  for (detentores.First(); !detentores.Eof(); detentores.Next()) {
    const std::string sid = detentores.FieldByName("SID").AsString();
    const std::string osuser = detentores.FieldByName("OSUSER").AsString();
    if (!detentores.FieldByName("MATRICULAQUOR").IsNull()) {
      blocos += "Usuário quorvin.: " + detentores.FieldByName("MATRICULAQUOR").AsString() + " - " +
                detentores.FieldByName("NOMEQUOR").AsString() + "\r" + "Usuário de rede.: " + osuser + "\r" +
                "Rotina.................: " + detentores.FieldByName("PROGRAMAQUOR").AsString() + "\r" +
                "Máquina.............: " + detentores.FieldByName("TERMINALQUOR").AsString() + "\r" +
                "Processo.............: " + sid;
    } else {
      blocos += "Usuário quorvin.: Trava gerada por programa externo ao Quorvin\rUsuário de rede.: " + osuser + "\r" +
                "Programa...........: " + detentores.FieldByName("PROGRAM").AsString() + "\r" +
                "Máquina.............: " + detentores.FieldByName("TERMINAL").AsString() + "\r" +
                "Processo.............: " + sid;
    }
    blocos += "\r\r";
  }
  return blocos;
}

bool TDALContasPagar::TravarLancamento(double recnum) {
  TOraQuery trava(&Quorvin().SessaoAtual().BancoDados().Sessao());
  trava.SQL.Add("SELECT RECNUM FROM ZTLANC WHERE RECNUM = :RECNUM FOR UPDATE");
  trava.ParamByName("RECNUM").SetAsFloat(recnum);
  trava.Open();
  return !trava.IsEmpty();
}

void TDALContasPagar::EstornarLancamento(double recnum) {
  IQuorvinSessao& sessao_host = Quorvin().SessaoAtual();
  TOraSession& sessao = sessao_host.BancoDados().Sessao();
  const int usuario = sessao_host.Usuario().Matricula();
  const int rotina = sessao_host.Usuario().CodigoRotina();
  const TDateTime hoje = sessao_host.BancoDados().DataServidor();

  TOraQuery estorno(&sessao);
  estorno.SQL.SetText(
      GetSQLUpdateZTLANC("DTESTORNOBAIXA = TRUNC(SYSDATE), CODFUNCESTORNOBAIXA = :CODFUNCESTORNOBAIXA"));
  estorno.ParamByName("RECNUM").SetAsFloat(recnum);
  estorno.ParamByName("NUMTRANS").Clear();
  estorno.ParamByName("NUMBANCO").Clear();
  estorno.ParamByName("CODFUNCBAIXA").SetAsInteger(usuario);
  estorno.ParamByName("CODFUNCESTORNOBAIXA").SetAsInteger(usuario);
  estorno.ParamByName("CODROTINABAIXA").SetAsInteger(rotina);
  estorno.ParamByName("DTPAGTO").SetAsDateTime(hoje);
  estorno.ParamByName("AUTENTICACAO").Clear();
  estorno.ExecSQL();
  if (estorno.RowsAffected() != 1) {
    throw Exception("Não foi encontrado o lançamento RECNUM " + ShortestDecimal(recnum) + " para ser estornado.");
  }

  std::vector<RFin_IncluirContasPagar> lidos = GetListaLancamento(ShortestDecimal(recnum));
  if (lidos.empty()) {
    throw Exception("Não foi encontrado o lançamento RECNUM " + ShortestDecimal(recnum) + " para ser estornado.");
  }
  RFin_IncluirContasPagar contra = lidos.front();
  contra.RECNUM = Quorvin().Numeracao().ProximoRecNum();
  contra.HISTORICO = "REF. CANC. NF Nº " + ShortestDecimal(contra.NUMNOTA);
  contra.VALOR = -contra.VALOR;
  contra.VPAGO = -contra.VPAGO;
  contra.VPAGOBORDERO = -contra.VPAGOBORDERO;
  contra.CODFUNCBAIXA = usuario;
  contra.CODROTINABAIXA = rotina;
  contra.DTESTORNOBAIXA = hoje;
  contra.CODFUNCESTORNOBAIXA = usuario;
  contra.DTLANC = hoje;
  IncluirLancamento(contra, false, false);
}

bool TDALContasPagar::VerificarPeriodoBloqueado(const std::string& codfilial, TDateTime data) {
  TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
  consulta.SQL.SetText(GetSQLPeriodoBloqueado());
  consulta.ParamByName("ANO").SetAsInteger(data.Year());
  consulta.ParamByName("CODFILIAL").SetAsString(codfilial);
  consulta.ParamByName("MES").SetAsInteger(data.Month());
  consulta.ParamByName("DIA").SetAsInteger(data.Day());
  consulta.Open();
  return consulta.FieldByName("QTD").AsInteger() > 0;
}

int TDALContasPagar::ContarVerbas(const std::string& historico) {
  TOraQuery consulta(&Quorvin().SessaoAtual().BancoDados().Sessao());
  consulta.SQL.Add("SELECT COUNT(*) QTD FROM ZTVERBA WHERE HISTORICO = :HISTORICO AND DTESTORNO IS NULL");
  consulta.ParamByName("HISTORICO").SetAsString(historico);
  consulta.Open();
  return static_cast<int>(consulta.FieldByName("QTD").AsInteger());
}

std::string TDALContasPagar::IncluirTituloEstornoFrete(double numtransvenda, const std::string& codfilial,
                                                       double codcli, const std::string& codcob, double numnota,
                                                       double codusur, double valor) {
  TOraSession& sessao = Quorvin().SessaoAtual().BancoDados().Sessao();
  TOraQuery prestacoes(&sessao);
  prestacoes.SQL.Add("SELECT PREST FROM ZTPREST WHERE NUMTRANSVENDA = :NUMTRANSVENDA");
  prestacoes.ParamByName("NUMTRANSVENDA").SetAsFloat(numtransvenda);
  prestacoes.Open();
  std::set<std::string> usadas;
  for (prestacoes.First(); !prestacoes.Eof(); prestacoes.Next()) {
    usadas.insert(Trim(prestacoes.FieldByName("PREST").AsString()));
  }
  std::string prest;
  for (int numero = 1; numero <= 99 && prest.empty(); ++numero) {
    if (!usadas.contains(std::to_string(numero))) prest = std::to_string(numero);
  }
  if (prest.empty()) {
    throw Exception("A transação de venda " + ShortestDecimal(numtransvenda) +
                    " não tem prestação livre para o título.");
  }
  const TDateTime hoje = Quorvin().SessaoAtual().BancoDados().DataServidor();
  TOraQuery titulo(&sessao);
  titulo.SQL.Add("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODUSUR, CODCOB, DTEMISSAO,");
  titulo.SQL.Add("                     DTVENC, DTVENCORIG, VALOR, OBS2)");
  titulo.SQL.Add("VALUES (:NUMTRANSVENDA, :PREST, :DUPLIC, :CODFILIAL, :CODCLI, :CODUSUR, :CODCOB, :DTEMISSAO,");
  titulo.SQL.Add("        :DTVENC, :DTVENC, :VALOR, 'ESTORNO DE CONHECIMENTO DE FRETE AUTOMATICO')");
  titulo.ParamByName("NUMTRANSVENDA").SetAsFloat(numtransvenda);
  titulo.ParamByName("PREST").SetAsString(prest);
  titulo.ParamByName("DUPLIC").SetAsFloat(numnota);
  titulo.ParamByName("CODFILIAL").SetAsString(codfilial);
  titulo.ParamByName("CODCLI").SetAsFloat(codcli);
  titulo.ParamByName("CODUSUR").SetAsFloat(codusur);
  titulo.ParamByName("CODCOB").SetAsString(codcob);
  titulo.ParamByName("DTEMISSAO").SetAsDateTime(hoje);
  titulo.ParamByName("DTVENC").SetAsDateTime(hoje);
  titulo.ParamByName("VALOR").SetAsFloat(RoundTo(valor, 2));
  titulo.ExecSQL();
  return prest;
}
