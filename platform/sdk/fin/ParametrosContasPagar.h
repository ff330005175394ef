#pragma once

// The payable sub-module's host parameters, in one list: the name of its getter and setter in
// IFin_ContasPagar (Get<Name>/Set<Name>, also the name the command line and JSON use) and the
// host parameter read when the host does not give explicit values. The interface declares each
// pair by hand, as the contract prescribes; the sub-module's storage and getters and the command
// line's fields are expanded from this list, so a parameter is added in one place.
//
//   NUMERO(Name, "HOSTNAME")  a number (double)
//   TEXTO(Name, "HOSTNAME")   a text (std::string)
#define FIN_PARAMETROS_CONTAS_PAGAR(NUMERO, TEXTO)                           \
  NUMERO(NUMDIASMAXEMISSAOCP_1957, "CON_NUMDIASMAXEMISSAOCP")                \
  NUMERO(NUMDIASMINDESPPAG_1393, "CON_NUMDIASMINDESPPAG")                    \
  TEXTO(GERARDESPESAAOBAIXARDESCNA409_2349, "GERARDESPESAAOBAIXARDESCNA409") \
  TEXTO(LANCARDESPDESCAUTOMATIC_2421, "LANCARDESPDESCAUTOMATIC")             \
  TEXTO(LANCARDESPDESCFINAUTOMATIC_2445, "LANCARDESPDESCFINAUTOMATIC")       \
  NUMERO(CODCONTASOBRAACERTO_1535, "CODCONTASOBRAACERTO")                    \
  NUMERO(CODCONTASOBRACAIXA_1210, "CODCONTASOBRACAIXA")                      \
  NUMERO(CODCONTAFALTACAIXA_1207, "CODCONTAFALTACAIXA")
