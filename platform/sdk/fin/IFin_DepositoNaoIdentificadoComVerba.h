#pragma once

// Supplier allowances settled with unidentified deposits ("DNI") of a bank, and their reversal.
class IFin_DepositoNaoIdentificadoComVerba {
 public:
  static constexpr const char* InterfaceName = "IFin_DepositoNaoIdentificadoComVerba";
  virtual ~IFin_DepositoNaoIdentificadoComVerba();

  // Lists the bank's open deposits that the customer may use, lets the user pick them in the
  // host's picker and settles the allowance with them when the user confirms; true when settled.
  virtual bool BaixarVerbaComDNI(double pfCodigoCliente, int pfCodigoBanco, double pfNumeroVerba,
                                 double pfValorVerba) = 0;
  // Reverses the settlement of the allowance: its value goes back as an open deposit; true when done.
  virtual bool EstornarBaixaDNIComVerba(double pfNumeroVerba, double pfValorVerba) = 0;
};
