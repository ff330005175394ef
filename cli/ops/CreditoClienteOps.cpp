#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "OperationRegistry.h"
#include "ops/Ops.h"
#include "sdk/fin/IFin_CreditoCliente.h"

namespace cli {

namespace {

IFin_CreditoCliente& Area(CallContext& context) {
  return RequireArea(context.Financeiro.GetCreditoCliente(), "CreditoCliente");
}

IFin_BaixaTituloComoCredito& BaixaTitulo(CallContext& context) {
  auto* baixa = dynamic_cast<IFin_BaixaTituloComoCredito*>(&Area(context));
  return RequireArea(baixa, "CreditoCliente (baixa de título como crédito)");
}

// The arguments of one request, read by name and type; a name the operation does not take is a
// usage error, so a misspelt argument never runs as its default.
class Argumentos {
 public:
  explicit Argumentos(const Json& pedido) : FArgs(pedido.contains("args") ? pedido["args"] : Json::object()) {
    if (!FArgs.is_object()) throw UsageError("args: esperado objeto JSON, recebido " + JsonTypeName(FArgs) + ".");
  }

  double Numero(const char* nome, bool inteiro = true) {
    struct A {
      double v = 0;
    } a;
    const FieldDef<A> campo = inteiro ? fields::Whole<A>(nome, &A::v) : fields::Number<A>(nome, &A::v);
    if (const Json* valor = Pegar(nome)) ReadField(campo, *valor, a, "args");
    return a.v;
  }
  std::string Texto(const char* nome, std::size_t largura) {
    struct A {
      std::string v;
    } a;
    if (const Json* valor = Pegar(nome)) ReadField(fields::Text<A>(nome, &A::v, largura), *valor, a, "args");
    return a.v;
  }
  bool Flag(const char* nome) {
    struct A {
      bool v = false;
    } a;
    if (const Json* valor = Pegar(nome)) ReadField(fields::Flag<A>(nome, &A::v), *valor, a, "args");
    return a.v;
  }
  TMovimentacaoFinanceira Movimentacao(const char* nome) {
    const Json* valor = Pegar(nome);
    return LerMovimentacao(valor != nullptr ? *valor : Json(), std::string("args.") + nome);
  }
  TCreditoCliente Credito(const char* nome) {
    const Json* valor = Pegar(nome);
    return LerCredito(valor != nullptr ? *valor : Json(), std::string("args.") + nome);
  }
  TContasReceberZTPrest Titulo(const char* nome) {
    const Json* valor = Pegar(nome);
    return LerTitulo(valor != nullptr ? *valor : Json(), std::string("args.") + nome);
  }
  template <class T, class Ler>
  std::vector<T> Lista(const char* nome, Ler ler) {
    std::vector<T> itens;
    const Json* valor = Pegar(nome);
    if (valor == nullptr || valor->is_null()) return itens;
    if (!valor->is_array()) {
      throw UsageError(std::string("args.") + nome + ": esperada lista JSON, recebido " + JsonTypeName(*valor) + ".");
    }
    for (std::size_t i = 0; i < valor->size(); ++i) {
      itens.push_back(ler((*valor)[i], std::string("args.") + nome + "[" + std::to_string(i) + "]"));
    }
    return itens;
  }
  // Every name given was read.
  void Fim() const {
    for (const auto& [nome, valor] : FArgs.items()) {
      if (FLidos.count(nome) == 0) throw UsageError("args: campo desconhecido \"" + nome + "\".");
    }
  }

  static TMovimentacaoFinanceira LerMovimentacao(const Json& objeto, const std::string& onde) {
    TMovimentacaoFinanceiraCampos campos;
    ReadRecord(objeto, campos, CamposMovimentacaoFinanceira(), onde);
    if (campos.Tipo < 0 || campos.Tipo > 1) throw UsageError(onde + ".Tipo: valor fora do domínio (0 a 1).");
    if (campos.CodigoCaixaBanco < 0 || campos.CodigoCaixaBanco > 2147483647) {
      throw UsageError(onde + ".CodigoCaixaBanco: inteiro fora do intervalo.");
    }
    TMovimentacaoFinanceira m;
    m.Tipo = static_cast<TTipoMovimentacaoFinanceira>(campos.Tipo);
    m.CodigoCaixaBanco = static_cast<int>(campos.CodigoCaixaBanco);
    m.CodigoCobranca = campos.CodigoCobranca;
    m.ContaGerencial = campos.ContaGerencial;
    m.DataCompetencia = campos.DataCompetencia;
    return m;
  }

