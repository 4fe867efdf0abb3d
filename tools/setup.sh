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
    python3-numpy python3-scipy
    texlive-latex-base texlive-pictures
    librsvg2-bin libreoffice-draw-nogui chromium chromium-driver python3-selenium
    xvfb xauth xdotool x11-apps
    clang-14 libclang-rt-14-dev
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

# The harnesses of fuzz/ and the sanitizer build of the tests: clang with
# AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer, in build-fuzz/.
zorvat_build_fuzz() {
    CC=clang-14 CXX=clang++-14 cmake -S "$ZORVAT_ROOT" -B "$ZORVAT_ROOT/build-fuzz" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAT_SANITIZE=ON -DZORVAT_FUZZ=ON \
        -DZORVAT_BUILD_BENCH=OFF >/dev/null
    cmake --build "$ZORVAT_ROOT/build-fuzz" -j2
}

# The seed corpus of each harness, from the examples, the library and the test data.
zorvat_fuzz_corpus() {
    local corpus="$ZORVAT_ROOT/build-fuzz/corpus"
    rm -rf "$corpus"
    mkdir -p "$corpus"/{expr,symbolic,text,rtf,picture,program}
    cp "$ZORVAT_ROOT"/examples/*.txt "$ZORVAT_ROOT"/examples/bibliotheek/*.txt "$corpus/program/"
    cp "$ZORVAT_ROOT"/examples/*.txt "$ZORVAT_ROOT"/tests/data/rtf/*.rtf "$corpus/text/"
    cp "$ZORVAT_ROOT"/data/presentaties/*.rtf "$ZORVAT_ROOT"/tests/data/rtf/*.rtf "$corpus/rtf/"
    cp "$ZORVAT_ROOT"/examples/plaatjes/*.png "$ZORVAT_ROOT"/tests/data/golden/*.gif "$corpus/picture/"
    local i=0 line
    while IFS= read -r line; do
        i=$((i + 1))
        printf '%s' "$line" >"$corpus/expr/seed$i"
    done < "$ZORVAT_ROOT/fuzz/expr_seeds.txt"
    i=0
    while IFS= read -r line; do
        i=$((i + 1))
        printf '%s' "$line" >"$corpus/symbolic/seed$i"
    done < "$ZORVAT_ROOT/fuzz/symbolic_seeds.txt"
}

ZORVAT_FUZZERS=(expr symbolic text rtf picture program)

# Options of every harness: findings under fuzz/findings/NAME/, the language's words.
zorvat_fuzz_options() {
    local name="$1"
    local options=(-timeout=10 -rss_limit_mb=4096 -artifact_prefix="$ZORVAT_ROOT/fuzz/findings/$name/")
    case "$name" in
        program | expr) options+=(-dict="$ZORVAT_ROOT/fuzz/program.dict") ;;
        symbolic) options+=(-dict="$ZORVAT_ROOT/fuzz/symbolic.dict") ;;
    esac
    printf '%s\n' "${options[@]}"
}
