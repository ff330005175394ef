#include "sdk/RecordFields.h"

const char* FieldKindName(FieldKind kind) noexcept {
  switch (kind) {
    case FieldKind::Text:
      return "text";
    case FieldKind::Number:
      return "number";
    case FieldKind::Integer:
      return "integer";
    case FieldKind::Flag:
      return "boolean";
    case FieldKind::Date:
      return "date";
    case FieldKind::DateTime:
      return "date-time";
  }
  return "unknown";
}
