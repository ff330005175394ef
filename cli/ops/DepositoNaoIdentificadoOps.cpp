#include "ops/DepositoNaoIdentificadoOps.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <set>

#include "OperationRegistry.h"
#include "Runtime.h"
#include "ops/Ops.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/fin/IFin_DepositoNaoIdentificadoComVerba.h"

namespace cli {

namespace {

IFin_DepositoNaoIdentificadoComVerba& Area(CallContext& context) {
  return RequireArea(context.Financeiro.GetDepositoNaoIdentificadoComVerba(), "DepositoNaoIdentificadoComVerba");
}

struct BaixarArgs {
  double CodigoCliente = 0;
  int CodigoBanco = 0;
  double NumeroVerba = 0;
  double ValorVerba = 0;
};

const FieldDef<BaixarArgs> kBaixarArgs[] = {
    fields::Whole("CodigoCliente", &BaixarArgs::CodigoCliente, true),
    fields::Integer("CodigoBanco", &BaixarArgs::CodigoBanco, true),
    fields::Whole("NumeroVerba", &BaixarArgs::NumeroVerba, true),
    fields::Number("ValorVerba", &BaixarArgs::ValorVerba, true),
};

struct EstornarArgs {
  double NumeroVerba = 0;
  double ValorVerba = 0;
};

const FieldDef<EstornarArgs> kEstornarArgs[] = {
    fields::Whole("NumeroVerba", &EstornarArgs::NumeroVerba, true),
    fields::Number("ValorVerba", &EstornarArgs::ValorVerba, true),
};

[[nodiscard]] bool NaLista(const TJanelaSelecaoDNI& janela, double numtrans) {
  return std::any_of(janela.Linhas.begin(), janela.Linhas.end(),
                     [numtrans](const TLinhaSelecaoDNI& linha) { return linha.NUMTRANS == numtrans; });
}

// The picker `--pick` and `--clearing-date` describe. Without --pick the user cancels; "-" asks on
// the terminal; a list is checked against the rows the module offers before anything is settled.
host::TSeletorDNI SeletorDaLinhaDeComando(const CallFlags* flags) {
  if (flags == nullptr || !flags->Pick) return {};
  TDateTime data;
  if (flags->ClearingDate) data = LerDataCompensacao(*flags->ClearingDate);
  if (*flags->Pick == "-") {
    if (isatty(STDIN_FILENO) == 0) {
      throw UsageError("--pick - pergunta no terminal, mas a entrada padrão não é um terminal.");
    }
    return [](const TJanelaSelecaoDNI& janela, const TConfirmarSelecaoDNI& confirmar) {
      // The request was read up to its end; the answers come after it on the same terminal.
      std::cin.clear();
      return SelecionarDNIsNoTerminal(janela, confirmar, std::cin, std::cerr);
    };
  }
  const std::vector<double> escolhidos = LerNumTransEscolhidos(*flags->Pick);
  return [escolhidos, data](const TJanelaSelecaoDNI& janela, const TConfirmarSelecaoDNI& confirmar) {
    for (const double numtrans : escolhidos) {
      if (!NaLista(janela, numtrans)) {
        throw UsageError("--pick: o numtrans " + ShortestDecimal(numtrans) +
                         " não está na lista de DNIs do banco para o cliente.");
      }
    }
    confirmar(TSelecaoDNI{escolhidos, data});
    return TModalResult::mrOk;
  };
}

// The picker is the call's only: the next call of a batch starts without one.
struct SeletorDaChamada {
  host::THostQuorvin& Host;
  SeletorDaChamada(host::THostQuorvin& host, host::TSeletorDNI seletor) : Host(host) {
    Host.SetSeletorDNI(std::move(seletor));
  }
  ~SeletorDaChamada() { Host.SetSeletorDNI({}); }
  SeletorDaChamada(const SeletorDaChamada&) = delete;
  SeletorDaChamada& operator=(const SeletorDaChamada&) = delete;
};

std::string Preencher(const std::string& texto, std::size_t largura) {
  const std::size_t atual = CharCount(texto);
  return atual >= largura ? texto : texto + std::string(largura - atual, ' ');
}

// A caption without its accelerator mark: "&Confirmar" -> "Confirmar".
std::string SemAcelerador(std::string texto) {
  texto.erase(std::remove(texto.begin(), texto.end(), '&'), texto.end());
  return texto;
}

void MostrarJanela(const TJanelaSelecaoDNI& janela, std::ostream& out) {
  out << "== " << janela.Titulo << " ==\n";
  for (const TCampoSelecaoDNI& campo : janela.Campos) out << campo.Titulo << ": " << campo.Valor << '\n';
  out << '\n' << janela.TituloGrade << '\n';
  std::vector<std::size_t> larguras;
  for (const TColunaSelecaoDNI& coluna : janela.Colunas) larguras.push_back(CharCount(coluna.Titulo));
  for (const TLinhaSelecaoDNI& linha : janela.Linhas) {
    for (std::size_t i = 0; i < linha.Celulas.size() && i < larguras.size(); ++i) {
      larguras[i] = std::max(larguras[i], CharCount(linha.Celulas[i]));
    }
  }
  for (std::size_t i = 0; i < janela.Colunas.size(); ++i)
    out << Preencher(janela.Colunas[i].Titulo, larguras[i]) << " | ";
  out << '\n';
  for (const TLinhaSelecaoDNI& linha : janela.Linhas) {
    for (std::size_t i = 0; i < linha.Celulas.size() && i < larguras.size(); ++i) {
      out << Preencher(linha.Celulas[i], larguras[i]) << " | ";
    }
    out << '\n';
  }
}

}  // namespace

std::vector<double> LerNumTransEscolhidos(const std::string& texto) {
  std::vector<double> escolhidos;
  std::set<std::string> vistos;
  for (const std::string& item : SplitTrimmed(texto, ',')) {
    const bool digitos = !item.empty() && item.size() <= 10 &&
                         std::all_of(item.begin(), item.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digitos || std::stod(item) <= 0) {
      throw UsageError("--pick: \"" + item + "\" não é um numtrans (número inteiro positivo).");
    }
    if (!vistos.insert(ShortestDecimal(std::stod(item))).second) {
      throw UsageError("--pick: o numtrans " + item + " foi escolhido mais de uma vez.");
    }
    escolhidos.push_back(std::stod(item));
  }
  if (escolhidos.empty()) throw UsageError("--pick: informe os numtrans dos DNIs separados por vírgula, ou -.");
  return escolhidos;
}

TDateTime LerDataCompensacao(const std::string& texto) {
  const std::string data = Trim(texto);
  const std::optional<TDateTime> lida = data.size() == 10 ? TDateTime::FromIso(data) : std::nullopt;
  if (!lida || lida->IsZero()) {
    throw UsageError("--clearing-date: \"" + texto + "\" não é uma data AAAA-MM-DD.");
  }
  return *lida;
}

TModalResult SelecionarDNIsNoTerminal(const TJanelaSelecaoDNI& janela, const TConfirmarSelecaoDNI& confirmar,
                                      std::istream& in, std::ostream& out) {
  MostrarJanela(janela, out);
  while (true) {
    out << "\nNumtrans dos DNIs a marcar, separados por vírgula; vazio para " << SemAcelerador(janela.BotaoCancelar)
        << ": " << std::flush;
    std::string escolha;
    if (!std::getline(in, escolha) || Trim(escolha).empty()) return TModalResult::mrCancel;
    out << janela.TituloDataCompensacao << " (AAAA-MM-DD): " << std::flush;
    std::string data;
    if (!std::getline(in, data)) return TModalResult::mrCancel;
    try {
      TSelecaoDNI selecao;
      selecao.NUMTRANS = LerNumTransEscolhidos(escolha);
      if (!Trim(data).empty()) selecao.DataCompensacao = LerDataCompensacao(data);
      confirmar(selecao);
      out << SemAcelerador(janela.BotaoConfirmar) << ": baixa realizada.\n";
      return TModalResult::mrOk;
    } catch (const std::exception& falha) {
      // The window stays open: the user corrects the picks or the date and confirms again.
      const auto* conhecida = dynamic_cast<const Exception*>(&falha);
      out << (conhecida != nullptr ? conhecida->Message() : std::string(falha.what())) << '\n';
    }
  }
}

void RegisterDepositoNaoIdentificadoOps(OperationRegistry& operations) {
  operations.AddArgs<BaixarArgs>("DepositoNaoIdentificadoComVerba.BaixarVerbaComDNI",
                                 FieldTable<BaixarArgs>(kBaixarArgs), [](CallContext& context, BaixarArgs& args) {
                                   SeletorDaChamada seletor(context.Host, SeletorDaLinhaDeComando(context.Flags));
                                   return Json(Area(context).BaixarVerbaComDNI(args.CodigoCliente, args.CodigoBanco,
                                                                               args.NumeroVerba, args.ValorVerba));
                                 });
  operations.AddArgs<EstornarArgs>(
      "DepositoNaoIdentificadoComVerba.EstornarBaixaDNIComVerba", FieldTable<EstornarArgs>(kEstornarArgs),
      [](CallContext& context, EstornarArgs& args) {
        return Json(Area(context).EstornarBaixaDNIComVerba(args.NumeroVerba, args.ValorVerba));
      });
}

}  // namespace cli
