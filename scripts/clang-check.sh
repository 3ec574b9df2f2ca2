#!/usr/bin/env bash
# Compiles every source of the libFuzzer build (`make fuzz`: the engine and the fuzz targets) with
# clang and its warnings as errors, stopping after semantic analysis (-fsyntax-only): clang's
# warnings all come from that stage, so this keeps the clang build warning-clean at a fraction of
# a full instrumented build. Usage: clang-check.sh BUILD_DIR [JOBS]
set -euo pipefail

build_dir=${1:?usage: clang-check.sh BUILD_DIR [JOBS]}
jobs=${2:-$(nproc)}
source_dir=$(cd "$(dirname "$0")/.." && pwd)

# The same configuration `make fuzz` uses, with the compile commands written out.
cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELLUM_LIBFUZZER=ON \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

# One line per translation unit of ours: "directory<TAB>command". Generated tables (in the build
# folder) are data only.
python3 - "$build_dir/compile_commands.json" "$source_dir" "$(cd "$build_dir" && pwd)" >"$build_dir/clang-check.commands" <<'EOF'
import json, shlex, sys
entries = json.load(open(sys.argv[1]))
source = sys.argv[2] + "/"
build = sys.argv[3] + "/"  # generated sources and the compiler probes
seen = set()
for e in entries:
    f = e["file"]
    if not f.startswith(source) or f.startswith(build) or f in seen:
        continue
    seen.add(f)
    words = shlex.split(e["command"])
    kept = []
    skip = False
    for w in words:
        if skip:
            skip = False
        elif w in ("-o", "-MF", "-MT", "-MQ"):
            skip = True
        elif w not in ("-MD", "-MMD", "-c"):
            kept.append(w)
    print(e["directory"] + "\t" + shlex.join(kept + ["-fsyntax-only"]))
EOF

count=$(wc -l <"$build_dir/clang-check.commands")
echo "clang-check: $count sources, $jobs at a time"
# Each line runs in its directory; every failure is shown and the run then fails.
tr '\n' '\0' <"$build_dir/clang-check.commands" |
  xargs -0 -P "$jobs" -n 1 bash -c 'IFS=$'"'"'\t'"'"' read -r dir cmd <<<"$0"; cd "$dir" && eval "$cmd"'
echo "clang-check: clean"
