#include "customercredit/Uclsfin_dalcreditocliente.h"

#include <exception>
#include <fstream>

#include "customercredit/ColunasAtualizaveis.h"
#include "frame/Uclsfin_except.h"
#include "frame/Uconstantes.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSQL.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace {

constexpr const char* kMetodoInclusao = "IncluirCreditoCliente";

void NumeroOuNulo(TOraQuery& q, const char* nome, double valor) {
  if (valor > 0) {
    q.ParamByName(nome).SetAsFloat(valor);
  } else {
    q.ParamByName(nome).Clear();
  }
}

void TextoOuNulo(TOraQuery& q, const char* nome, const std::string& valor) {
  if (valor.empty()) {
    q.ParamByName(nome).Clear();
  } else {
    q.ParamByName(nome).SetAsString(valor);
  }
}

[[nodiscard]] std::string Titulo(const TContasReceberZTPrest& t) {
  return ShortestDecimal(t.DUPLIC) + "-" + t.PREST;
}

}  // namespace

TDALCreditoCliente::TDALCreditoCliente(TComponent* owner) : TBaseSubModulo(owner) {}

TDALCreditoCliente::~TDALCreditoCliente() = default;

TOraSession& TDALCreditoCliente::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

std::string TDALCreditoCliente::NomeArquivo(const std::string& caminho) {
  const std::size_t barra = caminho.find_last_of("/\\");
  return barra == std::string::npos ? caminho : caminho.substr(barra + 1);
}

// ---- Credit rows

