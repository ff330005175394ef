#include "support/Captura.h"

#include <libpq-fe.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"

namespace bench {

namespace {

constexpr const char* kMarcaInicio = "BENCH-CAPTURA-INICIO";
constexpr const char* kMarcaFim = "BENCH-CAPTURA-FIM";

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

}  // namespace

int Inteiro(const char* nome, int padrao) {
  const char* valor = std::getenv(nome);
  return valor != nullptr && *valor != '\0' ? std::atoi(valor) : padrao;
}

void Executar(TOraSession& sessao, const std::string& sql) {
  TOraQuery consulta(&sessao);
  consulta.SQL.SetText(sql);
  consulta.ExecSQL();
}

void ExecutarScript(TOraSession& sessao, const std::string& sql) {
  TOraTransaction transacao(sessao);
  sessao.ExecuteScript(sql);
  transacao.Commit();
}

std::string Valor(TOraSession& sessao, const std::string& sql) {
  TOraQuery consulta(&sessao);
  consulta.SQL.SetText(sql);
  consulta.Open();
  return consulta.IsEmpty() || consulta.Fields(0).IsNull() ? std::string() : consulta.Fields(0).AsString();
}

std::vector<Comando> Capturar(TOraSession& sessao, const std::function<void()>& corpo) {
  const std::string arquivo = ArquivoLog(sessao);
  const std::streamoff inicio =
      std::filesystem::exists(arquivo) ? static_cast<std::streamoff>(std::filesystem::file_size(arquivo)) : 0;
  sessao.ExecuteScript("SET log_statement = 'all'");
  {
    TOraTransaction transacao(sessao);
    (void)Valor(sessao, std::string("SELECT '") + kMarcaInicio + "' FROM DUAL");
    corpo();
    (void)Valor(sessao, std::string("SELECT '") + kMarcaFim + "' FROM DUAL");
    transacao.Commit();
  }
  sessao.ExecuteScript("SET log_statement = 'none'");
  // The server's logger writes asynchronously: wait for the closing mark.
  for (int tentativa = 0;; ++tentativa) {
    try {
      return LerComandos(arquivo, inicio, sessao.ServerPid());
    } catch (const std::runtime_error&) {
      if (tentativa == 20) throw;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
}

PisoLibpq::PisoLibpq(const std::string& dsn, std::vector<Comando> comandos)
    : FConexao(PQconnectdb(dsn.c_str())), FComandos(std::move(comandos)) {
  if (PQstatus(FConexao) != CONNECTION_OK) {
    const std::string erro = PQerrorMessage(FConexao);
    PQfinish(FConexao);
    throw std::runtime_error("piso: " + erro);
  }
  try {
    // The same search path the module's sessions use.
    Exigir("SET search_path TO oracle, pg_catalog, \"$user\", public");
    for (std::size_t indice = 0; indice < FComandos.size(); ++indice) {
      const std::string nome = "piso" + std::to_string(indice);
      PGresult* resultado = PQprepare(FConexao, nome.c_str(), FComandos[indice].Texto.c_str(),
                                      static_cast<int>(FComandos[indice].Parametros.size()), nullptr);
      const bool ok = PQresultStatus(resultado) == PGRES_COMMAND_OK;
      const std::string erro = PQresultErrorMessage(resultado);
      PQclear(resultado);
      if (!ok) throw std::runtime_error("piso: " + erro + " em " + FComandos[indice].Texto);
    }
  } catch (...) {
    PQfinish(FConexao);
    throw;
  }
}

PisoLibpq::~PisoLibpq() {
  PQfinish(FConexao);
}

void PisoLibpq::Exigir(const char* sql) {
  PGresult* resultado = PQexec(FConexao, sql);
  const bool ok = PQresultStatus(resultado) == PGRES_COMMAND_OK;
  const std::string erro = PQresultErrorMessage(resultado);
  PQclear(resultado);
  if (!ok) throw std::runtime_error("piso: " + erro);
}

std::vector<const char*> PisoLibpq::Valores(const Comando& comando, const std::map<std::string, std::string>& troca) {
  std::vector<const char*> valores;
  valores.reserve(comando.Parametros.size());
  for (const auto& parametro : comando.Parametros) {
    if (!parametro) {
      valores.push_back(nullptr);
      continue;
    }
    const auto novo = troca.find(*parametro);
    valores.push_back(novo == troca.end() ? parametro->c_str() : novo->second.c_str());
  }
  return valores;
}

void PisoLibpq::Explicar(const std::map<std::string, std::string>& troca) {
  Exigir("BEGIN");
  for (const Comando& comando : FComandos) {
    const std::vector<const char*> valores = Valores(comando, troca);
    const std::string texto = "EXPLAIN (ANALYZE, COSTS OFF, TIMING OFF, SUMMARY OFF) " + comando.Texto;
    PGresult* resultado = PQexecParams(FConexao, texto.c_str(), static_cast<int>(valores.size()), nullptr,
                                       valores.data(), nullptr, nullptr, 0);
    if (PQresultStatus(resultado) != PGRES_TUPLES_OK) {
      const std::string erro = PQresultErrorMessage(resultado);
      PQclear(resultado);
      PQclear(PQexec(FConexao, "ROLLBACK"));
      throw std::runtime_error("explain: " + erro + " em " + comando.Texto);
    }
    std::printf("\n-- %s\n", comando.Texto.c_str());
    for (int linha = 0; linha < PQntuples(resultado); ++linha) std::printf("   %s\n", PQgetvalue(resultado, linha, 0));
    PQclear(resultado);
  }
  Exigir("ROLLBACK");
}

void PisoLibpq::Executar(const std::map<std::string, std::string>& troca) {
  Exigir("BEGIN");
  for (std::size_t indice = 0; indice < FComandos.size(); ++indice) {
    const Comando& comando = FComandos[indice];
    const std::vector<const char*> valores = Valores(comando, troca);
    const std::string nome = "piso" + std::to_string(indice);
    PGresult* resultado =
        PQexecPrepared(FConexao, nome.c_str(), static_cast<int>(valores.size()), valores.data(), nullptr, nullptr, 0);
    const ExecStatusType estado = PQresultStatus(resultado);
    if (estado != PGRES_COMMAND_OK && estado != PGRES_TUPLES_OK) {
      const std::string erro = PQresultErrorMessage(resultado);
      PQclear(resultado);
      PQclear(PQexec(FConexao, "ROLLBACK"));
      throw std::runtime_error("piso: " + erro + " em " + comando.Texto);
    }
    PQclear(resultado);
  }
  Exigir("COMMIT");
}

}  // namespace bench
