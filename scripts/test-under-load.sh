#!/usr/bin/env bash
# Runs the test suite several times while two busy processes load the CPUs, then prints every test
# that failed at least once and how long each run took. A test that fails here and passes alone
# depends on timing: make it wait for its condition or run on the engine's clock.
#
#   scripts/test-under-load.sh [--runs N] [--all | -R REGEX] [--build-dir DIR] [-j JOBS]
#
#   --runs N     how many runs (default: $RUNS, else 3)
#   --all        every ctest test (sanitizer suite, fuzz drivers, layer checks), not only the plain suite
#   -R REGEX     only the ctest tests whose names match (e.g. 'vellum_tests\.Movie')
#   --build-dir  the configured build folder (default: $BUILD_DIR, else build)
#   -j JOBS      tests run at once (default: the number of CPUs)
set -u

runs=${RUNS:-3}
build=${BUILD_DIR:-build}
jobs=$(nproc)
filter=(-R '^vellum_tests\.')

while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --all) filter=(); shift ;;
    -R) filter=(-R "$2"); shift 2 ;;
    --build-dir) build=$2; shift 2 ;;
    -j) jobs=$2; shift 2 ;;
    -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "test-under-load: unknown argument '$1' (see --help)" >&2; exit 2 ;;
  esac
done
case "$runs" in
  ''|*[!0-9]*|0) echo "test-under-load: --runs needs a positive number, not '$runs'" >&2; exit 2 ;;
esac
if [ ! -f "$build/CTestTestfile.cmake" ]; then
  echo "test-under-load: no configured build in '$build' (run make build first)" >&2
  exit 2
fi

work=$(mktemp -d)
busy=()
ctest_group=""
# The busy processes go whatever happens: normal end, failure, Ctrl-C or a kill.
stop_busy() {
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${busy[@]}"; do wait "$pid" 2>/dev/null; done
  busy=()
}
# ctest runs in a process group of its own, so that an interrupted run takes its tests (and the
# programs they started) with it.
stop_ctest() {
  [ -n "$ctest_group" ] || return 0
  kill -TERM -- "-$ctest_group" 2>/dev/null
  for _ in $(seq 10); do
    kill -0 -- "-$ctest_group" 2>/dev/null || break
    sleep 0.2
  done
  kill -KILL -- "-$ctest_group" 2>/dev/null
  wait "$ctest_group" 2>/dev/null
  ctest_group=""
}
cleanup() {
  stop_ctest
  stop_busy
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo; echo "test-under-load: interrupted" >&2; exit 130' INT TERM

for _ in 1 2; do
  ( while :; do :; done ) &
  busy+=($!)
done
echo "test-under-load: $runs run(s) of ctest ${filter[*]:-(everything)} -j $jobs in $build, two busy processes (${busy[*]})"

failed_log="$build/Testing/Temporary/LastTestsFailed.log"
times=()
for run in $(seq 1 "$runs"); do
  rm -f "$failed_log"
  start=$SECONDS
  # In the background and waited for: a Ctrl-C then reaches the trap at once.
  setsid ctest --test-dir "$build" "${filter[@]}" -j "$jobs" --output-on-failure >"$work/run$run.log" 2>&1 &
  ctest_group=$!
  wait "$ctest_group"
  status=$?
  ctest_group=""
  took=$((SECONDS - start))
  # LastTestsFailed.log lists "NUMBER:NAME" per failed test; ctest writes it only when one failed.
  if [ -f "$failed_log" ]; then
    cut -d: -f2- "$failed_log" >"$work/failed$run"
  else
    : >"$work/failed$run"
  fi
  count=$(wc -l <"$work/failed$run")
  if [ "$status" -ne 0 ] && [ "$count" -eq 0 ]; then
    echo "run $run: ctest itself failed (status $status); its output:"
    tail -n 20 "$work/run$run.log"
    echo "ctest (status $status)" >"$work/failed$run"
    count=1
  fi
  times+=("run $run: $((took / 60)) min $((took % 60)) s, $count failed")
  echo "${times[-1]}"
done
stop_busy

echo
echo "== times"
printf '%s\n' "${times[@]}"
echo "== failed at least once (runs failed of $runs)"
if cat "$work"/failed* | grep -q .; then
  cat "$work"/failed* | sort | uniq -c | sort -rn | awk '{ n = $1; $1 = ""; printf "%s  (%d of '"$runs"')\n", substr($0, 2), n }'
  exit 1
fi
echo "none"
