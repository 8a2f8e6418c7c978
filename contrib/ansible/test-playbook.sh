#!/usr/bin/env bash
# The example playbook three times against localhost on a fresh emulated machine: in check mode
# it reports changed and changes nothing, the real run changes the machine, the run after that
# reports ok. Prints the three recaps. Usage: test-playbook.sh KESTRUNEC MACHINE_TOOL
set -euo pipefail
kestrunec=$(realpath "$1") tool=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v ansible-playbook >/dev/null; then
    echo "ansible-playbook is not installed (scripts/setup installs Debian's ansible-core)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KESTRUNE_APP_DIR=$work/app KESTRUNE_MACHINE=$work/machine KESTRUNEC=$kestrunec
export ANSIBLE_LIBRARY=$here/library ANSIBLE_HOME=$work/ansible ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0
export ANSIBLE_LOCALHOST_WARNING=0 ANSIBLE_INVENTORY_UNPARSED_WARNING=0 ANSIBLE_PYTHON_INTERPRETER=auto_silent
mkdir -p "$KESTRUNE_APP_DIR"
hkcu='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
hklm='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
machine() { "$tool" --machine "$KESTRUNE_MACHINE" "$@"; }
machine init >/dev/null
machine reg set "$hkcu" Nagger 'C:\nag.exe --tray'
machine reg set "$hklm" Updater 'C:\up.exe'
snapshot() { machine reg list "$hkcu"; machine reg list "$hklm"; }

fail() { echo "FAILED: $*"; cat "$work/out"; exit 1; }
play() {
    local label=$1
    shift
    ansible-playbook -i localhost, "$@" "$here/playbook.yml" >"$work/out" 2>&1 || fail "$label"
    recap=$(grep -E '^localhost +:' "$work/out") || fail "$label: no recap"
    echo "$label: $recap"
}

before=$(snapshot)
play "check mode" --check --diff
[[ $recap == *"changed=1"* ]] || fail "check mode did not report changed"
grep -q 'C:\\\\nag.exe --tray' "$work/out" || fail "check mode showed no diff"
[[ "$(snapshot)" == "$before" ]] || fail "check mode changed the machine"

play "real run" --diff
[[ $recap == *"changed=1"* && $recap == *"failed=0"* ]] || fail "the real run did not change"
after=$(snapshot)
[[ $after != *Nagger* && $after != *Updater* && $after == *'C:\Tools\backup.exe /tray'* ]] || fail "machine: $after"
# Disabled, not deleted: Kestrune's settings document keeps both entries.
grep -q 'C:\\nag.exe --tray' "$KESTRUNE_APP_DIR/settings.xml" || fail "Nagger is not kept in settings.xml"

play "second run"
[[ $recap == *"ok=1"* && $recap == *"changed=0"* ]] || fail "the second run was not ok"
