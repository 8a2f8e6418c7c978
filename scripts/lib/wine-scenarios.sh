# The scenarios of scripts/test-wine that drive the built programs under Wine. Sourced by it:
# uses its $work, $failures, check and windows_path, and the booted prefix.

# check_that WHAT STATUS [DETAIL]: a step passes when STATUS is 0.
check_that() {
    if [ "$2" -eq 0 ]; then
        echo "wine scenario ok: $1"
    else
        echo "wine scenario FAILED: $1"
        [ -z "${3:-}" ] || echo "$3" | sed 's/^/  /'
        failures=$((failures + 1))
    fi
}
contains() { [[ $2 == *"$1"* ]]; }

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# The console program with its files in a folder named with non-ASCII letters. Sets $out,
# $err (both UTF-8, without carriage returns) and $status.
kestrunec() {
    status=0
    out=$(timeout 120 wine "$console_exe" --app-dir "$(windows_path "$app")" "$@" </dev/null 2>"$work/err" |
        tr -d '\r') || status=$?
    err=$(tr -d '\r' <"$work/err")
}
# Through a console (a pseudo-terminal, which Wine gives its console): what the console shows.
kestrunec_on_console() {
    local command="wine '$console_exe' --app-dir '$(windows_path "$app")'"
    local argument
    for argument in "$@"; do command+=" '$argument'"; done
    timeout 120 script -qec "$command" /dev/null </dev/null | sed -e 's/\x1b\[[0-9;?]*[a-zA-Z]//g' -e 's/\r//g'
}
reg_has_value() { timeout 60 wine reg query "$run_key" /v "$1" </dev/null >/dev/null 2>&1; }
reg_export() { timeout 60 wine reg export "$run_key" "$(windows_path "$1")" /y </dev/null >/dev/null 2>&1; }
wait_for() {  # wait_for SECONDS COMMAND...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.5
    done
}

