#!/usr/bin/env bash
# The main job: build the system, evaluate a bundled example data set with the
# engine and show its report.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)"
work=$(mktemp -d)
cp examples/worked_example.pd "$work/"
(cd "$work" && "$OLDPWD/build/bin/velpra" worked_example.pd)
cat "$work/pd.out" | tr -d '\r'
echo "(report written to $work/pd.out)"
