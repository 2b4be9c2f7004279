#!/usr/bin/env bash
# .ci/run against stub cmake, ctest, dpkg and apt-get: a run where every step passes ends with 0,
# a run where any one step fails ends non-zero with nothing after that step run. No real build.
set -euo pipefail
source_dir=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The README's test command stays, as is, a line of .ci/run.
readme_command=$(sed -n '/^## Build and run every test/,/^## /{/^(dpkg -s /p}' "$source_dir/README.md")
[[ -n $readme_command ]] || { echo "no test command in README.md"; exit 1; }
grep -qxF -- "$readme_command" "$source_dir/.ci/run" || { echo "README command not in .ci/run"; exit 1; }

mkdir -p "$tmp/tree/.ci" "$tmp/bin"
cp "$source_dir/.ci/run" "$tmp/tree/.ci/run"
cp "$source_dir/.ci/lsan.supp" "$tmp/tree/.ci/"
# Each call is logged; the call numbered FAIL_AT fails.
cat > "$tmp/bin/stub" <<'STUB'
#!/usr/bin/env bash
echo "$(basename "$0") $*" >> "$STUB_LOG"
[[ $(wc -l < "$STUB_LOG") -ne ${FAIL_AT:-0} ]]
STUB
chmod +x "$tmp/bin/stub"
for tool in cmake ctest dpkg apt-get; do ln -s stub "$tmp/bin/$tool"; done

run() { # FAIL_AT; prints the exit code and the number of calls
  : > "$tmp/log"
  local rc=0
  STUB_LOG=$tmp/log FAIL_AT=$1 PATH="$tmp/bin:$PATH" bash "$tmp/tree/.ci/run" > /dev/null 2>&1 || rc=$?
  echo "$rc $(wc -l < "$tmp/log")"
}

read -r rc steps <<< "$(run 0)"
[[ $rc -eq 0 ]] || { echo "all steps pass, yet exit $rc"; cat "$tmp/log"; exit 1; }
# Call 1 is dpkg -s: its failure is answered by installing, so every later call is a step.
for ((fail = 2; fail <= steps; fail++)); do
  read -r rc calls <<< "$(run "$fail")"
  if [[ $rc -eq 0 || $calls -ne $fail ]]; then
    echo "call $fail fails: exit $rc after $calls calls"; cat "$tmp/log"; exit 1
  fi
done
echo "$steps steps, each failure ends the run"