console_scenario() {
    console_exe=${console_exe:-build/mingw/src/cli/kestrunec.exe}
    home="$work/Zoë 山田"
    app="$home/app"
    mkdir -p "$app"
    # Left in the Run key by the contract suite, for the cross-check above.
    local name='Kestrune Zoë 山田'

    kestrunec list HKCU_Run --format csv
    check_that "list shows the Run value \"$name\" (redirected: UTF-8 bytes)" \
        "$(contains "4,1,1,$name,\"\"\"C:\\Users\\Zoë\\山田\\app.exe\"\" --profile 日本\"" "$out" && echo 0 || echo 1)" "$out$err"
    local shown
    shown=$(kestrunec_on_console list HKCU_Run)
    check_that "list on a console shows \"$name\" (WriteConsoleW)" "$(contains "$name" "$shown" && echo 0 || echo 1)" "$shown"

    reg_export "$work/run-before.reg"
    kestrunec disable HKCU_Run "$name"
    check_that "disable the Run value: kestrunec ends with 0" "$status" "$err"
    check_that "disable the Run value: it is gone from the registry" "$(reg_has_value "$name" && echo 1 || echo 0)"
    kestrunec enable HKCU_Run "$name"
    check_that "enable the Run value: kestrunec ends with 0" "$status" "$err"
    reg_export "$work/run-after.reg"
    check_that "enable the Run value: 'wine reg export' of the key is byte for byte as before" \
        "$(cmp -s "$work/run-before.reg" "$work/run-after.reg" && echo 0 || echo 1)" \
        "$(diff <(iconv -f UTF-16 -t UTF-8 "$work/run-before.reg") <(iconv -f UTF-16 -t UTF-8 "$work/run-after.reg"))"

    # A Startup shortcut made through the shell's link API, disabled and enabled again.
    local appdata startup link
    appdata=$(timeout 60 wine cmd /c 'echo %APPDATA%' </dev/null 2>/dev/null | tr -d '\r')
    startup=$(timeout 60 winepath -u "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Startup" 2>/dev/null)
    mkdir -p "$startup"
    link="$startup/Notepad Zoë.lnk"
    timeout 60 wine "$windows_probe" lnk create "$(windows_path "$link")" --target 'C:\windows\notepad.exe' \
        --args '--flag 日本' </dev/null >/dev/null 2>&1 || true
    # Wine's notepad.exe has an icon but no version information; its regedit.exe has both.
    timeout 60 wine "$windows_probe" lnk create "$(windows_path "$startup/Registry.lnk")" \
        --target 'C:\windows\regedit.exe' </dev/null >/dev/null 2>&1 || true
    kestrunec list UserStartup --format csv
    check_that "list shows the Startup shortcut" "$(contains 'Notepad Zoë' "$out" && echo 0 || echo 1)" "$out$err"
    # The CSV's Publisher column, before the place's two marks (Key, Windows) that end each line:
    # the CompanyName of the program's version information.
    local publisher notepad_publisher
    publisher=$(echo "$out" | grep '^1,[0-9]*,1,Registry,' | head -n1 | awk -F, '{print $(NF-2)}')
    notepad_publisher=$(echo "$out" | grep '^1,[0-9]*,1,Notepad Zoë' | head -n1 | awk -F, '{print $(NF-2)}')
    check_that "list shows the publisher of regedit.exe, \"$publisher\", and none for notepad.exe, which names none" \
        "$([ -n "$publisher" ] && [ -z "$notepad_publisher" ] && echo 0 || echo 1)" "$out"
    local row
    row=$(echo "$out" | sed -n 's/^1,[0-9]*,1,\(Notepad Zoë[^,]*\),.*/\1/p' | head -n1)
    kestrunec disable UserStartup "$row"
    check_that "disable the Startup shortcut \"$row\": the file is gone" "$([ "$status" -eq 0 ] && [ ! -e "$link" ] && echo 0 || echo 1)" "$err"
    kestrunec enable UserStartup "$row"
    local shortcut
    shortcut=$(timeout 60 wine "$windows_probe" lnk show "$(windows_path "$link")" </dev/null 2>/dev/null | tr -d '\r' || true)
    check_that "enable the Startup shortcut: IShellLinkW reads its target and arguments back" \
        "$([ "$status" -eq 0 ] && [ "$(echo "$shortcut" | tr '[:upper:]' '[:lower:]')" == $'c:\\windows\\notepad.exe\n--flag 日本' ] && echo 0 || echo 1)" \
        "$shortcut$err"

    # The monitor takes out a value that another program adds while it watches.
    timeout 120 wine "$console_exe" --app-dir "$(windows_path "$app")" monitor --seconds 8 --answer deny \
        </dev/null >"$work/monitor.out" 2>"$work/monitor.err" &
    local monitor=$!
    wait_for 60 grep -qs "Watching the start-up places" "$work/monitor.out" || true
    timeout 60 wine reg add "$run_key" /v Intruder /d 'C:\intruder.exe' /f </dev/null >/dev/null 2>&1
    status=0
    wait "$monitor" || status=$?
    check_that "monitor --answer deny ends with 0" "$status" "$(cat "$work/monitor.out" "$work/monitor.err")"
    check_that "monitor --answer deny saw C:\\intruder.exe, added during its run, and took it out" \
        "$(grep -qF 'C:\intruder.exe' "$work/monitor.err" && ! reg_has_value Intruder && echo 0 || echo 1)" \
        "$(tr -d '\r' <"$work/monitor.err")"

    # A delayed row starting a real Windows program.
    local marker="$work/delayed.txt"
    kestrunec add Delayed --name 'Marker Zoë' --path "C:\\windows\\system32\\cmd.exe /c echo started> $(windows_path "$marker")" --delay 1
    kestrunec enable Delayed 'Marker Zoë'
    kestrunec run-delayed
    check_that "run-delayed ends with 0 after \"Finished running delayed applications.\"" \
        "$([ "$status" -eq 0 ] && contains "Finished running delayed applications." "$out" && echo 0 || echo 1)" "$out$err"
    check_that "run-delayed started cmd.exe, which wrote its file" \
        "$(wait_for 30 test -s "$marker" && echo 0 || echo 1)"

    # Backup and loading it again, all under the non-ASCII folder.
    kestrunec backup
    local backup
    backup=$(find "$app" -maxdepth 1 -name 'backup_*.xml' | head -n1)
    check_that "backup wrote $(basename "${backup:-no file}") in \"$(basename "$home")/app\"" \
        "$([ "$status" -eq 0 ] && [ -s "$backup" ] && echo 0 || echo 1)" "$err"
    kestrunec delete Delayed 'Marker Zoë'
    kestrunec list Delayed --format csv
    check_that "delete takes the delayed row out before the backup is loaded" \
        "$(contains 'Marker Zoë' "$out" && echo 1 || echo 0)" "$out$err"
    kestrunec load-backup "$(windows_path "$backup")"
    local loaded_status=$status loaded_err=$err
    kestrunec list Delayed --format csv
    check_that "load-backup of a file in a non-ASCII folder brings the deleted row back" \
        "$([ "$loaded_status" -eq 0 ] && contains 'Marker Zoë' "$out" && echo 0 || echo 1)" "$loaded_err$out"
}

