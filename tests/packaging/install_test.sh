#!/usr/bin/env bash
# Installs the build into a scratch root, by `cmake --install` or from the
# Debian package, and checks what the installed copy holds and does.
#   install_test.sh <build folder> <version> install|package
set -euo pipefail
build=$1 version=$2 mode=$3
id=org.zelt.ZeltEsc
station_id=org.zelt.ZeltEscStation
scratch=$(mktemp -d)
running=""
cleanup() {
    [ -n "$running" ] && kill -KILL "$running" 2>/dev/null
    chmod -R u+w "$scratch"
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ "$mode" = install ]; then
    DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null
else
    echo "building the package"
    timeout 90 cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/deb" >"$scratch/cpack.out" 2>&1 ||
        fail "cpack failed or took over 90 s: $(cat "$scratch/cpack.out")"
    deb=$(echo "$scratch"/deb/zelt-esc_"$version"_*.deb)
    [ -f "$deb" ] || fail "no package zelt-esc_${version}_*.deb"
    depends=$(dpkg-deb -f "$deb" Depends)
    for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6; do
        [[ "$depends" == *"$lib "* ]] || fail "Depends lacks $lib: $depends"
    done
    dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -qx './postinst' || fail "no postinst"
    # Debian's own checks: no error and no warning (information and
    # pedantic notes are allowed). Lintian complains when run as root.
    lint=0
    findings=$(lintian --allow-root --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1) || lint=$?
    [ "$lint" -eq 0 ] || fail "lintian (exit $lint) found errors or warnings: $findings"
    dpkg-deb -x "$deb" "$scratch/root"
fi
usr=$scratch/root/usr

echo "checking the installed files"

# The files.
for f in bin/zelt-esc bin/zelt-sim bin/zelt-cli bin/zelt-station share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/applications/$station_id.desktop share/metainfo/$station_id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/man/man1/zelt-esc.1.gz share/man/man1/zelt-sim.1.gz share/man/man1/zelt-cli.1.gz \
    share/man/man1/zelt-station.1.gz lib/udev/rules.d/70-zelt-serial-adapters.rules share/zelt/translations/zelt_de.qm \
    share/zelt/translations/zelt_es.qm share/zelt/translations/zelt_fr.qm share/zelt/translations/zelt_pt_BR.qm \
    share/zelt/translations/zelt_ru.qm share/zelt/translations/zelt_zh_CN.qm; do
    [ -f "$usr/$f" ] || fail "not installed: $f"
done
[ -d "$usr/share/zelt/firmware" ] || fail "no system firmware folder"
for s in 16 24 32 48 64 128 256; do
    file "$usr/share/icons/hicolor/${s}x$s/apps/$id.png" | grep -q "PNG image data, $s x $s," ||
        fail "icon ${s}x$s is not a $s x $s PNG"
done
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/$id.svg" || fail "the scalable icon is no SVG"
for app in $id $station_id; do
    desktop-file-validate "$usr/share/applications/$app.desktop" || fail "desktop-file-validate $app"
    appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml" >/dev/null ||
        fail "appstreamcli validate: $(appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml")"
    grep -q "<release version=\"$version\"" "$usr/share/metainfo/$app.metainfo.xml" || fail "$app metainfo release"
    # Both show the installed icon.
    grep -qx "Icon=$id" "$usr/share/applications/$app.desktop" || fail "$app.desktop names another icon"
done
grep -qx 'Name=ZELT ESC station' "$usr/share/applications/$station_id.desktop" || fail "the station's menu name"
for p in zelt-esc zelt-sim zelt-cli zelt-station; do
    page=$(zcat "$usr/share/man/man1/$p.1.gz")
    grep -q "^$p \\\\- " <<<"$page" || fail "$p.1 has no NAME line"
    grep -q '^\.SH SYNOPSIS' <<<"$page" || fail "$p.1 has no SYNOPSIS (help2man did not find the usage line)"
    grep -q 'fB\\-\\-version' <<<"$page" || fail "$p.1 does not list --version"
done

# Every adapter line of the udev rule gives the seat access and keeps
# ModemManager away; the four adapter families are all there.
rules=$usr/lib/udev/rules.d/70-zelt-serial-adapters.rules
[ "$(grep -c '^ATTRS{idVendor}' "$rules")" -eq 4 ] || fail "the rule has not 4 adapter lines"
if grep '^ATTRS{idVendor}' "$rules" | grep -vq 'TAG+="uaccess", ENV{ID_MM_DEVICE_IGNORE}="1"$'; then
    fail "an adapter line lacks uaccess or ID_MM_DEVICE_IGNORE"
fi
for vendor in 1a86 10c4 0403 067b; do
    grep -q "^ATTRS{idVendor}==\"$vendor\"" "$rules" || fail "no line for vendor $vendor"
