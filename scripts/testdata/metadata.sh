# Pictures with EXIF, maker notes, GPS and broken EXIF for the metadata reader tests.
# Sourced by scripts/fetch-testdata.sh with $dest set and the working folder $dest.
#   goexif/       EXIF-only JPEGs of many camera makers, both byte orders, and corrupt/
#   exif-npm/     Sony, Canon, iPhone and other files with maker notes and GPS
set -euo pipefail

if [ ! -e "$dest/goexif/.done" ]; then
  work=$(mktemp -d "$dest/.goexif.XXXXXX")
  chmod 0777 "$work"  # apt fetches as its own user
  if ! ( cd "$work" && apt-get download golang-github-rwcarlsen-goexif-dev >/dev/null 2>&1 ); then
    # A fresh machine may not have the package lists yet.
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -q >/dev/null
    ( cd "$work" && apt-get download golang-github-rwcarlsen-goexif-dev >/dev/null )
  fi
  dpkg-deb -x "$work"/golang-github-rwcarlsen-goexif-dev_*.deb "$work/x"
  src="$work/x/usr/share/gocode/src/github.com/rwcarlsen/goexif/exif"
  rm -rf "$dest/goexif"
  mkdir -p "$dest/goexif"
  cp -r "$src/samples" "$src/corrupt" "$src/sample1.jpg" "$dest/goexif/"
  rm -rf "$work"
  touch "$dest/goexif/.done"
fi

if [ ! -e "$dest/exif-npm/.done" ]; then
  if ! command -v npm >/dev/null; then
    # Node.js may come from elsewhere with its own npm; only a machine without any gets Debian's.
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends npm
  fi
  work=$(mktemp -d "$dest/.exifnpm.XXXXXX")
  ( cd "$work" && npm pack --silent exif@0.6.0 >/dev/null )
  tar -xzf "$work"/exif-0.6.0.tgz -C "$work"
  rm -rf "$dest/exif-npm"
  mkdir -p "$dest/exif-npm"
  cp "$work"/package/test/*.jpg "$dest/exif-npm/"
  rm -rf "$work"
  touch "$dest/exif-npm/.done"
fi
