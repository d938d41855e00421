# UnInstall.exe as one more tool of the peer benchmark. Its setup lays the payload out as the
# raw state does, then writes a Setup.Kvx for it with our record writer; its run confirms, lets
# the progress page work, presses Finish through the window driver and waits until the cleanup
# copy has deleted C:\BenchApp. scripts/bench-peers puts our programs into $OURS_BIN.
TOOLS+=(uninstall)
uninstall_desc="UnInstall.exe, driven through its pages (self-copy to a work folder in %TEMP% included)"
uninstall_setup() {
    # A desktop has a window manager; without one Wine waits two seconds for every window it
    # hides unless its X11 driver is told not to manage windows (untimed, like the install).
    W reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    setup_raw
    W "$OURS_BIN_WIN\\sample_setup.exe" from-manifest "$MANIFEST_WIN" "$WORK_WIN\\bench.reg" 'C:\BenchApp' BenchApp >/dev/null 2>&1
}
uninstall_run() {
    if [ -z "${UNINSTALL_STEP_DIR:-}" ]; then
        W "$OURS_BIN_WIN\\uninstall_driver.exe" 'C:\BenchApp\UnInstall.exe' BenchApp
        return
    fi
    # With scripts/bench-peers -s the programs mark their steps into one file per round, and
    # the timed command's start and end are marked on the same clock (microseconds since 1601).
    local steps="$UNINSTALL_STEP_DIR/steps-$N-$r.txt" rc
    echo "0 bench-start $(( $(date +%s%N) / 1000 + 11644473600000000 ))" >"$steps"
    UNINSTALL_STEP_TIMES=$(winpath "$steps") W "$OURS_BIN_WIN\\uninstall_driver.exe" 'C:\BenchApp\UnInstall.exe' BenchApp
    rc=$?
    echo "0 bench-end $(( $(date +%s%N) / 1000 + 11644473600000000 ))" >>"$steps"
    return $rc
}
# The cleanup copy leaves its work folder for the restart that never comes in the prefix.
uninstall_after() { rm -rf "$DRIVE_C"/users/*/Temp/UnInstall-*; }
