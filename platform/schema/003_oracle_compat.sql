-- Oracle dictionary and functions the module's SQL relies on that orafce does not give in the
-- needed form. Idempotent.

-- Columns of the tables visible to the session, with Oracle's upper-case names and types, in column
-- order; the technical rowid column is left out (it is not a column of the Oracle tables).
CREATE OR REPLACE VIEW public.user_tab_columns AS
SELECT upper(c.relname)::varchar(128) AS table_name,
       upper(a.attname)::varchar(128) AS column_name,
       (CASE WHEN t.typname IN ('numeric', 'int2', 'int4', 'int8', 'float4', 'float8') THEN 'NUMBER'
             WHEN t.typname IN ('varchar', 'text') THEN 'VARCHAR2'
             WHEN t.typname = 'bpchar' THEN 'CHAR'
             WHEN t.typname IN ('timestamp', 'timestamptz', 'date') THEN 'DATE'
             ELSE upper(t.typname) END)::varchar(128) AS data_type,
       (CASE WHEN t.typname IN ('varchar', 'bpchar') AND a.atttypmod > 4 THEN a.atttypmod - 4
             WHEN t.typname IN ('timestamp', 'timestamptz', 'date') THEN 7
             ELSE 22 END)::numeric AS data_length,
       (CASE WHEN t.typname = 'numeric' AND a.atttypmod > 4 THEN ((a.atttypmod - 4) >> 16) & 65535 END)::numeric
           AS data_precision,
       (CASE WHEN t.typname = 'numeric' AND a.atttypmod > 4 THEN (a.atttypmod - 4) & 65535 END)::numeric AS data_scale,
       (CASE WHEN a.attnotnull THEN 'N' ELSE 'Y' END)::varchar(1) AS nullable,
       row_number() OVER (PARTITION BY c.oid ORDER BY a.attnum)::numeric AS column_id
  FROM pg_catalog.pg_class c
  JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace
  JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid
  JOIN pg_catalog.pg_type t ON t.oid = a.atttypid
 WHERE c.relkind IN ('r', 'p', 'v', 'm', 'f')
   AND a.attnum > 0 AND NOT a.attisdropped AND a.attname <> 'rowid'
   AND n.nspname NOT IN ('pg_catalog', 'information_schema', 'oracle')
   AND pg_catalog.pg_table_is_visible(c.oid);

-- TO_CHAR of a text column is the text itself in Oracle.
CREATE OR REPLACE FUNCTION public.to_char(text) RETURNS text
  LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS 'SELECT $1';

-- Oracle arithmetic on the types PostgreSQL gives the module's values. Schema oracle comes before
-- pg_catalog on every session's path, so an operator here with the same argument types as
-- PostgreSQL's own replaces it for the module's SQL (the candidates PostgreSQL weighs stay the same:
-- only the result changes).
--
-- Division is never integer division in Oracle: 10/4 is 2.5, 1/24 a fraction of a day. The quotient
-- carries no trailing zeros, as Oracle's NUMBER (TO_CHAR(10/4) is '2.5').
DO $compat$
DECLARE
  left_type text;
  right_type text;
BEGIN
  FOREACH left_type IN ARRAY ARRAY['smallint', 'integer', 'bigint'] LOOP
    FOREACH right_type IN ARRAY ARRAY['smallint', 'integer', 'bigint'] LOOP
      EXECUTE format('CREATE OR REPLACE FUNCTION oracle.compat_divide(%1$s, %2$s) RETURNS numeric'
                     ' LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE'
                     ' AS ''SELECT pg_catalog.trim_scale($1::numeric / $2::numeric)''', left_type, right_type);
      IF NOT EXISTS (SELECT 1 FROM pg_catalog.pg_operator
                      WHERE oprname = '/' AND oprnamespace = 'oracle'::regnamespace
                        AND oprleft = left_type::regtype AND oprright = right_type::regtype) THEN
        EXECUTE format('CREATE OPERATOR oracle./ (LEFTARG = %1$s, RIGHTARG = %2$s,'
                       ' FUNCTION = oracle.compat_divide)', left_type, right_type);
      END IF;
    END LOOP;
  END LOOP;
END
$compat$;

-- A date minus a date is a number of days, with the fraction of the day (Oracle's DATE is a
-- timestamp(0) column here).
CREATE OR REPLACE FUNCTION oracle.compat_days_between(timestamp, timestamp) RETURNS numeric
  LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
  AS 'SELECT pg_catalog.trim_scale(EXTRACT(EPOCH FROM pg_catalog.timestamp_mi($1, $2)) / 86400)';
DO $compat$
BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_catalog.pg_operator
                  WHERE oprname = '-' AND oprnamespace = 'oracle'::regnamespace
                    AND oprleft = 'timestamp'::regtype AND oprright = 'timestamp'::regtype) THEN
    CREATE OPERATOR oracle.- (LEFTARG = timestamp, RIGHTARG = timestamp, FUNCTION = oracle.compat_days_between);
  END IF;
END
$compat$;
-- orafce subtracts its own dates through timestamp - timestamp and expects an interval: its function
-- keeps PostgreSQL's operators.
ALTER FUNCTION oracle.subtract(oracle.date, oracle.date) SET search_path = pg_catalog, oracle;