  // A credit: its columns, CODPLPAG (a 64-bit integer) and, optionally, its "Movimentacao".
  static TCreditoCliente LerCredito(const Json& objeto, const std::string& onde) {
    TCreditoCliente c;
    if (objeto.is_null()) return c;
    if (!objeto.is_object()) throw UsageError(onde + ": esperado objeto JSON, recebido " + JsonTypeName(objeto) + ".");
    Json colunas = objeto;
    colunas.erase("Movimentacao");
    colunas.erase("CODPLPAG");
    ReadRecord(colunas, c, CamposCreditoCliente(), onde);
    if (objeto.contains("CODPLPAG") && !objeto["CODPLPAG"].is_null()) {
      const Json& plano = objeto["CODPLPAG"];
      if (!plano.is_number_integer()) throw UsageError(onde + ".CODPLPAG: esperado número inteiro.");
      c.CODPLPAG = plano.get<std::int64_t>();
    }
    if (objeto.contains("Movimentacao") && !objeto["Movimentacao"].is_null()) {
      c.Movimentacao = LerMovimentacao(objeto["Movimentacao"], onde + ".Movimentacao");
    }
    return c;
  }

  static TContasReceberZTPrest LerTitulo(const Json& objeto, const std::string& onde) {
    TContasReceberZTPrest t;
    ReadRecord(objeto, t, CamposContasReceberZTPrest(), onde);
    return t;
  }

 private:
  const Json* Pegar(const char* nome) {
    FLidos.insert(nome);
    return FArgs.contains(nome) ? &FArgs[nome] : nullptr;
  }