bool TDALCreditoCliente::InserirZTCreCli(const TCreditoCliente& c) {
  InserirLog("InserirZTCreCli-Inicio", kMetodoInclusao, c);
  try {
    IQuorvinUsuario& usuario = Quorvin().SessaoAtual().Usuario();
    TOraQuery q(&Sessao());
    q.SQL = GetSQLInserirZTCreCli();
    q.ParamByName("CODCLI").SetAsFloat(c.CODCLI);
    q.ParamByName("CODFILIAL").SetAsString(c.CODFILIAL);
    NumeroOuNulo(q, "NUMNOTA", c.NUMNOTA);
    NumeroOuNulo(q, "NUMTRANSVENDA", c.NUMTRANSVENDA);
    TextoOuNulo(q, "SERIE", c.SERIE);
    if (c.VALOR == 0) {
      q.ParamByName("VALOR").Clear();
    } else {
      q.ParamByName("VALOR").SetAsFloat(c.VALOR);
    }
    q.ParamByName("DTDESCONTO").SetAsDateOrNull(c.DTDESCONTO);
    TextoOuNulo(q, "CODFILIALDESC", c.CODFILIALDESC);
    TextoOuNulo(q, "SERIEDESC", c.SERIEDESC);
    NumeroOuNulo(q, "NUMNOTADESC", c.NUMNOTADESC);
    q.ParamByName("CODFUNC").SetAsFloat(c.CODFUNC > 0 ? c.CODFUNC : usuario.Matricula());
    TextoOuNulo(q, "ORIGEM", c.ORIGEM);
    NumeroOuNulo(q, "NUMTRANSVENDADESC", c.NUMTRANSVENDADESC);
    NumeroOuNulo(q, "NUMTRANSENTDEVCLI", c.NUMTRANSENTDEVCLI);
    TextoOuNulo(q, "HISTORICO", c.HISTORICO);
    q.ParamByName("CODFUNCLANC").SetAsFloat(c.CODFUNCLANC > 0 ? c.CODFUNCLANC : usuario.Matricula());
    NumeroOuNulo(q, "NUMPED", c.NUMPED);
    if (!c.Movimentacao) {
      q.ParamByName("NUMERARIO").Clear();
    } else {
      q.ParamByName("NUMERARIO")
          .SetAsString(c.Movimentacao->Tipo == TTipoMovimentacaoFinanceira::tMovimentarNumerario ? "S" : "N");
    }
    NumeroOuNulo(q, "CODMOVIMENTO", c.CODMOVIMENTO);
    NumeroOuNulo(q, "NUMLANCBAIXA", c.NUMLANCBAIXA);
    NumeroOuNulo(q, "NUMTRANSBAIXA", c.NUMTRANSBAIXA);
    NumeroOuNulo(q, "NUMLANC", c.NUMLANC);
    NumeroOuNulo(q, "NUMTRANS", c.NUMTRANS);
    NumeroOuNulo(q, "NUMPEDECF", c.NUMPEDECF);
    NumeroOuNulo(q, "NUMCAIXA", c.NUMCAIXA);
    NumeroOuNulo(q, "CODFUNCCX", c.CODFUNCCX);
    TextoOuNulo(q, "NUMSERIEEQUIP", c.NUMSERIEEQUIP);
    q.ParamByName("CODROTINA").SetAsInteger(usuario.CodigoRotina());
    TextoOuNulo(q, "PRESTRESTCLI", c.PRESTRESTCLI);
    TextoOuNulo(q, "SITUACAO", c.SITUACAO);
    NumeroOuNulo(q, "NUMINDENIZ", c.NUMINDENIZ);
    TextoOuNulo(q, "OBS", c.OBS);
    TextoOuNulo(q, "CODADMCARTAO", c.CODADMCARTAO);
    NumeroOuNulo(q, "NUMCUPOM", c.NUMCUPOM);
    TextoOuNulo(q, "NSUTEF", c.NSUTEF);
    NumeroOuNulo(q, "BIN", c.BIN);
    q.ParamByName("CODIGO").SetAsFloat(c.CODIGO > 0 ? c.CODIGO
                                                    : Quorvin().Numeracao().ProximoValorSequencia("DFSEQ_ZTCRECLI"));
    NumeroOuNulo(q, "VALORESTORNOLIBERADO", c.VALORESTORNOLIBERADO);
    NumeroOuNulo(q, "CODCLIORIG", c.CODCLIORIG);
    NumeroOuNulo(q, "NUMGIFTCARD", c.NUMGIFTCARD);
    q.ParamByName("DTEMISSAOTITULO").SetAsDateOrNull(c.DTEMISSAOTITULO);
    NumeroOuNulo(q, "NUMCRED", c.NUMCRED);
    q.ParamByName("DTESTORNO").SetAsDateOrNull(c.DTESTORNO);
    TextoOuNulo(q, "PRESTORIG", c.PRESTORIG);
    if (c.CODPLPAG > 0) {
      q.ParamByName("CODPLPAG").SetAsInteger(c.CODPLPAG);
    } else {
      q.ParamByName("CODPLPAG").Clear();
    }
    q.ExecSQL();
  } catch (const std::exception& falha) {
    InserirLog("InserirZTCreCli-Falhou", kMetodoInclusao, c);
    std::throw_with_nested(Exception(std::string("Falha no INSERT da tabela ZTCRECLI. \r") + falha.what()));
  }
  InserirLog("InserirZTCreCli-Fim", kMetodoInclusao, c);
  return true;
}