# What current Windows starts: an entry switched off the way Task Manager does, a 32-bit
# program's value in the 32-bit view, and an expandable string keeping its type. Uses the
# console scenario's $app.
windows_places_scenario() {
    local approved='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
    local machine_run='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
    local name='Tray Zoë'
    timeout 60 wine reg add "$run_key" /v "$name" /d 'C:\windows\notepad.exe /tray' /f </dev/null >/dev/null 2>&1
    timeout 60 wine reg add "$approved" /v "$name" /t REG_BINARY /d 030000000102030405060708 /f </dev/null >/dev/null 2>&1
    kestrunec list HKCU_Run --format csv
    check_that "an entry disabled the Task Manager way is listed unticked and marked" \
        "$(echo "$out" | grep -q "^4,[0-9]*,0,$name,C:\\\\windows\\\\notepad.exe /tray,[^,]*,,disabled in Windows Settings$" && echo 0 || echo 1)" "$out$err"
    reg_export "$work/tray-before.reg"
    kestrunec enable HKCU_Run "$name"
    local flag
    flag=$(timeout 60 wine reg query "$approved" /v "$name" </dev/null 2>/dev/null | tr -d '\r' | grep -a REG_BINARY || true)
    reg_export "$work/tray-after.reg"
    check_that "enable switches Windows' flag on (02 and zeros) and leaves the Run value's bytes and type" \
        "$([ "$status" -eq 0 ] && contains "REG_BINARY    020000000000000000000000" "$flag" &&
            cmp -s "$work/tray-before.reg" "$work/tray-after.reg" && echo 0 || echo 1)" "$flag$err"

    # A 32-bit installer's value: in its own view only, and back byte for byte.
    timeout 60 wine reg add "$machine_run" /v Legacy32 /d 'C:\windows\system32\cmd.exe /c rem 32' /reg:32 /f \
        </dev/null >/dev/null 2>&1
    timeout 60 wine reg export "$machine_run" "$(windows_path "$work/run32-before.reg")" /reg:32 /y </dev/null >/dev/null 2>&1
    kestrunec list HKLM_Run --format csv
    check_that "a 32-bit view value is listed in HKLM Run, marked 32-bit" \
        "$(echo "$out" | grep -q '^3,[0-9]*,1,Legacy32,.*,32-bit,$' && echo 0 || echo 1)" "$out$err"
    kestrunec disable HKLM_Run Legacy32
    local gone=1
    timeout 60 wine reg query "$machine_run" /v Legacy32 /reg:32 </dev/null >/dev/null 2>&1 || gone=0
    check_that "disable takes Legacy32 out of the 32-bit view" "$([ "$status" -eq 0 ] && [ "$gone" -eq 0 ] && echo 0 || echo 1)" "$err"
    kestrunec enable HKLM_Run Legacy32
    timeout 60 wine reg export "$machine_run" "$(windows_path "$work/run32-after.reg")" /reg:32 /y </dev/null >/dev/null 2>&1
    local in64=1
    timeout 60 wine reg query "$machine_run" /v Legacy32 /reg:64 </dev/null >/dev/null 2>&1 || in64=0
    check_that "enable puts Legacy32 back into its own key: 'wine reg export /reg:32' is byte for byte as before" \
        "$([ "$status" -eq 0 ] && [ "$in64" -eq 0 ] && cmp -s "$work/run32-before.reg" "$work/run32-after.reg" && echo 0 || echo 1)" \
        "$err$(diff <(iconv -f UTF-16 -t UTF-8 "$work/run32-before.reg") <(iconv -f UTF-16 -t UTF-8 "$work/run32-after.reg"))"

    # An expandable string keeps its type through disable and enable.
    timeout 60 wine reg add "$run_key" /v 'Expand Zoë' /t REG_EXPAND_SZ /d '%SystemRoot%\notepad.exe' /f </dev/null >/dev/null 2>&1
    reg_export "$work/expand-before.reg"
    kestrunec disable HKCU_Run 'Expand Zoë'
    local disabled=$status
    kestrunec enable HKCU_Run 'Expand Zoë'
    reg_export "$work/expand-after.reg"
    check_that "a REG_EXPAND_SZ Run value keeps its type through disable and enable" \
        "$([ "$disabled" -eq 0 ] && [ "$status" -eq 0 ] && cmp -s "$work/expand-before.reg" "$work/expand-after.reg" && echo 0 || echo 1)" \
        "$err$(diff <(iconv -f UTF-16 -t UTF-8 "$work/expand-before.reg") <(iconv -f UTF-16 -t UTF-8 "$work/expand-after.reg"))"
}

