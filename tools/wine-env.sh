# Sourced by the tools: the Wine that runs one build of Kestron.
# wine_use x86|x64 sets that build's prefix (in its build tree), its loader
# and server, and WINE, the command that runs its programs. The 64-bit build
# calls the 64-bit loader directly: Debian's `wine` wrapper picks the 32-bit
# one whenever wine32 is installed, also where the host cannot run it.

kestron_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
# No Mono or Gecko installers; no menu entries on the host for the shortcuts
# that the installer tests create.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

wine_use() {
  case "$1" in
    x86)
      export WINEPREFIX="$kestron_root/build/windows/wineprefix"
      unset WINELOADER WINESERVER WINEARCH
      WINE=wine
      WINESERVER_CMD=wineserver
      ;;
    x64)
      export WINEPREFIX="$kestron_root/build/windows-x64/wineprefix"
      export WINELOADER=/usr/lib/wine/wine64
      export WINESERVER=/usr/lib/wine/wineserver64
      export WINEARCH=win64
      WINE=$WINELOADER
      WINESERVER_CMD=$WINESERVER
      ;;
    *)
      echo "wine_use: x86 or x64, not '$1'" >&2
      return 1
      ;;
  esac
}