std::unique_ptr<TCreditoCliente> TDALCreditoCliente::ObterCredito(double pfCodigoCredito) {
  TOraQuery q(&Sessao());
  q.SQL = GetSQLObterCredito();
  q.ParamByName("CODIGO").SetAsFloat(pfCodigoCredito);
  InserirLog("ObterCredito-Inicio", "ObterCredito", pfCodigoCredito, 0, 0, 0, 0, "", "", 0, 0);
  q.Open();
  if (q.IsEmpty()) throw ExNaoExisteCreditoClienteParaCodigoInformado(pfCodigoCredito);
  if (q.RecordCount() > 1) throw ExExisteMaisDeUmCreditoClienteParaCodigoInformado(pfCodigoCredito);
  if (!q.FieldByName("DTESTORNO").IsNull()) throw ExCodigoCreditoClienteInformadoJaEstornado(pfCodigoCredito);
  std::unique_ptr<TCreditoCliente> c;
  try {
    const auto n = [&q](const char* campo) { return q.FieldByName(campo).AsFloat(); };
    const auto s = [&q](const char* campo) { return q.FieldByName(campo).AsString(); };
    const auto d = [&q](const char* campo) { return q.FieldByName(campo).AsDateTime(); };
    c = std::make_unique<TCreditoCliente>(n("CODCLI"), n("VALOR"), s("CODFILIAL"));
    c->DTLANC = d("DTLANC");
    c->NUMNOTA = n("NUMNOTA");
    c->NUMTRANSVENDA = n("NUMTRANSVENDA");
    c->SERIE = s("SERIE");
    c->DTDESCONTO = d("DTDESCONTO");
    c->CODFILIALDESC = s("CODFILIALDESC");
    c->SERIEDESC = s("SERIEDESC");
    c->NUMNOTADESC = n("NUMNOTADESC");
    c->CODFUNC = n("CODFUNC");
    c->HORA = n("HORA");
    c->MINUTO = n("MINUTO");
    c->ORIGEM = s("ORIGEM");
    c->NUMTRANSVENDADESC = n("NUMTRANSVENDADESC");
    c->NUMTRANSENTDEVCLI = n("NUMTRANSENTDEVCLI");
    c->HISTORICO = s("HISTORICO");
    c->CODFUNCLANC = n("CODFUNCLANC");
    c->NUMPED = n("NUMPED");
    c->NUMERARIO = s("NUMERARIO");
    c->CODMOVIMENTO = n("CODMOVIMENTO");
    c->NUMLANCBAIXA = n("NUMLANCBAIXA");
    c->NUMTRANSBAIXA = n("NUMTRANSBAIXA");
    c->NUMLANC = n("NUMLANC");
    c->NUMTRANS = n("NUMTRANS");
    c->NUMPEDECF = n("NUMPEDECF");
    c->NUMCAIXA = n("NUMCAIXA");
    c->CODFUNCCX = n("CODFUNCCX");
    c->NUMSERIEEQUIP = s("NUMSERIEEQUIP");
    c->CODROTINA = n("CODROTINA");
    c->PRESTRESTCLI = s("PRESTRESTCLI");
    c->SITUACAO = s("SITUACAO");
    c->NUMINDENIZ = n("NUMINDENIZ");
    c->OBS = s("OBS");
    c->CODADMCARTAO = s("CODADMCARTAO");
    c->NUMCUPOM = n("NUMCUPOM");
    c->NSUTEF = s("NSUTEF");
    c->BIN = n("BIN");
    c->CODIGO = n("CODIGO");
    c->VALORESTORNOLIBERADO = n("VALORESTORNOLIBERADO");
    c->CODCLIORIG = n("CODCLIORIG");
    c->NUMGIFTCARD = n("NUMGIFTCARD");
    c->DTEMISSAOTITULO = d("DTEMISSAOTITULO");
    c->NUMCRED = n("NUMCRED");
    c->DTESTORNO = d("DTESTORNO");
    c->PRESTORIG = s("PRESTORIG");
    const std::string plano = s("CODPLPAG");
    c->CODPLPAG = plano.empty() ? 0 : std::stoll(plano);
  } catch (const std::exception& falha) {
    std::throw_with_nested(Exception(std::string("Não foi possível ObterCredito.\r Erro original: ") + falha.what()));
  }
  InserirLog("ObterCredito-Fim", "ObterCredito", *c);
  return c;
}

