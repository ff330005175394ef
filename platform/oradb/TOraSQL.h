#pragma once

#include <string>

#include "oradb/TOraParam.h"
#include "sdk/TStringList.h"

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
  // Adds the parameter on first use; call order is the order of first use.
  [[nodiscard]] TOraParam& ParamByName(const std::string& name);
  // Marks this call as a function whose value comes back in "RESULT".
  void SetIsFunction(bool value) noexcept { FIsFunction = value; }
  void ExecProc();

 private:
  TOraSession* FSession;
  std::string FName;
  std::vector<TOraParam> FParams;
  bool FIsFunction = false;
  std::optional<TOraParam> FResult;
};
