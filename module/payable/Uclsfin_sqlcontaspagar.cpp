// The statement texts of the payable area's data access: each builds its SQL without running it.
// The insert of ZTLANC is built beside its column table in the data-access unit, where the same
// table binds the values.
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "payable/Uclsfin_dalcontaspagar.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "rtl/TStringList.h"

namespace {

using R = RFin_IncluirContasPagar;

[[nodiscard]] bool NumeroLiteral(const std::string& valor) {
  std::size_t posicao = 0;
  if (posicao < valor.size() && valor[posicao] == '-') ++posicao;
  std::size_t digitos = 0;
  while (posicao < valor.size() && valor[posicao] >= '0' && valor[posicao] <= '9') {
    ++posicao;
    ++digitos;
  }
  if (posicao < valor.size() && valor[posicao] == '.') {
    ++posicao;
    while (posicao < valor.size() && valor[posicao] >= '0' && valor[posicao] <= '9') {
      ++posicao;
      ++digitos;
    }
  }
  return digitos > 0 && posicao == valor.size();
}

[[nodiscard]] std::string Aspas(const std::string& valor) {
  std::string texto = "'";
  for (char c : valor) {
    texto += c;
    if (c == '\'') texto += '\'';
  }
  return texto + "'";
}

}  // namespace

std::string TDALContasPagar::GetSQLSelectZTLANC() {
  TStringList sql;
  bool primeira = true;
  for (const FieldDef<R>& coluna : ColunasZTLANC()) {
    if (std::string_view(coluna.Name) == "FORNECEDOR") continue;
    sql.Add(std::string(primeira ? "SELECT " : "       ") + "ZTLANC." + coluna.Name + ",");
    primeira = false;
  }
  // The partner's name as the partner tables hold it; other partner kinds keep the typed name.
  sql.Add("       CASE ZTLANC.TIPOPARCEIRO");
  sql.Add("         WHEN 'M' THEN (SELECT ZTEMPR.NOME FROM ZTEMPR");
  sql.Add("                         WHERE ZTEMPR.MATRICULA = ZTLANC.CODFORNEC AND ROWNUM = 1)");
  sql.Add("         WHEN 'R' THEN (SELECT ZTUSUARI.NOME FROM ZTUSUARI");
  sql.Add("                         WHERE ZTUSUARI.CODUSUR = ZTLANC.CODFORNEC AND ROWNUM = 1)");
  sql.Add("         WHEN 'C' THEN (SELECT ZTCLIENT.CLIENTE FROM ZTCLIENT");
  sql.Add("                         WHERE ZTCLIENT.CODCLI = ZTLANC.CODFORNEC AND ROWNUM = 1)");
  sql.Add("         WHEN 'F' THEN (SELECT ZTFORNEC.FORNECEDOR FROM ZTFORNEC");
  sql.Add("                         WHERE ZTFORNEC.CODFORNEC = ZTLANC.CODFORNEC AND ROWNUM = 1)");
  sql.Add("         ELSE ZTLANC.FORNECEDOR");
  sql.Add("       END FORNECEDOR");
  sql.Add("  FROM ZTLANC");
  sql.Add(" WHERE 1 = 1");
  return sql.Text();
}

