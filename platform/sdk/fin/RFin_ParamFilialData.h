#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// A branch and a day, asked whether the branch has closed its financial period for that day.
struct RFin_ParamFilialData {
  std::string CODFILIAL;
  TDateTime DATA;
};

[[nodiscard]] FieldTable<RFin_ParamFilialData> CamposParamFilialData();
