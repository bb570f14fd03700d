#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Cases written by Glen Lantern before a search's record held its HTTP status, verdict and text
# hash (record version 1; the program as of commit 04e2c9e), for the tests that open, verify,
# export and write into an older case. Made with that version's build of tests/unit/case_writer:
#   v1-folder       case_writer v1-folder fill 3   (case.lock left out)
#   v1-server.sql   the same into a case "old" on a PostgreSQL 15 of tests/e2e/pgserver.py,
#                   then pg_dump --no-owner --no-privileges --schema=glenlantern
# Run in this folder with the old build folder as the argument to make them again.
set -e
build=${1:?the build folder of the older version}
rm -rf v1-folder && "$build/tests/unit/case_writer" v1-folder fill 3 && rm -f v1-folder/case.lock
python3 - "$build/tests/unit/case_writer" <<'PY'
import os, subprocess, sys, tempfile
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath("make-v1.sh")), "..", "..", "e2e"))
import pgserver
pg = pgserver.PgServer()
home = tempfile.mkdtemp()
try:
    pg.write_pgpass(home)
    env = dict(os.environ, HOME=home, XDG_CACHE_HOME=os.path.join(home, "cache"))
    subprocess.run([sys.argv[1], pg.address("old"), "fill", "3"], env=env, check=True)
    dump = subprocess.run([f"{pgserver.BIN}/pg_dump", "-h", "127.0.0.1", "-p", str(pg.port), "-U", "glsuper",
                           "--no-owner", "--no-privileges", "--schema=glenlantern", pg.database],
                          env=dict(os.environ, PGPASSWORD="super"), check=True, capture_output=True, text=True)
    open("v1-server.sql", "w").write(dump.stdout)
finally:
    pg.close()
PY
