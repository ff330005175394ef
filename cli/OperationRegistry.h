#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "RecordJson.h"
#include "host/THostQuorvin.h"
#include "sdk/IGerenteFinanceiro.h"

namespace cli {

// What an operation gets: the host it runs in and the module's facade.
struct CallFlags;

struct CallContext {
  host::THostQuorvin& Host;
  IGerenteFinanceiro& Financeiro;
  const CallFlags* Flags = nullptr;  // the call's flags, for operations that read their own
};

// One operation of `quorvin-fin call`: "record" operations take {"record": {...}} and answer the
// record as it ends up; "args" operations take {"args": {...}}.
struct Operation {
  std::string Name;  // AREA.OPERATION
  std::string Kind;  // "record" | "args"
  Json Fields;       // names and types, from the field table
  // Reads the request as Run would, without running anything: usage errors surface before the
  // host connects.
  std::function<void(const Json& request)> Check;
  // Runs with the request; writes "result" (and "record") into the answer.
  std::function<void(CallContext&, const Json& request, Json& answer)> Run;
};

// An area interface from the facade; a missing area is a usage error, not a crash.
template <class TInterface>
TInterface& RequireArea(TInterface* area, const char* name) {
  if (area == nullptr) throw UsageError(std::string("a área ") + name + " não está disponível neste módulo.");
  return *area;
}

class OperationRegistry {
 public:
  void Add(Operation operation);
  [[nodiscard]] const Operation* Find(const std::string& name) const;
  [[nodiscard]] std::vector<const Operation*> All() const;

  // A record operation: the record is initialised (Inicializar) unless the request says
  // "inicializar": false, filled from "record", handed to `body`, and written back.
  template <class R, class Body>
  void AddRecord(const std::string& name, FieldTable<R> table, Body body) {
    const auto read = [table](const Json& request, R& record) {
      if (!(request.contains("inicializar") && request["inicializar"] == false)) record.Inicializar();
      ReadRecord(request.contains("record") ? request["record"] : Json(), record, table, "record");
    };
    Add({name, "record", DescribeTable(table),
         [read](const Json& request) {
           R record{};
           read(request, record);
         },
         [read, table, body](CallContext& context, const Json& request, Json& answer) {
           R record{};
           read(request, record);
           Json result = body(context, record);
           answer["result"] = std::move(result);
           answer["record"] = WriteRecord(record, table);
         }});
  }

  // An operation with plain arguments, described by a table over an argument struct.
  template <class A, class Body>
  void AddArgs(const std::string& name, FieldTable<A> table, Body body) {
    Add({name, "args", DescribeTable(table),
         [table](const Json& request) {
           A args{};
           ReadRecord(request.contains("args") ? request["args"] : Json(), args, table, "args");
         },
         [table, body](CallContext& context, const Json& request, Json& answer) {
           A args{};
           ReadRecord(request.contains("args") ? request["args"] : Json(), args, table, "args");
           answer["result"] = body(context, args);
         }});
  }

 private:
  std::map<std::string, Operation> FOperations;
};

// Every operation of every area (each area adds its Register...Ops call in ops/Ops.cpp).
[[nodiscard]] const OperationRegistry& Operations();

}  // namespace cli
