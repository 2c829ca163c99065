#!/usr/bin/env bash
# A private Firebird 3 server (SuperServer, from firebird3.0-server) for the
# tests and benchmarks: it listens on a free loopback port of its own and has
# its own configuration, lock folder and security database, in which SYSDBA
# has the password the program stores. It never meets the machine's own
# server (if any) or the embedded engine's lock files.
#   firebird-server.sh start DIR   starts one with its files in DIR; prints
#                                  "localhost/PORT", the prefix of its
#                                  database names (localhost/PORT:/path)
#   firebird-server.sh stop DIR    stops it (SIGTERM, then SIGKILL after 10 s)
#   firebird-server.sh kill DIR    stops it at once (SIGKILL), as a crash would
# DIR keeps: root/ (a Firebird root whose firebird.conf also serves clients:
# with FIREBIRD=DIR/root a client that opens a plain path held by this server
# reaches it through its loopback provider), lock/, tmp/, security3.fdb, pid,
# port, server.out. A second start of a DIR that is running starts nothing.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

usage() {
  echo "usage: firebird-server.sh start|stop|kill DIR" >&2
  exit 2
}
(($# == 2)) || usage
ACTION="$1"
DIR="$(mkdir -p "$2" && cd "$2" && pwd)"
SERVER=/usr/sbin/firebird

running() { [[ -f "$DIR/pid" ]] && kill -0 "$(cat "$DIR/pid")" 2>/dev/null; }

stop() {
  local signal="$1"
  if running; then
    local pid
    pid="$(cat "$DIR/pid")"
    kill "-$signal" "$pid" 2>/dev/null || true
    local i
    for i in $(seq 1 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null || true; fi
  fi
  rm -f "$DIR/pid"
  rm -rf "$DIR/lock" "$DIR/tmp"
}

# The Firebird root: the installed engine's parts, and a configuration of its own.
make_root() {
  local port="$1"
  local engine home
  engine="$(find /usr/lib -name libEngine12.so -path '*firebird*' 2>/dev/null | head -1)"
  [[ -n "$engine" ]] || { echo "firebird-server: the Firebird engine is not installed" >&2; exit 1; }
  home="$(dirname "$(dirname "$engine")")"
  rm -rf "$DIR/root"
  mkdir -p "$DIR/root"
  local part
  for part in firebird.msg plugins lib UDF plugins.conf; do
    if [[ -e "$home/$part" ]]; then ln -s "$home/$part" "$DIR/root/$part"; fi
  done
  # The character sets' module is refused when it is reached through a link: a copy.
  cp -rL "$home/intl" "$DIR/root/intl"
  cat >"$DIR/root/firebird.conf" <<EOF
ServerMode = Super
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $DIR/security3.fdb
EOF
  echo "security.db = $DIR/security3.fdb" >"$DIR/root/databases.conf"
}

# SYSDBA with the program's stored password, in a security database of its own.
make_security_database() {
  local password
  password="$(sed -n 's/.*std::string password_ = "\(.*\)";.*/\1/p' "$ROOT/app/database/fb_client.h")"
  [[ -n "$password" ]] || { echo "firebird-server: the program's password was not found" >&2; exit 1; }
  rm -f "$DIR/security3.fdb"
  printf "CREATE DATABASE '%s';\nCREATE USER SYSDBA PASSWORD '%s' USING PLUGIN Srp;\nCOMMIT;\n" \
    "$DIR/security3.fdb" "$password" |
    FIREBIRD="$DIR/root" FIREBIRD_LOCK="$DIR/lock" FIREBIRD_TMP="$DIR/tmp" isql-fb -q -user SYSDBA \
      >"$DIR/security.out" 2>&1 ||
    { cat "$DIR/security.out" >&2; exit 1; }
}

free_port() {
  /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

listening() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

start() {
  [[ -x "$SERVER" ]] || { echo "firebird-server: $SERVER is missing (firebird3.0-server)" >&2; exit 1; }
  if running; then
    echo "localhost/$(cat "$DIR/port")"
    return
  fi
  stop TERM
  local attempt
  for attempt in 1 2 3; do
    local port
    port="$(free_port)"
    mkdir -p "$DIR/lock" "$DIR/tmp"
    make_root "$port"
    [[ -f "$DIR/security3.fdb" ]] || make_security_database
    # Its own session, so that a signal to the tests' process group leaves it
    # to the stop below.
    FIREBIRD="$DIR/root" FIREBIRD_LOCK="$DIR/lock" FIREBIRD_TMP="$DIR/tmp" \
      setsid "$SERVER" </dev/null >"$DIR/server.out" 2>&1 &
    echo $! >"$DIR/pid"
    echo "$port" >"$DIR/port"
    local i
    for i in $(seq 1 100); do
      if ! running; then break; fi
      if listening "$port"; then
        echo "localhost/$port"
        return
      fi
      sleep 0.1
    done
    # Another program took the port first, or the server did not start.
    stop KILL
  done
  echo "firebird-server: the server did not start:" >&2
  cat "$DIR/server.out" "$DIR/root/firebird.log" >&2 2>/dev/null || true
  exit 1
}

case "$ACTION" in
  start) start ;;
  stop) stop TERM ;;
  kill) stop KILL ;;
  *) usage ;;
esac
