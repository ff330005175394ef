#include "sdk/fin/TFin_GerarBoletos.h"

IFin_GeracaoDadosBancarios::~IFin_GeracaoDadosBancarios() = default;
