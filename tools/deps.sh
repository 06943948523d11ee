# Installs the Debian packages that are missing, and nothing when all are there.
# Sourced by run.sh, test.sh, package.sh, web.sh and the benchmarks: `install_missing run`,
# `test`, `package`, `web`, `service` or `bench`.

# The class service: HTTP from cpp-httplib, storage through Qt SQL's SQLite and PostgreSQL drivers.
SERVICE_PACKAGES=(libcpp-httplib-dev pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql)
# Reading aloud speaks through speech-dispatcher with espeak-ng's German voice, where the
# system has nothing better; Qt's CMake files for text to speech ask for QML's, which Debian's
# qt6-speech-dev does not depend on.
RUN_PACKAGES=(
    "${SERVICE_PACKAGES[@]}"
    cmake ninja-build g++
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
    qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin
    speech-dispatcher speech-dispatcher-espeak-ng
    fonts-liberation fonts-comic-neue
)
# The browser edition: Debian's emscripten, and Python's font tools to cut the page's fonts
# (Liberation Sans 2 and Comic Neue, both under the SIL Open Font License). The teacher's page
# of links draws its QR codes with Debian's qrcode-generator; `./web.sh serve --lan` prints one
# in the terminal with Python's qrcode.
WEB_PACKAGES=(
    cmake ninja-build emscripten
    python3 fonttools python3-brotli librsvg2-bin
    fonts-liberation2 fonts-comic-neue
    node-qrcode-generator python3-qrcode
)
# Its tests in three engines: Debian's Chromium and Firefox ESR, driven by npm's puppeteer-core,
# and WebKitGTK's MiniBrowser with its WebDriver, on an X server of its own; wabt reads which
# WebAssembly features the program uses. The site's own package is checked by lintian and
# served by a private Apache, fetched with curl; QR codes are read back with zbar.
WEB_TEST_PACKAGES=(chromium firefox-esr webkit2gtk-driver xvfb wabt apache2-bin curl zbar-tools dpkg-dev lintian)
# The benchmarks' own X server, window probes and keys, and GoogleTest for the long storms.
# The class service's load with wrk, on SQLite and a private PostgreSQL, and its long fuzzing.
BENCH_PACKAGES=(libx11-dev libxdamage-dev xvfb xauth xdotool libgtest-dev
    wrk postgresql-15 clang libclang-rt-14-dev)
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
    # The service's tests: a private PostgreSQL, its API checked against its OpenAPI file, and
    # its request checks fuzzed with clang's libFuzzer.
    postgresql-15 python3-jsonschema python3-yaml clang libclang-rt-14-dev
    # systemd-analyze rates the service's unit.
    systemd
)

install_missing() {
    local wanted=()
    case "$1" in
    run) wanted=("${RUN_PACKAGES[@]}") ;;
    test) wanted=("${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}" "${WEB_TEST_PACKAGES[@]}") ;;
    package) wanted=("${RUN_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}" "${WEB_PACKAGES[@]}") ;;
    web) wanted=("${WEB_PACKAGES[@]}") ;;
    service) wanted=("${SERVICE_PACKAGES[@]}" cmake ninja-build g++) ;;
    bench) wanted=("${RUN_PACKAGES[@]}" "${BENCH_PACKAGES[@]}" "${WEB_PACKAGES[@]}" "${WEB_TEST_PACKAGES[@]}") ;;
    esac
    # Node.js and npm may come from elsewhere than Debian: a command that is there will do.
    if [ "$1" = test ] || [ "$1" = bench ]; then
        command -v npm >/dev/null || wanted+=(npm)
    fi
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

# The browser tests' npm packages (the browsers' client, MDN's compatibility data and a
# JavaScript parser), exactly as tests/web/package-lock.json pins them; nothing is fetched
# while the installed copy matches the lock.
install_browser_test_modules() {
    local dir=tests/web
    cmp -s "$dir/package-lock.json" "$dir/node_modules/.zifferix-lock" 2>/dev/null && return 0
    echo "Installing the browser tests' npm packages"
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error)
    cp "$dir/package-lock.json" "$dir/node_modules/.zifferix-lock"
}

# Emscripten's JavaScript optimizer needs Debian's acorn module, which a Node.js from elsewhere
# than Debian does not look for.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
