#pragma once

#include <string>

#include "RecordJson.h"
#include "rtl/TStringList.h"
#include "sdk/TBase.h"

namespace cli {

// The validation messages one operation of an area adds: the area's list is emptied before it runs.
class MensagensDaArea {
 public:
  template <class Area>
  explicit MensagensDaArea(Area& area) {
    if (auto* sub_modulo = dynamic_cast<TBaseSubModulo*>(&area)) {
      FValidador = &sub_modulo->GetValidador();
      FValidador->Clear();
    }
  }
  [[nodiscard]] Json Novas() const {
    Json mensagens = Json::array();
    if (FValidador == nullptr) return mensagens;
    for (const std::string& mensagem : FValidador->Lines()) mensagens.push_back(mensagem);
    return mensagens;
  }

 private:
  TStringList* FValidador = nullptr;
};

}  // namespace cli
