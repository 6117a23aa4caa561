# Sourced by every script that starts Wine: a private prefix and HOME under build/, never the
# user's ~/.wine or real home.
TESSEL_ROOT="${TESSEL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${TESSEL_WINEPREFIX:-$TESSEL_ROOT/build/wine/prefix}"
export HOME="$TESSEL_ROOT/build/wine/home"
export WINEDEBUG=-all
# No Mono or Gecko download prompts in a closed network.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
mkdir -p "$HOME"
