#pragma once

#include "sdk/fin/TCreditoCliente.h"

// The columns of a credit an update may set, in the statement's order, each with the kind of its
// value: the update's text and its binds walk this one list, so they cannot drift apart.
template <class Numero, class Texto, class Data>
void ColunasAtualizaveis(const TCreditoCliente& c, Numero&& numero, Texto&& texto, Data&& data) {
  numero(c.NUMNOTA, "NUMNOTA");
  numero(c.NUMTRANSVENDA, "NUMTRANSVENDA");
  texto(c.SERIE, "SERIE");
  numero(c.VALOR, "VALOR");
  data(c.DTDESCONTO, "DTDESCONTO");
  texto(c.CODFILIALDESC, "CODFILIALDESC");
  numero(c.NUMNOTADESC, "NUMNOTADESC");
  texto(c.SERIEDESC, "SERIEDESC");
  numero(c.CODFUNC, "CODFUNC");
  texto(c.ORIGEM, "ORIGEM");
  numero(c.NUMTRANSVENDADESC, "NUMTRANSVENDADESC");
  numero(c.NUMTRANSENTDEVCLI, "NUMTRANSENTDEVCLI");
  texto(c.HISTORICO, "HISTORICO");
  numero(c.CODFUNCLANC, "CODFUNCLANC");
  numero(c.NUMPED, "NUMPED");
  texto(c.NUMERARIO, "NUMERARIO");
  numero(c.CODMOVIMENTO, "CODMOVIMENTO");
  numero(c.NUMLANCBAIXA, "NUMLANCBAIXA");
  numero(c.NUMTRANSBAIXA, "NUMTRANSBAIXA");
  numero(c.NUMLANC, "NUMLANC");
  numero(c.NUMTRANS, "NUMTRANS");
  numero(c.NUMPEDECF, "NUMPEDECF");
  numero(c.NUMCAIXA, "NUMCAIXA");
  numero(c.CODFUNCCX, "CODFUNCCX");
  texto(c.NUMSERIEEQUIP, "NUMSERIEEQUIP");
  texto(c.PRESTRESTCLI, "PRESTRESTCLI");
  texto(c.SITUACAO, "SITUACAO");
  numero(c.NUMINDENIZ, "NUMINDENIZ");
  texto(c.OBS, "OBS");
  texto(c.CODADMCARTAO, "CODADMCARTAO");
  numero(c.NUMCUPOM, "NUMCUPOM");
  texto(c.NSUTEF, "NSUTEF");
  numero(c.BIN, "BIN");
  numero(c.VALORESTORNOLIBERADO, "VALORESTORNOLIBERADO");
  numero(c.CODCLIORIG, "CODCLIORIG");
  numero(c.NUMGIFTCARD, "NUMGIFTCARD");
  data(c.DTEMISSAOTITULO, "DTEMISSAOTITULO");
  numero(c.NUMCRED, "NUMCRED");
  data(c.DTESTORNO, "DTESTORNO");
  texto(c.PRESTORIG, "PRESTORIG");
}
