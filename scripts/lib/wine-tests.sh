# Runs every test_*.exe in the given folder under Wine and prints the
# GoogleTest results, then a last line "wine-counts PASSED FAILED".
# A run that ends without a GoogleTest summary (crash, hang) counts as one failure.
set -u
dir=$1
. scripts/lib/common.sh
passed=0
failed=0
mapfile -t exes < <(find "$dir" -maxdepth 1 -name 'test_*.exe' 2>/dev/null | sort)
if [ ${#exes[@]} -eq 0 ]; then
  echo "wine: no Windows test executables in $dir"
  failed=1
fi
for exe in "${exes[@]}"; do
  echo "-- $(basename "$exe")"
  out=$(cd "$dir" && timeout 900 "$WINE64" "$exe" 2>&1 | tr -d '\r')
  rc=$?
  printf '%s\n' "$out" | grep -E '^\[  FAILED  \]|^\[  PASSED  \]|^\[==========\] [0-9]+ tests? from .* ran|Failure$|: error:' || true
  p=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' <<<"$out" | tail -n 1)
  f=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below:.*/\1/p' <<<"$out" | tail -n 1)
  if [ -z "$p" ] && [ -z "$f" ]; then
    echo "wine: $(basename "$exe") ended without a summary (exit $rc)"
    printf '%s\n' "$out" | tail -n 20
    failed=$((failed + 1))
    continue
  fi
  if [ -n "$f" ]; then
    printf '%s\n' "$out" | grep -B3 -A12 'Failure$' | head -n 80
  fi
  passed=$((passed + ${p:-0}))
  failed=$((failed + ${f:-0}))
done
echo "wine-counts $passed $failed"
