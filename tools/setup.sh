# Shared by tools/run and tools/test: installs missing Debian packages, then
# configures and builds into build/. Sourced, not run.

ZORVAT_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Build dependencies and every outside tool the tests call.
ZORVAT_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev libqt6svg6 qt6-translations-l10n libgl-dev
    libjpeg-dev libgif-dev libmuparser-dev
    libgtest-dev googletest libbenchmark-dev libgmp-dev
    fonts-liberation2 fonts-urw-base35
    qpdf poppler-utils giflib-tools python3 python3-sympy python3-pil ghostscript unrtf pari-gp
    python3-numpy python3-scipy python3-mpmath
    texlive-latex-base texlive-pictures
    xvfb xauth xdotool x11-apps
)

zorvat_install_packages() {
    local missing=()
    local package
    for package in "${ZORVAT_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installeren: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

zorvat_build() {
    local werror="${1:-OFF}"
    cmake -S "$ZORVAT_ROOT" -B "$ZORVAT_ROOT/build" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAT_WERROR="$werror" >/dev/null
    cmake --build "$ZORVAT_ROOT/build" -j2
}
