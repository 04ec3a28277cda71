# Wine environment shared by the run command, the tests and the benchmarks.
# Source it, then call: vorrik_wine_env BUILD_DIR
#   - a private 32-bit prefix inside the build tree, made once, with no
#     add-on install prompt that could block a headless run;
#   - code page 936 (zh_CN.UTF-8) and CJK fonts behind the Chinese face names;
#   - frames drawn by Wine itself (no window manager involved);
#   - an Xvfb display when there is none.

vorrik_log() { printf 'wine-env: %s\n' "$*" >&2; }

vorrik_prefix_settings() {
  # Written as UTF-16 so that the Chinese face names survive any code page.
  local reg="$WINEPREFIX/vorrik-settings.reg"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n"Decorated"="Y"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\r\n"mscoree"=""\r\n"mshtml"=""\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    printf '"仿宋_GB2312"="AR PL UMing CN"\r\n"仿宋"="AR PL UMing CN"\r\n'
    printf '"楷体_GB2312"="AR PL UKai CN"\r\n"楷体"="AR PL UKai CN"\r\n'
    printf '"宋体"="WenQuanYi Micro Hei"\r\n"新宋体"="WenQuanYi Micro Hei"\r\n'
    printf '"SimSun"="WenQuanYi Micro Hei"\r\n"NSimSun"="WenQuanYi Micro Hei"\r\n'
    printf '"MS Shell Dlg"="WenQuanYi Micro Hei"\r\n"MS Shell Dlg 2"="WenQuanYi Micro Hei"\r\n\r\n'
  } | iconv -f UTF-8 -t UTF-16 > "$reg"
  wine regedit /S "$reg" >/dev/null 2>&1 9>&-
  # Debian's Wine does not find its caption-button font by itself.
  local marlett
  marlett=$(find /usr/share/fonts /usr/share/wine -name marlett.ttf 2>/dev/null | head -n 1)
  if [ -n "$marlett" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    ln -sf "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
  fi
}

vorrik_ensure_prefix() {
  [ -f "$WINEPREFIX/.vorrik-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.vorrik-ready" ] && exit 0
    vorrik_log "creating the Wine prefix $WINEPREFIX (once)"
    rm -rf "$WINEPREFIX"
    # wineboot starts the wine server, which must not inherit the lock.
    WINEDLLOVERRIDES="mscoree=d;mshtml=d" wineboot -i >/dev/null 2>&1 9>&-
    wineserver -w
    vorrik_prefix_settings
    wineserver -w
    touch "$WINEPREFIX/.vorrik-ready"
  ) 9>"$WINEPREFIX.lock"
}

vorrik_display_alive() {
  [ -n "${1:-}" ] && xdpyinfo -display "$1" >/dev/null 2>&1
}

vorrik_ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local file="$VORRIK_BUILD/xvfb.display" display=""
  (
    flock 8
    [ -f "$file" ] && vorrik_display_alive "$(cat "$file")" && exit 0
    local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
    # The lock's descriptor must not live on in the server.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 8>&- </dev/null >/dev/null 2>&1 &
    local number; read -r number <"$fifo"; rm -f "$fifo"
    echo ":$number" >"$file"
    vorrik_log "started Xvfb on :$number"
  ) 8>"$VORRIK_BUILD/xvfb.lock"
  display=$(cat "$file")
  export DISPLAY="$display"
}

vorrik_wine_env() {
  export VORRIK_BUILD
  VORRIK_BUILD=$(cd "$1" && pwd)
  export WINEPREFIX="$VORRIK_BUILD/wineprefix"
  export WINEARCH=win32
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
  export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
  vorrik_ensure_display
  vorrik_ensure_prefix
}
