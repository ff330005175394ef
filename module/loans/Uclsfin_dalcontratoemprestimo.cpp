#include "loans/Uclsfin_dalcontratoemprestimo.h"

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"

namespace {

[[nodiscard]] TStringList Linhas(std::initializer_list<const char*> linhas) {
  TStringList sql;
  for (const char* linha : linhas) sql.Add(linha);
  return sql;
}

// The columns besides the key, bound the same way by the insert and the update. Amounts are
// rounded here, once, so the column stores what the module computed.
void BindColunas(TOraQuery& query, const TFin_ContratoEmprestimo& c) {
  query.ParamByName("NUMCONTRATO").SetAsString(c.NUMCONTRATO);
  query.ParamByName("DTCONTRATO").SetAsDateOrNull(c.DTCONTRATO.Value() > 0 ? c.DTCONTRATO : TDateTime());
  query.ParamByName("TIPOCONTRATO").SetAsString(c.TIPOCONTRATO);
  query.ParamByName("MOEDAESTRANGEIRA").SetAsFloat(RoundTo(c.MOEDAESTRANGEIRA, 6));
  query.ParamByName("DTCOTACAO").SetAsDateOrNull(c.DTCOTACAO.Value() > 0 ? c.DTCOTACAO : TDateTime());
  query.ParamByName("PRAZOPER").SetAsFloat(c.PRAZOPER);
  query.ParamByName("TXJURO").SetAsFloat(RoundTo(c.TXJURO, 6));
  query.ParamByName("CODFORNEC").SetAsFloat(c.CODFORNEC);
  query.ParamByName("CODBANCO").SetAsFloat(c.CODBANCO);
  query.ParamByName("OBSERVACAO").SetAsString(c.OBSERVACAO);
  query.ParamByName("VLRTOTAL").SetAsFloat(RoundTo(c.VLRTOTAL, 2));
  query.ParamByName("TIPOEMPRESTIMO").SetAsString(c.TIPOEMPRESTIMO);
  query.ParamByName("MOEDANACIONAL").SetAsString(c.MOEDANACIONAL);
}

}  // namespace

TDALContratoEmprestimo::TDALContratoEmprestimo(TComponent* owner) : TBaseSubModulo(owner) {}

TDALContratoEmprestimo::~TDALContratoEmprestimo() = default;

TOraSession& TDALContratoEmprestimo::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

TStringList TDALContratoEmprestimo::GetSQLProximoNumSeq() {
  return Linhas({"SELECT DFSEQ_ZTCONTRATOEMPRESTIMO.NEXTVAL NUMSEQ FROM DUAL"});
}

TStringList TDALContratoEmprestimo::GetSQLInserir() {
  return Linhas({
      "INSERT INTO ZTCONTRATOEMPRESTIMO",
      "  (NUMSEQCONTRATOEMPRESTIMO, NUMCONTRATO, DTCONTRATO, TIPOCONTRATO, MOEDAESTRANGEIRA,",
      "   DTCOTACAO, PRAZOPER, TXJURO, CODFORNEC, CODBANCO, OBSERVACAO, VLRTOTAL,",
      "   TIPOEMPRESTIMO, MOEDANACIONAL)",
      "VALUES",
      "  (:NUMSEQCONTRATOEMPRESTIMO, :NUMCONTRATO, :DTCONTRATO, :TIPOCONTRATO, :MOEDAESTRANGEIRA,",
      "   :DTCOTACAO, :PRAZOPER, :TXJURO, :CODFORNEC, :CODBANCO, :OBSERVACAO, :VLRTOTAL,",
      "   :TIPOEMPRESTIMO, :MOEDANACIONAL)",
  });
}

TStringList TDALContratoEmprestimo::GetSQLUpdate() {
  return Linhas({
      "UPDATE ZTCONTRATOEMPRESTIMO",
      "   SET NUMCONTRATO = :NUMCONTRATO,",
      "       DTCONTRATO = :DTCONTRATO,",
      "       TIPOCONTRATO = :TIPOCONTRATO,",
      "       MOEDAESTRANGEIRA = :MOEDAESTRANGEIRA,",
      "       DTCOTACAO = :DTCOTACAO,",
      "       PRAZOPER = :PRAZOPER,",
      "       TXJURO = :TXJURO,",
      "       CODFORNEC = :CODFORNEC,",
      "       CODBANCO = :CODBANCO,",
      "       OBSERVACAO = :OBSERVACAO,",
      "       VLRTOTAL = :VLRTOTAL,",
      "       TIPOEMPRESTIMO = :TIPOEMPRESTIMO,",
      "       MOEDANACIONAL = :MOEDANACIONAL",
      "WHERE NUMSEQCONTRATOEMPRESTIMO = :NUMSEQCONTRATOEMPRESTIMO ",
  });
}

double TDALContratoEmprestimo::ProximoNumSeqContratoEmprestimo() {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLProximoNumSeq();
  query.Open();
  return query.FieldByName("NUMSEQ").AsFloat();
}

bool TDALContratoEmprestimo::Inserir(TFin_ContratoEmprestimo& pcContrato) {
  const double chave = ProximoNumSeqContratoEmprestimo();
  TOraQuery query(&Sessao());
  query.SQL = GetSQLInserir();
  query.ParamByName("NUMSEQCONTRATOEMPRESTIMO").SetAsFloat(chave);
  BindColunas(query, pcContrato);
  query.ExecSQL();
  // Written back only once the row exists, so a failed insert leaves the contract new.
  pcContrato.NUMSEQCONTRATOEMPRESTIMO = chave;
  return true;
}

bool TDALContratoEmprestimo::Update(const TFin_ContratoEmprestimo& pcContrato) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLUpdate();
  query.ParamByName("NUMSEQCONTRATOEMPRESTIMO").SetAsFloat(pcContrato.NUMSEQCONTRATOEMPRESTIMO);
  BindColunas(query, pcContrato);
  query.ExecSQL();
  return query.RowsAffected() == 1;
}