# A wanted state kept in a file, as a management engine keeps it, against Wine's registry:
# export, a drift that another program makes, check, apply and a second apply. Uses the console
# scenario's $app.
state_scenario() {
    local state="$work/startup-state.json" again="$work/startup-state-again.json"
    local kept='State Zoë' drifter='Drifter'
    timeout 60 wine reg add "$run_key" /v "$kept" /d 'C:\windows\notepad.exe /state' /f </dev/null >/dev/null 2>&1
    # Exact places: an enabled entry the file does not name is a drift too.
    kestrunec export "$(windows_path "$state")" --mode exact
    local exported=$status
    kestrunec export "$(windows_path "$again")" --mode exact
    check_that "export writes the machine's state twice with the same bytes" \
        "$([ "$exported" -eq 0 ] && [ "$status" -eq 0 ] && [ -s "$state" ] && cmp -s "$state" "$again" && echo 0 || echo 1)" \
        "$err$(diff "$state" "$again")"
    kestrunec check "$(windows_path "$state")"
    check_that "check of the state just exported ends with 0: \"${out%%$'\n'*}\"" "$status" "$out$err"
    reg_export "$work/state-before.reg"

    # Another program changes the Run key: a value added, a value taken out.
    timeout 60 wine reg add "$run_key" /v "$drifter" /d 'C:\windows\system32\cmd.exe /c rem drift' /f </dev/null >/dev/null 2>&1
    timeout 60 wine reg delete "$run_key" /v "$kept" /f </dev/null >/dev/null 2>&1
    kestrunec check "$(windows_path "$state")"
    check_that "check after the drift ends with 1 and names both: \"${out%%$'\n'*}\"" \
        "$([ "$status" -eq 1 ] && contains "HKCU Run \"$drifter\": enabled but not in the state, wanted disabled" "$out" &&
            contains "HKCU Run \"$kept\": missing, wanted enabled" "$out" && echo 0 || echo 1)" "$out$err"

    reg_export "$work/state-drifted.reg"
    kestrunec apply "$(windows_path "$state")" --check
    reg_export "$work/state-checked.reg"
    check_that "apply --check says what it would do and changes nothing" \
        "$([ "$status" -eq 0 ] && contains "would " "$out" && cmp -s "$work/state-drifted.reg" "$work/state-checked.reg" &&
            reg_has_value "$drifter" && echo 0 || echo 1)" "$out$err"

    kestrunec apply "$(windows_path "$state")" --format json
    local applied=$status applied_out=$out
    reg_export "$work/state-applied.reg"
    check_that "apply ends with 0 and reports \"changed\": true" \
        "$([ "$applied" -eq 0 ] && contains '"changed":true' "$applied_out" && echo 0 || echo 1)" "$applied_out$err"
    check_that "apply: 'wine reg query' finds no $drifter, and \"$kept\" is back: the key is byte for byte as before the drift" \
        "$(! reg_has_value "$drifter" && reg_has_value "$kept" && cmp -s "$work/state-before.reg" "$work/state-applied.reg" &&
            echo 0 || echo 1)" \
        "$(diff <(iconv -f UTF-16 -t UTF-8 "$work/state-before.reg") <(iconv -f UTF-16 -t UTF-8 "$work/state-applied.reg"))"
    check_that "apply keeps the disabled $drifter in settings.xml, to be enabled again" \
        "$(grep -qF 'cmd.exe /c rem drift' "$app/settings.xml" 2>/dev/null && echo 0 || echo 1)"

    kestrunec check "$(windows_path "$state")"
    check_that "check after apply ends with 0: \"${out%%$'\n'*}\"" "$status" "$out$err"
    kestrunec apply "$(windows_path "$state")" --format json
    check_that "a second apply ends with 0 and reports \"changed\": false" \
        "$([ "$status" -eq 0 ] && contains '"changed":false' "$out" && echo 0 || echo 1)" "$out$err"
}

