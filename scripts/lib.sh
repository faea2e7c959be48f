# Shared set-up for scripts/test, scripts/demo and scripts/fuzz.
# Sourced, not run.

ZD_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZD_BUILD="$ZD_ROOT/build"
ZD_PREFIX="$ZD_BUILD/wineprefix"
ZD_WINE=/usr/lib/wine/wine64
ZD_WINESERVER=/usr/lib/wine/wineserver

export DEBIAN_FRONTEND=noninteractive

ZD_PACKAGES=(
    cmake make g++ git googletest
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    wine64 fonts-wine fonts-wqy-microhei
    clang-14 libclang-rt-14-dev libbenchmark-dev locales
)

zd_log() { printf '== %s\n' "$*" >&2; }

# Installs the Debian packages that are missing; silent when all are there.
zd_install_packages() {
    local missing=() p
    for p in "${ZD_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    zd_log "installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq >/dev/null
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The user locales of the two interface languages: Wine takes a program's
# resources (the plug-in's and the system controls') by the locale's language,
# and sizes property sheets in that language's dialog font. The Wine tests
# and the screenshots run in both.
zd_locales() {
    local l
    for l in zh_CN en_US; do
        locale -a 2>/dev/null | grep -qi "^$l\.utf-\?8$" && continue
        localedef -i "$l" -f UTF-8 "$l.UTF-8" >/dev/null 2>&1
    done
    return 0
}

# zd_build_preset PRESET [TARGET...]: configures and builds the preset, only
# the named targets when some are given.
zd_build_preset() {
    local preset=$1
    shift
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    zd_log "configure and build: $preset${1:+ ($*)}"
    cmake --preset "$preset" >"$ZD_BUILD/configure-$preset.log" 2>&1 ||
        { cat "$ZD_BUILD/configure-$preset.log"; return 1; }
    cmake --build --preset "$preset" "${targets[@]}" -- --no-print-directory -s 2>&1 |
        grep -v '^\[' || true
    [ "${PIPESTATUS[0]}" -eq 0 ]
}

zd_wine() {
    WINEPREFIX="$ZD_PREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "$ZD_WINE" "$@"
}

# The project's own Wine prefix: null graphics driver, no crash dialog,
# fonts that render the Chinese captions.
zd_wine_prefix() {
    [ -f "$ZD_PREFIX/.zd-ready" ] && return 0
    zd_log "creating Wine prefix $ZD_PREFIX"
    rm -rf "$ZD_PREFIX"
    mkdir -p "$ZD_PREFIX"
    zd_wine wineboot -i >/dev/null 2>&1 || true
    zd_wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    zd_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    cp /usr/share/wine/fonts/*.ttf "$ZD_PREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    iconv -f UTF-8 -t UTF-16LE "$ZD_ROOT/scripts/wine-fonts.reg" |
        { printf '\xff\xfe'; cat; } >"$ZD_BUILD/wine-fonts.reg"
    zd_wine regedit /S 'Z:'"$(echo "$ZD_BUILD/wine-fonts.reg" | tr / '\\')" >/dev/null 2>&1
    WINEPREFIX="$ZD_PREFIX" "$ZD_WINESERVER" -w
    touch "$ZD_PREFIX/.zd-ready"
}

zd_wineserver_start() {
    WINEPREFIX="$ZD_PREFIX" "$ZD_WINESERVER" -p </dev/null >/dev/null 2>&1 &
    zd_wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

zd_wineserver_stop() {
    WINEPREFIX="$ZD_PREFIX" "$ZD_WINESERVER" -k >/dev/null 2>&1 || true
}
