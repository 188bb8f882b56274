#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the demo and the benchmark need.
# Idempotent: packages already present are not touched; the package lists are refreshed
# only when something is missing.
set -euo pipefail

PACKAGES=(
  # toolchain and test frameworks
  g++ cmake ninja-build make pkg-config git ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  # window program
  qt6-base-dev qt6-svg-dev
  # picture codecs
  libjpeg62-turbo-dev libpng-dev libtiff-dev libgif-dev libraw-dev libwmf-dev zlib1g-dev
  # fonts libwmf draws metafile text with; ImageMagick makes and checks codec fixtures
  fonts-urw-base35 imagemagick
  # databases, patterns, http
  unixodbc-dev odbc-mdbtools libsqliteodbc sqlite3 libpcre2-dev libcurl4-openssl-dev
  # fonts for text stamps
  libfontconfig-dev libfreetype-dev fonts-dejavu-core fonts-liberation2
  # a virtual X server for the screenshot of the real window (scripts/window-screenshot.sh)
  xvfb xauth
  # browser launch, reference tool and peak-memory timer for the benchmarks, fetching test data
  xdg-utils libvips-tools time curl ca-certificates xz-utils unzip file
  # the gallery checks and the demo's screenshots drive a headless browser from
  # Python; tidy checks that the shipped profiles' pages are well-formed
  chromium python3 tidy
  # metadata tests (reference reader) and the short fuzzing runs (clang with its fuzzer runtime)
  libimage-exiftool-perl clang libclang-rt-14-dev
  # locale sources: the script tests build a German locale to check number output
  locales
  # the hostile-input tests: peak memory of a run (/usr/bin/time), the page checks
  # (python3), the output lock held from outside (flock)
  time python3 util-linux
  # the desktop install's checks: the launcher entry, the software centres'
  # record, the manual page; dpkg-shlibdeps works out the package's Depends;
  # rsvg-convert renders the icon's PNG sizes (scripts/render-icons.sh)
  desktop-file-utils appstream man-db dpkg-dev librsvg2-bin
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# npm fetches test pictures by package name. A machine whose Node.js came from
# elsewhere has its own npm, which Debian's npm package would conflict with.
if ! command -v npm >/dev/null 2>&1; then
  missing+=(npm)
fi

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
