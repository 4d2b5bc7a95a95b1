#!/usr/bin/env bash
# A suite run one test function per test: every function it reports must be
# one CMake registered from its source, or it would never run.
#   suitefunctions.sh SUITE FUNCTION...
set -euo pipefail
suite=$1
shift
reported=$("$suite" -functions | sed 's/()$//' | sort)
registered=$(printf '%s\n' "$@" | sort)
[ "$reported" = "$registered" ] && exit 0
echo "$(basename "$suite"): the functions registered as tests (<) are not those it has (>):"
diff <(echo "$registered") <(echo "$reported") || true
exit 1
