# Installs the Debian packages the project needs, when they are missing.
# Sourced by run.sh and test.sh: install_deps [test]
install_deps() {
    local pkgs=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools
                qt6-serialport-dev libgl-dev fonts-dejavu-core qt6-svg-dev help2man
                libqt6sql6-sqlite libqt6sql6-psql
                # Qt Linguist: lrelease builds the translations, lupdate updates them.
                qt6-l10n-tools qt6-tools-dev)
    if [ "${1:-}" = test ]; then
        # xdotool clicks at the controls' places of the real window under Xvfb.
        pkgs+=(googletest libgtest-dev libgmock-dev xvfb xauth xdotool clang libclang-rt-14-dev ccache)
        # The accessible tree, read through AT-SPI on a session bus of the test's own.
        pkgs+=(at-spi2-core python3-pyatspi dbus)
        # Chinese glyphs, so that the translated texts are measured as they show.
        pkgs+=(fonts-wqy-microhei)
        # The installation and Debian package checks.
        pkgs+=(appstream desktop-file-utils dpkg-dev file lintian)
        # The records tests run against a server of their own (tools/postgres_for_tests.sh).
        pkgs+=(postgresql)
    fi
    local missing=()
    for p in "${pkgs[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
