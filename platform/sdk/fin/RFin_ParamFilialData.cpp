#include "sdk/fin/RFin_ParamFilialData.h"

FieldTable<RFin_ParamFilialData> CamposParamFilialData() {
  using R = RFin_ParamFilialData;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Text("CODFILIAL", &R::CODFILIAL, 2, true),
      Date("DATA", &R::DATA, true),
  };
  return kCampos;
}
