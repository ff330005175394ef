#!/usr/bin/env bash
# The tree's format (clang-format, the committed .clang-format) and, with --tidy, the committed
# .clang-tidy over the sources of the module, the platform and the command line.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "format: ok"

if [ "${1:-}" = "--tidy" ]; then
  build=${2:-build-test}
  [ -f "$build/compile_commands.json" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Sanitize >/dev/null
  # The build uses GCC warning options clang does not know.
  run-clang-tidy -quiet -p "$build" -j "$(nproc)" -extra-arg=-Wno-unknown-warning-option \
    "$here/(module|platform|cli)/.*\.cpp$"
fi