# A script in the user's Startup folder, which Windows opens at log-on: listed with its file as
# the path, moved into Kestrune's own folder by disable and back, byte for byte, by enable.
startup_file_scenario() {
    local appdata startup name='Backup Zoë.bat'
    appdata=$(timeout 60 wine cmd /c 'echo %APPDATA%' </dev/null 2>/dev/null | tr -d '\r')
    startup=$(winepath -u "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Startup" 2>/dev/null)
    mkdir -p "$startup"
    printf '@echo off\r\nrem Zoë 日本\r\ncopy C:\\a.txt C:\\b.txt\r\n\x1a' >"$startup/$name"
    cp "$startup/$name" "$work/startup-file-before.bat"
    kestrunec list UserStartup --format csv
    check_that "a .bat in the user's Startup folder is listed, its file as the path" \
        "$(echo "$out" | grep -qi "^1,[0-9]*,1,$name,C:\\\\users\\\\[^,]*\\\\Startup\\\\$name," && echo 0 || echo 1)" "$out$err"
    kestrunec disable UserStartup "$name"
    local kept="$app/Disabled startup files/User/$name"
    check_that "disable moves the .bat into Kestrune's folder byte for byte" \
        "$([ "$status" -eq 0 ] && [ ! -e "$startup/$name" ] && cmp -s "$work/startup-file-before.bat" "$kept" &&
            echo 0 || echo 1)" "$err$(ls -la "$startup" "$app" 2>&1)"
    kestrunec enable UserStartup "$name"
    check_that "enable puts the .bat back under its own name byte for byte" \
        "$([ "$status" -eq 0 ] && [ ! -e "$kept" ] && cmp -s "$work/startup-file-before.bat" "$startup/$name" &&
            echo 0 || echo 1)" "$err"
}

