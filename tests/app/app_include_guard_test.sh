#!/usr/bin/env bash
# tools/check-app-includes.sh on trees made here: each line below goes into
# a source of its own, and the guard must refuse exactly the includes of
# the command line's headers, naming the file and line; then the real
# src/app must pass.  Ends with an "N passed, M failed" line.
set -uo pipefail
guard="$(dirname "$0")/../../tools/check-app-includes.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

# expectation | the source's second line (its first is a shared include)
cases=(
  'refused|#include "renderrun.h"'
  'refused|#include "report.h"'
  'refused|#include "recordjson.h"'
  'refused|#include "ephemeristable.h"'
  'refused|#include "unicodetext.h"'
  'refused|#include "picturemodule.h"'
  'refused|#include <renderrun.h>'
  'refused|#include "../render/report.h"'
  'refused|  #  include   "renderrun.h"'
  'allowed|#include "renderer.h"'
  'allowed|#include "svgcanvas.h"'
  'allowed|#include "pdfpage.h"'
  'allowed|#include "renderoptions.h"'
  'allowed|// #include "renderrun.h"'
  'allowed|#include "myreport.h"'
  'allowed|#include "report.hpp"'
)
for index in "${!cases[@]}"; do
  expected=${cases[$index]%%|*}
  line=${cases[$index]#*|}
  tree="$work/case$index"
  mkdir -p "$tree/panels"
  printf '#include "renderer.h"\n%s\n' "$line" >"$tree/panels/source$index.h"
  output=$("$guard" "$tree" 2>&1)
  status=$?
  if [[ $expected == refused ]]; then
    ok=$([[ $status -ne 0 && $output == *"$tree/panels/source$index.h:2: includes"* ]] && echo 1)
  else
    ok=$([[ $status -eq 0 ]] && echo 1)
  fi
  if [[ -n $ok ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $expected: $line (status $status): $output"
  fi
done

if "$guard" >/dev/null 2>&1; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  echo "FAIL: src/app includes a header of the command line:"
  "$guard"
fi
echo "app include guard: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