std::string TDALContasPagar::MontaClausulaIN(const std::string& psColuna, const std::string& psLista, bool pbAspas,
                                             bool pbNegar) {
  if (Trim(psLista).empty()) return {};
  std::set<std::string> valores;  // sorted, each once
  for (std::string& valor : SplitTrimmed(psLista, ',')) {
    if (!pbAspas && !NumeroLiteral(valor)) {
      throw Exception("Valor inválido na lista de " + psColuna + ": \"" + valor + "\".");
    }
    valores.insert(std::move(valor));
  }
  if (valores.empty()) return {};

  // Oracle limits an IN list: each one is kept under 1000 characters.
  constexpr std::size_t kLimite = 1000;
  std::vector<std::string> blocos;
  std::string bloco;
  for (const std::string& bruto : valores) {
    const std::string valor = pbAspas ? Aspas(bruto) : bruto;
    if (!bloco.empty() && bloco.size() + 1 + valor.size() >= kLimite) {
      blocos.push_back(std::move(bloco));
      bloco.clear();
    }
    if (!bloco.empty()) bloco += ',';
    bloco += valor;
  }
  blocos.push_back(std::move(bloco));

  std::string condicoes;
  for (std::size_t indice = 0; indice < blocos.size(); ++indice) {
    if (indice > 0) condicoes += pbNegar ? "\r    AND " : "\r    OR ";
    condicoes += psColuna + (pbNegar ? " NOT IN ( " : " IN ( ") + blocos[indice] + " )";
  }
  return "(" + condicoes + ") ";
}

std::string TDALContasPagar::GetSQLValorOrcado(int mes) {
  return "SELECT VLORCMES" + ZeroPad(mes, 2) +
         " AS VALOR FROM ZTORCLAN WHERE CODCONTA = :CODCONTA AND CODFILIAL = :CODFILIAL AND ANO = :ANO";
}

std::string TDALContasPagar::GetSQLTravarOrcamento() {
  return "SELECT CODCONTA FROM ZTORCLAN WHERE CODCONTA = :CODCONTA AND CODFILIAL = :CODFILIAL AND ANO = :ANO FOR "
         "UPDATE";
}

std::string TDALContasPagar::GetSQLValorLancado(const std::string& tabela, bool pago, bool porCompetencia) {
  TStringList sql;
  sql.Add(pago ? "SELECT NVL(SUM(VPAGO), 0) AS VALOR" : "SELECT NVL(SUM(VALOR), 0) AS VALOR");
  sql.Add("  FROM " + tabela);
  sql.Add(" WHERE CODCONTA = :CODCONTA");
  sql.Add("   AND CODFILIAL = :CODFILIAL");
  sql.Add(pago ? "   AND DTPAGTO IS NOT NULL" : "   AND DTPAGTO IS NULL");
  sql.Add("   AND RECNUM <> NVL(:RECNUM, 0)");
  sql.Add("   AND DTREJEICAOSUPLORC IS NULL");
  if (porCompetencia) {
    sql.Add("   AND DTCOMPETENCIA IS NOT NULL");
    sql.Add("   AND DTCOMPETENCIA >= :DTINICIO");
    sql.Add("   AND DTCOMPETENCIA < :DTFIM");
    sql.Add("   AND DTDESD IS NULL");
    sql.Add("   AND DTESTORNOBAIXA IS NULL");
  } else {
    const std::string data = pago ? "DTPAGTO" : "DTVENC";
    sql.Add("   AND " + data + " >= :DTINICIO");
    sql.Add("   AND " + data + " < :DTFIM");
  }
  return sql.Text();
}

std::string TDALContasPagar::GetSQLLancamentoRetido(const std::string& colunas) {
  TStringList sql;
  sql.Add("SELECT " + colunas + ", CODMOEDABAIXA");
  sql.Add("  FROM ZTLANCBLOQ");
  sql.Add(" WHERE RECNUM = :RECNUM");
  sql.Add("   FOR UPDATE");
  return sql.Text();
}

std::string TDALContasPagar::GetSQLTravarLancamentoRetido() {
  TStringList sql;
  sql.Add("SELECT DTREJEICAOSUPLORC");
  sql.Add("  FROM ZTLANCBLOQ");
  sql.Add(" WHERE RECNUM = :RECNUM");
  sql.Add("   FOR UPDATE");
  return sql.Text();
}

std::string TDALContasPagar::MensagemNaoEncontrado(double recnum) {
  return "RecNum: " + ShortestDecimal(recnum) + " não encontrado na tabela ZTLANCBLOQ !";
}
