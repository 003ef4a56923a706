#!/usr/bin/env bash
# Sets Ballvane up on a Debian 12 machine.
#   tools/setup.sh run   install what is missing, build, install into ~/Ballvane
#                        (or $BALLVANE_HOME), make the delivered book there when
#                        there is none, and start the program in that folder
#   tools/setup.sh test  install what is missing, build with AddressSanitizer and
#                        UndefinedBehaviorSanitizer, and run the whole suite
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mode=${1:-}
packages=(cmake g++ make pkg-config qt6-base-dev libqt6sql6-sqlite libsqlite3-dev libgl-dev fonts-wine)
[ "$mode" = test ] && packages+=(libbenchmark-dev xvfb xauth)

install_missing() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
}

jobs=$(nproc 2>/dev/null || echo 2)

case "$mode" in
run)
    install_missing
    target=${BALLVANE_HOME:-$HOME/Ballvane}
    cmake -S "$here" -B "$here/build-release" -DCMAKE_BUILD_TYPE=Release -DBALLVANE_TESTS=OFF -DBALLVANE_BENCHMARKS=OFF
    cmake --build "$here/build-release" -j "$jobs"
    cmake --install "$here/build-release" --prefix "$target"
    # A book already there is the user's: it is never touched.
    [ -e "$target/ballvane.db" ] || "$target/ballvane-book" create "$target"
    applications=${XDG_DATA_HOME:-$HOME/.local/share}/applications
    mkdir -p "$applications"
    cat >"$applications/ballvane.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Ballvane
Comment=Keeps the book of lottery draws
Exec="$target/ballvane"
Path=$target
Terminal=false
Categories=Office;
DESKTOP
    cd "$target"
    exec ./ballvane
    ;;
test)
    install_missing
    cmake -S "$here" -B "$here/build-test" -DCMAKE_BUILD_TYPE=Debug -DBALLVANE_SANITIZE=ON
    cmake --build "$here/build-test" -j "$jobs"
    cd "$here/build-test"
    ctest --output-on-failure -j "$jobs"
    ;;
*)
    echo "usage: tools/setup.sh run|test" >&2
    exit 2
    ;;
esac
