#pragma once

#include "oradb/internal/Private.h"

#include <string>

#include "oradb/internal/SqlRewriter.h"
#include "oradb/internal/SqlTree.h"

// Anonymous PL/SQL blocks as PL/pgSQL: the statement syntax is nearly the same, so the block is
// walked statement by statement and only what differs is rewritten (types, collections, object
// member procedures, procedure calls, SELECT INTO).
namespace oradb::internal {

// The body for DO (from DECLARE or BEGIN to the final END;) of the block made of `nodes`.
[[nodiscard]] std::string TranslatePlsqlBlock(NodeSpan nodes, BindTyping& typing);

}  // namespace oradb::internal
