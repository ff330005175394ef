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
