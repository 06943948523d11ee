# Installs the Debian packages that are missing, and nothing when all are there.
# Sourced by run.sh, test.sh, package.sh and the benchmarks: `install_missing run`, `test`,
# `package` or `bench`.

RUN_PACKAGES=(
    cmake ninja-build g++
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
    fonts-liberation fonts-comic-neue
)
# The benchmarks' own X server, window probes and keys.
BENCH_PACKAGES=(libx11-dev libxdamage-dev xvfb xauth xdotool)
# dpkg-shlibdeps finds the libraries the Debian package depends on; CPack asks `file` which
# of its files are programs.
PACKAGE_PACKAGES=(dpkg-dev file)
TEST_PACKAGES=(
    "${PACKAGE_PACKAGES[@]}"
    libgtest-dev
    xvfb xauth xdotool libx11-dev
    dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    appstream desktop-file-utils
    lintian
)

install_missing() {
    local wanted=("${RUN_PACKAGES[@]}")
    [ "$1" = test ] && wanted+=("${TEST_PACKAGES[@]}")
    [ "$1" = package ] && wanted+=("${PACKAGE_PACKAGES[@]}")
    [ "$1" = bench ] && wanted+=("${BENCH_PACKAGES[@]}")
    local missing=()
    for package in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}"
}
