#!/usr/bin/env bash
# Cold start to the first painted frame, offscreen: the client (with qinglan-service running and
# a warm response cache) side by side with a minimal Qt window showing one label. Runs each
# several times and prints the medians and the peak resident memory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QINGLAN_BUILD_DIR:-$root/build}
runs=${RUNS:-7}
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
service_pid=
cleanup() { [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

coproc SERVICE { exec "$build/src/service/qinglan-service" --free-ports --write-config "$work/service.json" --data-dir "$work/service"; }
service_pid=$SERVICE_PID
read -r -t 30 line <&"${SERVICE[0]}"
[ "$line" = ready ] || { echo "qinglan-service did not start" >&2; exit 1; }
python3 - "$work" <<'PY'
import json, sys
w = sys.argv[1]
c = json.load(open(w + "/service.json")); c["dataDir"] = w + "/client"
json.dump(c, open(w + "/client.json", "w"))
PY

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
measure() {  # prints "median-ms peak-kb"
  local times=() peak=0
  for _ in $(seq "$runs"); do
    out=$("$@" 2>"$work/err")
    times+=("$out")
    kb=$(grep -o 'peak resident memory: [0-9]*' "$work/err" | grep -o '[0-9]*$' || echo 0)
    [ "$kb" -gt "$peak" ] && peak=$kb
  done
  echo "$(printf '%s\n' "${times[@]}" | median) $peak"
}

# One start to warm the response cache and the database copy.
"$build/src/gui/qinglan" --config "$work/client.json" --exit-after-first-frame >/dev/null 2>&1
read -r app_ms app_kb < <(measure "$build/src/gui/qinglan" --config "$work/client.json" --exit-after-first-frame)
read -r min_ms min_kb < <(measure "$build/bench/qinglan_minimal_window")
echo "first frame: qinglan ${app_ms} ms, minimal window ${min_ms} ms, ratio $(awk -v a="$app_ms" -v b="$min_ms" 'BEGIN{printf "%.2f", a/(b>0?b:1)}')"
echo "peak resident memory: qinglan $((app_kb / 1024)) MB, minimal window $((min_kb / 1024)) MB"
