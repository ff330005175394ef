#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "RecordJson.h"
#include "Runtime.h"

namespace cli {

enum ExitCode { kExitOk = 0, kExitBusiness = 1, kExitUsage = 2 };

struct CallOutcome {
  Json Answer;
  int Exit = kExitOk;
};

// Runs one operation in its own transaction (committed on success unless flags say rollback,
// rolled back on any failure) and builds the JSON answer.
[[nodiscard]] CallOutcome RunCall(Runtime& runtime, const std::string& operation, const Json& request,
                                  const CallFlags& flags);

// Checks a request against its operation without running it (shape, names, types, widths);
// nothing when it is fine, else the usage failure to answer.
[[nodiscard]] std::optional<CallOutcome> CheckCall(const std::string& operation, const Json& request);

// The answer for a failure outside any operation (bad input, unknown operation ...).
[[nodiscard]] CallOutcome UsageFailure(const std::string& message);

// The answer for a failure an operation raised: its class and message as raised, and the exit code
// from its cause chain (std::nested_exception): a database or connection failure anywhere in it is
// exit 2 (reported as "cause" when it is not the failure itself), a business refusal exit 1.
[[nodiscard]] CallOutcome FailureOutcome(const std::exception& error);

// Reads JSON lines from `in`, runs each request, writes one answer line each to `out`.
// Returns 0 when all succeeded, else the worst exit code.
int RunBatch(Runtime& runtime, std::istream& in, std::ostream& out, const CallFlags& defaults);
// The same, asking `runtime` for the host of each line (so a host whose connection was lost can be
// replaced between lines); a failure to provide one answers that line.
int RunBatch(const std::function<Runtime&()>& runtime, std::istream& in, std::ostream& out, const CallFlags& defaults);

// Reads lines from `in` and writes `answer`'s outcome for each non-blank one, as one JSON line; a
// line `answer` throws on is answered with the failure and the next line follows. Returns the
// worst exit code (0 when all succeeded).
int AnswerEachLine(std::istream& in, std::ostream& out, const std::function<CallOutcome(const std::string&)>& answer);

// Flags given in a batch request's "flags" object.
[[nodiscard]] CallFlags ReadFlags(const Json& flags, const CallFlags& defaults);

}  // namespace cli
