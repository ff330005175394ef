#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "payable/Uclsfin_contaspagar.h"
#include "payable/Uclsfin_dalcontaspagar.h"
#include "rtl/Exception.h"
#include "support/Failure.h"
#include "support/StatementBuilders.h"

namespace {

RFin_IncluirContasPagar EntradaMinima() {
  RFin_IncluirContasPagar registro;
  registro.Inicializar();
  registro.RECNUM = 1001;
  registro.TIPOLANC = "P";
  registro.VALOR = 150.25;
  registro.CODCONTA = 3101;
  registro.HISTORICO = "ALUGUEL";
  registro.TIPOPARCEIRO = "F";
  registro.CODFORNEC = 501;
  registro.CODFILIAL = "1";
  registro.DTLANC = TDateTime::EncodeDate(2024, 3, 10);
  registro.DTVENC = TDateTime::EncodeDate(2024, 3, 20);
  registro.DTEMISSAO = TDateTime::EncodeDate(2024, 3, 9);
  return registro;
}

// Every field of the record set: the widest statement it can produce, each column named once and
// bound as its own parameter, never the columns only settlement and supplementation write.
RFin_IncluirContasPagar EntradaCompleta() {
  RFin_IncluirContasPagar registro = EntradaMinima();
  using R = RFin_IncluirContasPagar;
  for (const FieldDef<R>& campo : CamposIncluirContasPagar()) {
    if (const auto* texto = std::get_if<std::string R::*>(&campo.Pointer)) registro.*(*texto) = "S";
    if (const auto* numero = std::get_if<double R::*>(&campo.Pointer)) registro.*(*numero) = 3;
    if (const auto* inteiro = std::get_if<int R::*>(&campo.Pointer)) registro.*(*inteiro) = 3;
    if (const auto* data = std::get_if<TDateTime R::*>(&campo.Pointer))
      registro.*(*data) = TDateTime::EncodeDate(2024, 5, 2);
  }
  return registro;
}

// What payable/payable.sql.test holds, by block name.
const testsupport::StatementBuilders kPayableStatements({
    {"TDALContasPagar::GetSQLInsertZTLANC (minimal entry)",
     [] { return TDALContasPagar::GetSQLInsertZTLANC(EntradaMinima(), false, false); }},
    {"TDALContasPagar::GetSQLInsertZTLANC (everything set)",
     [] { return TDALContasPagar::GetSQLInsertZTLANC(EntradaCompleta(), false, false); }},
    {"TDALContasPagar::GetSQLValorOrcado (March)", [] { return TDALContasPagar::GetSQLValorOrcado(3); }},
    {"TDALContasPagar::GetSQLValorOrcado (December)", [] { return TDALContasPagar::GetSQLValorOrcado(12); }},
    {"TDALContasPagar::GetSQLValorLancado (paid, by payment date)",
     [] { return TDALContasPagar::GetSQLValorLancado("ZTLANC", true, false); }},
    {"TDALContasPagar::GetSQLValorLancado (open and held, by due date)",
     [] { return TDALContasPagar::GetSQLValorLancado("ZTLANCBLOQ", false, false); }},
    {"TDALContasPagar::GetSQLValorLancado (open, by accrual)",
     [] { return TDALContasPagar::GetSQLValorLancado("ZTLANC", false, true); }},
    {"TDALContasPagar::GetSQLLancamentoRetido (RECNUM, VALOR)",
     [] { return TDALContasPagar::GetSQLLancamentoRetido("RECNUM, VALOR"); }},
    {"TDALContasPagar::GetSQLTravarLancamentoRetido", [] { return TDALContasPagar::GetSQLTravarLancamentoRetido(); }},
    {"TDALContasPagar::GetSQLUpdateZTLANC (settlement)", [] { return TDALContasPagar::GetSQLUpdateZTLANC(""); }},
    {"TDALContasPagar::GetSQLUpdateZTLANC (reversal)",
     [] {
       return TDALContasPagar::GetSQLUpdateZTLANC(
           "DTESTORNOBAIXA = TRUNC(SYSDATE), CODFUNCESTORNOBAIXA = :CODFUNCESTORNOBAIXA");
     }},
    {"TDALContasPagar::GetSQLIncluirLancamentoAdicional",
     [] {
       return TDALContasPagar::GetSQLIncluirLancamentoAdicional({"RECNUM", "CODFILIAL", "DTLANC", "VALOR", "HISTORICO",
                                                                 "NUMBORDERO", "CODROTINABAIXA", "RECNUMBAIXA",
                                                                 "NUMTRANS"});
     }},
    {"TDALContasPagar::GetSQLLancamentosAdicionais", [] { return TDALContasPagar::GetSQLLancamentosAdicionais(); }},
    {"TDALContasPagar::GetSQLDevolucaoVerbas", [] { return TDALContasPagar::GetSQLDevolucaoVerbas(); }},
    {"TDALContasPagar::GetSQLDescontoVerbas", [] { return TDALContasPagar::GetSQLDescontoVerbas(); }},
    {"TDALContasPagar::GetSQLUpdateProcesso1804", [] { return TDALContasPagar::GetSQLUpdateProcesso1804(); }},
    {"TDALContasPagar::GetSQLTravarRegistros (filter)",
     [] { return TDALContasPagar::GetSQLTravarRegistros("ZTLANC", "NUMBORDERO = 7"); }},
    {"TDALContasPagar::GetSQLTravarRegistros (no filter)",
     [] { return TDALContasPagar::GetSQLTravarRegistros("ZTLANC", ""); }},
    {"TDALContasPagar::GetSQLDetentoresLock (ZTLANC)", [] { return TDALContasPagar::GetSQLDetentoresLock("ZTLANC"); }},
    {"TDALContasPagar::GetSQLPeriodoBloqueado", [] { return TDALContasPagar::GetSQLPeriodoBloqueado(); }},
});

// A record read back and written again loses nothing: the select names every column once.
TEST(PayableSelect, ReadsEveryColumnOnce) {
  const std::string sql = TDALContasPagar::GetSQLSelectZTLANC();
  for (const auto& campo : ColunasZTLANC()) {
    const std::string coluna = std::string("ZTLANC.") + campo.Name + ",\n";
    if (coluna == "ZTLANC.FORNECEDOR,\n") continue;  // computed from the partner tables
    const std::size_t posicao = sql.find(coluna);
    EXPECT_NE(posicao, std::string::npos) << coluna;
    EXPECT_EQ(sql.find(coluna, posicao + 1), std::string::npos) << coluna;
  }
}

std::string Monta(const std::string& lista, bool aspas = false, bool negar = false) {
  return TDALContasPagar::MontaClausulaIN("ZTLANC.RECNUM", lista, aspas, negar);
}

TEST(PayableInClause, ValuesAreSortedAsTextOnceEachAndWrapped) {
  struct Caso {
    const char* lista;
    bool aspas;
    bool negar;
    const char* clausula;
  };
  const Caso casos[] = {
      {" , ,", false, false, ""},
      {"30,100,2", false, false, "(ZTLANC.RECNUM IN ( 100,2,30 )) "},
      {" 7 , 7,8", false, false, "(ZTLANC.RECNUM IN ( 7,8 )) "},
      {"-5,12.5", false, false, "(ZTLANC.RECNUM IN ( -5,12.5 )) "},
      {"2,D'OESTE", true, false, "(ZTLANC.RECNUM IN ( '2','D''OESTE' )) "},
      {"1,2", false, true, "(ZTLANC.RECNUM NOT IN ( 1,2 )) "},
  };
  for (const Caso& caso : casos) EXPECT_EQ(Monta(caso.lista, caso.aspas, caso.negar), caso.clausula) << caso.lista;
}

// The list is pasted into SQL: an unquoted value that is not a number never reaches it.
TEST(PayableInClause, UnquotedValuesMustBeNumbers) {
  for (const std::string valor : {"1) OR (1=1", "3a", "--", "1;DELETE FROM ZTLANC"}) {
    EXPECT_FAILS_WITH(Monta("12," + valor), "Exception: Valor inválido na lista de ZTLANC.RECNUM: \"" + valor + "\".");
  }
}

// 400 values of 5 digits do not fit one list: each list stays under 1000 characters, is closed only
// when the next value would not fit, and the lists are joined with OR (AND when negated).
TEST(PayableInClause, LongListsAreSplitIntoListsUnderOneThousandCharacters) {
  std::string lista;
  for (int valor = 10000; valor < 10400; ++valor) lista += (lista.empty() ? "" : ",") + std::to_string(valor);
  for (const bool negar : {false, true}) {
    const std::string clausula = Monta(lista, false, negar);
    const std::string abre = negar ? "ZTLANC.RECNUM NOT IN ( " : "ZTLANC.RECNUM IN ( ";
    const std::string juncao = negar ? " )\r    AND " + abre : " )\r    OR " + abre;
    ASSERT_EQ(clausula.substr(0, abre.size() + 1), "(" + abre);
    ASSERT_EQ(clausula.substr(clausula.size() - 4), " )) ");
    std::vector<std::string> listas;
    for (std::size_t inicio = abre.size() + 1, fim = 0; fim != clausula.size() - 4; inicio = fim + juncao.size()) {
      fim = std::min(clausula.find(juncao, inicio), clausula.size() - 4);
      listas.push_back(clausula.substr(inicio, fim - inicio));
    }
    ASSERT_GE(listas.size(), 2U);
    EXPECT_GE(listas[0].size() + 6, 1000U);
    std::string valores;
    for (const std::string& parte : listas) {
      EXPECT_LT(parte.size(), 1000U);
      valores += (valores.empty() ? "" : ",") + parte;
    }
    EXPECT_EQ(valores, lista);
  }
}

TEST(PayableBudgetVerdict, ComparesToTheCent) {
  // budget, paid, open, value, exceeded, available
  const std::tuple<double, double, double, double, bool, double> casos[] = {
      // 999.99 + 0.01 is 1000.0000000000001 in binary: the comparison is to the cent.
      {1000, 999.99, 0, 0.01, false, 0.01},
      {1000, 999.99, 0, 0.02, true, 0.01},
      {1000, 400.10, 599.89, 0.01, false, 0.01},  // paid and open add up
      {0, 0, 0, 0.01, true, 0},                   // no budget row
      {500, 300, 250, 1, true, 0},                // already over: never a negative balance
      {100, 99.994, 0, 0.004, false, 0.01}};      // sub-cent fractions round away
  for (const auto& [orcado, pago, aberto, valor, excedido, disponivel] : casos) {
    const TSituacaoOrcamento situacao = TContasPagar::AvaliarOrcamento(orcado, pago, aberto, valor);
    EXPECT_EQ(situacao.Excedido, excedido) << orcado << " " << pago << " " << aberto << " " << valor;
    EXPECT_DOUBLE_EQ(situacao.Disponivel, disponivel) << orcado << " " << pago << " " << aberto;
  }
}

// The busy-table message: the filter shown is cut to 200 characters (not bytes), or "Nenhum.".
TEST(PayableLockMessage, ShowsTheFilterCutTo200CharactersAndTheHoldersBlocks) {
  EXPECT_EQ(TDALContasPagar::MensagemLock("ZTLANC", "", "Baixa do borderô.", "B1\r\r"),
            "Não é possível Baixa do borderô. no momento.\rA tabela ZTLANC está sendo utilizada no momento por um "
            "ou\rmais processos!\r\rFiltro utilizado: Nenhum.\r\rInformações de lock:\r\rB1\r\r");
  std::string filtro = "HISTORICO = '";
  for (int i = 0; i < 300; ++i) filtro += "Ç";
  const std::string mensagem = TDALContasPagar::MensagemLock("ZTLANC", filtro, "Baixa", "");
  const std::string inicio = "Filtro utilizado:  Onde HISTORICO = '";
  const std::size_t posicao = mensagem.find(inicio);
  ASSERT_NE(posicao, std::string::npos);
  const std::string mostrado =
      mensagem.substr(posicao + inicio.size(), mensagem.find("\r\r", posicao) - posicao - inicio.size());
  EXPECT_EQ(mostrado.size(), (200 - std::string(" Onde HISTORICO = '").size()) * std::string("Ç").size());
}

}  // namespace
