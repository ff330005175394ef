#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "RecordJson.h"
#include "support/TestDatabase.h"

// Every operation the command line offers, fed hostile values in each of its fields: each request
// gets one answer line that is JSON, a refusal names its class and says why, no statement text
// breaks (nothing pasted into SQL), and nothing is left in the database. The short form gives each
// field two of the hostile values in turn; QUORVIN_SOAK_N set gives every field all of them.
namespace {

using cli::Json;

struct Resultado {
  int Saida = 0;
  std::string Saida_;
  std::string Erros;
};

Resultado Rodar(const std::vector<std::string>& argumentos, const std::string& entrada = {}) {
  std::istringstream in(entrada);
  std::ostringstream out, err;
  Resultado r;
  r.Saida = cli::Main(argumentos, in, out, err);
  r.Saida_ = out.str();
  r.Erros = err.str();
  return r;
}

struct Campo {
  std::string Nome;  // the path, "Objeto.CAMPO" for a field of a nested record
  std::string Tipo;
  std::size_t Largura = 0;
  std::string Abre;   // the request text up to the field's own name: `"Objeto": {"` for a nested one
  std::string Fecha;  // what closes the nesting after its value
};

// The fields of a description, and those of its nested records and lists of records, each with
// the text that reaches it from the top of the request.
void LerCampos(const Json& campos, const std::string& caminho, const std::string& abre, const std::string& fecha,
               std::vector<Campo>& lidos) {
  for (const Json& campo : campos) {
    const std::string nome = campo["name"].get<std::string>();
    const std::string tipo = campo["type"].get<std::string>();
    lidos.push_back({caminho + nome, tipo, campo.value("max_chars", 0u), abre, fecha});
    if (!campo.contains("fields")) continue;
    const bool lista = tipo == "list";
    LerCampos(campo["fields"], caminho + nome + ".", abre + nome + "\": " + (lista ? "[{\"" : "{\""),
              (lista ? "}]" : "}") + fecha, lidos);
  }
}

struct Operacao {
  std::string Nome;
  std::string Pedido;  // "record" or "args"
  std::vector<Campo> Campos;
};

std::vector<Operacao> Operacoes() {
  std::vector<Operacao> operacoes;
  std::istringstream lista(Rodar({"call", "--list"}).Saida_);
  for (std::string nome; std::getline(lista, nome);) {
    if (nome.empty()) continue;
    const Json descricao = Json::parse(Rodar({"call", "--describe", nome}).Saida_);
    Operacao operacao{nome, descricao.value("request", "args"), {}};
    LerCampos(descricao["fields"], "", "", "", operacao.Campos);
    operacoes.push_back(operacao);
  }
  return operacoes;
}

// A hostile value for a field, as the JSON text pasted into the request line (raw, so an invalid
// UTF-8 byte can be sent as it would arrive from a broken client).
struct Valor {
  const char* Nome;
  std::string (*Texto)(const Campo&);
};

const std::vector<Valor>& Valores() {
  static const std::vector<Valor> valores = {
      {"vazio", [](const Campo&) { return std::string(R"("")"); }},
      {"tipo-errado",
       [](const Campo& c) { return c.Tipo == "text" ? std::string("12345") : std::string(R"("12,5 reais")"); }},
      {"nulo", [](const Campo&) { return std::string("null"); }},
      {"enorme",
       [](const Campo& c) { return c.Tipo == "text" ? "\"" + std::string(100000, 'X') + "\"" : std::string("1e300"); }},
      {"negativo", [](const Campo&) { return std::string("-1"); }},
      {"fracao", [](const Campo&) { return std::string("650000.5"); }},
      {"largo", [](const Campo& c) { return "\"" + std::string(c.Largura + 1, 'W') + "\""; }},
      {"sql", [](const Campo&) { return std::string(R"("1' OR '1'='1'; DROP TABLE ZTLANC; --")"); }},
      {"lista-sql", [](const Campo&) { return std::string(R"("1,2) OR (1=1")"); }},
      {"utf8-invalido",
       [](const Campo& c) { return c.Tipo == "text" ? std::string("\"a\xff\xc0\xaf\"") : std::string("1e400"); }},
      {"nul", [](const Campo& c) { return c.Tipo == "text" ? std::string(R"("a\u0000b")") : std::string("-0.0"); }},
      {"profundo", [](const Campo&) { return std::string(100000, '[') + std::string(100000, ']'); }},
  };
  return valores;
}

// The committed state of every table: rows per table, so a refused request that wrote anything
// (on a second session, or by committing inside the module) shows.
std::map<std::string, std::string> Estado(TOraSession& sessao) {
  std::map<std::string, std::string> estado;
  sessao.ExecuteScript(
      "CREATE OR REPLACE FUNCTION pg_temp.contagem_das_tabelas() RETURNS text LANGUAGE sql AS $$ "
      "SELECT string_agg(table_name || '=' || (xpath('/row/c/text()', query_to_xml('SELECT count(*) AS c FROM ' || "
      "quote_ident(table_name), false, true, '')))[1]::text, ';' ORDER BY table_name) FROM information_schema.tables "
      "WHERE table_schema = 'public' AND table_type = 'BASE TABLE' $$;");
  const std::string sql = "SELECT pg_temp.contagem_das_tabelas() FROM DUAL";
  const std::string todas = testsupport::QueryValue(sessao, sql).value_or("");
  std::istringstream linhas(todas);
  for (std::string par; std::getline(linhas, par, ';');) {
    const auto igual = par.find('=');
    estado[par.substr(0, igual)] = par.substr(igual + 1);
  }
  return estado;
}

TEST(CliSweep, EveryOperationAnswersHostileFieldsWithAClearRefusalAndWritesNothing) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  const bool completo = std::getenv("QUORVIN_SOAK_N") != nullptr;
  auto verificacao = testsupport::NewSession("tests-cli-sweep");
  const auto antes = Estado(*verificacao);

  const std::vector<Operacao> operacoes = Operacoes();
  ASSERT_GT(operacoes.size(), 20u);
  std::size_t pedidos = 0;
  std::size_t recusados = 0;
  for (const Operacao& operacao : operacoes) {
    // Every request of the batch is rolled back whatever its answer, and confirmations are
    // refused, so only what the module itself commits could remain.
    const std::string cabeca = R"({"op": ")" + operacao.Nome +
                               R"(", "flags": {"rollback": true, "confirm": "cancel"}, ")" + operacao.Pedido + R"(": )";
    std::vector<std::string> linhas{cabeca + "{}}", cabeca + "[1, 2]}", cabeca + "\"texto\"}"};
    std::vector<std::string> casos{"sem campos", "lista no lugar do registro", "texto no lugar do registro"};
    for (std::size_t f = 0; f < operacao.Campos.size(); ++f) {
      const Campo& campo = operacao.Campos[f];
      for (std::size_t v = 0; v < Valores().size(); ++v) {
        if (!completo && v != f % Valores().size() && v != (f + 5) % Valores().size()) continue;
        const Valor& valor = Valores()[v];
        if (std::string(valor.Nome) == "largo" && campo.Largura == 0) continue;
        const std::string proprio = campo.Nome.substr(campo.Nome.rfind('.') + 1);
        linhas.push_back(cabeca + "{\"" + campo.Abre + proprio + "\": " + valor.Texto(campo) + campo.Fecha + "}}");
        casos.push_back(campo.Nome + " " + valor.Nome);
      }
    }
    std::string entrada;
    for (const std::string& linha : linhas) entrada += linha + "\n";
    const Resultado r = Rodar({"call", "--batch"}, entrada);
    EXPECT_TRUE(r.Saida == 0 || r.Saida == 1 || r.Saida == 2) << operacao.Nome << " exit " << r.Saida;
    std::istringstream respostas(r.Saida_);
    std::size_t i = 0;
    for (std::string resposta; std::getline(respostas, resposta); ++i) {
      if (i >= casos.size()) break;
      const std::string caso = operacao.Nome + " / " + casos[i];
      const Json answer = Json::parse(resposta, nullptr, false);
      ASSERT_FALSE(answer.is_discarded()) << caso << ": not JSON: " << resposta.substr(0, 300);
      ASSERT_TRUE(answer.contains("ok")) << caso << ": " << resposta.substr(0, 300);
      ++pedidos;
      if (answer["ok"] == true) continue;
      ++recusados;
      const std::string mensagem = answer.value("message", "");
      EXPECT_FALSE(answer.value("exception", "").empty()) << caso << ": " << resposta.substr(0, 300);
      EXPECT_FALSE(mensagem.empty()) << caso;
      // A value that broke a statement's text was pasted into it instead of being bound.
      for (const char* quebra : {"syntax error", "ORA-00933", "ORA-00907", "unterminated quoted string"}) {
        EXPECT_EQ(mensagem.find(quebra), std::string::npos) << caso << ": " << mensagem.substr(0, 300);
      }
    }
    EXPECT_EQ(i, casos.size()) << operacao.Nome << ": one answer line per request line\n" << r.Erros.substr(0, 500);
  }
  const auto depois = Estado(*verificacao);
  for (const auto& [tabela, linhas] : depois) {
    // The customer-credit change log is written on the host's second session and committed at once,
    // on purpose: its rows outlive the rollback of the call they trace.
    if (tabela == "ztlogalteracaodados") continue;
    EXPECT_EQ(antes.count(tabela) ? antes.at(tabela) : "absent", linhas) << "table " << tabela << " changed";
  }
  std::printf("[ sweep    ] %zu operations, %zu requests, %zu refused\n", operacoes.size(), pedidos, recusados);
}

}  // namespace
