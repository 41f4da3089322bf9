#!/usr/bin/env bash
# The first end-to-end run: installs the dependencies, builds the library, the
# simulated server and the example into build/, then, in a temporary folder
# with its own registry and product base folder (no root rights needed past
# the package install), starts the simulated server on a free port, points the
# registry at it and runs the example: initialise, log in, send a request, log
# out, de-initialise. Exits non-zero when any step fails.
#
# VSDK_SKIP_DEPS=1 skips the package install (dependencies already there);
# VSDK_BUILD_DIR names another build folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${VSDK_BUILD_DIR:-build}"

if [ "${VSDK_SKIP_DEPS:-0}" != "1" ]; then
  bash scripts/install-deps.sh
fi

echo "== building the library, the simulated server and the example"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target VSDK vsdk-simserver vsdk_example

work="$(mktemp -d "${TMPDIR:-/tmp}/vsdk-example.XXXXXX")"
server_pid=""
status=1

cleanup() {
  if [ -n "$server_pid" ] && kill -0 "$server_pid" 2>/dev/null; then
    kill -TERM "$server_pid" 2>/dev/null || true
    for _ in $(seq 1 50); do
      kill -0 "$server_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  if [ "$status" -ne 0 ]; then
    echo "== the example failed; what the library and the server wrote:" >&2
    tail -n 40 "$work"/log/*.log 2>/dev/null >&2 || true
    cat "$work/server.err" 2>/dev/null >&2 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

echo "== starting the simulated server"
"$build/vsdk-simserver" --port 0 >"$work/server.out" 2>"$work/server.err" &
server_pid=$!
port=""
for _ in $(seq 1 100); do
  port="$(head -n 1 "$work/server.out" 2>/dev/null | tr -dc '0-9')"
  [ -n "$port" ] && break
  if ! kill -0 "$server_pid" 2>/dev/null; then
    echo "the simulated server did not start" >&2
    exit 1
  fi
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "the simulated server did not report its port" >&2
  exit 1
fi
echo "   listening on port $port"

# The product registry of one instance: one file per section, "name value".
instance="Instance001"
registry="$work/registry"
mkdir -p "$registry/$instance" "$work/base" "$work/log"
chmod 700 "$work/base"
printf 'sMardockHostName localhost\nsMardockClientName example-cs\n' >"$registry/$instance/Mardock"
printf 'sPhysicalMachine example-client\n' >"$registry/$instance/Machine"
printf 'nCmdLineServicePort %s\n' "$port" >"$registry/$instance/Network"
printf 'dEVLOGDIR %s\nnDebugLevel 6\n' "$work/log" >"$registry/$instance/EventManager"
printf 'dBASEHOME %s\n' "$work/base" >"$registry/$instance/Base"

echo "== running the example"
set +e
VSDK_REGISTRY_ROOT="$registry" ORVANE_VM="$instance" "$build/examples/vsdk_example"
status=$?
set -e
exit "$status"
