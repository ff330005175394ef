#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rtl/TDateTime.h"

// How a bind value travels. Texts and numbers go untyped so the server infers their type from
// the context (as Oracle converts implicitly); dates go as timestamp(0).
enum class TParamKind { pkNull, pkString, pkFloat, pkInteger, pkDate, pkDateTime };

// A named bind value (":NAME" in the SQL text). Empty text binds as NULL, as Oracle stores ''.
class TOraParam {
 public:
  explicit TOraParam(std::string name) : FName(std::move(name)) {}

  [[nodiscard]] const std::string& Name() const noexcept { return FName; }
  [[nodiscard]] TParamKind Kind() const noexcept { return FKind; }
  [[nodiscard]] bool IsNull() const noexcept { return FKind == TParamKind::pkNull; }

  void SetAsString(const std::string& value);
  void SetAsFloat(double value);
  void SetAsInteger(long long value);
  void SetAsDate(TDateTime value);      // the date part, midnight
  void SetAsDateTime(TDateTime value);  // to the second
  void Clear() noexcept;                // NULL
  // The same, with the host's day zero (a date not set) bound as NULL.
  void SetAsDateOrNull(TDateTime value);
  void SetAsDateTimeOrNull(TDateTime value);

  [[nodiscard]] std::string AsString() const;
  [[nodiscard]] double AsFloat() const;
  [[nodiscard]] long long AsInteger() const;
  [[nodiscard]] TDateTime AsDateTime() const;

  // The value as the server receives it (text form); nothing for NULL.
  [[nodiscard]] const std::optional<std::string>& WireValue() const noexcept { return FWire; }
  // The value as an escaped SQL literal ('it''s', 12.5, NULL, TIMESTAMP '2026-01-31 00:00:00').
  [[nodiscard]] std::string SqlLiteral() const;

 private:
  std::string FName;
  TParamKind FKind = TParamKind::pkNull;
  std::optional<std::string> FWire;
};

// The binds of one statement, in order of first appearance; names are upper case.
class TOraParams {
 public:
  [[nodiscard]] TOraParam& ParamByName(const std::string& name);  // throws Exception when unknown
  [[nodiscard]] TOraParam* FindParam(const std::string& name);
  [[nodiscard]] std::size_t Count() const noexcept { return FParams.size(); }
  [[nodiscard]] TOraParam& operator[](std::size_t index) { return FParams.at(index); }
  // Keeps the values of names still present, drops the others, adds new names as NULL.
  void Rebuild(const std::vector<std::string>& names);
  void Clear() noexcept { FParams.clear(); }

 private:
  std::vector<TOraParam> FParams;
};
