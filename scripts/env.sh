# Sourced by the scripts: where things are and how Wine runs for this project.
# Callers set ROOT to the repository before sourcing this.
: "${ROOT:?}"
BUILD=${TAVELIN_BUILD:-$ROOT/build}
# The project's own prefix: never the user's ~/.wine.
export WINEPREFIX=${TAVELIN_WINEPREFIX:-$BUILD/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No runtime downloads can happen here, and nothing needs .NET or the HTML engine.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
