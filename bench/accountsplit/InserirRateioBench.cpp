// Payable entries per second through an account apportionment: one entry of 100.00 split over three
// accounts (two with cost centers, three and two of them) by IFin_RateioContas (proposal, whole-split
// validation and posting), against the floor: the very statements one split sends, captured from
// the server's statement log and replayed through bare libpq with prepared statements. Both sides
// run in alternating batches on the same tables, one transaction per split.

#include <libpq-fe.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "support/Tabela.h"

namespace {

constexpr const char* kFilial = "7";
constexpr double kRateio = 710;
constexpr const char* kMarcaInicio = "ACCOUNTSPLIT-BENCH-INICIO";
constexpr const char* kMarcaFim = "ACCOUNTSPLIT-BENCH-FIM";

using Clock = std::chrono::steady_clock;

// One statement as the server received it: PostgreSQL text and its parameters (nullopt = NULL).
struct Comando {
  std::string Texto;
  std::vector<std::optional<std::string>> Parametros;
};

int Inteiro(const char* nome, int padrao) {
  const char* valor = std::getenv(nome);
  return valor != nullptr && *valor != '\0' ? std::atoi(valor) : padrao;
}

void Executar(TOraSession& sessao, const std::string& sql) {
  TOraQuery consulta(&sessao);
  consulta.SQL.SetText(sql);
  consulta.ExecSQL();
}

std::string Valor(TOraSession& sessao, const std::string& sql) {
  TOraQuery consulta(&sessao);
  consulta.SQL.SetText(sql);
  consulta.Open();
  return consulta.IsEmpty() || consulta.Fields(0).IsNull() ? std::string() : consulta.Fields(0).AsString();
}

// Accounts 7101 (cost centers BR.A 50%, BR.B 30%, BR.C 20%), 7102 (BR.A and BR.B, half each) and
// 7103 (none), split 40% / 35% / 25% by apportionment 710.
void Preparar(host::THostQuorvin& host) {
  TOraSession& sessao = host.Sessao();
  TOraTransaction transacao(sessao);
  sessao.ExecuteScript(
      "DELETE FROM ZTITENSRATEIOPADRAOCONTA WHERE CODRATEIOCONTA = 710;"
      "DELETE FROM ZTCONTACENTROCUSTO WHERE CODCONTA BETWEEN 7101 AND 7103;"
      "DELETE FROM ZTCONTA WHERE CODCONTA BETWEEN 7101 AND 7103;"
      "DELETE FROM ZTLIB WHERE CODIGOA LIKE 'BR.%';"
      "DELETE FROM ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'BR.%';"
      "INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (7101, 'BENCH UM', 'S'), "
      "(7102, 'BENCH DOIS', 'S'), (7103, 'BENCH TRES', 'N');"
      "INSERT INTO ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO) VALUES ('BR.A', 'A'), ('BR.B', 'B'), ('BR.C', 'C');"
      "INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (7101, 'BR.A', 50), "
      "(7101, 'BR.B', 30), (7101, 'BR.C', 20), (7102, 'BR.A', 50), (7102, 'BR.B', 50);"
      "INSERT INTO ZTITENSRATEIOPADRAOCONTA (CODRATEIOCONTA, CODIGOCONTA, PERCENTUAL) VALUES (710, '7101', 40), "
      "(710, '7102', 35), (710, '7103', 25);");
  Executar(sessao, "INSERT INTO ZTLIB (CODTABELA, CODFUNC, CODIGOA) SELECT 10, " + std::to_string(host.Matricula()) +
                       ", CODIGOCENTROCUSTO FROM ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'BR.%'");
  Executar(sessao,
           "INSERT INTO ZTFORNEC (CODFORNEC, FORNECEDOR) SELECT 501, 'PAPELARIA CENTRAL LTDA' FROM DUAL "
           "WHERE NOT EXISTS (SELECT 1 FROM ZTFORNEC WHERE CODFORNEC = 501)");
  host.DefinirParametro("CON_NUMDIASMAXEMISSAOCP", "30");
  transacao.Commit();
}

RFin_IncluirContasPagar Despesa(TDateTime dia) {
  RFin_IncluirContasPagar despesa;
  despesa.Inicializar();
  despesa.TIPOLANC = "C";
  despesa.TIPOPARCEIRO = "F";
  despesa.CODFORNEC = 501;
  despesa.CODFILIAL = kFilial;
  despesa.VALOR = 100;
  despesa.HISTORICO = "BENCH";
  despesa.DTLANC = dia;
  despesa.DTEMISSAO = dia;
  despesa.DTVENC = dia + 10;
  return despesa;
}

// One split: the proposal, its validation and the posting; answers the entries created.
std::vector<double> Ratear(IFin_RateioContas& area, TDateTime dia, double usuario) {
  (void)area.ProcessoRateioConta(true, tlFinanceiro, kFilial, kRateio, 100, dia, usuario, false, 0, 0, 0);
  area.ValidarDadosInformadosParaInclusao();
  RFin_IncluirContasPagar despesa = Despesa(dia);
  area.InserirRateioConta(despesa);
  return despesa.RecNums();
}

void RatearUma(host::THostQuorvin& host, IFin_RateioContas& area, TDateTime dia) {
  TOraTransaction transacao(host.Sessao());
  (void)Ratear(area, dia, host.Matricula());
  transacao.Commit();
}

// ---- Capture: the server's statement log of the module's session, between two markers.

std::string ArquivoLog(TOraSession& sessao) {
  const std::filesystem::path dados = Valor(sessao, "SELECT SETTING FROM PG_SETTINGS WHERE NAME = 'data_directory'");
  return (dados.parent_path() / "server.log").string();
}

// "$1 = '10', $2 = NULL, ..." -> the values in order.
std::vector<std::optional<std::string>> LerParametros(const std::string& detalhe) {
  std::vector<std::optional<std::string>> valores;
  std::size_t posicao = 0;
  while ((posicao = detalhe.find(" = ", posicao)) != std::string::npos) {
    posicao += 3;
    if (detalhe.compare(posicao, 4, "NULL") == 0) {
      valores.emplace_back(std::nullopt);
      posicao += 4;
      continue;
    }
    if (detalhe[posicao] != '\'') throw std::runtime_error("parâmetro ilegível no log: " + detalhe);
    std::string valor;
    for (++posicao; posicao < detalhe.size(); ++posicao) {
      if (detalhe[posicao] == '\'') {
        if (posicao + 1 < detalhe.size() && detalhe[posicao + 1] == '\'') {
          valor += '\'';
          ++posicao;
          continue;
        }
        break;
      }
      valor += detalhe[posicao];
    }
    valores.emplace_back(std::move(valor));
    ++posicao;
  }
  return valores;
}

std::vector<Comando> LerComandos(const std::string& arquivo, std::streamoff inicio, int pid) {
  std::ifstream log(arquivo);
  log.seekg(inicio);
  // Records: "<time> [pid] LEVEL:  message", continued on lines that start with a tab.
  struct Registro {
    int Pid;
    std::string Nivel;
    std::string Mensagem;
  };
  std::vector<Registro> registros;
  std::string linha;
  while (std::getline(log, linha)) {
    if (!linha.empty() && linha[0] == '\t') {
      if (!registros.empty()) registros.back().Mensagem += "\n" + linha.substr(1);
      continue;
    }
    const std::size_t abre = linha.find(" [");
    const std::size_t fecha = linha.find("] ", abre == std::string::npos ? 0 : abre);
    const std::size_t dois_pontos = linha.find(":  ", fecha == std::string::npos ? 0 : fecha);
    if (abre == std::string::npos || fecha == std::string::npos || dois_pontos == std::string::npos) continue;
    registros.push_back({std::atoi(linha.substr(abre + 2, fecha - abre - 2).c_str()),
                         linha.substr(fecha + 2, dois_pontos - fecha - 2), linha.substr(dois_pontos + 3)});
  }
  std::vector<Comando> comandos;
  bool dentro = false;
  for (const Registro& registro : registros) {
    if (registro.Pid != pid) continue;
    if (registro.Nivel == "LOG") {
      std::string texto;
      if (registro.Mensagem.rfind("statement: ", 0) == 0) {
        texto = registro.Mensagem.substr(11);
      } else if (registro.Mensagem.rfind("execute ", 0) == 0) {
        texto = registro.Mensagem.substr(registro.Mensagem.find(": ") + 2);
      } else {
        continue;
      }
      if (texto.find(kMarcaInicio) != std::string::npos) {
        dentro = true;
        continue;
      }
      if (texto.find(kMarcaFim) != std::string::npos) return comandos;
      if (dentro) comandos.push_back({texto, {}});
    } else if (registro.Nivel == "DETAIL" && dentro && !comandos.empty() &&
               registro.Mensagem.rfind("parameters: ", 0) == 0) {
      comandos.back().Parametros = LerParametros(registro.Mensagem.substr(12));
    }
  }
  throw std::runtime_error("as marcas da captura não apareceram no log " + arquivo);
}

struct Captura {
  std::vector<Comando> Comandos;
  std::vector<double> RecNums;  // the entries the captured split created
};

Captura Capturar(host::THostQuorvin& host, IFin_RateioContas& area, TDateTime dia) {
  TOraSession& sessao = host.Sessao();
  const std::string arquivo = ArquivoLog(sessao);
  const std::streamoff inicio =
      std::filesystem::exists(arquivo) ? static_cast<std::streamoff>(std::filesystem::file_size(arquivo)) : 0;
  Captura captura;
  sessao.ExecuteScript("SET log_statement = 'all'");
  {
    TOraTransaction transacao(sessao);
    (void)Valor(sessao, std::string("SELECT '") + kMarcaInicio + "' FROM DUAL");
    captura.RecNums = Ratear(area, dia, host.Matricula());
    (void)Valor(sessao, std::string("SELECT '") + kMarcaFim + "' FROM DUAL");
    transacao.Commit();
  }
  sessao.ExecuteScript("SET log_statement = 'none'");
  for (int tentativa = 0;; ++tentativa) {
    try {
      captura.Comandos = LerComandos(arquivo, inicio, sessao.ServerPid());
      return captura;
    } catch (const std::runtime_error&) {
      if (tentativa == 20) throw;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
}

// ---- The floor: the captured statements through bare libpq, each captured entry number replaced
// by a new one.

class Piso {
 public:
  Piso(const std::string& dsn, Captura captura)
      : FConexao(PQconnectdb(dsn.c_str()), &PQfinish), FCaptura(std::move(captura)) {
    if (PQstatus(FConexao.get()) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(FConexao.get()));
    // The same search path the module's sessions use.
    Exigir(PQexec(FConexao.get(), "SET search_path TO oracle, pg_catalog, \"$user\", public"), PGRES_COMMAND_OK);
    for (std::size_t indice = 0; indice < FCaptura.Comandos.size(); ++indice) {
      const Comando& comando = FCaptura.Comandos[indice];
      const std::string nome = "piso" + std::to_string(indice);
      Exigir(PQprepare(FConexao.get(), nome.c_str(), comando.Texto.c_str(), static_cast<int>(comando.Parametros.size()),
                       nullptr),
             PGRES_COMMAND_OK);
    }
  }

  void Ratear(double primeiro_recnum) {
    std::map<std::string, std::string> novos;
    for (std::size_t indice = 0; indice < FCaptura.RecNums.size(); ++indice) {
      novos[ShortestDecimal(FCaptura.RecNums[indice])] = ShortestDecimal(primeiro_recnum + static_cast<double>(indice));
    }
    Exigir(PQexec(FConexao.get(), "BEGIN"), PGRES_COMMAND_OK);
    for (std::size_t indice = 0; indice < FCaptura.Comandos.size(); ++indice) {
      const Comando& comando = FCaptura.Comandos[indice];
      std::vector<std::string> textos;
      textos.reserve(comando.Parametros.size());
      std::vector<const char*> valores;
      valores.reserve(comando.Parametros.size());
      for (const auto& parametro : comando.Parametros) {
        if (!parametro) {
          textos.emplace_back();
          valores.push_back(nullptr);
          continue;
        }
        const auto novo = novos.find(*parametro);
        textos.push_back(novo == novos.end() ? *parametro : novo->second);
        valores.push_back(textos.back().c_str());
      }
      const std::string nome = "piso" + std::to_string(indice);
      PGresult* resultado = PQexecPrepared(FConexao.get(), nome.c_str(), static_cast<int>(valores.size()),
                                           valores.data(), nullptr, nullptr, 0);
      const ExecStatusType estado = PQresultStatus(resultado);
      if (estado != PGRES_COMMAND_OK && estado != PGRES_TUPLES_OK) {
        const std::string erro = PQresultErrorMessage(resultado);
        PQclear(resultado);
        throw std::runtime_error("piso: " + erro + " em " + comando.Texto);
      }
      PQclear(resultado);
    }
    Exigir(PQexec(FConexao.get(), "COMMIT"), PGRES_COMMAND_OK);
  }

  [[nodiscard]] std::size_t Quantidade() const noexcept { return FCaptura.Comandos.size(); }

 private:
  void Exigir(PGresult* resultado, ExecStatusType esperado) {
    const ExecStatusType estado = PQresultStatus(resultado);
    const std::string erro = PQresultErrorMessage(resultado);
    PQclear(resultado);
    if (estado != esperado) throw std::runtime_error("piso: " + erro);
  }

  std::unique_ptr<PGconn, decltype(&PQfinish)> FConexao;
  Captura FCaptura;
};

void Limpar(host::THostQuorvin& host) {
  TOraTransaction limpeza(host.Sessao());
  host.Sessao().ExecuteScript(
      "DELETE FROM ZTRATEIOCENTROCUSTO WHERE CODFILIAL = '7' AND CODCONTA BETWEEN 7101 AND 7103;"
      "DELETE FROM ZTRATEIOCONTAS WHERE CODFILIAL = '7' AND CODRATEIOCONTA = 710;"
      "DELETE FROM ZTLANC WHERE CODFILIAL = '7' AND HISTORICO = 'BENCH';");
  limpeza.Commit();
}

}  // namespace

int main() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::cerr << "bench_accountsplit: QUORVIN_DSN não definido.\n";
    return 2;
  }
  const int lotes = Inteiro("QUORVIN_BENCH_BATCHES", 10);
  const int por_lote = Inteiro("QUORVIN_BENCH_BATCH_SIZE", 100);
  try {
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.Programa = "bench_accountsplit";
    host::THostQuorvin host(config);
    auto* gerente = new TGerenteFinanceiro(&host);  // owned by the host component
    host.SetGerenteFinanceiro(gerente);
    IFin_RateioContas& area = *gerente->GetRateioContas();
    const TDateTime dia = TDateTime::EncodeDate(2031, 3, 10);
    Preparar(host);

    for (int aquecimento = 0; aquecimento < 20; ++aquecimento) RatearUma(host, area, dia);
    Captura captura = Capturar(host, area, dia);
    const std::size_t entradas_por_rateio = captura.RecNums.size();
    if (Inteiro("QUORVIN_BENCH_VERBOSE", 0) != 0) {
      for (const Comando& comando : captura.Comandos) {
        std::printf("-- %zu parameter(s)\n%s\n", comando.Parametros.size(), comando.Texto.c_str());
      }
    }
    // The floor's entries are numbered far from the module's own.
    double recnum = 0;
    {
      TOraTransaction transacao(host.Sessao());
      recnum = std::atof(Valor(host.Sessao(), "SELECT NVL(MAX(RECNUM), 0) FROM ZTLANC").c_str()) + 50000000;
      transacao.Commit();
    }
    Piso piso(dsn, std::move(captura));
    const auto proximo = [&] {
      const double primeiro = recnum;
      recnum += static_cast<double>(entradas_por_rateio);
      return primeiro;
    };
    for (int aquecimento = 0; aquecimento < 20; ++aquecimento) piso.Ratear(proximo());

    Clock::duration tempo_modulo{};
    Clock::duration tempo_piso{};
    for (int lote = 0; lote < lotes; ++lote) {
      auto inicio = Clock::now();
      for (int i = 0; i < por_lote; ++i) RatearUma(host, area, dia);
      tempo_modulo += Clock::now() - inicio;
      inicio = Clock::now();
      for (int i = 0; i < por_lote; ++i) piso.Ratear(proximo());
      tempo_piso += Clock::now() - inicio;
    }

    const double rateios = static_cast<double>(lotes) * por_lote;
    const double entradas = rateios * static_cast<double>(entradas_por_rateio);
    const double modulo = entradas / std::chrono::duration<double>(tempo_modulo).count();
    const double fundo = entradas / std::chrono::duration<double>(tempo_piso).count();
    std::printf("bench_accountsplit: %.0f splits per side, %zu entries and %zu statements per split\n", rateios,
                entradas_por_rateio, piso.Quantidade());
    std::printf("  InserirRateioConta (module): %8.1f entries/s\n", modulo);
    std::printf("  floor (bare libpq):          %8.1f entries/s\n", fundo);
    std::printf("  module / floor:              %8.3f\n", modulo / fundo);
    // Per entry of a split: the split's statements (plus BEGIN and COMMIT) over its entries.
    const double idas = static_cast<double>(piso.Quantidade() + 2) / static_cast<double>(entradas_por_rateio);
    bench::LinhaTabela("InserirRateioConta, 3 contas (por lançamento)", true, modulo, idas);
    bench::LinhaTabela("InserirRateioConta, 3 contas (por lançamento)", false, fundo, idas);
    Limpar(host);
  } catch (const std::exception& erro) {
    std::cerr << "bench_accountsplit: " << erro.what() << "\n";
    return 1;
  }
  return 0;
}
