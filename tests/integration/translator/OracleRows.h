#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "oradb/TOraQuery.h"
#include "rtl/Exception.h"

// Oracle text run through the data-access layer under its own savepoint, its rows read as the
// server's text. A failure is reported with the server's message, so a wrong translation reads at once.
namespace translatortest {

using Row = std::vector<std::optional<std::string>>;
using Rows = std::vector<Row>;

// A bind: text sent untyped, a date (sent as timestamp), or NULL when neither is given.
struct Bind {
  const char* name;
  const char* text = nullptr;
  TDateTime date{};
};
using Binds = std::vector<Bind>;

inline Rows RunOracle(TOraSession& session, const std::string& oracle, const Binds& binds = {}) {
  Rows rows;
  try {
    TOraQuery query(&session);
    query.SetStatementSavepoint(true);
    query.SQL.Add(oracle);
    for (const Bind& bind : binds) {
      TOraParam& param = query.ParamByName(bind.name);
      if (bind.text != nullptr) param.SetAsString(bind.text);
      if (!bind.date.IsZero()) param.SetAsDateTime(bind.date);
    }
    query.ExecSQL();
    for (; query.Active() && !query.Eof(); query.Next()) {
      Row& row = rows.emplace_back();
      for (std::size_t i = 0; i < query.FieldCount(); ++i) row.push_back(query.Fields(i).RawValue());
    }
  } catch (const Exception& error) {
    ADD_FAILURE() << oracle << "\n" << error.Message();
  }
  return rows;
}

}  // namespace translatortest
