#pragma once

#include <string>

// Options of a bank-slip run, for callers of the receivable area. Plain data.
class TFin_ParamentrosGerarBoleto {
 public:
  [[nodiscard]] bool gerarDadosBancarios() const noexcept { return FGerarDadosBancarios; }
  void gerarDadosBancarios(bool value) noexcept { FGerarDadosBancarios = value; }
  [[nodiscard]] bool gerarBoletos() const noexcept { return FGerarBoletos; }
  void gerarBoletos(bool value) noexcept { FGerarBoletos = value; }
  [[nodiscard]] bool validarPermissaoParaGerarDadosBancarios() const noexcept {
    return FValidarPermissaoParaGerarDadosBancarios;
  }
  void validarPermissaoParaGerarDadosBancarios(bool value) noexcept {
    FValidarPermissaoParaGerarDadosBancarios = value;
  }
  [[nodiscard]] double codigoRotina() const noexcept { return FCodigoRotina; }
  void codigoRotina(double value) noexcept { FCodigoRotina = value; }
  [[nodiscard]] double numeroPermissao() const noexcept { return FNumeroPermissao; }
  void numeroPermissao(double value) noexcept { FNumeroPermissao = value; }
  [[nodiscard]] double matriculaUsuario() const noexcept { return FMatriculaUsuario; }
  void matriculaUsuario(double value) noexcept { FMatriculaUsuario = value; }
  [[nodiscard]] bool filialVirtual() const noexcept { return FFilialVirtual; }
  void filialVirtual(bool value) noexcept { FFilialVirtual = value; }
  [[nodiscard]] bool geraLinhaDigitavelValorBruto() const noexcept { return FGeraLinhaDigitavelValorBruto; }
  void geraLinhaDigitavelValorBruto(bool value) noexcept { FGeraLinhaDigitavelValorBruto = value; }

 private:
  bool FGerarDadosBancarios = false;
  bool FGerarBoletos = false;
  bool FValidarPermissaoParaGerarDadosBancarios = false;
  double FCodigoRotina = 0;
  double FNumeroPermissao = 0;
  double FMatriculaUsuario = 0;
  bool FFilialVirtual = false;
  bool FGeraLinhaDigitavelValorBruto = false;
};

// A slip request for the titles of one sale transaction: one instalment, or every instalment when
// PREST is empty. CODBANCO 0 takes the bank from the title's charge.
class TFin_GerarBoletos {
 public:
  double NUMTRANSVENDA = 0;
  std::string PREST;
  double CODBANCO = 0;
  std::string Impressora;
  std::string PastaPDF;
  std::string VisualizarPDF;  // "S" shows the preview after a PDF is produced

  [[nodiscard]] TFin_ParamentrosGerarBoleto& getParametros() noexcept { return FParametros; }
  [[nodiscard]] const TFin_ParamentrosGerarBoleto& getParametros() const noexcept { return FParametros; }

 private:
  TFin_ParamentrosGerarBoleto FParametros;
};

// Bank data generation on its own, without printing: the receivable sub-module answers it besides
// IFin_ContasReceber (no slot of that interface carries it).
class IFin_GeracaoDadosBancarios {
 public:
  static constexpr const char* InterfaceName = "IFin_GeracaoDadosBancarios";
  virtual ~IFin_GeracaoDadosBancarios();

  // Generates the own number, barcode and typeable line of the request's titles that lack them,
  // under the bank's lock; true when done or when no title needed it.
  virtual bool GerarDadosBancarios(TFin_GerarBoletos& Boleto) = 0;
};
