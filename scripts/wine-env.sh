# Sourced by the scripts that run Windows programs: one place for the Wine
# settings, the prefix template and the display.
# Debian's Wine 8 and 10 both have the 64-bit loader, which spares the
# "wine32 is missing" lines of the `wine` launcher.
WINE64=/usr/lib/wine/wine64
[ -x "$WINE64" ] || WINE64=wine
export WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ko_KR.UTF-8 LC_ALL=ko_KR.UTF-8

# Debian's Wine 10 server aborts at start ("free(): invalid pointer") when
# TMPDIR is set and the user's runtime folder /run/user/<uid> is missing, as
# in a fresh root or a session without a login manager. The folder is made
# where we may; elsewhere Wine runs without TMPDIR. Our own temporary files
# stay where TMPDIR says.
TEMP_ROOT=${TMPDIR:-/tmp}
if [ -n "${TMPDIR:-}" ] && [ ! -d "/run/user/$(id -u)" ]; then
    mkdir -m 700 -p "/run/user/$(id -u)" 2>/dev/null || unset TMPDIR
fi

# One template per Wine version: each version rebuilds a prefix made by
# another, so two versions on one machine keep a template each.
WINE_VERSION=$($WINE64 --version 2>/dev/null | sed 's/ .*//')
: "${WINE_TEMPLATE:=$TEMP_ROOT/tarvok-wine-template-$(id -u)-${WINE_VERSION:-unknown}}"

# Makes the prefix template once: a Korean prefix whose windows draw their own
# captions, since Xvfb has no window manager. Debian's Wine does not load the
# fonts of fonts-wine by itself, and without Marlett the caption buttons are
# drawn as letters: the template gets it in its Fonts folder, and the stamp
# names what the template was made with.
TEMPLATE_STAMP="$WINE_VERSION, marlett from fonts-wine $(dpkg-query -W -f='${Version}' fonts-wine 2>/dev/null)"
ensure_wine_template() {
    mkdir -p "$(dirname "$WINE_TEMPLATE")"
    (
        flock 9
        [ "$(cat "$WINE_TEMPLATE/.ready" 2>/dev/null)" = "$TEMPLATE_STAMP" ] && exit 0
        rm -rf "$WINE_TEMPLATE"
        echo "wine-env: making the prefix template $WINE_TEMPLATE" >&2
        WINEPREFIX="$WINE_TEMPLATE" wineboot -i </dev/null >/dev/null 2>&1
        WINEPREFIX="$WINE_TEMPLATE" $WINE64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
        WINEPREFIX="$WINE_TEMPLATE" $WINE64 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
        WINEPREFIX="$WINE_TEMPLATE" wineserver -w
        cp /usr/share/wine/fonts/marlett.ttf "$WINE_TEMPLATE/drive_c/windows/Fonts/"
        echo "$TEMPLATE_STAMP" >"$WINE_TEMPLATE/.ready"
    ) 9>"$WINE_TEMPLATE.lock"
}

# A fresh prefix copied from the template.
new_wine_prefix() {
    ensure_wine_template
    WINEPREFIX=$(mktemp -d "$TEMP_ROOT/tarvok-prefix.XXXXXX")
    # Hard links for the system's DLLs, which nothing writes; a copy of its
    # own for everything a program may change in place.
    cp -al "$WINE_TEMPLATE/." "$WINEPREFIX/"
    for d in drive_c/windows/system32/spool drive_c/windows/inf drive_c/users; do
        rm -rf "${WINEPREFIX:?}/$d"
        cp -a "$WINE_TEMPLATE/$d" "$WINEPREFIX/$d"
    done
    for f in "$WINE_TEMPLATE"/*.reg "$WINE_TEMPLATE"/drive_c/windows/*.ini; do
        [ -f "$f" ] && cp --remove-destination "$f" "$WINEPREFIX/${f#"$WINE_TEMPLATE"/}"
    done
    export WINEPREFIX
}

# Starts an Xvfb of our own on a free display; XVFB_PID names it.
start_xvfb() {
    fifo=$(mktemp -u "$TEMP_ROOT/tarvok-xvfb.XXXXXX")
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$display"
}

# Starts the prefix's server and services detached from our pipes, so that a
# caller reading our output is not kept waiting by them.
start_wine_services() {
    wineserver -p30 </dev/null >/dev/null 2>&1
    $WINE64 cmd /c exit </dev/null >/dev/null 2>&1
}

stop_wine() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}
