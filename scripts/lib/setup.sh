# Shared by scripts/run and scripts/test: installs what is missing, then
# configures and builds. Sourced, not run.

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# What building and running the window needs, with the Italian of Qt's own
# dialogs.
build_packages=(cmake make g++ qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev fonts-liberation
                qt6-translations-l10n)
# What building the Windows programs needs: mingw-w64 for 64 and 32 bits,
# ImageMagick and the SVG renderer it hands the drawing to for its icon, NSIS
# for its installer.
windows_packages=(cmake make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix imagemagick librsvg2-bin nsis)
# What the test suite needs besides: GoogleTest's headers and libraries (the
# googletest package alone holds only its sources), an X server of its own and
# XTest for real key presses, clang and its fuzzer
# runtime, the formatter, the desktop and packaging checkers (with the file
# types' database), and for the
# Windows program GoogleTest's sources and Wine to run it, the PDF reader
# that checks a printed plan, git, which lists the files the formatter checks,
# the accessibility bus with its Python reader, D-Bus and xdotool, which read
# the windows as a screen reader does, the 32-bit compilers and qemu-i386 that
# build and run the core as a 32-bit program, 7z, which looks into the
# installer, and Ghostscript, which reads the Windows printout.
test_packages=(libgtest-dev xvfb xauth libxtst-dev clang libclang-rt-dev clang-format
               desktop-file-utils appstream shared-mime-info dpkg-dev file googletest wine64 poppler-utils git
               at-spi2-core python3-pyatspi dbus xdotool g++-multilib qemu-user p7zip-full ghostscript
               "${windows_packages[@]}")

# Installs those of the named Debian packages that are not installed yet.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; return 1; }
        as_root=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Runs a command as root: itself where it is root, through sudo otherwise.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        command -v sudo >/dev/null || { echo "Need root or sudo for: $*" >&2; return 1; }
        sudo "$@"
    fi
}

# configure_and_build BUILD_DIR [cmake options…]
configure_and_build() {
    local build_dir=$1
    shift
    cmake -S "$repo_root" -B "$build_dir" "$@" >/dev/null
    cmake --build "$build_dir" --parallel "$(nproc)"
}
