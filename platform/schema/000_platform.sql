-- Platform prerequisites: the Oracle compatibility extension and the search path every session uses.
-- Idempotent: runs again on every reset.

CREATE EXTENSION IF NOT EXISTS orafce;

-- orafce's schema first and pg_catalog named right after it, so the Oracle-compatible substr,
-- decode, trunc ... win over PostgreSQL's own; sessions set the same path when they connect.
-- With this path an unqualified CREATE lands in schema oracle: scripts run outside the data-access
-- layer (psql) name their schema (public.ztlanc) or set search_path = public, oracle, pg_catalog.
DO $platform$
BEGIN
  EXECUTE format('ALTER DATABASE %I SET search_path = oracle, pg_catalog, "$user", public', current_database());
END
$platform$;