bool TDALCreditoCliente::CreditoExiste(double pfCodigoCredito, std::string& psMsgErro) {
  InserirLog("CreditoExiste-Inicio", "CreditoExiste", pfCodigoCredito, 0, 0, 0, 0, "", "", 0, 0);
  if (pfCodigoCredito == 0) {
    psMsgErro = "Código zerado\r";
    InserirLog("CreditoExiste-Valida", "CreditoExiste", pfCodigoCredito, 0, 0, 0, 0, "", "", 0, 0);
    return false;
  }
  bool existe = false;
  try {
    TOraQuery q(&Sessao());
    q.SQL = GetSQLCreditoExiste();
    q.ParamByName("CODIGO").SetAsFloat(pfCodigoCredito);
    q.Open();
    existe = !q.IsEmpty();
  } catch (const std::exception& falha) {
    std::throw_with_nested(ExErroAoGravarCreditoCliente(psMsgErro + "\r" + falha.what()));
  }
  if (existe) {
    InserirLog("Código encontrado", "CreditoExiste", pfCodigoCredito, 0, 0, 0, 0, "", "", 0, 0);
  } else {
    psMsgErro = "Código não encontrado\r";
  }
  InserirLog("CreditoExiste-Fim", "CreditoExiste", pfCodigoCredito, 0, 0, 0, 0, "", "", 0, 0);
  return existe;
}

bool TDALCreditoCliente::UpdateZTCreCli(const TCreditoCliente& c, bool pbSomenteAberto) {
  try {
    TOraQuery q(&Sessao());
    q.SQL = GetSQLUpdateZTCreCli(c, pbSomenteAberto);
    const auto numero = [&q](double valor, const char* nome) {
      if (valor > 0) q.ParamByName(nome).SetAsFloat(valor);
    };
    const auto texto = [&q](const std::string& valor, const char* nome) {
      if (!valor.empty()) q.ParamByName(nome).SetAsString(valor);
    };
    const auto data = [&q](TDateTime valor, const char* nome) {
      if (valor.Value() > 0) q.ParamByName(nome).SetAsDateTime(valor);
    };
    ColunasAtualizaveis(c, numero, texto, data);
    if (c.CODPLPAG > 0) q.ParamByName("CODPLPAG").SetAsInteger(c.CODPLPAG);
    q.ParamByName("CODIGO").SetAsFloat(c.CODIGO);
    q.ExecSQL();
    return q.RowsAffected() > 0;
  } catch (const std::exception& falha) {
    std::throw_with_nested(Exception(std::string("Falha no UPDATE da tabela ZTCRECLI. \r") + falha.what()));
  }
}

// ---- Settlement of a title as credit

bool TDALCreditoCliente::BaixarTituloComoCredito(const TContasReceberZTPrest& t, bool pbConsideraDesconto) {
  try {
    IQuorvinUsuario& usuario = Quorvin().SessaoAtual().Usuario();
    {
      TOraQuery q(&Sessao());
      q.SQL = GetSQLDTPAGTitulo();
      q.ParamByName("NUMTRANSVENDA").SetAsFloat(t.NUMTRANSVENDA);
      q.ParamByName("PREST").SetAsString(t.PREST);
      q.Open();
      if (q.IsEmpty()) throw Exception("O título " + Titulo(t) + " não foi encontrado.");
      if (!q.FieldByName("DTPAG").IsNull()) {
        throw Exception("O título " + Titulo(t) + " já foi baixado por outro usuário !\rNão é permitido baixar mais " +
                        "de uma vez o mesmo título.\rA Baixa do Título será encerrada.");
      }
    }
    if (t.NUMASSOCDNI > 0) {
      throw Exception(
          "Esse título está associado a um DNI e não pode ser baixado com créditos. Favor fazer baixa do mesmo pela "
          "rotina 1207.");
    }
    if (t.VLDESCCUSTODIA > 0) {
      throw Exception("O título (cheque) " + Titulo(t) + " já foi descontado na custódia !\rA baixa manual deste " +
                      "título não é permitida.");
    }
    const double juros = RoundTo(t.TXPERM, 2);
    const double recebido = RoundTo(juros + t.VALOR - (pbConsideraDesconto ? t.VALORDESC : 0) + t.VLROUTROSACRESC, 2);
    if (recebido == 0) throw Exception("Não é permitido a baixa de título com Valor Recebido zerado.");
    const bool zerarDesconto = t.VALORDESC > 0 && !pbConsideraDesconto;
    TOraQuery q(&Sessao());
    q.SQL = GetSQLBaixarTituloComoCredito(juros > 0, t.CODFUNCCX > 0, t.CODFUNCFECHA > 0, zerarDesconto);
    q.ParamByName("VPAGO").SetAsFloat(recebido);
    q.ParamByName("CODBAIXA").SetAsInteger(usuario.Matricula());
    q.ParamByName("CODCOBORIG").SetAsString(t.CODCOB);
    if (juros > 0) q.ParamByName("TXPERM").SetAsFloat(juros);
    if (t.CODFUNCCX > 0) q.ParamByName("CODFUNCCXMOT").SetAsInteger(usuario.Matricula());
    if (t.CODFUNCFECHA > 0) q.ParamByName("CODFUNCFECHA").SetAsInteger(usuario.Matricula());
    q.ParamByName("CODFUNCULTALTER").SetAsInteger(usuario.Matricula());
    q.ParamByName("NUMTRANSVENDA").SetAsFloat(t.NUMTRANSVENDA);
    q.ParamByName("PREST").SetAsString(t.PREST);
    q.ExecSQL();
    // Another session paid it between the read and the update (it waited for that session's commit).
    if (q.RowsAffected() != 1) {
      throw Exception("O título " + Titulo(t) + " já foi baixado por outro usuário !\rNão é permitido baixar mais " +
                      "de uma vez o mesmo título.\rA Baixa do Título será encerrada.");
    }
    if (t.VALORDESC > 0 && pbConsideraDesconto) LancarDescontoTitulo(t);
  } catch (const std::exception& falha) {
    std::throw_with_nested(ExErroAoBaixarCreditoCliente(falha.what()));
  }
  return true;
}

