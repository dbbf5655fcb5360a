#!/usr/bin/env bash
# Prepares Wine for the Windows end-to-end tests: a prefix in the build tree (made once, then
# reused), COM1 and COM10 mapped to fixed paths that each test points at its simulator's pty, and a
# server started detached so no Wine helper holds on to a test's output.
#   setup.sh PREFIX PORTS_DIR
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ports=$2
unset DISPLAY
mkdir -p "$ports"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
fi
# A dosdevices/com1 link made by hand is overwritten when Wine starts; the registry mapping holds.
for port in com1 com10; do
    wine reg add 'HKLM\Software\Wine\Ports' /v "${port^^}" /t REG_SZ /d "$ports/$port" /f \
        </dev/null >/dev/null 2>&1
done
wineserver -k || true
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit 0 </dev/null >/dev/null 2>&1
echo "wine ready: $WINEPREFIX"
