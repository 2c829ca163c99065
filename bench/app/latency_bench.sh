#!/usr/bin/env bash
# Builds the optimised benchmark, starts a private Firebird server
# (scripts/firebird-server.sh), runs bench/app/latency_bench.cpp and stops
# the server on every way out.
#   bench/app/latency_bench.sh [latencia|repeticao] [ROWS]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$ROOT"
./scripts/setup.sh >/dev/null
cmake --preset native-release >/dev/null
cmake --build --preset native-release --target app_latency_bench >/dev/null
DIR="$ROOT/build/bench-latency"
mkdir -p "$DIR"
trap './scripts/firebird-server.sh stop "$DIR/servidor" >/dev/null 2>&1 || true' EXIT
PROJECT_FIREBIRD_SERVER="$(./scripts/firebird-server.sh start "$DIR/servidor")"
export PROJECT_FIREBIRD_SERVER
build/native-release/bench/app/app_latency_bench "${1:-latencia}" "${2:-100000}" "$DIR/dados"
