#include "cancelsplit/Uclsfin_cancelardesdobramento.h"

TCancelarDesdobramento::TCancelarDesdobramento(TComponent* owner, int codigo_usuario, int codigo_rotina, TModo modo)
    : TBaseSubModulo(owner), FCodigoUsuario(codigo_usuario), FCodigoRotina(codigo_rotina), FModo(modo) {}

TCancelarDesdobramento::~TCancelarDesdobramento() = default;