# kestrune.exe from FOLDER on a virtual X server writes every screenshot, none of them empty.
desktop_smoke_test() {
    local folder=$1
    local shots="$work/screenshots"
    mkdir -p "$work/desktop-app" "$shots"
    status=0
    KESTRUNE_APP_DIR=$(windows_path "$work/desktop-app") KESTRUNE_SCREENSHOTS=$(windows_path "$shots") \
        timeout 180 xvfb-run -a -s "-screen 0 1280x900x24" wine "$folder/kestrune.exe" </dev/null >/dev/null 2>&1 || status=$?
    local count empty
    count=$(find "$shots" -name '*.png' 2>/dev/null | wc -l)
    empty=$(find "$shots" -name '*.png' -empty 2>/dev/null | wc -l)
    check_that "kestrune.exe under Wine on Xvfb wrote $count screenshots, $empty of them empty" \
        "$([ "$status" -eq 0 ] && [ "$count" -ge 20 ] && [ "$empty" -eq 0 ] && echo 0 || echo 1)" "status $status"
    [ -z "${KESTRUNE_KEEP_SCREENSHOTS:-}" ] || cp -r "$shots/." "$KESTRUNE_KEEP_SCREENSHOTS/"
    desktop_scaled_test "$folder"

    # The rows of the console scenario's Startup shortcuts, as the list showed them
    # (rows/rows.tsv: table, name, path, icon number, publisher; rows/icon-N.png, one a number).
    local rows="$shots/rows" line icon publisher
    line=$(tr -d '\r' <"$rows/rows.tsv" 2>/dev/null | awk -F'\t' 'tolower($3) == "c:\\windows\\notepad.exe"' | head -n1)
    icon=$(echo "$line" | cut -f4)
    publisher=$(echo "$line" | cut -f5)
    check_that "kestrune.exe shows the row of C:\\windows\\notepad.exe with its own icon ($icon), pixels unlike the default icon's" \
        "$([ -n "$icon" ] && [ "$icon" != 1 ] && [ -s "$rows/icon-$icon.png" ] && [ -s "$rows/icon-1.png" ] &&
            ! cmp -s "$rows/icon-1.png" "$rows/icon-$icon.png" && echo 0 || echo 1)" "$line"
    line=$(tr -d '\r' <"$rows/rows.tsv" 2>/dev/null | awk -F'\t' 'tolower($3) == "c:\\windows\\regedit.exe"' | head -n1)
    publisher=$(echo "$line" | cut -f5)
    check_that "kestrune.exe shows the publisher of C:\\windows\\regedit.exe, \"$publisher\", and its own icon" \
        "$([ -n "$publisher" ] && [ "$(echo "$line" | cut -f4)" -gt 1 ] 2>/dev/null && echo 0 || echo 1)" \
        "$(tr -d '\r' <"$rows/rows.tsv" 2>/dev/null)"
}

# kestrune.exe from FOLDER at 175 % (168 dots per inch, as Windows' display settings write it)
# on a 1366x768 laptop screen, framed by a window manager when openbox is installed: every
# screenshot again. KESTRUNE_KEEP_SCREENSHOTS keeps the pictures in
# its laptop-1366x768-175 folder, "screen.png" showing the About tab as the window opened.
desktop_scaled_test() {
    local folder=$1
    local shots="$work/screenshots-175" desktop='HKCU\Control Panel\Desktop'
    mkdir -p "$work/desktop-app-175" "$shots"
    local wm=openbox
    command -v openbox >/dev/null || wm=
    timeout 60 wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 168 /f </dev/null >/dev/null 2>&1
    status=0
    KESTRUNE_APP_DIR=$(windows_path "$work/desktop-app-175") KESTRUNE_SCREENSHOTS=$(windows_path "$shots") \
        timeout 240 xvfb-run -a -s "-screen 0 1366x768x24" bash -c '
            if [[ -n $1 ]]; then
                openbox >/dev/null 2>&1 &
                for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
            fi
            wine "$2" </dev/null >/dev/null 2>&1' _ "$wm" "$folder/kestrune.exe" || status=$?
    timeout 60 wine reg delete "$desktop" /v LogPixels /f </dev/null >/dev/null 2>&1
    local count
    count=$(find "$shots" -name '*.png' 2>/dev/null | wc -l)
    check_that "kestrune.exe at 175 % on a 1366x768 screen${wm:+ under $wm} wrote $count screenshots" \
        "$([ "$status" -eq 0 ] && [ "$count" -ge 20 ] && echo 0 || echo 1)" "status $status"
    [ -z "${KESTRUNE_KEEP_SCREENSHOTS:-}" ] || {
        mkdir -p "$KESTRUNE_KEEP_SCREENSHOTS/laptop-1366x768-175"
        cp -r "$shots/." "$KESTRUNE_KEEP_SCREENSHOTS/laptop-1366x768-175/"
    }
}