void TDALCreditoCliente::LancarDescontoTitulo(const TContasReceberZTPrest& t) {
  IQuorvinSessao& host = Quorvin().SessaoAtual();
  const TDateTime hoje = host.BancoDados().DataServidor();
  RFin_IncluirContasPagar r;
  r.Inicializar();
  r.RECNUM = Quorvin().Numeracao().ProximoRecNum();
  r.TIPOLANC = "C";
  r.CODCONTA = Quorvin().Parametros().ValorNumerico("CON_CODCONTDESCCONC");
  r.CODFORNEC = t.CODCLI;
  r.HISTORICO = kHistoricoInclusao;
  r.NUMNOTA = t.DUPLIC;
  // The entry carries the discount granted, not the title's whole value.
  r.VALOR = RoundTo(t.VALORDESC, 2);
  r.VPAGO = r.VALOR;
  r.CODFILIAL = t.CODFILIAL;
  r.INDICE = "A";
  r.TIPOPARCEIRO = "C";
  r.NOMEFUNC =
      Utf8Left(host.BancoDados()
                   .Localizar("ZTEMPR", "NOME_GUERRA", "MATRICULA = " + std::to_string(host.Usuario().Matricula()))
                   .value_or(""),
               40);
  r.MOEDA = "R";
  r.DUPLIC = "1";
  r.DTLANC = hoje;
  r.DTVENC = hoje;
  r.DTEMISSAO = hoje;
  r.DTPAGTO = hoje;
  r.DTCOMPETENCIA = hoje;
  r.CODROTINACAD = std::to_string(host.Usuario().CodigoRotina());
  IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
  IFin_ContasPagar* contas = financeiro != nullptr ? financeiro->GetContasPagar() : nullptr;
  if (contas == nullptr) throw Exception("Contas a pagar indisponível no módulo financeiro.");
  if (!contas->Incluir(r)) throw Exception("O lançamento do desconto do título não foi incluído.");
}

// ---- Log

bool TDALCreditoCliente::InserirLog(const std::string& psObs, const std::string& psMetodo, const TCreditoCliente& c) {
  return InserirLog(psObs, psMetodo, c.CODIGO, c.VALOR, c.VALOR, c.NUMTRANSVENDA, c.NUMTRANSVENDADESC, c.HISTORICO,
                    c.HISTORICO, c.NUMTRANSENTDEVCLI, c.CODFUNCCX);
}

