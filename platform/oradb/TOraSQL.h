#pragma once

#include <deque>
#include <optional>
#include <string>

#include "oradb/TOraParam.h"
#include "rtl/TStringList.h"

class TOraSession;

// An anonymous PL/SQL block (DECLARE ... BEGIN ... END;) with named binds, executed once.
class TOraSQL {
 public:
  explicit TOraSQL(TOraSession* session = nullptr) : FSession(session) {}
  void SetSession(TOraSession* session) noexcept { FSession = session; }

  TStringList SQL;
  [[nodiscard]] TOraParam& ParamByName(const std::string& name);
  void Execute();

 private:
  void SyncParams();

  TOraSession* FSession;
  TOraParams FParams;
  std::string FParamsText;
};

// A stored procedure or function called by name with named parameters. A function's value is
// read from the parameter "RESULT" after ExecProc.
class TOraStoredProc {
 public:
  explicit TOraStoredProc(TOraSession* session = nullptr) : FSession(session) {}
  void SetSession(TOraSession* session) noexcept { FSession = session; }

  void SetStoredProcName(const std::string& name);
  [[nodiscard]] const std::string& StoredProcName() const noexcept { return FName; }
  // Adds the parameter on first use; call order is the order of first use. Arguments are passed by
  // name (PostgreSQL named notation), so the order does not have to match the declaration.
  [[nodiscard]] TOraParam& ParamByName(const std::string& name);
  // Marks this call as a function whose value comes back in "RESULT". Without it the routine is
  // looked up once per session: a procedure is CALLed (its INOUT parameters come back into the
  // parameters of the same names), a function is selected and its value lands in "RESULT".
  void SetIsFunction(bool value) noexcept { FIsFunction = value; }
  void ExecProc();

 private:
  TOraSession* FSession;
  std::string FName;
  std::deque<TOraParam> FParams;  // a deque: references handed out stay valid as parameters are added
  bool FIsFunction = false;
  std::optional<TOraParam> FResult;
};
