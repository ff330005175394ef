#pragma once

// The headers of this folder belong to the data-access library: its own sources, its unit tests
// and its fuzz target compile with QUORVIN_ORADB_INTERNAL defined; every other target reaches the
// database through the public classes of oradb/ only.
#ifndef QUORVIN_ORADB_INTERNAL
#error "oradb/internal is private to the data-access library: use the public classes of oradb/"
#endif