  Json FArgs;
  std::set<std::string> FLidos;
};

Json CreditoJson(const TCreditoCliente& c) {
  Json objeto = WriteRecord(c, CamposCreditoCliente());
  objeto["CODPLPAG"] = c.CODPLPAG;
  return objeto;
}

Json Campo(const char* nome, const char* tipo) {
  return Json{{"name", nome}, {"type", tipo}};
}

Json DescreverCredito() {
  Json campos = DescribeTable(CamposCreditoCliente());
  campos.push_back(Campo("CODPLPAG", "integer"));
  campos.push_back(
      {{"name", "Movimentacao"}, {"type", "object"}, {"fields", DescribeTable(CamposMovimentacaoFinanceira())}});
  return campos;
}

// One operation: `corpo` reads its arguments and, given a context, runs; without one it only reads,
// so usage errors surface before the host connects.
using Corpo = std::function<Json(Argumentos&, CallContext*)>;

void Registrar(OperationRegistry& operations, const std::string& nome, Json campos, Corpo corpo) {
  operations.Add({nome, "args", std::move(campos),
                  [corpo](const Json& pedido) {
                    Argumentos a(pedido);
                    corpo(a, nullptr);
                  },
                  [corpo](CallContext& context, const Json& pedido, Json& resposta) {
                    Argumentos a(pedido);
                    resposta["result"] = corpo(a, &context);
                  }});
}

Json Numero(const char* nome) {
  return Campo(nome, "integer");
}
Json Valor(const char* nome) {
  return Campo(nome, "number");
}
Json Texto(const char* nome, std::size_t largura) {
  return Json{{"name", nome}, {"type", "text"}, {"max_chars", largura}};
}
Json Flag(const char* nome) {
  return Campo(nome, "flag");
}
Json Objeto(const char* nome, Json campos) {
  return Json{{"name", nome}, {"type", "object"}, {"fields", std::move(campos)}};
}
Json Lista(const char* nome, Json campos) {
  return Json{{"name", nome}, {"type", "list"}, {"fields", std::move(campos)}};
}

}  // namespace

void RegisterCreditoClienteOps(OperationRegistry& operations) {
  Registrar(operations, "CreditoCliente.IncluirCreditoCliente",
            Json::array({Objeto("CreditoCliente", DescreverCredito())}), [](Argumentos& a, CallContext* c) -> Json {
              TCreditoCliente credito = a.Credito("CreditoCliente");
              a.Fim();
              if (c == nullptr) return nullptr;
              std::string mensagem;
              const bool existe = Area(*c).IncluirCreditoCliente(credito, mensagem);
              return Json{{"incluido", existe}, {"MsgErro", mensagem}, {"CreditoCliente", CreditoJson(credito)}};
            });
  Registrar(operations, "CreditoCliente.EstornarCreditoCliente",
            Json::array({Numero("CodigoCredito"), Valor("ValorEstorno"), Texto("Motivo", 200), Texto("Historico", 200),
                         Objeto("Movimentacao", DescribeTable(CamposMovimentacaoFinanceira()))}),
            [](Argumentos& a, CallContext* c) -> Json {
              const double codigo = a.Numero("CodigoCredito");
              const double valor = a.Numero("ValorEstorno", false);
              const std::string motivo = a.Texto("Motivo", 200);
              const std::string historico = a.Texto("Historico", 200);
              const TMovimentacaoFinanceira movimentacao = a.Movimentacao("Movimentacao");
              a.Fim();
              if (c == nullptr) return nullptr;
              std::string mensagem;
              const bool estornado =
                  Area(*c).EstornarCreditoCliente(codigo, valor, motivo, historico, movimentacao, mensagem);
              return Json{{"estornado", estornado}, {"MsgErro", mensagem}};
            });
  Registrar(operations, "CreditoCliente.BaixarUmCreditoComUmOuVariosTitulos",
            Json::array({Objeto("CreditoCliente", DescreverCredito()),
                         Lista("ListaTitulos", DescribeTable(CamposContasReceberZTPrest())),
                         Flag("ConsideraDescontoNaBaixaCredito")}),
            [](Argumentos& a, CallContext* c) -> Json {
              const TCreditoCliente credito = a.Credito("CreditoCliente");
              const auto titulos = a.Lista<TContasReceberZTPrest>("ListaTitulos", Argumentos::LerTitulo);
              const bool desconto = a.Flag("ConsideraDescontoNaBaixaCredito");
              a.Fim();
              if (c == nullptr) return nullptr;
              std::string mensagem;
              return Json(Area(*c).BaixarUmCreditoComUmOuVariosTitulos(credito, titulos, desconto, mensagem));
            });
  Registrar(operations, "CreditoCliente.BaixarUmTituloComUmOuVariosCreditos",
            Json::array({Objeto("Titulos", DescribeTable(CamposContasReceberZTPrest())),
                         Lista("ListaCreditoCliente", DescreverCredito()), Flag("ConsideraDescontoNaBaixaCredito")}),
            [](Argumentos& a, CallContext* c) -> Json {
              const TContasReceberZTPrest titulo = a.Titulo("Titulos");
              const auto creditos = a.Lista<TCreditoCliente>("ListaCreditoCliente", Argumentos::LerCredito);
              const bool desconto = a.Flag("ConsideraDescontoNaBaixaCredito");
              a.Fim();
              if (c == nullptr) return nullptr;
              std::string mensagem;
              return Json(Area(*c).BaixarUmTituloComUmOuVariosCreditos(titulo, creditos, desconto, mensagem));
            });
  Registrar(operations, "CreditoCliente.EstornarTituloBaixadoComCredito",
            Json::array({Numero("NumeroTransacaoVenda"), Texto("Prestacao", 2)}),
            [](Argumentos& a, CallContext* c) -> Json {
              const double numtransvenda = a.Numero("NumeroTransacaoVenda");
              const std::string prestacao = a.Texto("Prestacao", 2);
              a.Fim();
              if (c == nullptr) return nullptr;
              std::string mensagem;
              return Json(Area(*c).EstornarTituloBaixadoComCredito(numtransvenda, prestacao, mensagem));
            });
  Registrar(operations, "CreditoCliente.BaixarCreditoClienteVarejo",
            Json::array({Numero("CodigoCredito"), Valor("ValorBaixar"), Numero("NumeroPedidoECF"),
                         Texto("NumeroSerieEquipamento", 20), Numero("NumeroCaixa"), Numero("NumeroCupom"),
                         Texto("Historico", 200), Texto("CodigoFilialDesconto", 2)}),
            [](Argumentos& a, CallContext* c) -> Json {
              const double codigo = a.Numero("CodigoCredito");
              const double valor = a.Numero("ValorBaixar", false);
              const double pedido = a.Numero("NumeroPedidoECF");
              const std::string serie = a.Texto("NumeroSerieEquipamento", 20);
              const double caixa = a.Numero("NumeroCaixa");
              const double cupom = a.Numero("NumeroCupom");
              const std::string historico = a.Texto("Historico", 200);
              const std::string filial = a.Texto("CodigoFilialDesconto", 2);
              a.Fim();
              if (c == nullptr) return nullptr;
              std::string gerados;
              const bool baixado = Area(*c).BaixarCreditoClienteVarejo(codigo, valor, pedido, serie, caixa, cupom,
                                                                       historico, filial, gerados);
              return Json{{"baixado", baixado}, {"ListaCodigosCreditosGerados", gerados}};
            });
  Registrar(
      operations, "CreditoCliente.ApenasGerarContraPartidaCredito",
      Json::array({Numero("CodigoCredito"), Numero("NumCred"), Numero("NumeroNota"), Numero("NumeroTransacaoVenda")}),
      [](Argumentos& a, CallContext* c) -> Json {
        const double codigo = a.Numero("CodigoCredito");
        const double numcred = a.Numero("NumCred");
        const double nota = a.Numero("NumeroNota");
        const double numtransvenda = a.Numero("NumeroTransacaoVenda");
        a.Fim();
        if (c == nullptr) return nullptr;
        return Json(Area(*c).ApenasGerarContraPartidaCredito(codigo, numcred, nota, numtransvenda));
      });
  Registrar(operations, "CreditoCliente.InserirRegistroDesdobramentoCreditoCliente",
            Json::array({Numero("CodigoCreditoOrigem"), Numero("CodigoCreditoDestino")}),
            [](Argumentos& a, CallContext* c) -> Json {
              const double origem = a.Numero("CodigoCreditoOrigem");
              const double destino = a.Numero("CodigoCreditoDestino");
              a.Fim();
              if (c == nullptr) return nullptr;
              return Json(Area(*c).InserirRegistroDesdobramentoCreditoCliente(origem, destino));
            });
  Registrar(operations, "CreditoCliente.AtualizarBaixarCreditoClienteVarejo", Json::array({Numero("CodigoCredito")}),
            [](Argumentos& a, CallContext* c) -> Json {
              const double codigo = a.Numero("CodigoCredito");
              a.Fim();
              if (c == nullptr) return nullptr;
              return Json(Area(*c).AtualizarBaixarCreditoClienteVarejo(codigo));
            });
  Registrar(operations, "CreditoCliente.EstornarBaixaCreditoClienteVarejo",
            Json::array({Numero("NumeroTransacaoVenda")}), [](Argumentos& a, CallContext* c) -> Json {
              const double numtransvenda = a.Numero("NumeroTransacaoVenda");
              a.Fim();
              if (c == nullptr) return nullptr;
              return Json(Area(*c).EstornarBaixaCreditoClienteVarejo(numtransvenda));
            });
  Registrar(operations, "CreditoCliente.ApenasBaixarCredito",
            Json::array({Objeto("CreditoCliente", DescreverCredito())}), [](Argumentos& a, CallContext* c) -> Json {
              TCreditoCliente credito = a.Credito("CreditoCliente");
              a.Fim();
              if (c == nullptr) return nullptr;
              std::string mensagem;
              const bool baixado = Area(*c).ApenasBaixarCredito(credito, mensagem);
              return Json{{"baixado", baixado}, {"MsgErro", mensagem}};
            });
  Registrar(operations, "CreditoCliente.BaixarTituloComoCredito",
            Json::array({Objeto("TituloContasReceber", DescribeTable(CamposContasReceberZTPrest())),
                         Flag("ConsideraDesconto")}),
            [](Argumentos& a, CallContext* c) -> Json {
              const TContasReceberZTPrest titulo = a.Titulo("TituloContasReceber");
              const bool desconto = a.Flag("ConsideraDesconto");
              a.Fim();
              if (c == nullptr) return nullptr;
              return Json(BaixaTitulo(*c).BaixarTituloComoCredito(titulo, desconto));
            });
}

}  // namespace cli
