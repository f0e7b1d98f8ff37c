#!/usr/bin/env bash
# scripts/install-deps with missing packages, on stand-ins for dpkg-query, id,
# apt-get and sudo: as root it runs apt-get itself, with sudo it keeps apt
# non-interactive through sudo, with neither it says what to run, and when
# apt-get fails its messages are shown and the script fails.
set -uo pipefail
script=$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-deps
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0 failed=0
check() {  # check NAME CONDITION...
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $name"
    failed=$((failed + 1))
  fi
}

# A PATH of only what the script needs, plus the stand-ins of each case.
mkdir -p "$tmp/bin"
for tool in bash env grep mktemp cat rm; do ln -s "$(command -v $tool)" "$tmp/bin/$tool"; done
cat >"$tmp/bin/dpkg-query" <<'STUB'
#!/bin/bash
exit 1
STUB
cat >"$tmp/bin/apt-get" <<'STUB'
#!/bin/bash
echo "apt-get $* DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-}" >>"$LOG"
[[ $* == *install* && -n "${APT_FAILS:-}" ]] && { echo "E: Unable to locate package libsdl2-dev"; exit 100; }
exit 0
STUB
stub_id() {
  printf '#!/bin/bash\necho %s\n' "$1" >"$tmp/bin/id"
  chmod +x "$tmp/bin/id"
}
cat >"$tmp/sudo" <<'STUB'
#!/bin/bash
echo "sudo $*" >>"$LOG"
exec env -i PATH="$PATH" LOG="$LOG" APT_FAILS="${APT_FAILS:-}" "$@"
STUB
chmod +x "$tmp"/bin/* "$tmp/sudo"
run() {  # run [VAR=VALUE...]: the script's output in $out, its status in $status
  : >"$tmp/log"
  out=$(env -i PATH="$tmp/bin" LOG="$tmp/log" "$@" bash "$script" play 2>&1)
  status=$?
}

stub_id 0
run
check "as root: apt-get runs, non-interactive" grep -q "^apt-get .*install .*libsdl2-dev.* DEBIAN_FRONTEND=noninteractive$" "$tmp/log"
check "as root: says what it installs" grep -q "^installing: .*libsdl2-dev" <<<"$out"
check "as root: succeeds" test $status -eq 0

run APT_FAILS=1
check "a failing apt-get: its message is shown" grep -q "E: Unable to locate package libsdl2-dev" <<<"$out"
check "a failing apt-get: the script fails" test $status -ne 0

stub_id 1000
cp "$tmp/sudo" "$tmp/bin/sudo"
run
check "with sudo: apt-get through sudo env, non-interactive" \
  grep -q "^sudo env DEBIAN_FRONTEND=noninteractive apt-get .*install" "$tmp/log"
check "with sudo: apt-get sees it" grep -q "^apt-get .*install .* DEBIAN_FRONTEND=noninteractive$" "$tmp/log"

rm "$tmp/bin/sudo"
run
check "neither root nor sudo: fails" test $status -ne 0
check "neither root nor sudo: says what to run" grep -q "apt-get install .*libsdl2-dev" <<<"$out"
check "neither root nor sudo: runs no apt-get" test ! -s "$tmp/log"

echo "install-deps: $passed passed, $failed failed"
exit $((failed > 0))
