-- Lock and session views with the Oracle dictionary names and columns the module's lock-holder
-- query reads (V$LOCK, V$SESSION, SYS.OBJ$, SYS.USER$, SYS.V_$SESS_INFO). Idempotent.
--
-- SID is the backend pid. A session's client info is its application_name ("program:usercode").
-- Row locks are not listed by pg_locks, but a session holding rows FOR UPDATE holds a RowShareLock
-- on their table, and that table-level lock is what V$LOCK shows (as Oracle's TM lock). Plain
-- readers (AccessShareLock) are left out: an Oracle SELECT takes no lock.

CREATE SCHEMA IF NOT EXISTS sys;

CREATE OR REPLACE VIEW public."v$lock" AS
SELECT l.pid AS sid,
       'TM'::text AS type,
       l.relation::bigint AS id1,
       0::bigint AS id2,
       CASE WHEN l.granted THEN m.oracle_mode ELSE 0 END AS lmode,
       CASE WHEN l.granted THEN 0 ELSE m.oracle_mode END AS request,
       l.mode AS pg_mode
  FROM pg_catalog.pg_locks l
  JOIN (VALUES ('RowShareLock', 2),
               ('RowExclusiveLock', 3),
               ('ShareUpdateExclusiveLock', 4),
               ('ShareLock', 4),
               ('ShareRowExclusiveLock', 5),
               ('ExclusiveLock', 6),
               ('AccessExclusiveLock', 6)) AS m(pg_mode, oracle_mode) ON m.pg_mode = l.mode
 WHERE l.locktype = 'relation'
   AND l.database = (SELECT d.oid FROM pg_catalog.pg_database d WHERE d.datname = pg_catalog.current_database())
   AND l.pid IS NOT NULL;

CREATE OR REPLACE VIEW public."v$session" AS
SELECT a.pid AS sid,
       0 AS "serial#",
       pg_catalog.upper(a.usename::text) AS username,
       a.usename::text AS osuser,
       CASE WHEN pg_catalog.strpos(a.application_name, ':') > 0
            THEN pg_catalog.split_part(a.application_name, ':', 1)
            ELSE a.application_name END AS program,
       COALESCE(a.client_hostname, pg_catalog.host(a.client_addr), '[local]') AS terminal,
       COALESCE(a.client_hostname, pg_catalog.host(a.client_addr), '[local]') AS machine,
       a.application_name AS client_info,
       CASE WHEN a.state = 'active' THEN 'ACTIVE' ELSE 'INACTIVE' END AS status,
       a.backend_start AS logon_time
  FROM pg_catalog.pg_stat_activity a
 WHERE a.backend_type = 'client backend'
   AND a.datname = pg_catalog.current_database();

CREATE OR REPLACE VIEW sys."v_$sess_info" AS
SELECT s.sid, s.client_info, s.program, s.terminal, s.machine
  FROM public."v$session" s;

CREATE OR REPLACE VIEW sys."obj$" AS
SELECT c.oid::bigint AS "obj#",
       pg_catalog.upper(c.relname::text) AS name,
       c.relnamespace::bigint AS "owner#",
       c.relkind::text AS kind
  FROM pg_catalog.pg_class c;

CREATE OR REPLACE VIEW sys."user$" AS
SELECT n.oid::bigint AS "user#",
       pg_catalog.upper(n.nspname::text) AS name
  FROM pg_catalog.pg_namespace n;