done
# FTDI adapters get a 1 ms latency timer when they are added.
grep -qx 'ACTION=="add", SUBSYSTEM=="usb-serial", DRIVER=="ftdi_sio", ATTR{latency_timer}="1"' "$rules" ||
    fail "the rule does not set the FTDI latency timer to 1 ms"

# --help and --version need no display.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
for p in zelt-esc zelt-sim zelt-cli zelt-station; do
    [ "$("${nodisplay[@]}" "$usr/bin/$p" --version)" = "$p $version" ] || fail "$p --version"
    # Read whole: grep -q leaves at its first match, and a help longer than one
    # pipe write would then die of SIGPIPE under pipefail.
    help=$("${nodisplay[@]}" "$usr/bin/$p" --help) || fail "$p --help failed"
    grep -q -- '--version' <<<"$help" || fail "$p --help"
done
# The command line's manual page lists its commands, and it runs without a display.
zcat "$usr/share/man/man1/zelt-cli.1.gz" | grep -q 'restore' || fail "zelt-cli.1 does not list the commands"
XDG_RUNTIME_DIR="$scratch" "${nodisplay[@]}" "$usr/bin/zelt-cli" ports >/dev/null || fail "zelt-cli ports"
if "${nodisplay[@]}" "$usr/bin/zelt-cli" jump 2>/dev/null; then fail "zelt-cli accepted the command jump"; fi
if QT_QPA_PLATFORM=offscreen "$usr/bin/zelt-esc" --bogus 2>"$scratch/err"; then
    fail "zelt-esc accepted --bogus"
fi
grep -q "Unknown option 'bogus'" "$scratch/err" || fail "zelt-esc --bogus says: $(cat "$scratch/err")"

echo "files checked; starting the installed program"

# Starts the program offscreen in a scratch session, waits until it catches
# SIGTERM, and closes it as a session end would: it ends with 128 + 15.
mkdir -m 0700 "$scratch/run"
start_and_close() {
    XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/run" \
        QT_QPA_PLATFORM=offscreen "$1" >"$scratch/out" 2>&1 &
    running=$!
    for _ in $(seq 200); do
        kill -0 "$running" 2>/dev/null || break
        caught=$(awk '/^SigCgt:/ {print $2}' "/proc/$running/status" 2>/dev/null || true)
        (((0x${caught:-0} & 0x4000) != 0)) && break
        sleep 0.05
    done
    kill -TERM "$running" 2>/dev/null || true
    for _ in $(seq 600); do
        kill -0 "$running" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$running" 2>/dev/null && fail "$1 did not end within 30 s of SIGTERM: $(cat "$scratch/out")"
    local rc=0
    wait "$running" || rc=$?
    running=""
    [ "$rc" -eq 143 ] || fail "$1 ended with $rc, not 143: $(cat "$scratch/out")"
}

# Installed in a folder it may not write (mode bits deny it even to root):
# the settings go to XDG_CONFIG_HOME and come back after a restart, with a
# line the program does not own.
chmod 0555 "$usr/bin"
ini=$scratch/config/zelt/zelt.ini
start_and_close "$usr/bin/zelt-esc"
[ -f "$ini" ] || fail "no settings file in XDG_CONFIG_HOME"
[ ! -e "$usr/bin/zelt.ini" ] || fail "settings written beside the installed program"
grep -qx 'COM=COM1' "$ini" || fail "first run wrote: $(cat "$ini")"
if [ "$mode" = install ]; then
    sed -i 's|^COM=COM1$|COM=/dev/zelt-test-port|; s|^other1=2$|other1=3|' "$ini"
    printf '[Own]\nkept=1\n' >>"$ini"
    start_and_close "$usr/bin/zelt-esc"
    for line in COM=/dev/zelt-test-port other1=3 kept=1; do
        grep -qx "$line" "$ini" || fail "after a restart $line is gone: $(cat "$ini")"
    done

    # A copy in a folder of its own keeps its settings beside itself.
    rm -rf "$scratch/config"
    mkdir "$scratch/portable"
    cp "$usr/bin/zelt-esc" "$scratch/portable/"
    start_and_close "$scratch/portable/zelt-esc"
    [ -f "$scratch/portable/zelt.ini" ] || fail "no settings file beside a copied program"
    [ ! -e "$ini" ] || fail "a copied program wrote to XDG_CONFIG_HOME"

    # The same copy in a folder it may not write: XDG_CONFIG_HOME again.
    rm "$scratch/portable/zelt.ini"
    chmod 0555 "$scratch/portable"
    start_and_close "$scratch/portable/zelt-esc"
    [ -f "$ini" ] || fail "a copied program in a read-only folder did not use XDG_CONFIG_HOME"
fi
# The station keeps its choices in a file of its own, never in zelt.ini.
rm -rf "$scratch/config"
start_and_close "$usr/bin/zelt-station"
[ -f "$scratch/config/zelt/station.ini" ] || fail "the station kept no settings in XDG_CONFIG_HOME"
[ ! -e "$ini" ] || fail "the station wrote zelt.ini"
echo "ok: $mode"
