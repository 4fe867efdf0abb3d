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

# The sanitizer build in build-fuzz/: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, the libFuzzer harnesses of fuzz/ and, with the
# argument "tests", the unit and integration tests. -O1 with line tables keeps the
# reports' lines and the build short.
ZORVAT_FUZZERS=(expr symbolic text rtf picture program)
ZORVAT_SANITIZED_TARGETS=(
    zorvat write_tool bigint_test expr_test symbolic_test symbolic_c_test
    gif_writer_test gif_picture_test plot_test export_test engine_test app_test kill_test
)

zorvat_build_fuzz() {
    local flags="-O1 -gline-tables-only -DNDEBUG"
    CC=clang-14 CXX=clang++-14 cmake -S "$ZORVAT_ROOT" -B "$ZORVAT_ROOT/build-fuzz" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_FLAGS_RELWITHDEBINFO="$flags" \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" -DZORVAT_SANITIZE=ON -DZORVAT_FUZZ=ON \
        -DZORVAT_BUILD_BENCH=OFF >/dev/null
    local targets=() name
    for name in "${ZORVAT_FUZZERS[@]}"; do targets+=("${name}_fuzz"); done
    if [ "${1:-}" = tests ]; then targets+=("${ZORVAT_SANITIZED_TARGETS[@]}"); fi
    cmake --build "$ZORVAT_ROOT/build-fuzz" -j2 --target "${targets[@]}"
}

# Every finding stops the process at once; the libraries' own lifetime memory is no leak.
zorvat_sanitizer_env() {
    export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0"
    export LSAN_OPTIONS="suppressions=$ZORVAT_ROOT/fuzz/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    export QT_QPA_PLATFORM=offscreen
}

# The seed corpus of each harness, from the examples, the library and the test data.
zorvat_fuzz_corpus() {
    local corpus="$ZORVAT_ROOT/build-fuzz/corpus"
    rm -rf "$corpus"
    mkdir -p "$corpus"/{expr,symbolic,text,rtf,picture,program}
    # Files of several folders, each under a name of its own (the folders share names).
    seed() {
        local to="$1" file
        shift
        for file in "$@"; do
            cp "$file" "$corpus/$to/$(basename "$(dirname "$file")")-$(basename "$file")"
        done
    }
    seed program "$ZORVAT_ROOT"/examples/*.txt "$ZORVAT_ROOT"/examples/bibliotheek/*.txt
    seed text "$ZORVAT_ROOT"/examples/*.txt "$ZORVAT_ROOT"/tests/data/rtf/*.rtf
    seed rtf "$ZORVAT_ROOT"/data/presentaties/*.rtf "$ZORVAT_ROOT"/tests/data/rtf/*.rtf
    seed picture "$ZORVAT_ROOT"/examples/plaatjes/*.png "$ZORVAT_ROOT"/tests/data/golden/*.gif
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
    # The corpus grown by earlier fuzzing, minimised (libFuzzer's -merge=1).
    local kept
    for kept in "$ZORVAT_ROOT"/fuzz/corpus/*.tar.gz; do
        tar -xzf "$kept" -C "$corpus/$(basename "$kept" .tar.gz)"
    done
    # Inputs that once found a fault stay in the corpus.
    local name
    for name in "${ZORVAT_FUZZERS[@]}"; do
        if [ -d "$ZORVAT_ROOT/fuzz/regressions/$name" ]; then
            cp "$ZORVAT_ROOT/fuzz/regressions/$name"/* "$corpus/$name/"
        fi
    done
}

# Each harness over its corpus once, without new fuzzing: a regression check.
zorvat_fuzz_corpus_run() {
    local name status=0 options
    # Programs may save pictures: in a folder of their own.
    mkdir -p "$ZORVAT_ROOT/build-fuzz/werkmap"
    cd "$ZORVAT_ROOT/build-fuzz/werkmap"
    for name in "${ZORVAT_FUZZERS[@]}"; do
        mkdir -p "$ZORVAT_ROOT/fuzz/findings/$name"
        mapfile -t options < <(zorvat_fuzz_options "$name")
        if ! "$ZORVAT_ROOT/build-fuzz/fuzz/${name}_fuzz" "${options[@]}" -runs=0 \
            "$ZORVAT_ROOT/build-fuzz/corpus/$name" >"$ZORVAT_ROOT/build-fuzz/$name.log" 2>&1; then
            echo "fuzz corpus $name: failed" >&2
            tail -40 "$ZORVAT_ROOT/build-fuzz/$name.log" >&2
            status=1
        else
            echo "fuzz corpus $name: $(ls "$ZORVAT_ROOT/build-fuzz/corpus/$name" | wc -l) inputs, clean"
        fi
    done
    return $status
}

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