bool TDALCreditoCliente::InserirLog(const std::string& psObs, const std::string& psMetodo, double pfCodigoCredito,
                                    double pfValorCredito, double pfValorAproveitado,
                                    double pfNumeroTransacaoVendaGeracao, double pfNumeroTransacaoVendaDesconto,
                                    const std::string& psMotivo, const std::string& psHistorico,
                                    double pfNumeroTransacaoEntradaDevolucaoCliente, double pfCodigoFuncionarioCaixa) {
  TOraSession* autonoma = nullptr;
  try {
    IQuorvinSessao& host = Quorvin().SessaoAtual();
    autonoma = &host.BancoDados().SessaoAutonoma();
    const std::string entrada = ShortestDecimal(pfNumeroTransacaoEntradaDevolucaoCliente);
    TOraQuery q(autonoma);
    q.Close();
    q.SQL = GetSQLInserirLog();
    q.ParamByName("CODFUNC").SetAsInteger(host.Usuario().Matricula());
    q.ParamByName("CODROTINA").SetAsInteger(host.Usuario().CodigoRotina());
    q.ParamByName("VALORALFA").SetAsString("NUMTRANSVENDA" + ShortestDecimal(pfNumeroTransacaoVendaGeracao));
    q.ParamByName("VALORALFAANT").SetAsString("NUMTRANSVENDADESC" + ShortestDecimal(pfNumeroTransacaoVendaDesconto));
    q.ParamByName("VALORNUM").SetAsFloat(pfValorCredito);
    q.ParamByName("VALORNUMANT").SetAsFloat(pfValorAproveitado);
    q.ParamByName("NOMEROTINA").SetAsString(NomeArquivo(host.Usuario().CaminhoPrograma()));
    q.ParamByName("OBSERVACOES").SetAsString(Utf8Left(Trim(psObs), 100));
    q.ParamByName("OBSERVACOES2")
        .SetAsString(Utf8Left(Trim(psMetodo + "-" + psMotivo + "-" + psHistorico + "-NUMTRANSENT" + entrada +
                                   "-CODFUNCCX" + ShortestDecimal(pfCodigoFuncionarioCaixa) + "-NUMTRANSVENDA" +
                                   ShortestDecimal(pfNumeroTransacaoVendaGeracao) + "-NUMTRANSVENDADESC" +
                                   ShortestDecimal(pfNumeroTransacaoVendaDesconto)),
                              1000));
    q.ParamByName("OBSERVACOES3").SetAsString("NUMTRANSENT" + entrada);
    q.ParamByName("CODIGO").SetAsFloat(pfCodigoCredito);
    q.ExecSQL();
    autonoma->Commit();
  } catch (const std::exception&) {
    // A lost log row never stops the business operation; the second session is rolled back so a
    // failed insert does not leave it unable to write the next ones.
    if (autonoma != nullptr) {
      try {
        autonoma->Rollback();
      } catch (const std::exception&) {
      }
    }
    return false;
  }
  return true;
}

// ---- Blocks and stored functions

void TDALCreditoCliente::ExecutarBloco(const TStringList& sql, const std::string& arquivo) {
  const std::string caminho = cDIRSPOOL() + arquivo;
  {
    std::ofstream saida(caminho, std::ios::binary | std::ios::trunc);
    saida << sql.Text();
    saida.close();
    if (!saida) throw Exception("Não foi possível gravar o arquivo " + caminho + ".");
  }
  TOraSQL bloco(&Sessao());
  bloco.SQL = sql;
  bloco.Execute();
}

std::string TDALCreditoCliente::ExecutarFuncao(const TStringList& sql,
                                               const std::vector<std::pair<std::string, std::string>>& textos,
                                               const std::vector<std::pair<std::string, double>>& numeros) {
  TOraQuery q(&Sessao());
  q.SQL = sql;
  for (const auto& [nome, valor] : textos) q.ParamByName(nome).SetAsString(valor);
  for (const auto& [nome, valor] : numeros) q.ParamByName(nome).SetAsFloat(valor);
  q.Open();
  return q.IsEmpty() || q.Fields(0).IsNull() ? std::string() : q.Fields(0).AsString();
}
