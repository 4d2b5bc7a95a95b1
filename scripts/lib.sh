# Shared by the scripts: package installation and the build.
# shellcheck shell=bash

ZEFA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages the build, the tests and the tools need.
ZEFA_PACKAGES=(
    cmake g++ make pkg-config
    qtbase5-dev libqt5serialport5-dev qttools5-dev qttools5-dev-tools
    fonts-dejavu-core fonts-noto-cjk fonttools
)
# What scripts/package needs to build the .deb and check it.
ZEFA_PACKAGING_PACKAGES=(dpkg-dev desktop-file-utils lintian appstream)
# Node.js and npm for the test that has node-mavlink read a recording.
ZEFA_TEST_PACKAGES=(
    xvfb xdotool x11-utils x11-xserver-utils imagemagick nodejs npm
    "${ZEFA_PACKAGING_PACKAGES[@]}"
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The installed packages and those they provide, one name a line: a
# Node.js from elsewhere brings its own npm, and Debian's would conflict.
installed_names() {
    dpkg-query -W -f='${Status}\t${Package}, ${Provides}\n' |
        awk -F'\t' '$1 == "install ok installed" { print $2 }' |
        tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -v '^$' | sort -u
}

# Installs whatever of the given packages is missing.
ensure_packages() {
    local missing=()
    local pkg names
    names=$(installed_names)
    for pkg in "$@"; do
        grep -qxF -- "$pkg" <<<"$names" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# clang, with libFuzzer and the sanitizer runtimes of the clang that clang++
# really is, whichever version the machine defaults to.
ensure_fuzz_packages() {
    ensure_packages clang
    local major
    major=$(clang++ --version | sed -n 's/^.*clang version \([0-9][0-9]*\)\..*$/\1/p' | head -n 1)
    if [ -z "$major" ]; then
        echo "cannot tell the version of clang++: $(clang++ --version | head -n 1)" >&2
        return 1
    fi
    ensure_packages "libclang-rt-$major-dev"
}

# configure BUILD_DIR [cmake options...]
configure() {
    local dir=$1
    shift
    cmake -S "$ZEFA_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
    configure "$@"
    cmake --build "$1" -j "$(nproc)"
}

# The Windows cross build: MinGW-w64 and a Qt 5.15 built for Windows; its
# checks under Wine.
ZEFA_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis zip fonttools)
ZEFA_WINE_TEST_PACKAGES=("${ZEFA_WINDOWS_PACKAGES[@]}" wine wine64 icoutils xvfb xdotool)
ZEFA_QT_WINDOWS_ARCHIVE=$(cd "$ZEFA_ROOT/.." && pwd)/shared/toolchains/qt-5.15.8-mingw64.tar.xz

# Sets ZEFA_QT_WINDOWS to a usable Windows Qt: the one it already names, or
# the archive scripts/build-windows-qt packs, kept beside the checkout as a
# cache and unpacked into CACHE_DIR. Fails, saying what to do, when there is
# neither.
windows_qt() {
    local cache=$1
    if [ -n "${ZEFA_QT_WINDOWS:-}" ]; then
        if [ ! -f "$ZEFA_QT_WINDOWS/lib/cmake/Qt5/Qt5Config.cmake" ]; then
            echo "ZEFA_QT_WINDOWS=$ZEFA_QT_WINDOWS holds no Qt 5 for Windows" \
                "(lib/cmake/Qt5/Qt5Config.cmake is missing)." >&2
            return 1
        fi
        return 0
    fi
    if [ ! -f "$ZEFA_QT_WINDOWS_ARCHIVE" ]; then
        echo "No Qt for Windows: build one with scripts/build-windows-qt OUTPUT (about" \
            "30 minutes) and set ZEFA_QT_WINDOWS=OUTPUT, or keep the archive its --archive" \
            "packs as $ZEFA_QT_WINDOWS_ARCHIVE." >&2
        return 1
    fi
    ZEFA_QT_WINDOWS=$cache/qt5-mingw64
    if [ ! "$cache/.unpacked" -nt "$ZEFA_QT_WINDOWS_ARCHIVE" ]; then
        echo "Unpacking $ZEFA_QT_WINDOWS_ARCHIVE into $cache"
        rm -rf "$ZEFA_QT_WINDOWS"
        mkdir -p "$cache"
        tar xJf "$ZEFA_QT_WINDOWS_ARCHIVE" -C "$cache"
        touch "$cache/.unpacked"
    fi
    export ZEFA_QT_WINDOWS
}

# Whether a Windows Qt is there to build with (see windows_qt).
windows_qt_available() {
    [ -n "${ZEFA_QT_WINDOWS:-}" ] || [ -f "$ZEFA_QT_WINDOWS_ARCHIVE" ]
}

# The version CMakeLists.txt gives the project.
project_version() {
    sed -n 's/^project(zefa-gcs VERSION \([0-9.]*\).*/\1/p' "$ZEFA_ROOT/CMakeLists.txt"
}

# beside NAME COMMAND...: runs COMMAND in the background, in a process group
# of its own, its output in build/NAME.log. await NAME waits for it and, when
# it failed, prints that output but make's progress lines.
declare -A beside_pids
beside() {
    local name=$1
    shift
    mkdir -p "$ZEFA_ROOT/build"
    set -m
    "$@" >"$ZEFA_ROOT/build/$name.log" 2>&1 &
    set +m
    beside_pids[$name]=$!
}
await() {
    local name=$1 status=0
    wait "${beside_pids[$name]}" || status=$?
    unset "beside_pids[$name]"
    [ "$status" -eq 0 ] && return 0
    echo "$name failed (status $status):"
    grep -v '^\[ *[0-9]*%\]' "$ZEFA_ROOT/build/$name.log"
    return "$status"
}
# Ends whatever still runs beside, for a script that stops early.
stop_beside() {
    local pid
    for pid in "${beside_pids[@]}"; do
        kill -- "-$pid" 2>/dev/null || true
    done
}

# check WHAT COMMAND...: runs COMMAND, says PASS or FAIL for WHAT and counts
# it in passes and failures.
passes=0
failures=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "PASS: $what"
        passes=$((passes + 1))
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds or time is up.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}
